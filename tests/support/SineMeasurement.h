#pragma once

#include <cmath>
#include <functional>

// Measures what a listener hears: the steady-state gain, in dB, of a
// sample-by-sample process for a sine at `frequency`, by a least-squares fit
// of sine and cosine at that frequency to the settled output (exact for any
// window length, whole periods or not).
inline double measureGainDb (const std::function<double (double)>& process,
                             double frequency, double rate,
                             int settleSamples = 40000, int measureSamples = 40000)
{
    const double w = 2.0 * M_PI * frequency / rate;
    for (int i = 0; i < settleSamples; ++i)
        process (std::sin (w * i));

    double ss = 0, cc = 0, sc = 0, ys = 0, yc = 0;
    for (int i = settleSamples; i < settleSamples + measureSamples; ++i)
    {
        const double s = std::sin (w * i), c = std::cos (w * i);
        const double y = process (s);
        ss += s * s;
        cc += c * c;
        sc += s * c;
        ys += y * s;
        yc += y * c;
    }
    const double det = ss * cc - sc * sc;
    const double a = (ys * cc - yc * sc) / det;
    const double b = (yc * ss - ys * sc) / det;
    return 20.0 * std::log10 (std::sqrt (a * a + b * b));
}
