#include "engine/BandFilter.h"

#include <cmath>
#include <initializer_list>

namespace
{
constexpr double twoPi = 6.283185307179586;

bool allFinite (const double* values, int count)
{
    for (int i = 0; i < count; ++i)
        if (! std::isfinite (values[i]))
            return false;
    return true;
}
} // namespace

bool BandFilter::design (int designIndex, double frequency, double rate, double q, double gainDb)
{
    if (designIndex < 0 || designIndex >= numDesigns)
        return false;

    const double w0 = frequency * twoPi / rate;
    const double sn = std::sin (w0);
    const double cs = std::cos (w0);

    double nb0 = 0, nb1 = 0, nb2 = 0, na0 = 1, na1 = 0, na2 = 0;

    if (designIndex <= allPass)
    {
        const double alpha = sn / (2.0 * q);
        na0 = 1.0 + alpha;
        na1 = -2.0 * cs;
        na2 = 1.0 - alpha;

        switch (designIndex)
        {
            case lowPass:
                nb0 = (1.0 - cs) / 2.0;
                nb1 = 1.0 - cs;
                nb2 = (1.0 - cs) / 2.0;
                break;
            case highPass:
                nb0 = (1.0 + cs) / 2.0;
                nb1 = -(1.0 + cs);
                nb2 = (1.0 + cs) / 2.0;
                break;
            case bandPassUnityPeak:
                nb0 = alpha;
                nb1 = 0.0;
                nb2 = -alpha;
                break;
            case bandPassPeakGainQ:
                nb0 = sn / 2.0;
                nb1 = 0.0;
                nb2 = -sn / 2.0;
                break;
            case notch:
                nb0 = 1.0;
                nb1 = -2.0 * cs;
                nb2 = 1.0;
                break;
            default: // allPass
                nb0 = 1.0 - alpha;
                nb1 = -2.0 * cs;
                nb2 = 1.0 + alpha;
                break;
        }
    }
    else
    {
        const double A = std::pow (10.0, gainDb / 40.0);

        if (designIndex == peaking)
        {
            const double alpha = sn / (2.0 * q);
            nb0 = 1.0 + alpha * A;
            nb1 = -2.0 * cs;
            nb2 = 1.0 - alpha * A;
            na0 = 1.0 + alpha / A;
            na1 = -2.0 * cs;
            na2 = 1.0 - alpha / A;
        }
        else
        {
            const double beta = std::sqrt (A) * sn / q;

            if (designIndex == lowShelf)
            {
                nb0 = A * (((A + 1.0) - (A - 1.0) * cs) + beta);
                nb1 = 2.0 * A * ((A - 1.0) - (A + 1.0) * cs);
                nb2 = A * (((A + 1.0) - (A - 1.0) * cs) - beta);
                na0 = ((A + 1.0) + (A - 1.0) * cs) + beta;
                na1 = -2.0 * ((A - 1.0) + (A + 1.0) * cs);
                na2 = ((A + 1.0) + (A - 1.0) * cs) - beta;
            }
            else // highShelf
            {
                nb0 = A * (((A + 1.0) + (A - 1.0) * cs) + beta);
                nb1 = -2.0 * A * ((A - 1.0) + (A + 1.0) * cs);
                nb2 = A * (((A + 1.0) + (A - 1.0) * cs) - beta);
                na0 = ((A + 1.0) - (A - 1.0) * cs) + beta;
                na1 = 2.0 * ((A - 1.0) - (A + 1.0) * cs);
                na2 = ((A + 1.0) - (A - 1.0) * cs) - beta;
            }
        }
    }

    const double normalised[5] = { nb0 / na0, nb1 / na0, nb2 / na0, na1 / na0, na2 / na0 };

    if (! allFinite (normalised, 5))
        return false;

    b0 = normalised[0];
    b1 = normalised[1];
    b2 = normalised[2];
    a1 = normalised[3];
    a2 = normalised[4];
    return true;
}

void BandFilter::clearNonFiniteMemory()
{
    // A NaN or infinity in any term makes the sum non-finite, so a finite sum
    // settles the common case with one test (an overflowing sum of finite
    // values only costs the individual checks below).
    if (std::isfinite (y1 + y2 + x1 + x2))
        return;

    for (double* m : { &y1, &y2, &x1, &x2 })
        if (! std::isfinite (*m))
            *m = 0.0;
}
