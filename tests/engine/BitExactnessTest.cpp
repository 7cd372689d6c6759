// The optimised engine paths against the straightforward ones, bit for bit:
//  - BandChain::process (bands side by side in vector lanes) against
//    BandChain::processReference (each frame through band 1 to band 5);
//  - BandChain::processHostBlock (samplers and bands in one pass) against
//    upsample, processReference and downsample one after another.
// Outputs and every filter and sampler memory afterwards must be identical.
#include "engine/BandChain.h"
#include "engine/PolyphaseHalfBand.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace
{
struct Gating
{
    const char* what;
    bool bypass[5];
    bool solo[5];
};

const Gating gatings[] = {
    { "all applied", {}, {} },
    { "bypass 2 and 4", { 0, 1, 0, 1, 0 }, {} },
    { "only band 5", { 1, 1, 1, 1, 0 }, {} },
    { "only band 1", { 0, 1, 1, 1, 1 }, {} },
    { "solo 3", {}, { 0, 0, 1, 0, 0 } },
    { "solo and bypass on 2", { 0, 1, 0, 0, 0 }, { 0, 1, 0, 0, 0 } },
    { "solo 1 and 4, others bypassed", { 0, 1, 1, 0, 1 }, { 1, 0, 0, 1, 0 } },
    { "all soloed", {}, { 1, 1, 1, 1, 1 } },
    { "all bypassed", { 1, 1, 1, 1, 1 }, {} },
};

// Short lengths, where the steps at which the bands start and finish meet
// or overlap (the last band starts a few frames after the first), and long
// ones with many steps in between.
const int blockSizes[] = { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 16, 33, 64, 255, 512, 4096 };

BandChain randomChain (std::mt19937& rng, double rate)
{
    std::uniform_real_distribution<double> unit (0.0, 1.0);
    std::uniform_int_distribution<int> typeNumber (1, 9);
    BandChain chain;
    for (int k = 0; k < BandChain::numBands; ++k)
    {
        BandParameters p;
        p.gain = unit (rng);
        p.freq = unit (rng);
        p.width = unit (rng);
        p.angle = unit (rng);
        p.level = unit (rng);
        p.type = 1.0 / typeNumber (rng);
        chain.updateBand (k, p, rate);
    }
    return chain;
}

void setGating (BandChain& chain, const Gating& g)
{
    for (int k = 0; k < BandChain::numBands; ++k)
    {
        chain.bandBypass[k] = g.bypass[k];
        chain.bandSolo[k] = g.solo[k];
    }
}

// A mixture of loud noise, quiet noise and silence, so that the filters see
// large, tiny and zero inputs.
std::vector<float> randomSignal (std::mt19937& rng, int length)
{
    std::uniform_real_distribution<float> sample (-1.0f, 1.0f);
    std::uniform_int_distribution<int> kind (0, 7);
    std::vector<float> s ((size_t) length);
    const int k = kind (rng);
    for (auto& x : s)
        x = k == 0 ? 0.0f : k == 1 ? sample (rng) * 1e-6f : sample (rng) * (k == 2 ? 8.0f : 1.0f);
    return s;
}

bool sameBits (const void* a, const void* b, size_t bytes)
{
    return std::memcmp (a, b, bytes) == 0;
}

void expectSameMemories (const BandChain& fast, const BandChain& plain, const std::string& where)
{
    for (int k = 0; k < BandChain::numBands; ++k)
    {
        const auto& f = fast.bandFilters[k];
        const auto& p = plain.bandFilters[k];
        const double fm[4] = { f.x1, f.x2, f.y1, f.y2 };
        const double pm[4] = { p.x1, p.x2, p.y1, p.y2 };
        EXPECT_TRUE (sameBits (fm, pm, sizeof fm)) << where << ", memory of band " << (k + 1)
                                                   << ": " << f.y1 << " vs " << p.y1;
    }
}

void expectSameSampler (const PolyphaseHalfBand& fast, const PolyphaseHalfBand& plain, const std::string& where)
{
    const float fm[4] = { fast.xA, fast.xB, fast.yA, fast.yB };
    const float pm[4] = { plain.xA, plain.xB, plain.yA, plain.yB };
    EXPECT_TRUE (sameBits (fm, pm, sizeof fm)) << where;
}

size_t firstDifference (const std::vector<float>& a, const std::vector<float>& b)
{
    for (size_t i = 0; i < a.size(); ++i)
        if (! sameBits (&a[i], &b[i], sizeof (float)))
            return i;
    return a.size();
}

class BitExactness : public testing::TestWithParam<Gating> {};

// The three stages one after another, the way the processor used to run a
// host block: the reference that the one-pass paths must match.
void runStaged (BandChain& plain, std::vector<float>& left, std::vector<float>& right,
                PolyphaseHalfBand& upL, PolyphaseHalfBand& upR, PolyphaseHalfBand& downL, PolyphaseHalfBand& downR)
{
    const int n = (int) left.size();
    std::vector<float> midLeft ((size_t) n * 2), midRight ((size_t) n * 2);
    for (auto* s : { &upL, &upR, &downL, &downR })
        s->blockSize = n;
    upL.upsample (left.data(), midLeft.data());
    upR.upsample (right.data(), midRight.data());
    plain.processReference (midLeft.data(), midRight.data(), n * 2);
    downL.downsample (midLeft.data(), left.data());
    downR.downsample (midRight.data(), right.data());
}

// Oversampled frames through the bands: several consecutive blocks of every
// size, so that memories carried from block to block are covered as well.
TEST_P (BitExactness, LaneChainMatchesPerFrameLoop)
{
    const Gating& g = GetParam();
    std::mt19937 rng (1234);

    for (int trial = 0; trial < 4; ++trial)
    {
        BandChain fast = randomChain (rng, trial % 2 == 0 ? 96000.0 : 88200.0);
        setGating (fast, g);
        BandChain plain = fast;

        for (int count : blockSizes)
        {
            for (int block = 0; block < 3; ++block)
            {
                const std::string where = std::string (g.what) + ", trial " + std::to_string (trial)
                                        + ", " + std::to_string (count) + " frames, block " + std::to_string (block);
                auto left = randomSignal (rng, count);
                auto right = randomSignal (rng, count);
                auto plainLeft = left, plainRight = right;

                fast.process (left.data(), right.data(), count);
                plain.processReference (plainLeft.data(), plainRight.data(), count);

                EXPECT_EQ (firstDifference (left, plainLeft), left.size()) << where << ", left";
                EXPECT_EQ (firstDifference (right, plainRight), right.size()) << where << ", right";
                expectSameMemories (fast, plain, where);
            }
        }
    }
}

// Host blocks through samplers and bands in one pass, against the three
// stages run one after another the way the processor used to.
TEST_P (BitExactness, OnePassHostBlockMatchesStagedProcessing)
{
    const Gating& g = GetParam();
    std::mt19937 rng (98765);

    for (int trial = 0; trial < 3; ++trial)
    {
        BandChain fast = randomChain (rng, 96000.0);
        setGating (fast, g);
        BandChain plain = fast;
        BandChain perFrame = fast;
        PolyphaseHalfBand upL, upR, downL, downR;
        PolyphaseHalfBand plainUpL, plainUpR, plainDownL, plainDownR;
        PolyphaseHalfBand frameUpL, frameUpR, frameDownL, frameDownR;

        for (int n : blockSizes)
        {
            for (int block = 0; block < 3; ++block)
            {
                const std::string where = std::string (g.what) + ", trial " + std::to_string (trial)
                                        + ", block size " + std::to_string (n) + ", block " + std::to_string (block);
                auto left = randomSignal (rng, n);
                auto right = randomSignal (rng, n);
                auto plainLeft = left, plainRight = right;
                auto frameLeft = left, frameRight = right;

                fast.processHostBlock (left.data(), right.data(), n, upL, upR, downL, downR);
                perFrame.processHostBlockPerFrame (frameLeft.data(), frameRight.data(), n, frameUpL, frameUpR, frameDownL, frameDownR);

                runStaged (plain, plainLeft, plainRight, plainUpL, plainUpR, plainDownL, plainDownR);

                EXPECT_EQ (firstDifference (left, plainLeft), left.size()) << where << ", left";
                EXPECT_EQ (firstDifference (right, plainRight), right.size()) << where << ", right";
                expectSameMemories (fast, plain, where);
                expectSameSampler (upL, plainUpL, where + ", upsampler left");
                expectSameSampler (upR, plainUpR, where + ", upsampler right");
                expectSameSampler (downL, plainDownL, where + ", downsampler left");
                expectSameSampler (downR, plainDownR, where + ", downsampler right");

                // The path taken where wide vector registers are missing.
                EXPECT_EQ (firstDifference (frameLeft, plainLeft), left.size()) << where << ", per frame, left";
                EXPECT_EQ (firstDifference (frameRight, plainRight), right.size()) << where << ", per frame, right";
                expectSameMemories (perFrame, plain, where + ", per frame");
                expectSameSampler (frameDownR, plainDownR, where + ", per frame, downsampler right");
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P (Gatings, BitExactness, testing::ValuesIn (gatings));

// Settings that change between blocks, with random flags each time: a band
// that was skipped resumes from its old memory in both paths alike.
TEST (BitExactnessAcrossChanges, RandomFlagsAndSettingsPerBlock)
{
    std::mt19937 rng (4242);
    std::bernoulli_distribution coin (0.3);
    std::uniform_int_distribution<int> size (1, 700);

    BandChain fast = randomChain (rng, 96000.0);
    BandChain plain = fast;
    PolyphaseHalfBand upL, upR, downL, downR;
    PolyphaseHalfBand plainUpL, plainUpR, plainDownL, plainDownR;

    for (int block = 0; block < 60; ++block)
    {
        if (block % 7 == 3)
        {
            BandChain fresh = randomChain (rng, 96000.0);
            for (int k = 0; k < BandChain::numBands; ++k)
            {
                fast.bandCos[k] = plain.bandCos[k] = fresh.bandCos[k];
                fast.bandSin[k] = plain.bandSin[k] = fresh.bandSin[k];
                fast.bandLevel[k] = plain.bandLevel[k] = fresh.bandLevel[k];
                for (BandChain* c : { &fast, &plain })
                {
                    auto& f = c->bandFilters[k];
                    const auto& d = fresh.bandFilters[k];
                    f.b0 = d.b0, f.b1 = d.b1, f.b2 = d.b2, f.a1 = d.a1, f.a2 = d.a2;
                }
            }
        }
        for (int k = 0; k < BandChain::numBands; ++k)
        {
            fast.bandBypass[k] = plain.bandBypass[k] = coin (rng);
            fast.bandSolo[k] = plain.bandSolo[k] = coin (rng) && coin (rng);
        }

        const int n = size (rng);
        const std::string where = "block " + std::to_string (block) + " of " + std::to_string (n);
        auto left = randomSignal (rng, n);
        auto right = randomSignal (rng, n);
        auto plainLeft = left, plainRight = right;

        fast.processHostBlock (left.data(), right.data(), n, upL, upR, downL, downR);

        runStaged (plain, plainLeft, plainRight, plainUpL, plainUpR, plainDownL, plainDownR);

        ASSERT_EQ (firstDifference (left, plainLeft), left.size()) << where << ", left";
        ASSERT_EQ (firstDifference (right, plainRight), right.size()) << where << ", right";
        expectSameMemories (fast, plain, where);
        expectSameSampler (downL, plainDownL, where + ", downsampler left");
        expectSameSampler (downR, plainDownR, where + ", downsampler right");
    }
}

// The anti-denormal offset, sixteen samples at a time, against one sample at a
// time: lengths around the vector width, and values that the offset changes
// (zero, denormals, tiny) and leaves alone (large), and negative zero, whose
// sign must survive on even positions.
TEST (AntiDenormalOffset, MatchesOneSampleAtATime)
{
    std::mt19937 rng (11);
    std::uniform_real_distribution<float> tiny (-1e-6f, 1e-6f);
    const float special[] = { 0.0f, -0.0f, 1e-40f, -1e-40f, 1e-10f, -1e-10f, 1.0f, -3.5e7f, 6e-8f };
    for (int n : { 0, 1, 2, 15, 16, 17, 31, 32, 33, 100, 512 })
    {
        std::vector<float> samples ((size_t) n);
        for (size_t j = 0; j < samples.size(); ++j)
            samples[j] = j % 3 == 0 ? special[(j / 3) % 9] : tiny (rng);
        auto expected = samples;
        for (size_t j = 1; j < expected.size(); j += 2)
            expected[j] = (float) ((double) expected[j] + 1e-10);

        BandChain::addAntiDenormalOffset (samples.data(), n);
        ASSERT_EQ (firstDifference (samples, expected), samples.size()) << "length " << n;
    }

    float worked[2] = { -0.0f, 0.0f };
    BandChain::addAntiDenormalOffset (worked, 2);
    EXPECT_TRUE (std::signbit (worked[0]) && worked[0] == 0.0f);
    EXPECT_EQ (worked[1], 1e-10f);
}
} // namespace
