#include "engine/BandChain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace
{
constexpr double rate = 96000.0;

// Every band designed as a strong low-pass with a band-specific level, so
// that whether a band ran, and which component it kept, shows in the output.
BandChain makeChain()
{
    BandChain chain;
    for (int k = 0; k < BandChain::numBands; ++k)
    {
        BandParameters p;
        p.type = 1.0;              // low-pass
        p.freq = 0.3;              // about 140 Hz
        p.angle = 0.1 + 0.2 * k;   // a different axis per band
        p.level = 0.6;             // about +4 dB
        chain.updateBand (k, p, rate);
    }
    return chain;
}

struct Gating
{
    const char* what;
    bool bypass[5];
    bool solo[5];
    bool applied[5];
};

class BandChainGating : public testing::TestWithParam<Gating> {};

TEST_P (BandChainGating, DecidesWhichBandsRun)
{
    const auto& g = GetParam();
    BandChain chain = makeChain();
    for (int k = 0; k < 5; ++k)
    {
        chain.bandBypass[k] = g.bypass[k];
        chain.bandSolo[k] = g.solo[k];
    }

    std::vector<float> left (64, 0.5f), right (64, -0.25f);
    chain.process (left.data(), right.data(), 64);

    for (int k = 0; k < 5; ++k)
    {
        EXPECT_EQ (chain.isApplied (k), g.applied[k]) << g.what << ", band " << (k + 1);
        const bool filterRan = chain.bandFilters[k].x1 != 0.0;
        EXPECT_EQ (filterRan, g.applied[k]) << g.what << ", band " << (k + 1) << " memory";
    }
}

INSTANTIATE_TEST_SUITE_P (Table, BandChainGating, testing::Values (
    Gating { "nothing set", {}, {}, { 1, 1, 1, 1, 1 } },
    Gating { "bypass 2 and 4", { 0, 1, 0, 1, 0 }, {}, { 1, 0, 1, 0, 1 } },
    Gating { "solo 3", {}, { 0, 0, 1, 0, 0 }, { 0, 0, 1, 0, 0 } },
    Gating { "solo and bypass on 2", { 0, 1, 0, 0, 0 }, { 0, 1, 0, 0, 0 }, { 0, 1, 0, 0, 0 } },
    Gating { "solo 1 and 4, bypass on others", { 0, 1, 1, 0, 1 }, { 1, 0, 0, 1, 0 }, { 1, 0, 0, 1, 0 } },
    Gating { "all bypassed", { 1, 1, 1, 1, 1 }, {}, { 0, 0, 0, 0, 0 } }));

TEST (BandChain, AllSkippedLeavesFramesBitIdentical)
{
    BandChain chain = makeChain();
    for (auto& b : chain.bandBypass)
        b = true;
    std::vector<float> left { 0.1f, -0.7f, 1e-20f }, right { 0.3f, 0.9f, -2.0f };
    const auto l0 = left, r0 = right;
    chain.process (left.data(), right.data(), 3);
    EXPECT_EQ (left, l0);
    EXPECT_EQ (right, r0);
}

// A soloed band projects every frame onto its own axis: L sin(theta) = R cos(theta).
TEST (BandChain, SoloedBandOutputLiesOnItsAxis)
{
    BandChain chain = makeChain();
    chain.bandSolo[2] = true;
    std::mt19937 random (7);
    std::uniform_real_distribution<float> dist (-1.0f, 1.0f);
    std::vector<float> left (500), right (500);
    for (size_t i = 0; i < left.size(); ++i)
    {
        left[i] = dist (random);
        right[i] = dist (random);
    }
    chain.process (left.data(), right.data(), 500);
    const double theta = BandSettings::angleRadians (0.5);
    for (size_t i = 0; i < left.size(); ++i)
        ASSERT_NEAR (left[i] * std::sin (theta), right[i] * std::cos (theta), 1e-6) << i;
}

// With a transparent filter and unity level the rotation is orthonormal.
TEST (BandChain, TransparentBandReturnsThePair)
{
    BandChain chain;
    for (int k = 0; k < 5; ++k)
    {
        BandParameters p; // peaking, 0 dB, level 1
        p.angle = 0.13 * (k + 1);
        chain.updateBand (k, p, rate);
    }
    std::vector<float> left { 0.5f, -0.2f, 0.9f }, right { 0.25f, 0.7f, -1.0f };
    const auto l0 = left, r0 = right;
    chain.process (left.data(), right.data(), 3);
    for (size_t i = 0; i < 3; ++i)
    {
        EXPECT_NEAR (left[i], l0[i], 1e-6);
        EXPECT_NEAR (right[i], r0[i], 1e-6);
    }
}

// One band on the left axis (angle 0) with a low-pass at a quarter of the
// rate and q 0.5 (impulse response 1/4, 1/2, 1/4) and level 10 (+20 dB):
// the left channel's impulse comes out as 2.5, 5, 2.5; the right channel
// passes untouched.
TEST (BandChain, WorkedImpulseThroughOneBand)
{
    BandChain chain;
    BandParameters p;
    p.angle = 0.0;
    p.level = 1.0;
    p.type = 1.0;
    chain.updateBand (0, p, rate);
    ASSERT_TRUE (chain.bandFilters[0].design (BandFilter::lowPass, rate / 4, rate, 0.5, 0.0));
    for (int k = 1; k < 5; ++k)
        chain.bandBypass[k] = true;

    std::vector<float> left { 1, 0, 0, 0 }, right { 0.5f, 0.25f, 0, 0 };
    chain.process (left.data(), right.data(), 4);
    const float expectedLeft[] = { 2.5f, 5.0f, 2.5f, 0.0f };
    const float expectedRight[] = { 0.5f, 0.25f, 0, 0 };
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_NEAR (left[(size_t) i], expectedLeft[i], 1e-5) << i;
        EXPECT_NEAR (right[(size_t) i], expectedRight[i], 1e-6) << i;
    }
}

TEST (BandChain, BandWithoutDesignKeepsItsCoefficients)
{
    BandChain chain = makeChain();
    const BandFilter before = chain.bandFilters[1];
    BandParameters p;
    p.type = 0.001; // no design
    p.freq = 0.9;
    chain.updateBand (1, p, rate);
    EXPECT_EQ (chain.bandFilters[1].b0, before.b0);
    EXPECT_EQ (chain.bandFilters[1].a1, before.a1);
    EXPECT_NE (chain.bandLevel[1], 0.0);
}

TEST (BandChain, LowHostRateGivesStableFilters)
{
    BandChain chain;
    BandParameters p;
    p.freq = 1.0;      // 22 kHz, above half of a 32 kHz oversampled rate
    p.type = 1.0 / 7;  // peaking
    p.gain = 1.0;
    chain.updateBand (0, p, 32000.0);
    std::vector<float> left (20000, 0.0f), right (20000, 0.0f);
    left[0] = 1.0f;
    chain.process (left.data(), right.data(), 20000);
    EXPECT_LT (std::fabs (left.back()), 1e-6f);
    EXPECT_TRUE (std::isfinite (left.back()));
}

// One NaN and one infinity in a host block must not leave any filter or
// sampler memory non-finite, whichever bands run, so that the next block is
// clean again.
class BandChainBadSample : public testing::TestWithParam<Gating> {};

TEST_P (BandChainBadSample, LeavesEveryMemoryFinite)
{
    const auto& g = GetParam();
    BandChain chain = makeChain();
    for (int k = 0; k < BandChain::numBands; ++k)
    {
        chain.bandBypass[k] = g.bypass[k];
        chain.bandSolo[k] = g.solo[k];
    }
    PolyphaseHalfBand upLeft, upRight, downLeft, downRight;

    std::mt19937 rng (7);
    std::uniform_real_distribution<float> noise (-0.5f, 0.5f);
    auto block = [&] (std::vector<float>& left, std::vector<float>& right)
    {
        for (size_t i = 0; i < left.size(); ++i)
            left[i] = noise (rng), right[i] = noise (rng);
    };

    std::vector<float> left (48), right (48);
    block (left, right);
    left[5] = std::numeric_limits<float>::quiet_NaN();
    right[30] = std::numeric_limits<float>::infinity();
    chain.processHostBlock (left.data(), right.data(), 48, upLeft, upRight, downLeft, downRight);

    for (int k = 0; k < BandChain::numBands; ++k)
    {
        const auto& f = chain.bandFilters[k];
        for (double m : { f.x1, f.x2, f.y1, f.y2 })
            EXPECT_TRUE (std::isfinite (m)) << "band " << k + 1;
    }
    for (const auto* s : { &upLeft, &upRight, &downLeft, &downRight })
        for (float m : { s->xA, s->xB, s->yA, s->yB })
            EXPECT_TRUE (std::isfinite (m));

    block (left, right);
    chain.processHostBlock (left.data(), right.data(), 48, upLeft, upRight, downLeft, downRight);
    for (size_t i = 0; i < left.size(); ++i)
        ASSERT_TRUE (std::isfinite (left[i]) && std::isfinite (right[i])) << i;
}

INSTANTIATE_TEST_SUITE_P (Table, BandChainBadSample, testing::Values (
    Gating { "all bands", {}, {}, { 1, 1, 1, 1, 1 } },
    Gating { "bands 1 and 4 soloed", {}, { 1, 0, 0, 1, 0 }, { 1, 0, 0, 1, 0 } },
    Gating { "band 3 bypassed", { 0, 0, 1, 0, 0 }, {}, { 1, 1, 0, 1, 1 } },
    Gating { "all bypassed", { 1, 1, 1, 1, 1 }, {}, {} }));
} // namespace
