#include "engine/TrelvaneAudioProcessor.h"
#include "ReferenceEqualiser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

namespace
{
juce::MidiBuffer noMidi;

juce::AudioBuffer<float> noise (int channels, int samples, unsigned seed, float amplitude = 0.5f)
{
    std::mt19937 random (seed);
    std::uniform_real_distribution<float> dist (-amplitude, amplitude);
    juce::AudioBuffer<float> buffer (channels, samples);
    for (int ch = 0; ch < channels; ++ch)
        for (int i = 0; i < samples; ++i)
            buffer.setSample (ch, i, dist (random));
    return buffer;
}

bool identical (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b, int channel)
{
    return std::memcmp (a.getReadPointer (channel), b.getReadPointer (channel), sizeof (float) * (size_t) a.getNumSamples()) == 0;
}

struct Settings
{
    double values[40];
};

Settings randomSettings (unsigned seed)
{
    std::mt19937 random (seed);
    std::uniform_real_distribution<float> unit (0.0f, 1.0f);
    const float types[] = { 1.0f, 0.5f, 1.0f / 3, 0.25f, 0.2f, 1.0f / 6, 1.0f / 7, 0.125f, 1.0f / 9 };
    Settings s {};
    for (int band = 0; band < 5; ++band)
    {
        double* v = s.values + band * 8;
        v[0] = unit (random);
        v[1] = 0.15f + 0.8f * unit (random);
        v[2] = 0.2f + 0.6f * unit (random);
        v[3] = unit (random);
        v[4] = 0.3f + 0.4f * unit (random);
        v[5] = types[random() % 9];
        v[6] = (random() % 4 == 0) ? 1.0 : 0.0;
        v[7] = (random() % 6 == 0) ? 1.0 : 0.0;
    }
    return s;
}

// Random settings (all designs, bypass and solo mixes), random block sizes:
// the processor agrees with the independent model to 1e-6 of full scale.
TEST (Processing, AgreesWithIndependentModel)
{
    for (unsigned seed = 1; seed <= 12; ++seed)
    {
        const auto settings = randomSettings (seed);
        const double hostRate = seed % 3 == 0 ? 44100.0 : 48000.0;

        TrelvaneAudioProcessor processor;
        for (int i = 0; i < 40; ++i)
            processor.setParameter (i, (float) settings.values[i]);
        processor.prepareToPlay (hostRate, 512);

        ReferenceEqualiser model;
        for (int band = 0; band < 5; ++band)
        {
            double v[8];
            for (int f = 0; f < 8; ++f)
                v[f] = (double) (float) settings.values[band * 8 + f];
            model.setBand (band, v, hostRate);
        }

        std::mt19937 random (seed);
        double worst = 0;
        for (int block = 0; block < 20; ++block)
        {
            const int n = 1 + (int) (random() % 700);
            auto buffer = noise (2, n, seed * 100 + (unsigned) block);
            std::vector<float> left (buffer.getReadPointer (0), buffer.getReadPointer (0) + n);
            std::vector<float> right (buffer.getReadPointer (1), buffer.getReadPointer (1) + n);
            processor.processBlock (buffer, noMidi);
            model.process (left.data(), right.data(), n);
            for (int i = 0; i < n; ++i)
            {
                worst = std::max (worst, (double) std::fabs (buffer.getSample (0, i) - left[(size_t) i]));
                worst = std::max (worst, (double) std::fabs (buffer.getSample (1, i) - right[(size_t) i]));
            }
        }
        EXPECT_LT (worst, 1e-6) << "seed " << seed;
    }
}

TEST (Processing, MonoBlockIsUntouchedAndAdvancesNothing)
{
    TrelvaneAudioProcessor p, q;
    p.prepareToPlay (48000, 128);
    q.prepareToPlay (48000, 128);

    auto mono = noise (1, 128, 5);
    const auto before = mono;
    p.processBlock (mono, noMidi);
    EXPECT_TRUE (identical (mono, before, 0));

    auto a = noise (2, 128, 6), b = a;
    p.processBlock (a, noMidi);
    q.processBlock (b, noMidi);
    EXPECT_TRUE (identical (a, b, 0) && identical (a, b, 1)) << "the mono block left no trace in the memories";
}

TEST (Processing, ZeroLengthBlockChangesNothing)
{
    TrelvaneAudioProcessor p, q;
    p.prepareToPlay (48000, 128);
    q.prepareToPlay (48000, 128);
    juce::AudioBuffer<float> empty (2, 0);
    p.processBlock (empty, noMidi);
    auto a = noise (2, 128, 6), b = a;
    p.processBlock (a, noMidi);
    q.processBlock (b, noMidi);
    EXPECT_TRUE (identical (a, b, 0) && identical (a, b, 1));
}

TEST (Processing, ChannelsBeyondTheSecondAreUntouched)
{
    TrelvaneAudioProcessor p, q;
    p.prepareToPlay (48000, 64);
    q.prepareToPlay (48000, 64);
    auto wide = noise (4, 64, 8);
    const auto before = wide;
    juce::AudioBuffer<float> stereo (2, 64);
    stereo.copyFrom (0, 0, wide, 0, 0, 64);
    stereo.copyFrom (1, 0, wide, 1, 0, 64);
    p.processBlock (wide, noMidi);
    q.processBlock (stereo, noMidi);
    EXPECT_TRUE (identical (wide, before, 2) && identical (wide, before, 3));
    EXPECT_EQ (std::memcmp (wide.getReadPointer (0), stereo.getReadPointer (0), 64 * sizeof (float)), 0);
}

TEST (Processing, SilenceGivesTinyNonZeroOutput)
{
    TrelvaneAudioProcessor p;
    p.prepareToPlay (48000, 256);
    juce::AudioBuffer<float> silence (2, 256);
    silence.clear();
    p.processBlock (silence, noMidi);
    const float peak = silence.getMagnitude (0, 256);
    EXPECT_GT (peak, 0.0f);
    EXPECT_LT (peak, 1e-9f);
}

// All bands bypassed: only the samplers remain, an all-pass: every frequency
// keeps its amplitude.
TEST (Processing, AllBypassedKeepsEveryAmplitude)
{
    for (double frequency : { 100.0, 1000.0, 8000.0, 18000.0 })
    {
        TrelvaneAudioProcessor p;
        for (int band = 0; band < 5; ++band)
            p.setParameter (band * 8 + 6, 1.0f);
        p.prepareToPlay (48000, 4096);
        juce::AudioBuffer<float> buffer (2, 4096);
        double inputRms = 0;
        for (int block = 0; block < 3; ++block)
        {
            for (int i = 0; i < 4096; ++i)
            {
                const float x = (float) std::sin (2.0 * M_PI * frequency * (block * 4096 + i) / 48000.0);
                buffer.setSample (0, i, x);
                buffer.setSample (1, i, 0.5f * x);
            }
            inputRms = buffer.getRMSLevel (0, 0, 4096);
            p.processBlock (buffer, noMidi);
        }
        EXPECT_NEAR (buffer.getRMSLevel (0, 0, 4096) / inputRms, 1.0, 2e-3) << frequency;
        EXPECT_NEAR (buffer.getRMSLevel (1, 0, 4096) / inputRms, 0.5, 1e-3) << frequency;
    }
}

// A soloed band projects onto its axis; once the samplers settle the output
// lies on (cos theta, sin theta).
TEST (Processing, SoloedBandOutputLiesOnItsAxis)
{
    TrelvaneAudioProcessor p;
    p.setParameter (2 * 8 + 7, 1.0f);   // solo3
    p.setParameter (2 * 8 + 3, 0.3f);   // angle3
    p.prepareToPlay (48000, 1024);
    auto buffer = noise (2, 1024, 11);
    p.processBlock (buffer, noMidi);
    const double theta = (double) 0.3f * M_PI / 2.0;
    for (int i = 0; i < 1024; ++i)
        ASSERT_NEAR (buffer.getSample (0, i) * std::sin (theta), buffer.getSample (1, i) * std::cos (theta), 1e-6) << i;
}

TEST (Processing, OneBadSampleDoesNotSilenceForever)
{
    TrelvaneAudioProcessor p;
    p.prepareToPlay (48000, 64);
    auto buffer = noise (2, 64, 12);
    buffer.setSample (0, 10, std::numeric_limits<float>::quiet_NaN());
    buffer.setSample (1, 20, std::numeric_limits<float>::infinity());
    p.processBlock (buffer, noMidi);

    for (int block = 0; block < 3; ++block)
    {
        auto next = noise (2, 64, 13 + (unsigned) block);
        p.processBlock (next, noMidi);
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < 64; ++i)
                ASSERT_TRUE (std::isfinite (next.getSample (ch, i))) << block << ":" << ch << ":" << i;
        EXPECT_GT (next.getMagnitude (0, 64), 1e-3f);
    }
}

// Parameter values without a meaning leave the band playing its last
// settings rather than producing undefined numbers.
TEST (Processing, ValuesWithoutADesignKeepTheBandPlaying)
{
    for (float type : { 0.001f, 0.05f, 0.0f, -2.0f, std::numeric_limits<float>::quiet_NaN() })
    {
        TrelvaneAudioProcessor p;
        p.prepareToPlay (48000, 256);
        p.setParameter (5, type);
        p.setParameter (0, std::numeric_limits<float>::infinity());
        p.setParameter (4, std::numeric_limits<float>::quiet_NaN());
        auto buffer = noise (2, 256, 14);
        p.processBlock (buffer, noMidi);
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < 256; ++i)
                ASSERT_TRUE (std::isfinite (buffer.getSample (ch, i))) << type;
        EXPECT_GT (buffer.getMagnitude (0, 256), 0.1f);
    }
}

// A host at 16 kHz puts the top of the frequency range above half the
// oversampled rate; the band must still be stable.
TEST (Processing, LowHostRateStaysStable)
{
    TrelvaneAudioProcessor p;
    for (int band = 0; band < 5; ++band)
    {
        p.setParameter (band * 8 + 1, 1.0f);
        p.setParameter (band * 8 + 0, 1.0f);
    }
    p.prepareToPlay (16000, 512);
    juce::AudioBuffer<float> buffer (2, 512);
    for (int block = 0; block < 40; ++block)
    {
        buffer.clear();
        if (block == 0)
            buffer.setSample (0, 0, 1.0f);
        p.processBlock (buffer, noMidi);
    }
    EXPECT_LT (buffer.getMagnitude (0, 512), 1e-4f);
}

TEST (Processing, PrepareRedesignsWithoutClearingMemory)
{
    TrelvaneAudioProcessor p, q;
    p.prepareToPlay (44100, 128);
    q.prepareToPlay (44100, 128);
    auto a = noise (2, 128, 20), b = a;
    p.processBlock (a, noMidi);
    q.processBlock (b, noMidi);

    p.prepareToPlay (96000, 128);
    EXPECT_EQ (p.getOversampledRate(), 192000.0f);
    TrelvaneAudioProcessor fresh;
    fresh.prepareToPlay (96000, 128);
    EXPECT_EQ (p.getBandChain().bandFilters[2].b0, fresh.getBandChain().bandFilters[2].b0);
    EXPECT_EQ (p.getBandChain().bandFilters[2].y1, q.getBandChain().bandFilters[2].y1) << "memory kept";
}

TEST (Processing, LargerBlockThanAnnouncedIsProcessed)
{
    TrelvaneAudioProcessor p, q;
    p.prepareToPlay (48000, 32);
    q.prepareToPlay (48000, 4096);
    auto a = noise (2, 4096, 21), b = a;
    p.processBlock (a, noMidi);
    q.processBlock (b, noMidi);
    EXPECT_TRUE (identical (a, b, 0) && identical (a, b, 1));
}
} // namespace

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
