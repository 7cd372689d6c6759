#pragma once

// One band's second-order filter: the Audio EQ Cookbook designs, run in
// direct form I with 64-bit coefficients and memory.
class BandFilter
{
public:
    enum Design
    {
        lowPass = 0,
        highPass,
        bandPassUnityPeak,
        bandPassPeakGainQ,
        notch,
        allPass,
        peaking,
        lowShelf,
        highShelf,
        numDesigns
    };

    // Replaces the five coefficients and keeps the memory. An index without a
    // design, or arguments that would give non-finite coefficients, keep the
    // previous coefficients; returns whether the coefficients were replaced.
    bool design (int designIndex, double frequency, double rate, double q, double gainDb);

    double processSample (double x)
    {
        const double y = (((b0 * x + b1 * x1) + b2 * x2) - a1 * y1) - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }

    // Any memory value that is not a finite number is set to zero, so that one
    // bad input sample cannot keep the filter producing NaN forever.
    void clearNonFiniteMemory();

    double b0 = 0, b1 = 0, b2 = 0;
    double a1 = 0, a2 = 0;
    double y1 = 0, y2 = 0;
    double x1 = 0, x2 = 0;
};
