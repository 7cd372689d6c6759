#pragma once

// The six shaping values of one band as stored (normalised, nominally 0 to 1).
struct BandParameters
{
    double gain = 0.5;
    double freq = 0.5;
    double width = 0.5;
    double angle = 0.5;
    double level = 0.5;
    double type = 1.0 / 7.0;
};

// Turns stored parameter values into the quantities a band runs with. Each
// mapping rounds exactly where the engine's arithmetic rounds.
namespace BandSettings
{
    // 16 * 1375^v Hz, rounded to 32-bit.
    double designFrequency (double v);
    // 40 v - 20 dB, rounded to 32-bit.
    double designGainDb (double v);
    // Q from 0.1 to 6.5, with a linear and a fourth-power branch that meet at 0.5.
    double designQ (double v);
    // A quarter turn over 0 to 1; 0 is the left channel, 1 the right one.
    double angleRadians (double v);
    // Linear output factor, 0.1 to 10 (-20 dB to +20 dB).
    double levelFactor (double v);
    // The filter design index selected by a stored type value, or -1 when the
    // value selects no design (at or below about 0.101, or not a number).
    int designIndex (double v);

    // Designs at or above this fraction of the rate they run at are moved down
    // to it, so a host rate below 22 kHz cannot make a band unstable.
    constexpr double maximumFrequencyFraction = 0.49;
    double limitFrequency (double frequency, double rate);

    // Solo is on only for a value of exactly 1 (after rounding to 32-bit);
    // bypass is on for any value that is not zero.
    bool soloFlag (double v);
    bool bypassFlag (double v);
}
