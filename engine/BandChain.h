#pragma once

#include "engine/BandFilter.h"
#include "engine/BandSettings.h"

// The five bands as the audio thread runs them: per band a filter, the cosine
// and sine of its axis, its output factor and its bypass and solo flags.
// Owned and touched by one thread only (the audio thread); other threads hand
// over new parameter values through the processor.
class BandChain
{
public:
    static constexpr int numBands = 5;

    // Recomputes band `band` (0-based) from its six stored values. Any
    // quantity that comes out non-finite keeps its previous value, and a type
    // value without a design keeps the previous coefficients.
    void updateBand (int band, const BandParameters& parameters, double oversampledRate);

    // Runs `count` oversampled frames in place through bands 1 to 5.
    void process (float* left, float* right, int count);

    // Gating: a band runs when it is soloed, or when it is not bypassed and no
    // band is soloed.
    bool isApplied (int band) const;

    void clearNonFiniteMemory();

    BandFilter bandFilters[numBands];
    double bandCos[numBands] = { 1, 1, 1, 1, 1 };
    double bandSin[numBands] = {};
    double bandLevel[numBands] = { 1, 1, 1, 1, 1 };
    bool bandBypass[numBands] = {};
    bool bandSolo[numBands] = {};
};
