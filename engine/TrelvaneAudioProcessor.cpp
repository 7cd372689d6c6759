#include "engine/TrelvaneAudioProcessor.h"

#include "editor/TrelvaneAudioProcessorEditor.h"
#include "host/StateBlock.h"

#include <cmath>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

namespace
{
BandParameters readBandParameters (const ParameterStore& values, int band)
{
    using namespace ParameterTable;
    BandParameters p;
    p.gain = values.getValue (indexOf (band, gain));
    p.freq = values.getValue (indexOf (band, freq));
    p.width = values.getValue (indexOf (band, width));
    p.angle = values.getValue (indexOf (band, angle));
    p.level = values.getValue (indexOf (band, level));
    p.type = values.getValue (indexOf (band, type));
    return p;
}
} // namespace

// Change messages may only be sent from the message thread: sending one takes
// the message queue's lock. Writes from other threads (automation on the
// audio thread) raise a flag that this timer turns into a message.
class TrelvaneAudioProcessor::DeferredChangeMessages : private juce::Timer
{
public:
    explicit DeferredChangeMessages (juce::ChangeBroadcaster& ownerToNotify) : owner (ownerToNotify)
    {
        if (juce::MessageManager::getInstanceWithoutCreating() != nullptr)
            startTimer (intervalMs);
    }

    ~DeferredChangeMessages() override { stopTimer(); }

    void request() noexcept { pending.store (true, std::memory_order_release); }

private:
    void timerCallback() override
    {
        if (pending.exchange (false, std::memory_order_acq_rel))
            owner.sendChangeMessage();
    }

    static constexpr int intervalMs = 20;
    juce::ChangeBroadcaster& owner;
    std::atomic<bool> pending { false };
};

TrelvaneAudioProcessor::TrelvaneAudioProcessor()
    : AudioProcessor (BusesProperties()
                          .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                          .withOutput ("Output", juce::AudioChannelSet::stereo(), true))
{
    for (int band = 0; band < BandChain::numBands; ++band)
    {
        bypassFlags[(size_t) band].store (false);
        soloFlags[(size_t) band].store (false);
    }

    for (auto& slot : programSlots)
        slot = std::make_unique<ProgramSlot>();

    upsamplerLeft = std::make_unique<PolyphaseHalfBand>();
    upsamplerRight = std::make_unique<PolyphaseHalfBand>();
    downsamplerLeft = std::make_unique<PolyphaseHalfBand>();
    downsamplerRight = std::make_unique<PolyphaseHalfBand>();

    // Before the first prepareToPlay the bands already hold the settings the
    // defaults give, at a harmless rate.
    for (int band = 0; band < BandChain::numBands; ++band)
        bands.updateBand (band, readBandParameters (parameterValues, band), (double) oversampledRate.load());

    deferredChangeMessages = std::make_unique<DeferredChangeMessages> (*this);
}

TrelvaneAudioProcessor::~TrelvaneAudioProcessor()
{
    deferredChangeMessages.reset();
}

//==============================================================================
void TrelvaneAudioProcessor::prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock)
{
    oversampledRate.store ((float) (sampleRate * 2.0));

    for (int band = 0; band < BandChain::numBands; ++band)
    {
        const int index = ParameterTable::indexOf (band, ParameterTable::gain);
        setParameter (index, (float) parameterValues.getValue (index));
    }

    const int samplesPerBlock = juce::jmax (0, maximumExpectedSamplesPerBlock);
    for (auto* sampler : { upsamplerLeft.get(), upsamplerRight.get(), downsamplerLeft.get(), downsamplerRight.get() })
        sampler->blockSize = samplesPerBlock;

    applyPendingBandUpdates();
}

void TrelvaneAudioProcessor::releaseResources() {}

void TrelvaneAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    const int n = buffer.getNumSamples();

    if (n != upsamplerLeft->blockSize)
        for (auto* sampler : { upsamplerLeft.get(), upsamplerRight.get(), downsamplerLeft.get(), downsamplerRight.get() })
            sampler->blockSize = n;

    if (buffer.getNumChannels() < 2 || n == 0)
        return;

    float* left = buffer.getWritePointer (0);
    float* right = buffer.getWritePointer (1);
    BandChain::addAntiDenormalOffset (left, n);
    BandChain::addAntiDenormalOffset (right, n);

    applyPendingBandUpdates();

    // Upsampling, the bands and downsampling in one pass over the block, both
    // channels side by side; the oversampled frames never reach memory. Any
    // filter or sampler memory that came out non-finite is zero afterwards.
    bands.processHostBlock (left, right, n, *upsamplerLeft, *upsamplerRight, *downsamplerLeft, *downsamplerRight);
}

void TrelvaneAudioProcessor::applyPendingBandUpdates()
{
    const double rate = (double) oversampledRate.load (std::memory_order_acquire);

    for (int band = 0; band < BandChain::numBands; ++band)
    {
        const auto version = bandVersions[(size_t) band].load (std::memory_order_acquire);
        if (version != appliedBandVersions[(size_t) band])
        {
            // The version is taken before the values: a write that lands while
            // they are read bumps it again and is picked up next block.
            appliedBandVersions[(size_t) band] = version;
            bands.updateBand (band, readBandParameters (parameterValues, band), rate);
        }

        bands.bandBypass[band] = bypassFlags[(size_t) band].load (std::memory_order_acquire);
        bands.bandSolo[band] = soloFlags[(size_t) band].load (std::memory_order_acquire);
    }
}

//==============================================================================
int TrelvaneAudioProcessor::getNumParameters()
{
    return ParameterStore::size();
}

float TrelvaneAudioProcessor::getParameter (int index)
{
    return ParameterTable::isValidIndex (index) ? (float) parameterValues.getValue (index) : 0.0f;
}

void TrelvaneAudioProcessor::setParameter (int index, float value)
{
    // An index beyond the list changes nothing: the store keeps its forty entries.
    if (ParameterTable::isValidIndex (index))
        storeParameter (index, (double) value);
}

void TrelvaneAudioProcessor::storeParameter (int index, double value)
{
    using namespace ParameterTable;

    parameterValues.setValue (index, value);
    programSlots[(size_t) currentProgram.load (std::memory_order_acquire)]->values.setValue (index, value);

    const int band = bandOf (index);
    const Field field = fieldOf (index);

    if (field == solo)
        soloFlags[(size_t) band].store (BandSettings::soloFlag (value), std::memory_order_release);
    else if (field == bypass)
        bypassFlags[(size_t) band].store (BandSettings::bypassFlag (value), std::memory_order_release);
    else
        markBandChanged (band);

    sendOrDeferChangeMessage();
}

void TrelvaneAudioProcessor::markBandChanged (int band)
{
    bandVersions[(size_t) band].fetch_add (1, std::memory_order_acq_rel);
}

void TrelvaneAudioProcessor::sendOrDeferChangeMessage()
{
    if (juce::MessageManager::existsAndIsCurrentThread())
        sendChangeMessage();
    else
        deferredChangeMessages->request();
}

const juce::String TrelvaneAudioProcessor::getParameterName (int index)
{
    return ParameterTable::isValidIndex (index) ? ParameterStore::getName (index).toString() : juce::String();
}

const juce::String TrelvaneAudioProcessor::getParameterText (int index)
{
    return ParameterTable::isValidIndex (index) ? parameterValues.getText (index) : juce::String();
}

float TrelvaneAudioProcessor::getParameterDefaultValue (int index)
{
    return ParameterTable::isValidIndex (index) ? (float) defaultParameterValues.getValue (index) : 0.0f;
}

int TrelvaneAudioProcessor::findParameterIndex (const juce::String& id) const
{
    return ParameterStore::indexOf (id);
}

float TrelvaneAudioProcessor::getParameterValue (const juce::String& id) const
{
    const int index = findParameterIndex (id);
    return index < 0 ? 0.0f : (float) parameterValues.getValue (index);
}

//==============================================================================
int TrelvaneAudioProcessor::getCurrentProgram()
{
    return currentProgram.load();
}

void TrelvaneAudioProcessor::setCurrentProgram (int index)
{
    if ((unsigned) index >= (unsigned) numPrograms)
        return;

    currentProgram.store (index, std::memory_order_release);
    parameterValues.copyFrom (programSlots[(size_t) index]->values);

    // The engine follows the values just selected, so what plays is what the
    // program shows and what a save records.
    for (int band = 0; band < BandChain::numBands; ++band)
    {
        using namespace ParameterTable;
        soloFlags[(size_t) band].store (BandSettings::soloFlag (parameterValues.getValue (indexOf (band, solo))));
        bypassFlags[(size_t) band].store (BandSettings::bypassFlag (parameterValues.getValue (indexOf (band, bypass))));
        markBandChanged (band);
    }

    sendOrDeferChangeMessage();
}

const juce::String TrelvaneAudioProcessor::getProgramName (int index)
{
    if ((unsigned) index >= (unsigned) numPrograms)
        return {};
    return programSlots[(size_t) index]->getDisplayName (index);
}

void TrelvaneAudioProcessor::changeProgramName (int index, const juce::String& newName)
{
    if ((unsigned) index < (unsigned) numPrograms)
        programSlots[(size_t) index]->name = newName;
}

//==============================================================================
void TrelvaneAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    StateBlock::write (parameterValues, currentProgram.load(), destData);
}

void TrelvaneAudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    const auto contents = StateBlock::read (data, sizeInBytes);
    if (! contents)
        return;

    if (contents->currentProgram)
        currentProgram.store (*contents->currentProgram, std::memory_order_release);

    // Each value goes the way of a parameter write (bands recomputed, flags
    // set, editor told), keeping its full 64-bit value so that saving again
    // gives the identical block.
    for (const auto& [index, value] : contents->values)
        storeParameter (index, value);
}

//==============================================================================
juce::AudioProcessorEditor* TrelvaneAudioProcessor::createEditor()
{
    return new TrelvaneAudioProcessorEditor (*this);
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new TrelvaneAudioProcessor();
}
