#pragma once

#include "engine/BandFilter.h"
#include "engine/BandSettings.h"
#include "engine/PolyphaseHalfBand.h"

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
    //
    // The applied bands run side by side, one band per vector lane, as a
    // wavefront: at each step band k works on a frame a fixed number of
    // frames behind band k-1, so that every lane only needs what an earlier
    // step produced. Each lane performs exactly the arithmetic of
    // processReference, in the same order, so the two give identical bits.
    void process (float* left, float* right, int count);

    // The same frames the plain way: each frame through band 1 to band 5.
    void processReference (float* left, float* right, int count);

    // One host block of numSamples per channel, in place: both channels
    // upsampled, their 2 * numSamples frames run through the bands, and
    // downsampled back, all in one pass. Gives exactly what upsample, process
    // and downsample give one after another (the samplers' blockSize is not
    // consulted: numSamples is the block). Afterwards every filter and
    // sampler memory is finite: a value that came out NaN or infinite is set
    // to zero, so that one bad input sample cannot keep the chain producing
    // NaN.
    void processHostBlock (float* left, float* right, int numSamples,
                           PolyphaseHalfBand& upLeft, PolyphaseHalfBand& upRight,
                           PolyphaseHalfBand& downLeft, PolyphaseHalfBand& downRight);

    // The same host block frame by frame through processReference, with the
    // same guarantee of finite memories afterwards; what processHostBlock
    // does on processors without wide vector registers.
    void processHostBlockPerFrame (float* left, float* right, int numSamples,
                                   PolyphaseHalfBand& upLeft, PolyphaseHalfBand& upRight,
                                   PolyphaseHalfBand& downLeft, PolyphaseHalfBand& downRight);

    // Gating: a band runs when it is soloed, or when it is not bypassed and no
    // band is soloed.
    bool isApplied (int band) const;

    void clearNonFiniteMemory();

    // Adds 1e-10 to the samples at odd indices 1, 3, 5 ... (in 64-bit,
    // rounded back to 32-bit), which keeps silence from decaying into
    // denormal numbers in the recursive filters.
    static void addAntiDenormalOffset (float* samples, int numSamples);

    BandFilter bandFilters[numBands];
    double bandCos[numBands] = { 1, 1, 1, 1, 1 };
    double bandSin[numBands] = {};
    double bandLevel[numBands] = { 1, 1, 1, 1, 1 };
    bool bandBypass[numBands] = {};
    bool bandSolo[numBands] = {};

private:
    // Bit k set when band k runs this block.
    typedef unsigned AppliedBands;
    AppliedBands appliedBands() const;
};
