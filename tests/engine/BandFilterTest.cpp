#include "engine/BandFilter.h"
#include "support/SineMeasurement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
constexpr double rate = 96000.0;

double gainDbOf (BandFilter filter, double probeFrequency)
{
    return measureGainDb ([&] (double x) { return filter.processSample (x); }, probeFrequency, rate);
}

struct MagnitudeCase
{
    const char* what;
    int design;
    double frequency, q, gainDb;
    double probe;
    double expectedDb;
    double toleranceDb;
};

class BandFilterMagnitude : public testing::TestWithParam<MagnitudeCase> {};

TEST_P (BandFilterMagnitude, GainAtProbeFrequency)
{
    const auto& c = GetParam();
    BandFilter filter;
    ASSERT_TRUE (filter.design (c.design, c.frequency, rate, c.q, c.gainDb));
    EXPECT_NEAR (gainDbOf (filter, c.probe), c.expectedDb, c.toleranceDb) << c.what;
}

const double halfPowerDb = 10.0 * std::log10 (0.5);
const double twelveDb = 12.0;

INSTANTIATE_TEST_SUITE_P (Designs, BandFilterMagnitude, testing::Values (
    MagnitudeCase { "low-pass at corner", BandFilter::lowPass, 1000, M_SQRT1_2, 0, 1000, halfPowerDb, 0.02 },
    MagnitudeCase { "low-pass passband", BandFilter::lowPass, 1000, M_SQRT1_2, 0, 50, 0.0, 0.02 },
    MagnitudeCase { "low-pass stopband, 12 dB/octave", BandFilter::lowPass, 1000, M_SQRT1_2, 0, 8000, -36.1, 0.5 },
    MagnitudeCase { "high-pass at corner", BandFilter::highPass, 1000, M_SQRT1_2, 0, 1000, halfPowerDb, 0.02 },
    MagnitudeCase { "high-pass passband", BandFilter::highPass, 1000, M_SQRT1_2, 0, 20000, 0.0, 0.05 },
    MagnitudeCase { "band-pass 0 dB peak", BandFilter::bandPassUnityPeak, 2000, 3.0, 0, 2000, 0.0, 0.02 },
    MagnitudeCase { "band-pass 0 dB peak, skirt", BandFilter::bandPassUnityPeak, 2000, 3.0, 0, 200, -29.6, 0.5 },
    MagnitudeCase { "band-pass peak gain Q", BandFilter::bandPassPeakGainQ, 2000, 3.0, 0, 2000, 20.0 * std::log10 (3.0), 0.02 },
    MagnitudeCase { "notch far away", BandFilter::notch, 1500, 1.0, 0, 30, 0.0, 0.02 },
    MagnitudeCase { "all-pass low", BandFilter::allPass, 1500, 0.7, 0, 100, 0.0, 0.01 },
    MagnitudeCase { "all-pass at centre", BandFilter::allPass, 1500, 0.7, 0, 1500, 0.0, 0.01 },
    MagnitudeCase { "all-pass high", BandFilter::allPass, 1500, 0.7, 0, 30000, 0.0, 0.01 },
    MagnitudeCase { "peak +12 dB at centre", BandFilter::peaking, 1000, 1.0, 12, 1000, twelveDb, 0.02 },
    MagnitudeCase { "peak +12 dB far away", BandFilter::peaking, 1000, 1.0, 12, 20, 0.0, 0.1 },
    MagnitudeCase { "peak -12 dB at centre", BandFilter::peaking, 1000, 1.0, -12, 1000, -twelveDb, 0.02 },
    MagnitudeCase { "low shelf +12 dB, shelf side", BandFilter::lowShelf, 1000, M_SQRT1_2, 12, 20, twelveDb, 0.05 },
    MagnitudeCase { "low shelf +12 dB, other side", BandFilter::lowShelf, 1000, M_SQRT1_2, 12, 30000, 0.0, 0.05 },
    MagnitudeCase { "low shelf midpoint is half the gain", BandFilter::lowShelf, 1000, M_SQRT1_2, 12, 1000, 6.0, 0.05 },
    MagnitudeCase { "high shelf +12 dB, shelf side", BandFilter::highShelf, 1000, M_SQRT1_2, 12, 30000, twelveDb, 0.05 },
    MagnitudeCase { "high shelf +12 dB, other side", BandFilter::highShelf, 1000, M_SQRT1_2, 12, 20, 0.0, 0.05 }));

TEST (BandFilter, NotchRemovesItsCentreFrequency)
{
    BandFilter filter;
    ASSERT_TRUE (filter.design (BandFilter::notch, 1500, rate, 1.0, 0.0));
    EXPECT_LT (gainDbOf (filter, 1500), -80.0);
}

TEST (BandFilter, ZeroGainDesignsThatUseGainAreTransparent)
{
    for (int design : { BandFilter::peaking, BandFilter::lowShelf, BandFilter::highShelf })
    {
        BandFilter filter;
        ASSERT_TRUE (filter.design (design, 3000, rate, 0.8, 0.0));
        const double impulse[] = { 1, 0, 0, 0, 0, 0 };
        for (int i = 0; i < 6; ++i)
            EXPECT_NEAR (filter.processSample (impulse[i]), impulse[i], 1e-15) << "design " << design << " sample " << i;
    }
}

// At a quarter of the rate cos w0 is 0 and sin w0 is 1; with q = 0.5, alpha
// is 1, so the low-pass coefficients are b = (1/4, 1/2, 1/4), a1 = a2 = 0.
TEST (BandFilter, LowPassImpulseResponseAtQuarterRate)
{
    BandFilter filter;
    ASSERT_TRUE (filter.design (BandFilter::lowPass, rate / 4, rate, 0.5, 0.0));
    const double expected[] = { 0.25, 0.5, 0.25, 0.0, 0.0 };
    for (int i = 0; i < 5; ++i)
        EXPECT_NEAR (filter.processSample (i == 0 ? 1.0 : 0.0), expected[i], 1e-15) << "sample " << i;
}

// The same place for the all-pass gives b = (0, 0, 1), a pure two-sample
// delay. Switching to it mid-stream must use the old input memory.
TEST (BandFilter, RedesignKeepsMemory)
{
    BandFilter filter;
    ASSERT_TRUE (filter.design (BandFilter::lowPass, rate / 4, rate, 0.5, 0.0));
    EXPECT_NEAR (filter.processSample (1.0), 0.25, 1e-15);

    ASSERT_TRUE (filter.design (BandFilter::allPass, rate / 4, rate, 0.5, 0.0));
    EXPECT_NEAR (filter.processSample (0.0), 0.0, 1e-15);
    EXPECT_NEAR (filter.processSample (0.0), 1.0, 1e-15) << "the impulse, two samples late, from the kept memory";
    EXPECT_NEAR (filter.processSample (0.0), 0.0, 1e-15);
}

TEST (BandFilter, NewFilterOutputsSilence)
{
    BandFilter filter;
    EXPECT_EQ (filter.processSample (1.0), 0.0);
    EXPECT_EQ (filter.processSample (-0.5), 0.0);
}

TEST (BandFilter, DesignsThatCannotBeMadeKeepThePreviousCoefficients)
{
    struct Case { const char* what; int design; double frequency, q, gainDb; };
    const Case cases[] = {
        { "index below the designs", -1, 1000, 1, 0 },
        { "index above the designs", 9, 1000, 1, 0 },
        { "zero Q divides by zero", BandFilter::lowPass, 1000, 0.0, 0 },
        { "not-a-number frequency", BandFilter::peaking, std::numeric_limits<double>::quiet_NaN(), 1, 6 },
        { "gain too large to represent", BandFilter::lowShelf, 1000, 1, 1.0e6 },
    };

    for (const auto& c : cases)
    {
        BandFilter filter;
        ASSERT_TRUE (filter.design (BandFilter::peaking, 1000, rate, 1.0, 6.0));
        const BandFilter before = filter;
        EXPECT_FALSE (filter.design (c.design, c.frequency, rate, c.q, c.gainDb)) << c.what;
        EXPECT_EQ (filter.b0, before.b0) << c.what;
        EXPECT_EQ (filter.b1, before.b1) << c.what;
        EXPECT_EQ (filter.b2, before.b2) << c.what;
        EXPECT_EQ (filter.a1, before.a1) << c.what;
        EXPECT_EQ (filter.a2, before.a2) << c.what;
    }
}

TEST (BandFilter, NonFiniteMemoryIsCleared)
{
    BandFilter filter;
    ASSERT_TRUE (filter.design (BandFilter::peaking, 1000, rate, 1.0, 6.0));
    filter.processSample (std::numeric_limits<double>::quiet_NaN());
    filter.processSample (0.0);
    filter.clearNonFiniteMemory();
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE (std::isfinite (filter.processSample (0.25)));
}
} // namespace
