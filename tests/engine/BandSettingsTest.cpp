#include "engine/BandSettings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
using namespace BandSettings;

TEST (BandSettings, FrequencyIsLogarithmicFrom16HzTo22kHz)
{
    EXPECT_NEAR (designFrequency (0.0), 16.0, 1e-9);
    EXPECT_NEAR (designFrequency (1.0), 22000.0, 1e-3);
    EXPECT_NEAR (designFrequency (0.5), 16.0 * std::sqrt (1375.0), 1e-3); // about 593.3 Hz
    EXPECT_EQ (designFrequency (0.3), (double) (float) designFrequency (0.3)) << "rounded to 32-bit";
}

TEST (BandSettings, GainIsLinearInDecibels)
{
    EXPECT_EQ (designGainDb (0.0), -20.0);
    EXPECT_EQ (designGainDb (0.5), 0.0);
    EXPECT_EQ (designGainDb (1.0), 20.0);
    EXPECT_NEAR (designGainDb (0.8), 12.0, 1e-5);
}

TEST (BandSettings, QBranchesMeetAtOneHalf)
{
    const double widths[] = { 0.0, 0.25, 0.5, 0.75, 1.0 };
    const double qs[] = { 0.1, 0.3, 0.5, 2.125, 6.5 };
    for (int i = 0; i < 5; ++i)
        EXPECT_NEAR (designQ (widths[i]), qs[i], 1e-6) << "width " << widths[i];
    EXPECT_NEAR (designQ (0.4999999), designQ (0.5), 1e-6);
}

TEST (BandSettings, LevelIsMinus20ToPlus20Decibels)
{
    EXPECT_NEAR (levelFactor (0.0), 0.1, 1e-7);
    EXPECT_EQ (levelFactor (0.5), 1.0);
    EXPECT_NEAR (levelFactor (1.0), 10.0, 1e-5);
    EXPECT_NEAR (levelFactor (0.75), std::sqrt (10.0), 1e-6);
}

TEST (BandSettings, AngleIsAQuarterTurn)
{
    EXPECT_EQ (std::cos (angleRadians (0.0)), 1.0);
    EXPECT_EQ (std::sin (angleRadians (0.0)), 0.0);
    EXPECT_NEAR (std::cos (angleRadians (1.0)), 6.1e-17, 1e-17);
    EXPECT_EQ (std::sin (angleRadians (1.0)), 1.0);
    EXPECT_NEAR (angleRadians (0.5), M_PI / 4, 1e-15);
}

TEST (BandSettings, TypeValueSelectsDesign)
{
    struct Case { double value; int index; };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        { 1.0, 0 }, { 0.5, 1 }, { (double) (1.0f / 3.0f), 2 }, { 0.25, 3 }, { 0.2, 4 },
        { 1.0 / 6.0, 5 }, { 1.0 / 7.0, 6 }, { (double) (1.0f / 7.0f), 6 }, { 0.125, 7 }, { 1.0 / 9.0, 8 },
        { (double) (1.0f / 9.0f), 8 }, { 0.12, 7 }, { 0.502, 0 }, { 0.5009, 1 },
        { 2.0, 0 },          // beyond 1: truncation toward zero still gives low-pass
        { 0.1011, 8 }, { 0.101, -1 }, { 0.1, -1 }, { 0.05, -1 },
        { 0.001, -1 },       // divides by zero
        { 0.0, -1 }, { -3.0, -1 }, { nan, -1 },
    };
    for (const auto& c : cases)
        EXPECT_EQ (designIndex (c.value), c.index) << "type value " << c.value;
}

TEST (BandSettings, FlagThresholdsDiffer)
{
    EXPECT_TRUE (bypassFlag (0.3));
    EXPECT_TRUE (bypassFlag (1.0));
    EXPECT_FALSE (bypassFlag (0.0));
    EXPECT_TRUE (soloFlag (1.0));
    EXPECT_FALSE (soloFlag (0.99));
    EXPECT_FALSE (soloFlag (0.5));
    EXPECT_TRUE (soloFlag (1.00000001)) << "equal to 1 once rounded to 32-bit";
}

TEST (BandSettings, FrequencyStaysBelowHalfTheRate)
{
    EXPECT_EQ (limitFrequency (22000.0, 88200.0), 22000.0);
    EXPECT_LT (limitFrequency (22000.0, 32000.0), 16000.0);
}
} // namespace
