#include "engine/BandChain.h"

#include <cmath>
#include <type_traits>

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

// Lane vectors wider than the baseline instruction set are only ever used
// inside this file's always-inlined helpers, so their calling convention
// never matters.
#if defined(__GNUC__) && ! defined(__clang__)
 #pragma GCC diagnostic ignored "-Wpsabi"
#endif

namespace
{
// Eight lanes of 64-bit floats, one per band (three stay idle), and a lane
// mask of the same shape. The compiler maps them onto whatever vector
// registers the target has.
constexpr int numLanes = 8;
typedef double Lanes __attribute__ ((vector_size (numLanes * sizeof (double))));
typedef long long LaneMask __attribute__ ((vector_size (numLanes * sizeof (long long))));

// How many frames each band runs behind the band before it. Band k reads, at
// step t, what band k-1 produced at step t - lag, which leaves the processor
// time to finish that before it is needed.
#ifndef WAVEFRONT_LAG
#define WAVEFRONT_LAG 2
#endif
constexpr int lag = WAVEFRONT_LAG;

#define TRELVANE_INLINE inline __attribute__ ((always_inline))
#define TRELVANE_LAMBDA_INLINE __attribute__ ((always_inline))

// On x86-64 ELF builds with GCC the two block loops are compiled once per
// instruction set and chosen when the program loads, so that the eight lanes
// fill one register where the processor has wide ones. The source, and with
// it every operation and its order, is the same in each version.
// Load-time selection runs before a sanitizer runtime is ready, so sanitizer
// builds use the baseline instruction set only.
#if defined(__GNUC__) && ! defined(__clang__) && defined(__x86_64__) && defined(__ELF__) && ! defined(TRELVANE_NO_TARGET_CLONES) \
    && ! defined(__SANITIZE_THREAD__) && ! defined(__SANITIZE_ADDRESS__)
 #define TRELVANE_TARGETS __attribute__ ((target_clones ("avx512f", "avx2", "default")))
 #define TRELVANE_LOAD_TIME_DISPATCH 1
#else
 #define TRELVANE_TARGETS
 #define TRELVANE_LOAD_TIME_DISPATCH 0
#endif

// The eight-lane wavefront pays off only where one register holds all eight
// lanes (512-bit vectors). With narrower vectors the compiler spills them and
// the wavefront measured slower than the plain per-frame loop, so there the
// host block runs the plain way. Sanitizer builds always take the wavefront,
// so that it is checked too.
#if TRELVANE_LOAD_TIME_DISPATCH
const bool wavefrontPaysOff = []
{
    __builtin_cpu_init();
    return __builtin_cpu_supports ("avx512f") != 0;
}();
#elif defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
constexpr bool wavefrontPaysOff = true;
#else
constexpr bool wavefrontPaysOff = false;
#endif

TRELVANE_INLINE Lanes select (LaneMask mask, Lanes whenSet, Lanes whenClear)
{
    return (Lanes) (((LaneMask) whenSet & mask) | ((LaneMask) whenClear & ~mask));
}

// Lanes moved up by one; lane 0 takes lane 0 of `fresh`.
TRELVANE_INLINE Lanes shiftUp (Lanes previous, Lanes fresh)
{
#if defined(__clang__)
    return __builtin_shufflevector (fresh, previous, 0, 8, 9, 10, 11, 12, 13, 14);
#else
    return __builtin_shuffle (previous, fresh, LaneMask { 8, 0, 1, 2, 3, 4, 5, 6 });
#endif
}

// The applied bands of one block, packed into lanes 0 .. count-1 in band
// order. Idle lanes hold zeros throughout.
struct Wavefront
{
    Lanes c, s, g;
    Lanes b0, b1, b2, a1, a2;
    LaneMask keepOrthogonal; // all bits set where the band is not soloed
    Lanes x1, x2, y1, y2;
    int count;               // applied bands, in lanes 0 .. count-1
    int band[BandChain::numBands];
};

// One step of every lane: the band's rotation, filter and rotation back, in
// exactly the order of the per-frame loop.
TRELVANE_INLINE void step (Wavefront& w, Lanes& L, Lanes& R)
{
    const Lanes u = w.c * L + w.s * R;
    const Lanes y = (((w.b0 * u + w.b1 * w.x1) + w.b2 * w.x2) - w.a1 * w.y1) - w.a2 * w.y2;
    w.x2 = w.x1;
    w.x1 = u;
    w.y2 = w.y1;
    w.y1 = y;

    const Lanes v = (Lanes) ((LaneMask) (w.c * R - w.s * L) & w.keepOrthogonal);
    const Lanes newL = (w.c * y) * w.g - w.s * v;
    const Lanes newR = w.c * v + (w.s * y) * w.g;
    L = newL;
    R = newR;
}

// The wavefront's bookkeeping between steps: what each lane produced `lag`
// steps ago, which its upper neighbour reads now.
struct History
{
    Lanes left[lag] = {}, right[lag] = {};
};

// Lane k meets the block's first frame at step lag * k and its last frame at
// step lag * k + frames - 1. Every step runs all lanes unmasked, so that the
// fill and drain steps cost what any other step costs; instead each lane's
// filter memory is put back to where the block found it just before its
// first frame, and taken out just after its last one. What a lane computes
// outside its own frames is never read by a band that is running.
struct LaneMemories
{
    explicit LaneMemories (const Wavefront& w)
        : atStart { w.x1, w.x2, w.y1, w.y2 }, atEnd { w.x1, w.x2, w.y1, w.y2 }
    {
    }

    static TRELVANE_INLINE LaneMask only (int lane)
    {
        const LaneMask index { 0, 1, 2, 3, 4, 5, 6, 7 };
        return (LaneMask) (index == (long long) lane);
    }

    TRELVANE_INLINE void restore (Wavefront& w, int lane) const
    {
        const LaneMask m = only (lane);
        w.x1 = select (m, atStart[0], w.x1);
        w.x2 = select (m, atStart[1], w.x2);
        w.y1 = select (m, atStart[2], w.y1);
        w.y2 = select (m, atStart[3], w.y2);
    }

    TRELVANE_INLINE void save (const Wavefront& w, int lane)
    {
        const LaneMask m = only (lane);
        atEnd[0] = select (m, w.x1, atEnd[0]);
        atEnd[1] = select (m, w.x2, atEnd[1]);
        atEnd[2] = select (m, w.y1, atEnd[2]);
        atEnd[3] = select (m, w.y2, atEnd[3]);
    }

    void finish (Wavefront& w) const
    {
        w.x1 = atEnd[0];
        w.x2 = atEnd[1];
        w.y1 = atEnd[2];
        w.y2 = atEnd[3];
    }

    // Before step t: the lane whose first frame this is takes its memory back.
    template <int last>
    TRELVANE_INLINE void beforeStep (Wavefront& w, int t) const
    {
        if (t % lag == 0 && t > 0 && t <= lag * last)
            restore (w, t / lag);
    }

    // After step t: the lane whose last frame this was gives its memory up.
    template <int last>
    TRELVANE_INLINE void afterStep (const Wavefront& w, int t, int frames)
    {
        const int d = t - (frames - 1);
        if (d % lag == 0 && d >= 0 && d <= lag * last)
            save (w, d / lag);
    }

    Lanes atStart[4], atEnd[4];
};

// Step t of the wavefront: lane 0 takes frame t (fresh), lane k the output of
// lane k-1 from step t - lag. Returns, in outL/outR, the frame that leaves the
// last applied band (frame t - lag * (count - 1)).
template <int last>
TRELVANE_INLINE void wavefrontStep (Wavefront& w, History& h, int slot,
                                    double freshLeft, double freshRight, double& outL, double& outR)
{
    Lanes& slotL = h.left[slot];
    Lanes& slotR = h.right[slot];
    Lanes L = shiftUp (slotL, Lanes { freshLeft });
    Lanes R = shiftUp (slotR, Lanes { freshRight });
    step (w, L, R);
    slotL = L;
    slotR = R;
    outL = L[last];
    outR = R[last];
}

// Runs steps 0 to total - 1: the steps near either end of the block check
// for lanes entering or leaving the block, the ones between run plain.
template <typename Run>
TRELVANE_INLINE void runEdgesAndSteady (Run& run, int steadyFrom, int steadyTo, int total)
{
    if (steadyFrom < steadyTo)
    {
        run (std::true_type {}, 0, steadyFrom);
        run (std::false_type {}, steadyFrom, steadyTo);
        run (std::true_type {}, steadyTo, total);
    }
    else
    {
        run (std::true_type {}, 0, total);
    }
}

template <int last>
TRELVANE_INLINE void runWavefrontFor (Wavefront& w, float* left, float* right, int frames)
{
    History h;
    LaneMemories memories (w);
    const int fill = lag * last;
    const int total = frames + fill;

    // With `edges`, the steps where lanes start or finish and where the input
    // or output runs past the block; the steps in between need no checks.
    auto run = [&] (auto edges, int from, int to) TRELVANE_LAMBDA_INLINE
    {
        for (int t = from; t < to; ++t)
        {
            const bool haveInput = ! edges || t < frames;
            if (edges)
                memories.beforeStep<last> (w, t);
            double outL, outR;
            wavefrontStep<last> (w, h, t % lag,
                                 haveInput ? (double) left[t] : 0.0,
                                 haveInput ? (double) right[t] : 0.0,
                                 outL, outR);
            if (edges)
                memories.afterStep<last> (w, t, frames);
            const int f = t - fill;
            if (! edges || f >= 0)
            {
                left[f] = (float) outL;
                right[f] = (float) outR;
            }
        }
    };

    runEdgesAndSteady (run, fill + 1, frames - 1, total);
    memories.finish (w);
}

// Four single-precision lanes: path A of left and right, path B of left and
// right, for a pair of samplers that run side by side.
typedef float Quad __attribute__ ((vector_size (4 * sizeof (float))));

struct SamplerPair
{
    SamplerPair (PolyphaseHalfBand& l, PolyphaseHalfBand& r)
        : left (l), right (r),
          c { l.cA, r.cA, l.cB, r.cB },
          x { l.xA, r.xA, l.xB, r.xB },
          y { l.yA, r.yA, l.yB, r.yB }
    {
    }

    ~SamplerPair()
    {
        left.xA = x[0], right.xA = x[1], left.xB = x[2], right.xB = x[3];
        left.yA = y[0], right.yA = y[1], left.yB = y[2], right.yB = y[3];
    }

    // One all-pass step on every path.
    TRELVANE_INLINE Quad step (Quad s)
    {
        y = (s - y) * c + x;
        x = s;
        return y;
    }

    PolyphaseHalfBand& left;
    PolyphaseHalfBand& right;
    Quad c, x, y;
};

struct Samplers
{
    PolyphaseHalfBand& upLeft;
    PolyphaseHalfBand& upRight;
    PolyphaseHalfBand& downLeft;
    PolyphaseHalfBand& downRight;
};

// One host block through upsampler, wavefront and downsampler in a single
// pass: host sample j yields frames 2j and 2j+1, which enter the wavefront at
// steps 2j and 2j+1; the pair of frames leaving it at those steps is
// downsampled into host sample j - fill/2. The samplers' own recurrences thus
// overlap with the bands' instead of running in loops of their own.
template <int last>
TRELVANE_INLINE void runHostBlockFor (Wavefront& w, float* left, float* right, int n, const Samplers& samplers)
{
    static_assert (lag % 2 == 0, "an even lag keeps every frame pair on one host sample");

    SamplerPair up (samplers.upLeft, samplers.upRight);
    SamplerPair down (samplers.downLeft, samplers.downRight);
    History h;
    LaneMemories memories (w);

    const int frames = 2 * n;
    const int fillPairs = lag * last / 2;
    const int total = n + fillPairs;

    // As in runWavefrontFor; with an even lag lanes start only at even steps
    // and finish only at odd ones.
    auto run = [&] (auto edges, int from, int to) TRELVANE_LAMBDA_INLINE
    {
        for (int j = from; j < to; ++j)
        {
            Quad frame {};
            if (! edges || j < n)
            {
                const float l = left[j], r = right[j];
                frame = up.step (Quad { l, r, l, r });
            }

            double evenL, evenR, oddL, oddR;
            const int evenSlot = lag == 2 ? 0 : (2 * j) % lag;
            const int oddSlot = lag == 2 ? 1 : (2 * j + 1) % lag;
            if (edges)
                memories.beforeStep<last> (w, 2 * j);
            wavefrontStep<last> (w, h, evenSlot, (double) frame[0], (double) frame[1], evenL, evenR);
            wavefrontStep<last> (w, h, oddSlot, (double) frame[2], (double) frame[3], oddL, oddR);
            if (edges)
                memories.afterStep<last> (w, 2 * j + 1, frames);

            const int m = j - fillPairs;
            if (! edges || m >= 0)
            {
                const Quad d = down.step (Quad { (float) oddL, (float) oddR, (float) evenL, (float) evenR });
                left[m] = (d[2] + d[0]) * 0.5f;
                right[m] = (d[3] + d[1]) * 0.5f;
            }
        }
    };

    runEdgesAndSteady (run, fillPairs + 1, n - 1, total);
    memories.finish (w);
}

// The lane that leaves the wavefront is fixed for each loop version.
TRELVANE_TARGETS void runWavefront (Wavefront& w, float* left, float* right, int frames)
{
    switch (w.count)
    {
        case 1: runWavefrontFor<0> (w, left, right, frames); break;
        case 2: runWavefrontFor<1> (w, left, right, frames); break;
        case 3: runWavefrontFor<2> (w, left, right, frames); break;
        case 4: runWavefrontFor<3> (w, left, right, frames); break;
        default: runWavefrontFor<4> (w, left, right, frames); break;
    }
}

TRELVANE_TARGETS void runHostBlock (Wavefront& w, float* left, float* right, int n, const Samplers& samplers)
{
    switch (w.count)
    {
        case 1: runHostBlockFor<0> (w, left, right, n, samplers); break;
        case 2: runHostBlockFor<1> (w, left, right, n, samplers); break;
        case 3: runHostBlockFor<2> (w, left, right, n, samplers); break;
        case 4: runHostBlockFor<3> (w, left, right, n, samplers); break;
        default: runHostBlockFor<4> (w, left, right, n, samplers); break;
    }
}

} // namespace

bool BandChain::packApplied (void* wavefrontStorage) const
{
    Wavefront& w = *static_cast<Wavefront*> (wavefrontStorage);
    w = Wavefront {};
    for (int k = 0; k < numBands; ++k)
    {
        if (! isApplied (k))
            continue;

        const int j = w.count++;
        const BandFilter& f = bandFilters[k];
        w.c[j] = bandCos[k];
        w.s[j] = bandSin[k];
        w.g[j] = bandLevel[k];
        w.b0[j] = f.b0;
        w.b1[j] = f.b1;
        w.b2[j] = f.b2;
        w.a1[j] = f.a1;
        w.a2[j] = f.a2;
        w.keepOrthogonal[j] = bandSolo[k] ? 0 : -1;
        w.x1[j] = f.x1;
        w.x2[j] = f.x2;
        w.y1[j] = f.y1;
        w.y2[j] = f.y2;
        w.band[j] = k;
    }
    return w.count > 0;
}

void BandChain::unpackMemories (const void* wavefrontStorage)
{
    const Wavefront& w = *static_cast<const Wavefront*> (wavefrontStorage);
    for (int j = 0; j < w.count; ++j)
    {
        BandFilter& f = bandFilters[w.band[j]];
        f.x1 = w.x1[j];
        f.x2 = w.x2[j];
        f.y1 = w.y1[j];
        f.y2 = w.y2[j];
    }
}

void BandChain::process (float* left, float* right, int count)
{
    Wavefront w;
    if (count <= 0 || ! packApplied (&w))
        return;
    runWavefront (w, left, right, count);
    unpackMemories (&w);
}

void BandChain::processHostBlock (float* left, float* right, int numSamples,
                                  PolyphaseHalfBand& upLeft, PolyphaseHalfBand& upRight,
                                  PolyphaseHalfBand& downLeft, PolyphaseHalfBand& downRight)
{
    if (numSamples <= 0)
        return;

    if (! wavefrontPaysOff)
    {
        processHostBlockPerFrame (left, right, numSamples, upLeft, upRight, downLeft, downRight);
        return;
    }

    const Samplers samplers { upLeft, upRight, downLeft, downRight };
    Wavefront w;
    if (! packApplied (&w))
    {
        // No band applied: only the samplers have work to do.
        processHostBlockPerFrame (left, right, numSamples, upLeft, upRight, downLeft, downRight);
        return;
    }
    runHostBlock (w, left, right, numSamples, samplers);
    unpackMemories (&w);
}

void BandChain::processHostBlockPerFrame (float* left, float* right, int numSamples,
                                          PolyphaseHalfBand& upLeft, PolyphaseHalfBand& upRight,
                                          PolyphaseHalfBand& downLeft, PolyphaseHalfBand& downRight)
{
    // Host sample by host sample, so that no scratch buffer is needed: its
    // two frames go up, through the bands and down again.
    SamplerPair up (upLeft, upRight);
    SamplerPair down (downLeft, downRight);
    for (int j = 0; j < numSamples; ++j)
    {
        const float l = left[j], r = right[j];
        const Quad frame = up.step (Quad { l, r, l, r });
        float framesLeft[2] = { frame[0], frame[2] };
        float framesRight[2] = { frame[1], frame[3] };
        processReference (framesLeft, framesRight, 2);
        const Quad d = down.step (Quad { framesLeft[1], framesRight[1], framesLeft[0], framesRight[0] });
        left[j] = (d[2] + d[0]) * 0.5f;
        right[j] = (d[3] + d[1]) * 0.5f;
    }
}

void BandChain::processReference (float* left, float* right, int count)
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
