#include "engine/BandChain.h"

#include <cmath>
#include <cstddef>
#include <initializer_list>

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
    return ((appliedBands() >> band) & 1) != 0;
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

// How many frames each band runs behind the band before it, for a wavefront
// whose last lane is `last`. A band reads, at step t, what the band before it
// produced at step t - lag; one band's step (rotation, filter, rotation back
// and lane shift) takes about three steps' time on the processor, so with a
// lag of three the bands' filter recurrences, not the hand-over between
// bands, set the pace. The host-block loop needs an even number of fill steps
// (lag * last), so with an even number of bands the lag is four.
template <int last>
constexpr int lagFor = last % 2 == 0 ? 3 : 4;

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
 #define TRELVANE_TARGETS __attribute__ ((target_clones ("avx512f", "default")))
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

// The first applied band runs in lane `last`, the last one in lane 0, so
// that a frame leaves the wavefront in lane 0, where it can be used without
// any lane moves.
// Lanes 1 .. last moved down by one; lane `last` takes lane `freshLane` of
// `fresh`; the idle lanes above keep what they hold.
template <int last, int freshLane>
TRELVANE_INLINE Lanes shiftDown (Lanes previous, Lanes fresh)
{
    constexpr auto from = [] (int lane) { return lane < last ? lane + 1 : lane == last ? 8 + freshLane : lane; };
    return __builtin_shufflevector (previous, fresh, from (0), from (1), from (2), from (3), from (4), from (5), from (6), from (7));
}

// The applied bands of one block, packed into lanes 0 .. count-1 in reverse
// band order (see shiftDown). Idle lanes start at zero.
struct Wavefront
{
    Lanes c, s, g;
    Lanes b0, b1, b2, a1, a2;
    Lanes x1, x2, y1, y2;
    int count;               // applied bands, in lanes 0 .. count-1
    bool orthogonalKept;     // false when the applied bands are soloed
};

// One step of every lane: the band's rotation, filter and rotation back, in
// exactly the order of the per-frame loop. Either every applied band is
// soloed or none is, so the orthogonal component is dropped in all lanes or
// in none.
template <bool orthogonalKept>
TRELVANE_INLINE void step (Wavefront& w, Lanes& L, Lanes& R)
{
    const Lanes u = w.c * L + w.s * R;
    const Lanes y = (((w.b0 * u + w.b1 * w.x1) + w.b2 * w.x2) - w.a1 * w.y1) - w.a2 * w.y2;
    w.x2 = w.x1;
    w.x1 = u;
    w.y2 = w.y1;
    w.y1 = y;

    const Lanes v = orthogonalKept ? w.c * R - w.s * L : Lanes {};
    const Lanes newL = (w.c * y) * w.g - w.s * v;
    const Lanes newR = w.c * v + (w.s * y) * w.g;
    L = newL;
    R = newR;
}

// The wavefront's bookkeeping between steps: what each lane produced `lag`
// steps ago, which the lane below it reads now.
template <int lag>
struct History
{
    Lanes left[lag] = {}, right[lag] = {};
};

// The p-th applied band (in lane last - p) meets the block's first frame at
// step lag * p and its last frame at step lag * p + frames - 1. Every step
// runs all lanes unmasked, so that the fill and drain steps cost what any
// other step costs; instead each lane's filter memory is put back to where
// the block found it just before its first frame, and taken out just after
// its last one. What a lane computes outside its own frames is never read by
// a band that is running.
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
    template <int last, int lag>
    TRELVANE_INLINE void beforeStep (Wavefront& w, int t) const
    {
        if (t % lag == 0 && t > 0 && t <= lag * last)
            restore (w, last - t / lag);
    }

    // After step t: the lane whose last frame this was gives its memory up.
    template <int last, int lag>
    TRELVANE_INLINE void afterStep (const Wavefront& w, int t, int frames)
    {
        const int d = t - (frames - 1);
        if (d % lag == 0 && d >= 0 && d <= lag * last)
            save (w, last - d / lag);
    }

    Lanes atStart[4], atEnd[4];
};

// Step t of the wavefront: lane `last` takes frame t (lanes leftLane and
// rightLane of `fresh`), lane k the output of lane k+1 from step t - lag,
// which `held` holds and which this step's output replaces. Lane 0 of the
// output is the frame that leaves the last applied band (frame
// t - lag * last).
template <int last, bool orthogonalKept, int leftLane, int rightLane>
TRELVANE_INLINE void wavefrontStep (Wavefront& w, Lanes& heldL, Lanes& heldR, Lanes fresh)
{
    Lanes L = shiftDown<last, leftLane> (heldL, fresh);
    Lanes R = shiftDown<last, rightLane> (heldR, fresh);
    step<orthogonalKept> (w, L, R);
    heldL = L;
    heldR = R;
}

// Runs items 0 to total - 1 (frames, or host samples of two frames each) in
// groups of groupLength, so that within a group every step reads and replaces
// its own history entry: the history, oldest first, is in the same order
// again after each whole group, and no register moves are needed to age it.
template <int groupLength, typename Group>
TRELVANE_INLINE void runInGroups (Group& group, int total)
{
    for (int first = 0; first < total; first += groupLength)
        group (first);
}

template <int last, bool orthogonalKept>
TRELVANE_INLINE void runWavefrontFor (Wavefront& w, float* left, float* right, int frames)
{
    constexpr int lag = lagFor<last>;
    History<lag> h;
    LaneMemories memories (w);
    const int fill = lag * last;
    const int total = frames + fill;

    auto group = [&] (int first) TRELVANE_LAMBDA_INLINE
    {
#pragma GCC unroll 8
        for (int i = 0; i < lag; ++i)
        {
            const int t = first + i;
            if (t >= total)
                break;
            const bool haveInput = t < frames;
            memories.beforeStep<last, lag> (w, t);
            const Lanes fresh { haveInput ? (double) left[t] : 0.0, haveInput ? (double) right[t] : 0.0 };
            wavefrontStep<last, orthogonalKept, 0, 1> (w, h.left[i], h.right[i], fresh);
            memories.afterStep<last, lag> (w, t, frames);
            const int f = t - fill;
            if (f >= 0)
            {
                left[f] = (float) h.left[i][0];
                right[f] = (float) h.right[i][0];
            }
        }
    };

    runInGroups<lag> (group, total);
    memories.finish (w);
}

// Four single-precision lanes: path A of left and right, path B of left and
// right, for a pair of samplers that run side by side.
typedef float Quad __attribute__ ((vector_size (4 * sizeof (float))));

// Every lane that holds NaN or an infinity set to zero (v - v is zero
// exactly when v is finite).
template <typename Vector>
TRELVANE_INLINE Vector finiteOrZero (Vector v)
{
    return v - v == 0 ? v : Vector {};
}

struct SamplerPair
{
    SamplerPair (PolyphaseHalfBand& l, PolyphaseHalfBand& r)
        : left (l), right (r),
          c { l.cA, r.cA, l.cB, r.cB },
          x { l.xA, r.xA, l.xB, r.xB },
          y { l.yA, r.yA, l.yB, r.yB }
    {
    }

    // Gives the memories back, any value that is not finite as zero.
    ~SamplerPair()
    {
        x = finiteOrZero (x);
        y = finiteOrZero (y);
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

typedef double Four __attribute__ ((vector_size (4 * sizeof (double))));

// The four values of a sampler frame quad in lanes 0 to 3.
TRELVANE_INLINE Lanes widen (Quad q)
{
    return __builtin_convertvector (__builtin_shufflevector (q, q, 0, 1, 2, 3, 0, 1, 2, 3), Lanes);
}

// Lane 0 of each of the four step outputs, as the downsampler's frame quad
// { odd left, odd right, even left, even right }.
TRELVANE_INLINE Quad narrowOutputs (Lanes evenL, Lanes evenR, Lanes oddL, Lanes oddR)
{
    const Four both { oddL[0], oddR[0], evenL[0], evenR[0] };
    return __builtin_convertvector (both, Quad);
}

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
// The upsampler runs one host sample ahead of the wavefront and the
// downsampler one behind it, so that their operations find their inputs ready
// instead of waiting in the processor's queues for the bands, which measured
// about a quarter faster.
template <int last, bool orthogonalKept>
TRELVANE_INLINE void runHostBlockFor (Wavefront& w, float* left, float* right, int n, const Samplers& samplers)
{
    constexpr int lag = lagFor<last>;
    static_assert (lag * last % 2 == 0, "an even fill keeps every frame pair on one host sample");
    // Whole host samples whose steps take every history entry equally often.
    constexpr int groupLength = lag % 2 == 0 ? lag / 2 : lag;

    SamplerPair up (samplers.upLeft, samplers.upRight);
    SamplerPair down (samplers.downLeft, samplers.downRight);
    History<lag> h;
    LaneMemories memories (w);

    const int frames = 2 * n;
    const int fillPairs = lag * last / 2;
    const int total = n + fillPairs;

    auto upsample = [&] (int j) TRELVANE_LAMBDA_INLINE
    {
        const float l = left[j], r = right[j];
        return widen (up.step (Quad { l, r, l, r }));
    };
    Lanes freshAhead = upsample (0);

    Quad pending {};
    int pendingAt = -1;
    auto emit = [&] (int m) TRELVANE_LAMBDA_INLINE
    {
        const Quad d = down.step (pending);
        // Path B plus path A, halved: lanes 2 + 0 and 3 + 1.
        const Quad sum = (__builtin_shufflevector (d, d, 2, 3, 2, 3) + d) * 0.5f;
        left[m] = sum[0];
        right[m] = sum[1];
    };

    // As in runWavefrontFor, in groups of whole host samples.
    auto group = [&] (int first) TRELVANE_LAMBDA_INLINE
    {
#pragma GCC unroll 8
        for (int q = 0; q < groupLength; ++q)
        {
            const int j = first + q;
            if (j >= total)
                break;

            const Lanes fresh = freshAhead;
            freshAhead = j + 1 < n ? upsample (j + 1) : Lanes {};
            const int evenSlot = 2 * q % lag, oddSlot = (2 * q + 1) % lag;
            memories.beforeStep<last, lag> (w, 2 * j);
            wavefrontStep<last, orthogonalKept, 0, 1> (w, h.left[evenSlot], h.right[evenSlot], fresh);
            memories.afterStep<last, lag> (w, 2 * j, frames);
            memories.beforeStep<last, lag> (w, 2 * j + 1);
            wavefrontStep<last, orthogonalKept, 2, 3> (w, h.left[oddSlot], h.right[oddSlot], fresh);
            memories.afterStep<last, lag> (w, 2 * j + 1, frames);

            const int m = j - fillPairs;
            if (pendingAt >= 0)
                emit (pendingAt);
            pending = narrowOutputs (h.left[evenSlot], h.right[evenSlot], h.left[oddSlot], h.right[oddSlot]);
            pendingAt = m;
        }
    };

    runInGroups<groupLength> (group, total);
    emit (pendingAt);
    memories.finish (w);
}

// Which bands run this block, one bit per band.
typedef unsigned AppliedBands;

// For each set of applied bands, the band each lane takes (applied bands in
// reverse order from lane count-1 down to lane 0; idle lanes read lane 7,
// which is zero) and the lane each band occupies.
struct LanePlan
{
    long long bandOfLane[1 << BandChain::numBands][numLanes];
    long long laneOfBand[1 << BandChain::numBands][numLanes];
};

constexpr LanePlan makeLanePlan()
{
    LanePlan plan {};
    for (int set = 0; set < (1 << BandChain::numBands); ++set)
    {
        int count = 0;
        for (int k = 0; k < numLanes; ++k)
            plan.bandOfLane[set][k] = numLanes - 1;
        for (int k = 0; k < BandChain::numBands; ++k)
        {
            plan.laneOfBand[set][k] = 0;
            if ((set >> k) & 1)
                ++count;
        }
        int lane = count - 1;
        for (int k = 0; k < BandChain::numBands; ++k)
        {
            if ((set >> k) & 1)
            {
                plan.bandOfLane[set][lane] = k;
                plan.laneOfBand[set][k] = lane--;
            }
        }
    }
    return plan;
}

alignas (64) constexpr LanePlan lanePlan = makeLanePlan();

TRELVANE_INLINE LaneMask planRow (const long long (&row)[numLanes])
{
    LaneMask m;
    __builtin_memcpy (&m, row, sizeof (m));
    return m;
}

// Band k's value in lane k, zero in lanes 5 to 7.
template <typename Value>
TRELVANE_INLINE Lanes perBand (Value value)
{
    return Lanes { value (0), value (1), value (2), value (3), value (4), 0.0, 0.0, 0.0 };
}

TRELVANE_INLINE Four loadFour (const double* first)
{
    Four v;
    __builtin_memcpy (&v, first, sizeof (v));
    return v;
}

// Five consecutive values (a band array) in lanes 0 to 4.
TRELVANE_INLINE Lanes loadFive (const double* first)
{
    return __builtin_shufflevector (loadFour (first), Four { first[4], 0.0, 0.0, 0.0 }, 0, 1, 2, 3, 4, 5, 6, 7);
}

// Four consecutive fields of each band's filter, read as one row per band
// and turned into one vector per field, band k in lane k.
struct FieldColumns
{
    FieldColumns (const BandFilter* filters, size_t offset)
    {
        auto row = [&] (int k) TRELVANE_LAMBDA_INLINE
        {
            return loadFour (reinterpret_cast<const double*> (reinterpret_cast<const char*> (filters + k) + offset));
        };
        bands01 = __builtin_shufflevector (row (0), row (1), 0, 1, 2, 3, 4, 5, 6, 7);
        bands23 = __builtin_shufflevector (row (2), row (3), 0, 1, 2, 3, 4, 5, 6, 7);
        band4 = __builtin_shufflevector (row (4), Four {}, 0, 1, 2, 3, 4, 5, 6, 7);
    }

    template <int field>
    TRELVANE_INLINE Lanes get() const
    {
        const Lanes bands0to3 = __builtin_shufflevector (bands01, bands23, field, 4 + field, 8 + field, 12 + field, 0, 0, 0, 0);
        return __builtin_shufflevector (bands0to3, band4, 0, 1, 2, 3, 8 + field, 12, 12, 12);
    }

    Lanes bands01, bands23, band4;
};

static_assert (offsetof (BandFilter, b1) == offsetof (BandFilter, b0) + sizeof (double)
                   && offsetof (BandFilter, b2) == offsetof (BandFilter, b0) + 2 * sizeof (double)
                   && offsetof (BandFilter, a1) == offsetof (BandFilter, b0) + 3 * sizeof (double)
                   && offsetof (BandFilter, y2) == offsetof (BandFilter, y1) + sizeof (double)
                   && offsetof (BandFilter, x1) == offsetof (BandFilter, y1) + 2 * sizeof (double)
                   && offsetof (BandFilter, x2) == offsetof (BandFilter, y1) + 3 * sizeof (double),
               "the filter's coefficients b0 to a1 and its memories y1 to x2 are read four at a time");

// The applied bands' settings and memories, built in registers: every
// quantity is read for all five bands and then packed into lanes 0 .. count-1
// by one permutation, so that no lane is written through memory. The
// memories are read as the four-value rows that storeMemories writes, which
// lets the processor hand them over from the previous block's stores.
TRELVANE_INLINE Wavefront loadWavefront (const BandChain& chain, AppliedBands applied)
{
    static_assert (BandChain::numBands == 5, "five bands fill lanes 0 to 4");
    const LaneMask order = planRow (lanePlan.bandOfLane[applied]);
    const BandFilter* f = chain.bandFilters;
    auto pack = [order] (Lanes all) TRELVANE_LAMBDA_INLINE { return __builtin_shuffle (all, order); };

    Wavefront w;
    w.c = pack (loadFive (chain.bandCos));
    w.s = pack (loadFive (chain.bandSin));
    w.g = pack (loadFive (chain.bandLevel));

    const FieldColumns coefficients (f, offsetof (BandFilter, b0));
    w.b0 = pack (coefficients.get<0>());
    w.b1 = pack (coefficients.get<1>());
    w.b2 = pack (coefficients.get<2>());
    w.a1 = pack (coefficients.get<3>());
    w.a2 = pack (perBand ([&] (int k) { return f[k].a2; }));

    const FieldColumns memories (f, offsetof (BandFilter, y1));
    w.y1 = pack (memories.get<0>());
    w.y2 = pack (memories.get<1>());
    w.x1 = pack (memories.get<2>());
    w.x2 = pack (memories.get<3>());

    w.count = __builtin_popcount (applied);
    // With any band soloed exactly the soloed bands are applied, so the first
    // applied band tells for all of them.
    w.orthogonalKept = ! chain.bandSolo[__builtin_ctz (applied)];
    return w;
}

// Gives the applied bands their filter memories back.
TRELVANE_INLINE void storeMemories (BandChain& chain, AppliedBands applied, const Wavefront& w)
{
    const LaneMask lanes = planRow (lanePlan.laneOfBand[applied]);
    const Lanes x1 = __builtin_shuffle (w.x1, lanes);
    const Lanes x2 = __builtin_shuffle (w.x2, lanes);
    const Lanes y1 = __builtin_shuffle (w.y1, lanes);
    const Lanes y2 = __builtin_shuffle (w.y2, lanes);
#pragma GCC unroll 5
    for (int k = 0; k < BandChain::numBands; ++k)
    {
        if ((applied >> k) & 1)
        {
            BandFilter& f = chain.bandFilters[k];
            f.x1 = x1[k];
            f.x2 = x2[k];
            f.y1 = y1[k];
            f.y2 = y2[k];
        }
    }
}

// The lane that leaves the wavefront, and whether the orthogonal component
// is kept, are fixed for each loop version.
template <template <int, bool> class Loop, bool orthogonalKept, typename... Args>
TRELVANE_INLINE void dispatchCount (int count, Args&... args)
{
    switch (count)
    {
        case 1: Loop<0, orthogonalKept>::run (args...); break;
        case 2: Loop<1, orthogonalKept>::run (args...); break;
        case 3: Loop<2, orthogonalKept>::run (args...); break;
        case 4: Loop<3, orthogonalKept>::run (args...); break;
        default: Loop<4, orthogonalKept>::run (args...); break;
    }
}

template <template <int, bool> class Loop, typename... Args>
TRELVANE_INLINE void dispatch (const Wavefront& w, Args&&... args)
{
    if (w.orthogonalKept)
        dispatchCount<Loop, true> (w.count, args...);
    else
        dispatchCount<Loop, false> (w.count, args...);
}

template <int last, bool orthogonalKept>
struct WavefrontLoop
{
    static TRELVANE_INLINE void run (Wavefront& w, float* left, float* right, int frames)
    {
        runWavefrontFor<last, orthogonalKept> (w, left, right, frames);
    }
};

template <int last, bool orthogonalKept>
struct HostBlockLoop
{
    static TRELVANE_INLINE void run (Wavefront& w, float* left, float* right, int n, const Samplers& samplers)
    {
        runHostBlockFor<last, orthogonalKept> (w, left, right, n, samplers);
    }
};

TRELVANE_TARGETS void runWavefront (BandChain& chain, AppliedBands applied, float* left, float* right, int frames)
{
    Wavefront w = loadWavefront (chain, applied);
    dispatch<WavefrontLoop> (w, w, left, right, frames);
    storeMemories (chain, applied, w);
}

TRELVANE_TARGETS void runHostBlock (BandChain& chain, AppliedBands applied, float* left, float* right, int n, const Samplers& samplers)
{
    Wavefront w = loadWavefront (chain, applied);
    dispatch<HostBlockLoop> (w, w, left, right, n, samplers);
    // As BandFilter::clearNonFiniteMemory, in registers.
    for (Lanes* memory : { &w.x1, &w.x2, &w.y1, &w.y2 })
        *memory = finiteOrZero (*memory);
    storeMemories (chain, applied, w);
}

// Sixteen samples at a time where the processor has 512-bit vectors: the odd
// ones widened, offset and narrowed together, exactly as one at a time.
TRELVANE_TARGETS void addOffsetToOddSamples (float* samples, int numSamples)
{
    typedef float Sixteen __attribute__ ((vector_size (16 * sizeof (float))));
    typedef float EightSingles __attribute__ ((vector_size (8 * sizeof (float))));
    typedef double EightDoubles __attribute__ ((vector_size (8 * sizeof (double))));

    int j = 0;
    for (; j + 16 <= numSamples; j += 16)
    {
        Sixteen v;
        __builtin_memcpy (&v, samples + j, sizeof (v));
        const EightSingles odd = __builtin_shufflevector (v, v, 1, 3, 5, 7, 9, 11, 13, 15);
        const EightSingles offset = __builtin_convertvector (__builtin_convertvector (odd, EightDoubles) + 1e-10, EightSingles);
        const Sixteen spread = __builtin_shufflevector (offset, offset, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7);
        v = __builtin_shufflevector (v, spread, 0, 17, 2, 19, 4, 21, 6, 23, 8, 25, 10, 27, 12, 29, 14, 31);
        __builtin_memcpy (samples + j, &v, sizeof (v));
    }
    for (j += 1; j < numSamples; j += 2)
        samples[j] = (float) ((double) samples[j] + 1e-10);
}
} // namespace

void BandChain::addAntiDenormalOffset (float* samples, int numSamples)
{
    addOffsetToOddSamples (samples, numSamples);
}

BandChain::AppliedBands BandChain::appliedBands() const
{
    AppliedBands soloed = 0, bypassed = 0;
    for (int k = 0; k < numBands; ++k)
    {
        soloed |= (AppliedBands) bandSolo[k] << k;
        bypassed |= (AppliedBands) bandBypass[k] << k;
    }
    return soloed != 0 ? soloed : ~bypassed & ((1u << numBands) - 1);
}

void BandChain::process (float* left, float* right, int count)
{
    const AppliedBands applied = appliedBands();
    if (count <= 0 || applied == 0)
        return;
    runWavefront (*this, applied, left, right, count);
}

void BandChain::processHostBlock (float* left, float* right, int numSamples,
                                  PolyphaseHalfBand& upLeft, PolyphaseHalfBand& upRight,
                                  PolyphaseHalfBand& downLeft, PolyphaseHalfBand& downRight)
{
    if (numSamples <= 0)
        return;

    const AppliedBands applied = appliedBands();
    if (! wavefrontPaysOff || applied == 0)
    {
        // Without wide vectors, or with no band applied (only the samplers
        // have work to do), the plain way.
        processHostBlockPerFrame (left, right, numSamples, upLeft, upRight, downLeft, downRight);
        return;
    }
    const Samplers samplers { upLeft, upRight, downLeft, downRight };
    runHostBlock (*this, applied, left, right, numSamples, samplers);
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
    clearNonFiniteMemory(); // the samplers' memories are checked as they are given back
}

void BandChain::processReference (float* left, float* right, int count)
{
    const AppliedBands applied = appliedBands();

    for (int i = 0; i < count; ++i)
    {
        double L = left[i];
        double R = right[i];

        for (int k = 0; k < numBands; ++k)
        {
            if (((applied >> k) & 1) == 0)
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

