// The engine's cost per host sample, side by side with two references:
//
//  Ours      the real processor's processBlock, 48 kHz stereo, five bands
//            applied with settings that differ per band.
//  Baseline  the same chain written the plain framework way: the framework's
//            two-times polyphase IIR oversampler around a per-frame loop in
//            which each band rotates the pair, runs the framework's
//            double-precision IIR filter (same coefficients) on the
//            along-axis component, scales and rotates back.
//  Limit     the five bands' filter recurrences alone: the same per-sample
//            filter step, five independent filters side by side over the
//            block's 2n along-axis inputs, computed beforehand.
//
// Every result is reported in nanoseconds per host sample (CPU time), and the
// run ends with one summary line comparing the three at block size 512.

#include "engine/BandChain.h"
#include "engine/BandFilter.h"
#include "engine/PolyphaseHalfBand.h"
#include "engine/TrelvaneAudioProcessor.h"
#include "host/ParameterTable.h"

#include <benchmark/benchmark.h>
#include <juce_dsp/juce_dsp.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

namespace
{
constexpr double hostRate = 48000.0;
constexpr int numBands = BandChain::numBands;
constexpr int blockSizes[] = { 16, 64, 512, 4096 };

// Per band: type value (1/k for type k), frequency, Q, angle, level, gain.
struct BandValues
{
    double type, freq, width, angle, level, gain;
};

constexpr BandValues benchSettings[numBands] = {
    { 1.0 / 8.0, 0.20, 0.40, 0.10, 0.55, 0.70 }, // low shelf
    { 1.0 / 7.0, 0.40, 0.60, 0.35, 0.45, 0.30 }, // peaking
    { 1.0 / 5.0, 0.55, 0.50, 0.60, 0.50, 0.50 }, // notch
    { 1.0 / 7.0, 0.70, 0.30, 0.80, 0.52, 0.80 }, // peaking
    { 1.0 / 9.0, 0.85, 0.50, 0.95, 0.48, 0.25 }, // high shelf
};

// A long stereo programme (two sines per channel and a little noise) from
// which each block is copied in turn, the same for every contender.
class Programme
{
public:
    static constexpr int length = 1 << 16;

    Programme() : left (length), right (length)
    {
        juce::uint32 noise = 12345;
        for (int j = 0; j < length; ++j)
        {
            noise = noise * 1664525u + 1013904223u;
            const double n = ((double) (noise >> 8) / 16777216.0 - 0.5) * 0.05;
            const double t = j / hostRate;
            left[(size_t) j] = (float) (0.4 * std::sin (2 * M_PI * 220.0 * t) + 0.2 * std::sin (2 * M_PI * 3100.0 * t) + n);
            right[(size_t) j] = (float) (0.3 * std::sin (2 * M_PI * 330.0 * t + 0.5) + 0.25 * std::sin (2 * M_PI * 7700.0 * t) - n);
        }
    }

    void copyNextBlock (juce::AudioBuffer<float>& buffer)
    {
        const int n = buffer.getNumSamples();
        if (position + n > length)
            position = 0;
        buffer.copyFrom (0, 0, left.data() + position, n);
        buffer.copyFrom (1, 0, right.data() + position, n);
        position += n;
    }

    std::vector<float> left, right;
    int position = 0;
};

Programme& programme()
{
    static Programme p;
    return p;
}

std::unique_ptr<TrelvaneAudioProcessor> makeProcessor (int blockSize)
{
    auto processor = std::make_unique<TrelvaneAudioProcessor>();
    using namespace ParameterTable;
    for (int k = 0; k < numBands; ++k)
    {
        const auto& v = benchSettings[k];
        processor->setParameter (indexOf (k, type), (float) v.type);
        processor->setParameter (indexOf (k, freq), (float) v.freq);
        processor->setParameter (indexOf (k, width), (float) v.width);
        processor->setParameter (indexOf (k, angle), (float) v.angle);
        processor->setParameter (indexOf (k, level), (float) v.level);
        processor->setParameter (indexOf (k, gain), (float) v.gain);
    }
    processor->setPlayConfigDetails (2, 2, hostRate, blockSize);
    processor->prepareToPlay (hostRate, blockSize);
    return processor;
}

void setSampleCounter (benchmark::State& state, int blockSize)
{
    state.counters["samples"] = blockSize;
}

//==============================================================================
void Ours (benchmark::State& state)
{
    const int n = (int) state.range (0);
    auto processor = makeProcessor (n);
    juce::AudioBuffer<float> buffer (2, n);
    juce::MidiBuffer midi;
    auto& source = programme();

    for (auto _ : state)
    {
        source.copyNextBlock (buffer);
        processor->processBlock (buffer, midi);
        benchmark::DoNotOptimize (buffer.getReadPointer (0)[n - 1]);
    }
    setSampleCounter (state, n);
}

//==============================================================================
// The plain chain, with the processor's band settings copied over.
class PlainChain
{
public:
    explicit PlainChain (int blockSize)
        : oversampling (2, 1, juce::dsp::Oversampling<float>::filterHalfBandPolyphaseIIR, false, false)
    {
        auto settings = makeProcessor (blockSize);
        const BandChain& chain = settings->getBandChain();
        for (int k = 0; k < numBands; ++k)
        {
            const auto& f = chain.bandFilters[k];
            filters[k].coefficients = new juce::dsp::IIR::Coefficients<double> (f.b0, f.b1, f.b2, 1.0, f.a1, f.a2);
            filters[k].reset();
            bandCos[k] = chain.bandCos[k];
            bandSin[k] = chain.bandSin[k];
            bandLevel[k] = chain.bandLevel[k];
        }
        oversampling.initProcessing ((size_t) blockSize);
    }

    void process (juce::AudioBuffer<float>& buffer)
    {
        juce::ScopedNoDenormals noDenormals;
        juce::dsp::AudioBlock<float> block (buffer);
        auto up = oversampling.processSamplesUp (block);
        float* left = up.getChannelPointer (0);
        float* right = up.getChannelPointer (1);

        for (size_t i = 0; i < up.getNumSamples(); ++i)
        {
            double L = left[i];
            double R = right[i];
            for (int k = 0; k < numBands; ++k)
            {
                const double c = bandCos[k], s = bandSin[k], g = bandLevel[k];
                const double u = c * L + s * R;
                const double y = filters[k].processSample (u);
                const double v = c * R - s * L;
                L = (c * y) * g - s * v;
                R = c * v + (s * y) * g;
            }
            left[i] = (float) L;
            right[i] = (float) R;
        }

        oversampling.processSamplesDown (block);
    }

private:
    juce::dsp::Oversampling<float> oversampling;
    juce::dsp::IIR::Filter<double> filters[numBands];
    double bandCos[numBands], bandSin[numBands], bandLevel[numBands];
};

void Baseline (benchmark::State& state)
{
    const int n = (int) state.range (0);
    PlainChain chain (n);
    juce::AudioBuffer<float> buffer (2, n);
    auto& source = programme();

    for (auto _ : state)
    {
        source.copyNextBlock (buffer);
        chain.process (buffer);
        benchmark::DoNotOptimize (buffer.getReadPointer (0)[n - 1]);
    }
    setSampleCounter (state, n);
}

//==============================================================================
// The recurrences alone. The engine runs its bands in the lanes of one
// vector of eight doubles, compiled for the widest instruction set present;
// the filters here get the same lanes and the same choice of instruction set,
// so that the figure bounds what any arrangement of the bands could reach.
typedef double Lanes __attribute__ ((vector_size (8 * sizeof (double))));

struct RecurrenceLanes
{
    Lanes b0, b1, b2, a1, a2, x1, x2, y1, y2;
};

#if defined(__GNUC__) && ! defined(__clang__) && defined(__x86_64__) && defined(__ELF__)
 #pragma GCC diagnostic ignored "-Wpsabi"
 #define BENCH_TARGETS __attribute__ ((target_clones ("avx512f", "avx2", "default")))
#else
 #define BENCH_TARGETS
#endif

BENCH_TARGETS __attribute__ ((noinline)) void runRecurrences (RecurrenceLanes& r, const Lanes* in, int frames)
{
    Lanes x1 = r.x1, x2 = r.x2, y1 = r.y1, y2 = r.y2;
    for (int i = 0; i < frames; ++i)
    {
        // BandFilter::processSample, term for term, in every lane.
        const Lanes x = in[i];
        const Lanes y = (((r.b0 * x + r.b1 * x1) + r.b2 * x2) - r.a1 * y1) - r.a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
    }
    r.x1 = x1, r.x2 = x2, r.y1 = y1, r.y2 = y2;
}

// The recurrences alone. The inputs are the along-axis components that the
// five bands see for one block of the programme; the five filters are
// independent of one another, so their steps can overlap in the processor.
void Limit (benchmark::State& state)
{
    const int n = (int) state.range (0);
    const int frames = 2 * n;

    auto settings = makeProcessor (n);
    BandChain chain = settings->getBandChain();

    std::vector<double> inputs[numBands];
    {
        std::vector<float> hostLeft (programme().left.begin(), programme().left.begin() + n);
        std::vector<float> hostRight (programme().right.begin(), programme().right.begin() + n);
        std::vector<float> left ((size_t) frames), right ((size_t) frames);
        PolyphaseHalfBand upLeft, upRight;
        upLeft.blockSize = upRight.blockSize = n;
        upLeft.upsample (hostLeft.data(), left.data());
        upRight.upsample (hostRight.data(), right.data());

        BandChain reference = chain;
        for (int k = 0; k < numBands; ++k)
            inputs[k].resize ((size_t) frames);
        for (int i = 0; i < frames; ++i)
        {
            double L = left[(size_t) i], R = right[(size_t) i];
            for (int k = 0; k < numBands; ++k)
            {
                const double c = reference.bandCos[k], s = reference.bandSin[k], g = reference.bandLevel[k];
                const double u = c * L + s * R;
                inputs[k][(size_t) i] = u;
                const double y = reference.bandFilters[k].processSample (u);
                const double v = c * R - s * L;
                L = (c * y) * g - s * v;
                R = c * v + (s * y) * g;
            }
        }
    }

    RecurrenceLanes lanes {};
    for (int k = 0; k < numBands; ++k)
    {
        const auto& f = chain.bandFilters[k];
        lanes.b0[k] = f.b0, lanes.b1[k] = f.b1, lanes.b2[k] = f.b2, lanes.a1[k] = f.a1, lanes.a2[k] = f.a2;
        lanes.x1[k] = f.x1, lanes.x2[k] = f.x2, lanes.y1[k] = f.y1, lanes.y2[k] = f.y2;
    }
    // One lane vector per frame, on a vector-aligned address.
    std::vector<double> inputStorage ((size_t) frames * 8 + 8);
    auto* laneInputs = reinterpret_cast<Lanes*> ((reinterpret_cast<std::uintptr_t> (inputStorage.data()) + 63) & ~(std::uintptr_t) 63);
    for (int i = 0; i < frames; ++i)
        for (int k = 0; k < 8; ++k)
            laneInputs[i][k] = k < numBands ? inputs[k][(size_t) i] : 0.0;

    for (auto _ : state)
    {
        runRecurrences (lanes, laneInputs, frames);
        benchmark::DoNotOptimize (lanes);
    }
    setSampleCounter (state, n);
}

//==============================================================================
// Adds "ns/sample" to every run and to the median of repeated runs, and keeps
// the figures for the summary line (the median where there is one).
class PerSampleReporter : public benchmark::ConsoleReporter
{
public:
    // Only single runs and medians are shown (the mean, deviation and
    // variation rows of repeated runs are left out).
    void ReportRuns (const std::vector<Run>& runs) override
    {
        std::vector<Run> shown;
        for (auto run : runs)
        {
            const bool isMedian = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type != Run::RT_Iteration && ! isMedian)
                continue;
            const auto samples = run.counters.find ("samples");
            if (samples != run.counters.end() && ! run.error_occurred)
            {
                const double nsPerIteration = run.GetAdjustedCPUTime() * multiplierToNanoseconds (run.time_unit);
                const double nsPerSample = nsPerIteration / samples->second.value;
                run.counters["ns/sample"] = benchmark::Counter (nsPerSample);
                (isMedian ? medianPerSample : perSample)[run.run_name.str()] = nsPerSample;
            }
            shown.push_back (run);
        }
        if (! shown.empty())
            ConsoleReporter::ReportRuns (shown);
    }

    double get (const std::string& name) const
    {
        for (const auto* figures : { &medianPerSample, &perSample })
        {
            const auto it = figures->find (name);
            if (it != figures->end())
                return it->second;
        }
        return std::nan ("");
    }

private:
    static double multiplierToNanoseconds (benchmark::TimeUnit unit)
    {
        switch (unit)
        {
            case benchmark::kSecond: return 1e9;
            case benchmark::kMillisecond: return 1e6;
            case benchmark::kMicrosecond: return 1e3;
            case benchmark::kNanosecond: break;
        }
        return 1.0;
    }

    std::map<std::string, double> perSample, medianPerSample;
};
} // namespace

JUCE_END_IGNORE_WARNINGS_GCC_LIKE

int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI framework;

    for (const char* name : { "Ours", "Baseline", "Limit" })
    {
        auto* function = std::string (name) == "Ours" ? Ours : std::string (name) == "Baseline" ? Baseline : Limit;
        auto* b = benchmark::RegisterBenchmark (name, function);
        for (int n : blockSizes)
            b->Arg (n);
        b->Unit (benchmark::kMicrosecond);
    }

    // By default every benchmark runs five times, the repetitions of all of
    // them shuffled together, and the summary takes each one's median: on a
    // shared machine a slow patch then neither lands on one contender only
    // nor decides a figure. Flags given on the command line come after these
    // and override them.
    std::vector<char*> arguments { argv[0] };
    char repetitions[] = "--benchmark_repetitions=5";
    char interleaving[] = "--benchmark_enable_random_interleaving=true";
    char aggregatesOnly[] = "--benchmark_report_aggregates_only=true";
    for (char* defaultArgument : { repetitions, interleaving, aggregatesOnly })
        arguments.push_back (defaultArgument);
    arguments.insert (arguments.end(), argv + 1, argv + argc);
    int count = (int) arguments.size();

    benchmark::Initialize (&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments (count, arguments.data()))
        return 1;

    PerSampleReporter reporter;
    benchmark::RunSpecifiedBenchmarks (&reporter);
    benchmark::Shutdown();

    const double ours512 = reporter.get ("Ours/512");
    std::printf ("ns/sample at 512: %.2f; vs baseline: %.2f; vs limit: %.2f; block 16 vs 512: %.2f\n",
                 ours512,
                 ours512 / reporter.get ("Baseline/512"),
                 ours512 / reporter.get ("Limit/512"),
                 reporter.get ("Ours/16") / ours512);
    return 0;
}
