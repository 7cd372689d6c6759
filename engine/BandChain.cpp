#include "engine/BandChain.h"

#include <cmath>

void BandChain::updateBand (int band, const BandParameters& p, double oversampledRate)
{
    const double theta = BandSettings::angleRadians (p.angle);
    const double c = std::cos (theta);
    const double s = std::sin (theta);
    if (std::isfinite (c) && std::isfinite (s))
    {
        bandCos[band] = c;
        bandSin[band] = s;
    }

    const double level = BandSettings::levelFactor (p.level);
    if (std::isfinite (level))
        bandLevel[band] = level;

    const double frequency = BandSettings::limitFrequency (BandSettings::designFrequency (p.freq), oversampledRate);
    bandFilters[band].design (BandSettings::designIndex (p.type),
                              frequency,
                              oversampledRate,
                              BandSettings::designQ (p.width),
                              BandSettings::designGainDb (p.gain));
}

bool BandChain::isApplied (int band) const
{
    if (bandSolo[band])
        return true;

    for (bool solo : bandSolo)
        if (solo)
            return false;

    return ! bandBypass[band];
}

void BandChain::process (float* left, float* right, int count)
{
    bool applied[numBands];
    for (int k = 0; k < numBands; ++k)
        applied[k] = isApplied (k);

    for (int i = 0; i < count; ++i)
    {
        double L = left[i];
        double R = right[i];

        for (int k = 0; k < numBands; ++k)
        {
            if (! applied[k])
                continue;

            const double c = bandCos[k];
            const double s = bandSin[k];
            const double g = bandLevel[k];

            const double u = c * L + s * R;
            const double y = bandFilters[k].processSample (u);
            const double v = bandSolo[k] ? 0.0 : c * R - s * L;
            L = (c * y) * g - s * v;
            R = c * v + (s * y) * g;
        }

        left[i] = (float) L;
        right[i] = (float) R;
    }
}

void BandChain::clearNonFiniteMemory()
{
    for (auto& filter : bandFilters)
        filter.clearNonFiniteMemory();
}
