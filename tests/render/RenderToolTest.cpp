// trelvane-render as a user meets it: run as a program on real files.
#include "engine/TrelvaneAudioProcessor.h"

#include <gtest/gtest.h>
#include <juce_audio_formats/juce_audio_formats.h>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

namespace
{
struct Result
{
    int exitCode;
    juce::String output;
};

Result runTool (const juce::StringArray& arguments)
{
    juce::StringArray command { TRELVANE_RENDER_TOOL };
    command.addArray (arguments);
    juce::ChildProcess process;
    if (! process.start (command, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr))
        return { -1, "could not start" };
    const auto output = process.readAllProcessOutput();
    process.waitForProcessToFinish (60000);
    return { (int) process.getExitCode(), output };
}

class RenderTool : public testing::Test
{
protected:
    juce::TemporaryFile folderHolder;
    juce::File folder;

    void SetUp() override
    {
        folder = folderHolder.getFile();
        folder.createDirectory();
    }

    void TearDown() override { folder.deleteRecursively(); }

    juce::File writeInput (const juce::String& name, int channels, int length, double rate = 44100.0)
    {
        juce::AudioBuffer<float> buffer (channels, length);
        juce::Random random (99);
        for (int ch = 0; ch < channels; ++ch)
            for (int i = 0; i < length; ++i)
                buffer.setSample (ch, i, 0.5f * (random.nextFloat() - 0.5f));

        const auto file = folder.getChildFile (name);
        auto stream = std::make_unique<juce::FileOutputStream> (file);
        juce::WavAudioFormat wav;
        std::unique_ptr<juce::AudioFormatWriter> writer (wav.createWriterFor (stream.get(), rate, (unsigned) channels, 32, {}, 0));
        stream.release();
        writer->writeFromAudioSampleBuffer (buffer, 0, length);
        return file;
    }

    static juce::AudioBuffer<float> read (const juce::File& file, double* rate = nullptr)
    {
        juce::AudioFormatManager formats;
        formats.registerBasicFormats();
        std::unique_ptr<juce::AudioFormatReader> reader (formats.createReaderFor (file));
        if (reader == nullptr)
            return {};
        if (rate != nullptr)
            *rate = reader->sampleRate;
        juce::AudioBuffer<float> buffer ((int) reader->numChannels, (int) reader->lengthInSamples);
        reader->read (&buffer, 0, buffer.getNumSamples(), 0, true, true);
        return buffer;
    }

    static bool equal (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
    {
        if (a.getNumChannels() != b.getNumChannels() || a.getNumSamples() != b.getNumSamples())
            return false;
        for (int ch = 0; ch < a.getNumChannels(); ++ch)
            if (std::memcmp (a.getReadPointer (ch), b.getReadPointer (ch), sizeof (float) * (size_t) a.getNumSamples()) != 0)
                return false;
        return true;
    }
};

TEST_F (RenderTool, OutputEqualsTheProcessorRunDirectly)
{
    const auto input = writeInput ("in.wav", 2, 10000, 48000.0);
    const auto output = folder.getChildFile ("out.wav");
    const auto result = runTool ({ input.getFullPathName(), output.getFullPathName(),
                                   "--set", "type2=1", "--set", "freq2=0.4", "--set", "angle2=0.2", "--set", "solo4=1", "--block", "300" });
    ASSERT_EQ (result.exitCode, 0) << result.output;

    double rate = 0;
    const auto rendered = read (output, &rate);
    EXPECT_EQ (rate, 48000.0);

    TrelvaneAudioProcessor processor;
    processor.setParameter (13, 1.0f);
    processor.setParameter (9, 0.4f);
    processor.setParameter (11, 0.2f);
    processor.setParameter (31, 1.0f);
    processor.prepareToPlay (48000.0, 300);
    auto expected = read (input);
    juce::MidiBuffer midi;
    for (int start = 0; start < expected.getNumSamples(); start += 300)
    {
        const int n = juce::jmin (300, expected.getNumSamples() - start);
        juce::AudioBuffer<float> block (expected.getArrayOfWritePointers(), 2, start, n);
        processor.processBlock (block, midi);
    }
    EXPECT_TRUE (equal (rendered, expected));
}

// The engine works sample by sample; the block size only moves the tiny
// anti-denormal offset, which goes on odd sample positions within each block.
TEST_F (RenderTool, BlockSizeChangesTheResultOnlyByTheAntiDenormalOffset)
{
    const auto input = writeInput ("in.wav", 2, 5000);
    juce::AudioBuffer<float> first;
    for (const char* block : { "1", "37", "512", "8192" })
    {
        const auto output = folder.getChildFile (juce::String ("out-") + block + ".wav");
        const auto result = runTool ({ input.getFullPathName(), output.getFullPathName(), "--set", "gain3=0.9", "--block", block });
        ASSERT_EQ (result.exitCode, 0) << result.output;
        const auto rendered = read (output);
        if (first.getNumSamples() == 0)
            first = rendered;
        else
        {
            ASSERT_EQ (rendered.getNumSamples(), first.getNumSamples());
            float worst = 0;
            for (int ch = 0; ch < 2; ++ch)
                for (int i = 0; i < first.getNumSamples(); ++i)
                    worst = std::max (worst, std::abs (rendered.getSample (ch, i) - first.getSample (ch, i)));
            EXPECT_LT (worst, 1e-8f) << "block " << block;
        }
    }
}

TEST_F (RenderTool, MonoPassesThroughWithItsRateAndChannelCount)
{
    const auto input = writeInput ("mono.wav", 1, 3000, 22050.0);
    const auto output = folder.getChildFile ("out.wav");
    ASSERT_EQ (runTool ({ input.getFullPathName(), output.getFullPathName(), "--set", "gain1=1" }).exitCode, 0);
    double rate = 0;
    EXPECT_TRUE (equal (read (output, &rate), read (input)));
    EXPECT_EQ (rate, 22050.0);
}

TEST_F (RenderTool, SavedStateAndProgramsRoundTrip)
{
    const auto input = writeInput ("in.wav", 2, 4000);
    const auto state = folder.getChildFile ("state.bin");
    const auto a = folder.getChildFile ("a.wav"), b = folder.getChildFile ("b.wav"), c = folder.getChildFile ("c.wav");

    ASSERT_EQ (runTool ({ input.getFullPathName(), a.getFullPathName(), "--program", "3", "--set", "type1=0.125",
                          "--set", "gain1=0.9", "--save-state", state.getFullPathName() }).exitCode, 0);
    ASSERT_TRUE (state.existsAsFile());
    ASSERT_EQ (runTool ({ input.getFullPathName(), b.getFullPathName(), "--state", state.getFullPathName() }).exitCode, 0);
    EXPECT_TRUE (equal (read (a), read (b)));

    TrelvaneAudioProcessor restored;
    juce::MemoryBlock block;
    state.loadFileAsData (block);
    restored.setStateInformation (block.getData(), (int) block.getSize());
    EXPECT_EQ (restored.getCurrentProgram(), 3);
    EXPECT_EQ (restored.getParameter (0), 0.9f);

    ASSERT_EQ (runTool ({ input.getFullPathName(), c.getFullPathName() }).exitCode, 0);
    EXPECT_FALSE (equal (read (a), read (c))) << "the settings did change the sound";
}

TEST_F (RenderTool, BadInputFailsWithOneLineAndNoOutput)
{
    const auto input = writeInput ("in.wav", 2, 1000);
    const auto notAudio = folder.getChildFile ("notes.txt");
    notAudio.replaceWithText ("not audio");
    const auto notState = folder.getChildFile ("bad-state.bin");
    notState.replaceWithText ("<MYPLUGINSETTINGS/>");
    const auto output = folder.getChildFile ("out.wav");
    const auto unwritable = folder.getChildFile ("no-such-folder/out.wav");

    struct Case { const char* what; juce::StringArray arguments; juce::File expectedAbsent; const char* mentions; };
    const Case cases[] = {
        { "missing input", { folder.getChildFile ("missing.wav").getFullPathName(), output.getFullPathName() }, output, "missing.wav" },
        { "unreadable input", { notAudio.getFullPathName(), output.getFullPathName() }, output, "notes.txt" },
        { "unknown id", { input.getFullPathName(), output.getFullPathName(), "--set", "gain9=0.5" }, output, "gain9" },
        { "value not a number", { input.getFullPathName(), output.getFullPathName(), "--set", "gain1=loud" }, output, "loud" },
        { "block below one", { input.getFullPathName(), output.getFullPathName(), "--block", "0" }, output, "block" },
        { "block not a number", { input.getFullPathName(), output.getFullPathName(), "--block", "big" }, output, "block" },
        { "program out of range", { input.getFullPathName(), output.getFullPathName(), "--program", "10" }, output, "program" },
        { "state file not a state", { input.getFullPathName(), output.getFullPathName(), "--state", notState.getFullPathName() }, output, "bad-state.bin" },
        { "unwritable output", { input.getFullPathName(), unwritable.getFullPathName() }, unwritable, "out.wav" },
        { "missing output argument", { input.getFullPathName() }, output, "output" },
    };

    for (const auto& c : cases)
    {
        const auto result = runTool (c.arguments);
        EXPECT_NE (result.exitCode, 0) << c.what;
        const auto message = result.output.trim();
        EXPECT_EQ (juce::StringArray::fromLines (message).size(), 1) << c.what << ": " << message;
        EXPECT_TRUE (message.contains (c.mentions)) << c.what << ": " << message;
        EXPECT_FALSE (c.expectedAbsent.exists()) << c.what;
        EXPECT_EQ (folder.findChildFiles (juce::File::findFiles, false, "*.partial-*").size(), 0) << c.what;
    }
}
} // namespace

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
