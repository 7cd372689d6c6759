#include "engine/BandSettings.h"

#include <cmath>

namespace BandSettings
{
double designFrequency (double v)
{
    return (double) (float) (16.0 * std::pow (1375.0, v));
}

double designGainDb (double v)
{
    return (double) (float) (40.0 * v - 20.0);
}

double designQ (double v)
{
    const float w = (float) v;
    if (w < 0.5f)
        return (double) (w * 0.8f + 0.1f);
    return (double) (((w * w) * (w * w)) * 6.4f + 0.1f);
}

double angleRadians (double v)
{
    const float a = (float) v;
    return (double) a * 3.141592653589793 * 0.5;
}

double levelFactor (double v)
{
    const float exponent = (float) (((v - 0.5) * 2.0) / 20.0 * 20.0);
    return (double) std::pow (10.0f, exponent);
}

int designIndex (double v)
{
    // The quotient is formed in 64-bit and range-checked before it becomes an
    // integer: 0.001 itself divides by zero, and values at or below about
    // 0.101 give indexes without a design. Truncation is toward zero, so the
    // open interval (-1, 9) is what maps onto the nine designs.
    const double quotient = 1.0 / (v - 0.001) - 1.0;
    if (! (quotient > -1.0 && quotient < 9.0))
        return -1;
    return (int) quotient;
}

double limitFrequency (double frequency, double rate)
{
    const double limit = maximumFrequencyFraction * rate;
    return frequency < limit ? frequency : limit;
}

bool soloFlag (double v)
{
    return (float) v == 1.0f;
}

bool bypassFlag (double v)
{
    return v != 0.0;
}
} // namespace BandSettings
