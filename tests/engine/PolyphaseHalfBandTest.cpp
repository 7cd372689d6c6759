#include "engine/PolyphaseHalfBand.h"
#include "support/SineMeasurement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
PolyphaseHalfBand sampler (int blockSize)
{
    PolyphaseHalfBand s;
    s.blockSize = blockSize;
    return s;
}

TEST (PolyphaseHalfBand, CoefficientsOfTheEllipticDesign)
{
    EXPECT_NEAR (PolyphaseHalfBand::designCoefficient (0), 0.23647102099689224, 1e-15);
    EXPECT_NEAR (PolyphaseHalfBand::designCoefficient (1), 0.7145421497126001, 1e-15);

    const PolyphaseHalfBand s;
    EXPECT_EQ (s.cA, 0.236471027135849f);
    EXPECT_EQ (s.cB, 0.7145421504974365f);
    EXPECT_EQ (s.blockSize, 512);
}

TEST (PolyphaseHalfBand, UpsampledImpulseStartsWithBothCoefficients)
{
    auto up = sampler (2);
    const float in[2] = { 1.0f, 0.0f };
    float out[4] = {};
    up.upsample (in, out);
    EXPECT_EQ (out[0], 0.236471027135849f);
    EXPECT_EQ (out[1], 0.7145421504974365f);
}

// Up then down with nothing between is an all-pass at the host rate; its
// impulse response starts cA * cB, ...
TEST (PolyphaseHalfBand, UpThenDownImpulseResponse)
{
    auto up = sampler (4);
    auto down = sampler (4);
    const float in[4] = { 1, 0, 0, 0 };
    float mid[8], out[4];
    up.upsample (in, mid);
    down.downsample (mid, out);

    const float expected[4] = { 0.1689685f, 0.7903218f, 0.2198431f, -0.3426132f };
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR (out[i], expected[i], 1e-6f) << "sample " << i;
}

TEST (PolyphaseHalfBand, ConstantSettlesToOne)
{
    auto up = sampler (400);
    auto down = sampler (400);
    std::vector<float> ones (400, 1.0f), upOut (800), downIn (800, 1.0f), downOut (400);
    up.upsample (ones.data(), upOut.data());
    down.downsample (downIn.data(), downOut.data());
    EXPECT_NEAR (upOut[798], 1.0f, 1e-6f);
    EXPECT_NEAR (upOut[799], 1.0f, 1e-6f);
    EXPECT_NEAR (downOut[399], 1.0f, 1e-6f);
}

// The odd (later) sample of each pair feeds the cA path, the even one cB.
TEST (PolyphaseHalfBand, DownsamplerPathAssignment)
{
    auto evenFirst = sampler (1);
    auto oddFirst = sampler (1);
    const float even[2] = { 1, 0 }, odd[2] = { 0, 1 };
    float a, b;
    evenFirst.downsample (even, &a);
    oddFirst.downsample (odd, &b);
    EXPECT_FLOAT_EQ (a, 0.7145421504974365f * 0.5f);
    EXPECT_FLOAT_EQ (b, 0.236471027135849f * 0.5f);
}

TEST (PolyphaseHalfBand, ZeroBlockSizeDoesNothing)
{
    auto s = sampler (0);
    float in[2] = { 1, 1 }, out[2] = { 7, 7 };
    s.upsample (in, out);
    s.downsample (in, out);
    EXPECT_EQ (out[0], 7);
    EXPECT_EQ (s.xA, 0);
    EXPECT_EQ (s.yB, 0);
}

// Pass band flat, stop band at least 36.2 dB down, both relative to the
// oversampled rate, measured through the downsampler.
TEST (PolyphaseHalfBand, DownsamplerFrequencyResponse)
{
    struct Case { double fraction; double minDb, maxDb; };
    const Case cases[] = {
        { 0.02, -0.0011, 0.0011 }, { 0.1, -0.0011, 0.0011 }, { 0.2, -0.0011, 0.0011 },
        { 0.3, -200, -36.2 }, { 0.35, -200, -36.2 }, { 0.42, -200, -36.2 }, { 0.49, -200, -36.2 },
    };

    for (const auto& c : cases)
    {
        auto down = sampler (1);
        // Feed pairs of oversampled samples; measure at the host rate with the
        // folded frequency.
        long n = 0;
        const double w = 2.0 * M_PI * c.fraction;
        auto process = [&] (double)
        {
            float pair[2] = { (float) std::sin (w * (double) n), (float) std::sin (w * (double) (n + 1)) };
            n += 2;
            float out;
            down.downsample (pair, &out);
            return (double) out;
        };
        const double folded = c.fraction <= 0.25 ? 2.0 * c.fraction : 1.0 - 2.0 * c.fraction;
        const double db = measureGainDb (process, folded, 1.0, 20000, 20000);
        EXPECT_GE (db, c.minDb) << "at " << c.fraction;
        EXPECT_LE (db, c.maxDb) << "at " << c.fraction;
    }
}

// The upsampler's image of a sine at f lies at the host rate minus f and is
// at least 36.2 dB down for f below 0.4 of the host rate.
TEST (PolyphaseHalfBand, UpsamplerImageRejection)
{
    for (double f : { 0.05, 0.2, 0.3, 0.39 })
    {
        auto up = sampler (1);
        std::vector<float> out;
        for (int j = 0; j < 40000; ++j)
        {
            float in = (float) std::sin (2.0 * M_PI * f * j), pair[2];
            up.upsample (&in, pair);
            out.push_back (pair[0]);
            out.push_back (pair[1]);
        }
        auto amplitudeAt = [&] (double fractionOfOversampledRate)
        {
            double s = 0, c = 0;
            const int start = 20000, count = 60000;
            for (int i = start; i < start + count; ++i)
            {
                s += out[(size_t) i] * std::sin (2.0 * M_PI * fractionOfOversampledRate * i);
                c += out[(size_t) i] * std::cos (2.0 * M_PI * fractionOfOversampledRate * i);
            }
            return 2.0 * std::sqrt (s * s + c * c) / count;
        };
        const double wanted = amplitudeAt (f / 2.0);
        const double image = amplitudeAt ((1.0 - f) / 2.0);
        EXPECT_NEAR (wanted, 1.0, 1e-3) << f;
        EXPECT_LE (20.0 * std::log10 (image / wanted), -36.2) << f;
    }
}

TEST (PolyphaseHalfBand, NonFiniteMemoryIsCleared)
{
    auto s = sampler (1);
    float nan = std::nanf (""), out[2];
    s.upsample (&nan, out);
    s.clearNonFiniteMemory();
    float one = 1.0f;
    s.upsample (&one, out);
    EXPECT_TRUE (std::isfinite (out[0]) && std::isfinite (out[1]));
}
} // namespace
