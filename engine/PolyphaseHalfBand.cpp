#include "engine/PolyphaseHalfBand.h"

#include <cmath>
#include <initializer_list>

namespace
{
inline float allPassStep (float c, float& x, float& y, float s)
{
    y = (s - y) * c + x;
    x = s;
    return y;
}

// q^e for a non-negative integer e, by repeated squaring.
double integerPower (double base, long exponent)
{
    double result = 1.0;
    while (exponent > 0)
    {
        if (exponent & 1)
            result *= base;
        base *= base;
        exponent >>= 1;
    }
    return result;
}
} // namespace

PolyphaseHalfBand::PolyphaseHalfBand()
    : cA ((float) designCoefficient (0)),
      cB ((float) designCoefficient (1))
{
}

double PolyphaseHalfBand::designCoefficient (int index)
{
    constexpr double pi = 3.141592653589793;
    constexpr int order = 5;
    constexpr double k = 0.5278640450004206;
    constexpr double q = 0.020402271398940137;
    constexpr double qQuarter = 0.37793719033230966;
    constexpr double tiny = 1e-100;

    const double c = index + 1;

    double numerator = 0.0;
    for (long j = 0;; ++j)
    {
        const double term = ((j & 1) ? -1.0 : 1.0) * integerPower (q, j * (j + 1))
                          * std::sin ((2.0 * (double) j + 1.0) * c * pi / order);
        numerator += term;
        if (! (std::fabs (term) > tiny))
            break;
    }

    double denominator = 0.0;
    for (long j = 1;; ++j)
    {
        const double term = ((j & 1) ? -1.0 : 1.0) * integerPower (q, j * j)
                          * std::cos (2.0 * (double) j * c * pi / order);
        denominator += term;
        if (! (std::fabs (term) > tiny))
            break;
    }

    const double w = numerator * qQuarter / (denominator + 0.5);
    const double w2 = w * w;
    const double x = std::sqrt ((1.0 - w2 * k) * (1.0 - w2 / k)) / (1.0 + w2);
    return (1.0 - x) / (1.0 + x);
}

void PolyphaseHalfBand::upsample (const float* in, float* out)
{
    for (int j = 0; j < blockSize; ++j)
    {
        const float s = in[j];
        out[2 * j] = allPassStep (cA, xA, yA, s);
        out[2 * j + 1] = allPassStep (cB, xB, yB, s);
    }
}

void PolyphaseHalfBand::downsample (const float* in, float* out)
{
    for (int m = 0; m < blockSize; ++m)
    {
        const float e = in[2 * m];
        const float o = in[2 * m + 1];
        const float a = allPassStep (cA, xA, yA, o);
        const float b = allPassStep (cB, xB, yB, e);
        out[m] = (b + a) * 0.5f;
    }
}

void PolyphaseHalfBand::clearNonFiniteMemory()
{
    // As in the band filter: one test when everything is finite.
    if (std::isfinite ((double) xA + (double) xB + (double) yA + (double) yB))
        return;

    for (float* m : { &xA, &xB, &yA, &yB })
        if (! std::isfinite (*m))
            *m = 0.0f;
}
