#pragma once

#include "engine/BandChain.h"
#include "engine/PolyphaseHalfBand.h"
#include "host/ParameterStore.h"
#include "host/ProgramSlot.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>
#include <memory>

// The plug-in's processor: five rotated-axis bands at twice the host rate,
// forty parameters in the framework's index-based interface, ten programs and
// the saved state.
//
// Threads: setParameter may run on the audio thread (automation) and on the
// message thread (editor) while the audio thread processes and the host saves.
// Values live in atomic entries; a band whose values change is marked with a
// new version number, and the audio thread recomputes it at the start of its
// next block, so no block ever runs with half-written settings and the audio
// thread never waits.
class TrelvaneAudioProcessor : public juce::AudioProcessor,
                               public juce::ChangeBroadcaster
{
public:
    TrelvaneAudioProcessor();
    ~TrelvaneAudioProcessor() override;

    void prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override;
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages) override;
    using juce::AudioProcessor::processBlock;

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override { return true; }

    const juce::String getName() const override { return "Trelvane"; }
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return false; }
    double getTailLengthSeconds() const override { return 0.0; }

    // The framework's index-based parameter interface.
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    int getNumParameters() override;
    float getParameter (int index) override;
    void setParameter (int index, float value) override;
    const juce::String getParameterName (int index) override;
    const juce::String getParameterText (int index) override;
    float getParameterDefaultValue (int index) override;
    using juce::AudioProcessor::getParameterName;
    using juce::AudioProcessor::getParameterText;
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE

    int findParameterIndex (const juce::String& id) const;
    float getParameterValue (const juce::String& id) const;

    int getNumPrograms() override { return numPrograms; }
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override;

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    static constexpr int numPrograms = 10;

    // The audio thread's view of the bands, for tests and tools that run the
    // processor synchronously. Reflects every parameter change once a block
    // has started (or prepareToPlay has run) after it.
    const BandChain& getBandChain() const { return bands; }
    float getOversampledRate() const { return oversampledRate.load(); }

private:
    void storeParameter (int index, double value);
    void markBandChanged (int band);
    void applyPendingBandUpdates();
    void sendOrDeferChangeMessage();

    class DeferredChangeMessages;

    // Audio thread only.
    BandChain bands;
    std::array<juce::uint32, BandChain::numBands> appliedBandVersions {};

    // Written by any parameter-setting thread, read by the audio thread.
    std::array<std::atomic<juce::uint32>, BandChain::numBands> bandVersions {};
    std::array<std::atomic<bool>, BandChain::numBands> bypassFlags {};
    std::array<std::atomic<bool>, BandChain::numBands> soloFlags {};
    std::atomic<float> oversampledRate { 88200.0f };

    std::unique_ptr<PolyphaseHalfBand> upsamplerLeft, upsamplerRight, downsamplerLeft, downsamplerRight;

    ParameterStore parameterValues;
    const ParameterStore defaultParameterValues;
    std::array<std::unique_ptr<ProgramSlot>, numPrograms> programSlots;
    std::atomic<int> currentProgram { 0 };

    std::unique_ptr<DeferredChangeMessages> deferredChangeMessages;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TrelvaneAudioProcessor)
};
