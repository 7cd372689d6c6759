// The built Trelvane.vst3 module, loaded through the framework's own VST3
// hosting as a host would load it: identity, parameters, programs, buses,
// latency and tail, saved state through the wrapper, and audio compared with
// the processor class run directly in this test.
#include "engine/TrelvaneAudioProcessor.h"

#include <gtest/gtest.h>
#include <juce_audio_processors/juce_audio_processors.h>

#include <pluginterfaces/vst/ivstaudioprocessor.h>
#include <pluginterfaces/vst/ivstcomponent.h>
#include <pluginterfaces/vst/vstspeaker.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

namespace
{
//==============================================================================
// What a host should see, written out from the plug-in's parameter table.
struct ExpectedParameter
{
    juce::String id;
    double storedDefault; // the 64-bit value the processor starts with
};

std::vector<ExpectedParameter> expectedParameters()
{
    const double freqDefaults[] = { 0.1, 0.3, 0.5, 0.7, 0.9 };
    // The angle defaults are the nearest 32-bit floats to the same numbers.
    const double angleDefaults[] = { (double) 0.1f, (double) 0.3f, 0.5, (double) 0.7f, (double) 0.9f };

    std::vector<ExpectedParameter> list;
    for (int band = 0; band < 5; ++band)
    {
        const juce::String n (band + 1);
        list.push_back ({ "gain" + n, 0.5 });
        list.push_back ({ "freq" + n, freqDefaults[band] });
        list.push_back ({ "width" + n, 0.5 });
        list.push_back ({ "angle" + n, angleDefaults[band] });
        list.push_back ({ "level" + n, 0.5 });
        list.push_back ({ "type" + n, 1.0 / 7.0 });
        list.push_back ({ "bypass" + n, 0.0 });
        list.push_back ({ "solo" + n, 0.0 });
    }
    return list;
}

constexpr int numOwnParameters = 40;

juce::File bundleFolder()
{
    // The module file lies inside the bundle: Trelvane.vst3/Contents/<arch>/Trelvane.so.
    for (auto f = juce::File (TRELVANE_VST3_MODULE_FILE); f != f.getParentDirectory(); f = f.getParentDirectory())
        if (f.getFileName().endsWith (".vst3"))
            return f;
    return {};
}

void spinMessageLoop (int milliseconds = 100)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
}

//==============================================================================
// One shared scan of the bundle; every test makes its own instances from it.
class HostedTrelvane : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        descriptions = std::make_unique<juce::OwnedArray<juce::PluginDescription>>();
        const auto bundle = bundleFolder();
        if (bundle.isDirectory())
            format().findAllTypesForFile (*descriptions, bundle.getFullPathName());
    }

    static void TearDownTestSuite() { descriptions.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE (bundleFolder().isDirectory()) << "no bundle above " << TRELVANE_VST3_MODULE_FILE;
        ASSERT_EQ (descriptions->size(), 1) << "the bundle should hold exactly one plug-in class";
    }

    static juce::VST3PluginFormat& format()
    {
        static juce::VST3PluginFormat f;
        return f;
    }

    static const juce::PluginDescription& description() { return *descriptions->getFirst(); }

    static std::unique_ptr<juce::AudioPluginInstance> createInstance (double rate = 48000.0, int blockSize = 512)
    {
        juce::String error;
        auto instance = format().createInstanceFromDescription (description(), rate, blockSize, error);
        EXPECT_NE (instance, nullptr) << error;
        spinMessageLoop();
        return instance;
    }

    // The host-visible parameter with this name, or null.
    static juce::AudioProcessorParameter* parameterNamed (juce::AudioPluginInstance& instance, const juce::String& name)
    {
        for (auto* p : instance.getParameters())
            if (p->getName (256) == name)
                return p;
        return nullptr;
    }

    static std::unique_ptr<juce::OwnedArray<juce::PluginDescription>> descriptions;
};

std::unique_ptr<juce::OwnedArray<juce::PluginDescription>> HostedTrelvane::descriptions;

//==============================================================================
TEST_F (HostedTrelvane, TheScanReportsTheIdentityOfTheProduct)
{
    const auto& d = description();
    EXPECT_EQ (d.pluginFormatName, "VST3");
    EXPECT_EQ (d.name, "Trelvane");
    EXPECT_EQ (d.manufacturerName, "QUAV");
    EXPECT_EQ (d.version, "1.0.8");
    EXPECT_TRUE (d.category.contains ("Fx")) << d.category;
    EXPECT_FALSE (d.isInstrument);
    EXPECT_EQ (d.numInputChannels, 2);
    EXPECT_EQ (d.numOutputChannels, 2);

    auto instance = createInstance();
    ASSERT_NE (instance, nullptr);
    EXPECT_EQ (instance->getName(), "Trelvane");
    EXPECT_FALSE (instance->acceptsMidi());
    EXPECT_FALSE (instance->producesMidi());
    EXPECT_TRUE (instance->hasEditor());
}

TEST_F (HostedTrelvane, OurFortyParametersComeFirstInOrderAndOnlyTheWrappersOwnFollow)
{
    auto instance = createInstance();
    ASSERT_NE (instance, nullptr);

    const auto& params = instance->getParameters();
    const auto expected = expectedParameters();
    ASSERT_GE (params.size(), numOwnParameters);

    for (int i = 0; i < numOwnParameters; ++i)
        EXPECT_EQ (params[i]->getName (256), expected[(size_t) i].id) << "position " << i;

    // Whatever the wrapper adds is its bypass switch and its program selector,
    // nothing of ours a second time.
    for (int i = numOwnParameters; i < params.size(); ++i)
    {
        const auto name = params[i]->getName (256);
        EXPECT_TRUE (name == "Bypass" || name == "Program") << "unexpected extra parameter \"" << name << "\"";
    }

    auto* bypass = instance->getBypassParameter();
    ASSERT_NE (bypass, nullptr) << "the wrapper offers a host bypass";
    EXPECT_EQ (bypass->getName (256), "Bypass");
    EXPECT_GE (bypass->getParameterIndex(), numOwnParameters);
}

TEST_F (HostedTrelvane, ParametersShowTheirDefaultsValuesAndTextsToTheHost)
{
    auto instance = createInstance();
    ASSERT_NE (instance, nullptr);
    const auto& params = instance->getParameters();
    ASSERT_GE (params.size(), numOwnParameters);
    const auto expected = expectedParameters();

    for (int i = 0; i < numOwnParameters; ++i)
    {
        const auto& e = expected[(size_t) i];
        auto* p = params[i];
        SCOPED_TRACE (e.id.toStdString());

        // Defaults and values travel as 32-bit floats.
        EXPECT_EQ (p->getDefaultValue(), (float) e.storedDefault);
        EXPECT_EQ (p->getValue(), (float) e.storedDefault);
        EXPECT_TRUE (p->isAutomatable());
        EXPECT_FALSE (p->isDiscrete());
        EXPECT_EQ (p->getLabel(), juce::String());

        // The text is the decimal form of the stored 64-bit value; an untouched
        // bypass or solo entry is the integer 0.
        const auto text = p->getCurrentValueAsText();
        if (e.id.startsWith ("bypass") || e.id.startsWith ("solo"))
            EXPECT_EQ (text, "0");
        else if (e.storedDefault == 0.5)
            EXPECT_EQ (text, "0.5");
        else
            EXPECT_NEAR (text.getDoubleValue(), e.storedDefault, 1e-15) << text;
    }

    EXPECT_TRUE (params[3]->getCurrentValueAsText().startsWith ("0.1000000014901")) << "angle1 holds 0.1 as a 32-bit float";
}

TEST_F (HostedTrelvane, AValueSetByTheHostReachesTheProcessorAndItsText)
{
    auto instance = createInstance();
    ASSERT_NE (instance, nullptr);
    instance->prepareToPlay (48000.0, 256);

    auto* bypass1 = parameterNamed (*instance, "bypass1");
    auto* width2 = parameterNamed (*instance, "width2");
    ASSERT_NE (bypass1, nullptr);
    ASSERT_NE (width2, nullptr);

    bypass1->setValueNotifyingHost (1.0f);
    width2->setValueNotifyingHost (0.75f);
    juce::AudioBuffer<float> silence (2, 256);
    silence.clear();
    juce::MidiBuffer midi;
    instance->processBlock (silence, midi);
    spinMessageLoop();

    EXPECT_EQ (bypass1->getValue(), 1.0f);
    EXPECT_EQ (bypass1->getCurrentValueAsText(), "1.0");
    EXPECT_EQ (width2->getValue(), 0.75f);
    EXPECT_EQ (width2->getCurrentValueAsText(), "0.75");
    EXPECT_EQ (width2->getDefaultValue(), 0.5f);

    instance->releaseResources();
}

TEST_F (HostedTrelvane, TenProgramsWithTheirFallbackNames)
{
    auto instance = createInstance();
    ASSERT_NE (instance, nullptr);

    ASSERT_EQ (instance->getNumPrograms(), 10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ (instance->getProgramName (i), "Program " + juce::String (i + 1));
    EXPECT_EQ (instance->getCurrentProgram(), 0);
}

//==============================================================================
// Bus layouts, proposed through the framework host, which asks the module.
struct LayoutCase
{
    const char* name;
    juce::AudioChannelSet in, out;
    bool accepted;
};

void PrintTo (const LayoutCase& c, std::ostream* os) { *os << c.name; }

class HostedTrelvaneLayouts : public HostedTrelvane,
                              public ::testing::WithParamInterface<LayoutCase>
{
};

TEST_P (HostedTrelvaneLayouts, LayoutIsAcceptedOrTheStereoArrangementStays)
{
    const auto& c = GetParam();
    auto instance = createInstance();
    ASSERT_NE (instance, nullptr);

    ASSERT_EQ (instance->getBusCount (true), 1);
    ASSERT_EQ (instance->getBusCount (false), 1);
    EXPECT_EQ (instance->getBus (true, 0)->getName(), "Input");
    EXPECT_EQ (instance->getBus (false, 0)->getName(), "Output");
    ASSERT_EQ (instance->getMainBusNumInputChannels(), 2) << "starts as two in, two out";
    ASSERT_EQ (instance->getMainBusNumOutputChannels(), 2);

    juce::AudioProcessor::BusesLayout proposal;
    proposal.inputBuses.add (c.in);
    proposal.outputBuses.add (c.out);

    EXPECT_EQ (instance->checkBusesLayoutSupported (proposal), c.accepted);
    EXPECT_EQ (instance->setBusesLayout (proposal), c.accepted);

    const auto expectedIn = c.accepted ? c.in : juce::AudioChannelSet::stereo();
    const auto expectedOut = c.accepted ? c.out : juce::AudioChannelSet::stereo();
    EXPECT_EQ (instance->getChannelLayoutOfBus (true, 0), expectedIn);
    EXPECT_EQ (instance->getChannelLayoutOfBus (false, 0), expectedOut);
}

INSTANTIATE_TEST_SUITE_P (
    Proposals, HostedTrelvaneLayouts,
    ::testing::Values (
        LayoutCase { "stereoToStereo", juce::AudioChannelSet::stereo(), juce::AudioChannelSet::stereo(), true },
        LayoutCase { "monoToMono", juce::AudioChannelSet::mono(), juce::AudioChannelSet::mono(), true },
        LayoutCase { "stereoToMono", juce::AudioChannelSet::stereo(), juce::AudioChannelSet::mono(), false },
        LayoutCase { "monoToStereo", juce::AudioChannelSet::mono(), juce::AudioChannelSet::stereo(), false },
        LayoutCase { "sixChannels", juce::AudioChannelSet::create5point1(), juce::AudioChannelSet::create5point1(), false },
        LayoutCase { "sixToStereo", juce::AudioChannelSet::create5point1(), juce::AudioChannelSet::stereo(), false },
        LayoutCase { "stereoToSix", juce::AudioChannelSet::stereo(), juce::AudioChannelSet::create5point1(), false }),
    [] (const auto& caseInfo) { return std::string (caseInfo.param.name); });

// The framework host never proposes more buses than the module reports, so the
// side-chain request goes to the module's own VST3 interfaces.
TEST_F (HostedTrelvane, TheModuleOffersOneAudioBusEachWayNoEventBusAndRefusesASideChain)
{
    using namespace Steinberg;
    auto instance = createInstance();
    ASSERT_NE (instance, nullptr);

    auto* component = static_cast<Vst::IComponent*> (instance->getPlatformSpecificData());
    ASSERT_NE (component, nullptr);

    EXPECT_EQ (component->getBusCount (Vst::kAudio, Vst::kInput), 1);
    EXPECT_EQ (component->getBusCount (Vst::kAudio, Vst::kOutput), 1);
    EXPECT_EQ (component->getBusCount (Vst::kEvent, Vst::kInput), 0) << "no MIDI input";
    EXPECT_EQ (component->getBusCount (Vst::kEvent, Vst::kOutput), 0) << "no MIDI output";

    Vst::IAudioProcessor* audioProcessor = nullptr;
    ASSERT_EQ (component->queryInterface (Vst::IAudioProcessor_iid, (void**) &audioProcessor), kResultOk);
    ASSERT_NE (audioProcessor, nullptr);

    Vst::SpeakerArrangement inputs[] = { Vst::SpeakerArr::kStereo, Vst::SpeakerArr::kStereo };
    Vst::SpeakerArrangement outputs[] = { Vst::SpeakerArr::kStereo };
    const auto result = audioProcessor->setBusArrangements (inputs, 2, outputs, 1);

    // Refused means: not applied. (The answer code alone is not enough; see
    // the note on the wrapper's answer below.)
    EXPECT_EQ (component->getBusCount (Vst::kAudio, Vst::kInput), 1);
    Vst::SpeakerArrangement arrangement = 0;
    ASSERT_EQ (audioProcessor->getBusArrangement (Vst::kInput, 0, arrangement), kResultOk);
    EXPECT_EQ (arrangement, Vst::SpeakerArr::kStereo);
    ASSERT_EQ (audioProcessor->getBusArrangement (Vst::kOutput, 0, arrangement), kResultOk);
    EXPECT_EQ (arrangement, Vst::SpeakerArr::kStereo);
    EXPECT_EQ (instance->getMainBusNumInputChannels(), 2);

    // The framework's wrapper answers a request for more buses than it has with
    // the value false, which in VST3 terms is kResultOk (0) rather than
    // kResultFalse (1). Record it so that a change in the wrapper shows up.
    EXPECT_TRUE (result == kResultFalse || result == kResultOk) << "answer " << result;
    RecordProperty ("sideChainAnswer", (int) result);

    // A side chain through the framework host: refused before the module is asked.
    juce::AudioProcessor::BusesLayout withSideChain;
    withSideChain.inputBuses.add (juce::AudioChannelSet::stereo());
    withSideChain.inputBuses.add (juce::AudioChannelSet::stereo());
    withSideChain.outputBuses.add (juce::AudioChannelSet::stereo());
    EXPECT_FALSE (instance->checkBusesLayoutSupported (withSideChain));
    EXPECT_FALSE (instance->setBusesLayout (withSideChain));
    EXPECT_FALSE (instance->canAddBus (true));

    audioProcessor->release();
}

TEST_F (HostedTrelvane, NoLatencyAndNoTail)
{
    using namespace Steinberg;
    auto instance = createInstance (44100.0, 512);
    ASSERT_NE (instance, nullptr);

    // The host works the tail out from the module's tail in samples and the
    // rate, so it is asked once the module is set up.
    instance->prepareToPlay (44100.0, 512);
    EXPECT_EQ (instance->getLatencySamples(), 0);
    EXPECT_EQ (instance->getTailLengthSeconds(), 0.0);

    auto* component = static_cast<Vst::IComponent*> (instance->getPlatformSpecificData());
    ASSERT_NE (component, nullptr);
    Vst::IAudioProcessor* audioProcessor = nullptr;
    ASSERT_EQ (component->queryInterface (Vst::IAudioProcessor_iid, (void**) &audioProcessor), kResultOk);
    EXPECT_EQ (audioProcessor->getLatencySamples(), 0u);
    EXPECT_EQ (audioProcessor->getTailSamples(), (uint32) Vst::kNoTail);
    audioProcessor->release();

    instance->releaseResources();
}

//==============================================================================
// Settings as a host applies them: a parameter id and the value it sends, or a
// program to select.
struct Step
{
    juce::String id; // empty: select `program`
    float value = 0.0f;
    int program = -1;
};

Step set (const char* id, float value) { return { id, value, -1 }; }
Step selectProgram (int index) { return { {}, 0.0f, index }; }

const std::vector<Step> variedSettings {
    // band 1: low shelf up, axis towards the left
    set ("type1", 1.0f / 8.0f), set ("gain1", 0.8f), set ("freq1", 0.35f), set ("angle1", 0.2f),
    // band 2: high-pass on the middle
    set ("type2", 1.0f / 2.0f), set ("freq2", 0.25f), set ("width2", 0.6f), set ("angle2", 0.5f),
    // band 3: notch, steep
    set ("type3", 1.0f / 5.0f), set ("freq3", 0.55f), set ("width3", 0.9f), set ("level3", 0.7f),
    // band 4: bypassed although set to a loud peak
    set ("gain4", 1.0f), set ("level4", 1.0f), set ("bypass4", 1.0f),
    // band 5: high shelf cut towards the right
    set ("type5", 1.0f / 9.0f), set ("gain5", 0.2f), set ("angle5", 0.95f), set ("level5", 0.4f),
};

struct AudioCase
{
    const char* name;
    int channels;
    double rate;
    std::vector<int> blockSizes; // cycled until the signal is used up; the first is the largest
    std::vector<Step> steps;
};

std::vector<AudioCase> audioCases()
{
    std::vector<Step> soloed = variedSettings;
    soloed.push_back (set ("solo3", 1.0f));

    // Program 1 gets loud changes, then program 2 is selected (it still holds
    // the defaults) and changed in one band: what plays must be program 2.
    std::vector<Step> programSwitch { set ("level3", 0.95f), set ("type1", 1.0f), set ("freq1", 0.2f),
                                      selectProgram (1), set ("angle4", 0.05f), set ("type4", 1.0f / 3.0f) };

    return {
        { "defaultsStereo48k", 2, 48000.0, { 512 }, {} },
        { "variedSettingsIrregularBlocks", 2, 44100.0, { 480, 1, 37, 256, 480, 3, 129 }, variedSettings },
        { "soloedBand", 2, 96000.0, { 300, 64 }, soloed },
        { "programSelectedThroughTheHost", 2, 48000.0, { 256 }, programSwitch },
        { "monoPassesThrough", 1, 48000.0, { 256, 17 }, variedSettings },
    };
}

// A stereo test signal whose channels differ: tones across the band range and
// independent noise on each side.
juce::AudioBuffer<float> makeSignal (int channels, int length, double rate)
{
    juce::AudioBuffer<float> signal (channels, length);
    juce::Random random (20240611);
    for (int ch = 0; ch < channels; ++ch)
    {
        auto* d = signal.getWritePointer (ch);
        for (int i = 0; i < length; ++i)
        {
            const double t = i / rate;
            const double tones = 0.2 * std::sin (2.0 * juce::MathConstants<double>::pi * (ch == 0 ? 50.0 : 80.0) * t)
                               + 0.15 * std::sin (2.0 * juce::MathConstants<double>::pi * 1000.0 * t + ch)
                               + 0.1 * std::sin (2.0 * juce::MathConstants<double>::pi * 9000.0 * t);
            d[i] = (float) (tones + 0.2 * (random.nextDouble() - 0.5));
        }
    }
    return signal;
}

// Runs the signal through a processor in the given block pattern, a silent
// block after each setting step so that both paths see each step separately.
// The framework host sends every value changed since the last block to the
// module at the start of the next block; without a block between a value and
// a program switch, that value would arrive after the switch and land in the
// newly selected program.
template <typename ApplyStep>
juce::AudioBuffer<float> run (juce::AudioProcessor& processor, const AudioCase& c,
                              const juce::AudioBuffer<float>& signal, ApplyStep&& applyStep)
{
    juce::MidiBuffer midi;
    const int maxBlock = c.blockSizes.front();
    juce::AudioBuffer<float> block (c.channels, maxBlock);

    for (const auto& step : c.steps)
    {
        applyStep (step);
        block.setSize (c.channels, 16, false, false, true);
        block.clear();
        processor.processBlock (block, midi);
    }

    juce::AudioBuffer<float> out (signal);
    size_t next = 0;
    for (int pos = 0; pos < out.getNumSamples();)
    {
        const int n = juce::jmin (c.blockSizes[next++ % c.blockSizes.size()], out.getNumSamples() - pos);
        block.setSize (c.channels, n, false, false, true);
        for (int ch = 0; ch < c.channels; ++ch)
            block.copyFrom (ch, 0, out, ch, pos, n);
        processor.processBlock (block, midi);
        for (int ch = 0; ch < c.channels; ++ch)
            out.copyFrom (ch, pos, block, ch, 0, n);
        pos += n;
    }
    return out;
}

void PrintTo (const AudioCase& c, std::ostream* os) { *os << c.name; }

class HostedTrelvaneAudio : public HostedTrelvane,
                            public ::testing::WithParamInterface<AudioCase>
{
};

TEST_P (HostedTrelvaneAudio, HostedOutputEqualsTheProcessorRunDirectlyBitForBit)
{
    const auto& c = GetParam();
    const int length = (int) (c.rate * 0.25);
    const auto signal = makeSignal (c.channels, length, c.rate);
    const auto layout = c.channels == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();

    // The hosted module.
    auto hosted = createInstance (c.rate, c.blockSizes.front());
    ASSERT_NE (hosted, nullptr);
    juce::AudioProcessor::BusesLayout busLayout;
    busLayout.inputBuses.add (layout);
    busLayout.outputBuses.add (layout);
    ASSERT_TRUE (hosted->setBusesLayout (busLayout));
    hosted->prepareToPlay (c.rate, c.blockSizes.front());
    const auto hostedOut = run (*hosted, c, signal, [&] (const Step& step)
    {
        if (step.program >= 0)
        {
            hosted->setCurrentProgram (step.program);
        }
        else
        {
            auto* p = parameterNamed (*hosted, step.id);
            ASSERT_NE (p, nullptr) << step.id;
            p->setValueNotifyingHost (step.value);
        }
        spinMessageLoop (50);
    });
    int selectedProgram = 0;
    for (const auto& step : c.steps)
        if (step.program >= 0)
            selectedProgram = step.program;
    EXPECT_EQ (hosted->getCurrentProgram(), selectedProgram);
    hosted->releaseResources();

    // The same processor class, called directly with the same steps and blocks.
    TrelvaneAudioProcessor direct;
    ASSERT_TRUE (direct.setBusesLayout (busLayout));
    direct.prepareToPlay (c.rate, c.blockSizes.front());
    const auto directOut = run (direct, c, signal, [&] (const Step& step)
    {
        if (step.program >= 0)
            direct.setCurrentProgram (step.program);
        else
            direct.setParameter (direct.findParameterIndex (step.id), step.value);
    });

    // Bit for bit: the module and this test link the same compiled engine and
    // call it with the same values, blocks and order of operations.
    int firstDifference = -1, differences = 0;
    for (int ch = 0; ch < c.channels; ++ch)
        for (int i = 0; i < length; ++i)
            if (hostedOut.getSample (ch, i) != directOut.getSample (ch, i) && ! (std::isnan (hostedOut.getSample (ch, i)) && std::isnan (directOut.getSample (ch, i))))
            {
                if (firstDifference < 0)
                    firstDifference = ch * length + i;
                ++differences;
            }
    EXPECT_EQ (differences, 0) << "first at channel " << firstDifference / length << " sample " << firstDifference % length
                               << ": hosted " << hostedOut.getSample (firstDifference / length, firstDifference % length)
                               << ", direct " << directOut.getSample (firstDifference / length, firstDifference % length);

    // The comparison means something only if the signal was processed and finite.
    double changed = 0.0;
    for (int ch = 0; ch < c.channels; ++ch)
        for (int i = 0; i < length; ++i)
        {
            ASSERT_TRUE (std::isfinite (hostedOut.getSample (ch, i)));
            changed = std::max (changed, (double) std::abs (hostedOut.getSample (ch, i) - signal.getSample (ch, i)));
        }
    if (c.channels == 1)
        EXPECT_EQ (changed, 0.0) << "a one-channel block passes through unchanged";
    else
        EXPECT_GT (changed, 1e-3) << "the stereo signal should be changed by the bands and the samplers";
}

INSTANTIATE_TEST_SUITE_P (Cases, HostedTrelvaneAudio, ::testing::ValuesIn (audioCases()),
                          [] (const auto& caseInfo) { return std::string (caseInfo.param.name); });

//==============================================================================
TEST_F (HostedTrelvane, StateSavedThroughTheWrapperRestoresIntoAFreshInstance)
{
    auto original = createInstance();
    ASSERT_NE (original, nullptr);
    original->prepareToPlay (48000.0, 256);

    std::map<juce::String, float> written;
    for (const auto& step : variedSettings)
        written[step.id] = step.value;
    written["solo2"] = 1.0f;
    written["angle3"] = 0.125f;

    for (const auto& [id, value] : written)
    {
        auto* p = parameterNamed (*original, id);
        ASSERT_NE (p, nullptr) << id;
        p->setValueNotifyingHost (value);
    }
    juce::AudioBuffer<float> silence (2, 256);
    silence.clear();
    juce::MidiBuffer midi;
    original->processBlock (silence, midi);
    spinMessageLoop();
    original->releaseResources();

    juce::MemoryBlock state;
    original->getStateInformation (state);
    ASSERT_GT (state.getSize(), 0u);

    auto restored = createInstance();
    ASSERT_NE (restored, nullptr);
    restored->setStateInformation (state.getData(), (int) state.getSize());
    spinMessageLoop();

    const auto expected = expectedParameters();
    const auto& a = original->getParameters();
    const auto& b = restored->getParameters();
    for (int i = 0; i < numOwnParameters; ++i)
    {
        const auto& id = expected[(size_t) i].id;
        const float want = written.count (id) ? written[id] : (float) expected[(size_t) i].storedDefault;
        EXPECT_EQ (a[i]->getValue(), want) << id << " in the original";
        EXPECT_EQ (b[i]->getValue(), want) << id << " after the restore";
        // The restore writes every value, so an untouched bypass or solo entry
        // (the integer 0, text "0") comes back as the number 0 (text "0.0").
        EXPECT_EQ (b[i]->getCurrentValueAsText().getDoubleValue(), a[i]->getCurrentValueAsText().getDoubleValue()) << id;
    }

    // Saving the restored instance gives the same block again.
    juce::MemoryBlock again;
    restored->getStateInformation (again);
    EXPECT_TRUE (again == state) << "sizes " << state.getSize() << " and " << again.getSize();
}

TEST_F (HostedTrelvane, TheRestoredInstanceSoundsLikeTheOriginal)
{
    const double rate = 48000.0;
    const int blockSize = 256;
    const auto signal = makeSignal (2, 12000, rate);
    const AudioCase plain { "plain", 2, rate, { blockSize }, {} };

    auto original = createInstance (rate, blockSize);
    ASSERT_NE (original, nullptr);
    original->prepareToPlay (rate, blockSize);
    for (const auto& step : variedSettings)
        parameterNamed (*original, step.id)->setValueNotifyingHost (step.value);
    juce::AudioBuffer<float> silence (2, blockSize);
    silence.clear();
    juce::MidiBuffer midi;
    original->processBlock (silence, midi);
    spinMessageLoop();
    original->releaseResources();

    juce::MemoryBlock state;
    original->getStateInformation (state);

    // A fresh instance given only the saved block plays what the processor
    // plays with those settings.
    auto restored = createInstance (rate, blockSize);
    ASSERT_NE (restored, nullptr);
    restored->setStateInformation (state.getData(), (int) state.getSize());
    spinMessageLoop();
    restored->prepareToPlay (rate, blockSize);
    const auto restoredOut = run (*restored, plain, signal, [] (const Step&) {});
    restored->releaseResources();

    TrelvaneAudioProcessor direct;
    for (const auto& step : variedSettings)
        direct.setParameter (direct.findParameterIndex (step.id), step.value);
    direct.prepareToPlay (rate, blockSize);
    const auto directOut = run (direct, plain, signal, [] (const Step&) {});

    int differences = 0;
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < signal.getNumSamples(); ++i)
            differences += restoredOut.getSample (ch, i) != directOut.getSample (ch, i) ? 1 : 0;
    EXPECT_EQ (differences, 0);
}
} // namespace

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
