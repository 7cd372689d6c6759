// trelvane-render as a user meets it: the built executable run as a separate
// process on files in a scratch folder.
#include "engine/TrelvaneAudioProcessor.h"

#include <gtest/gtest.h>
#include <juce_audio_formats/juce_audio_formats.h>

#include <sys/wait.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

namespace
{
const juce::File renderTool { TRELVANE_RENDER_PATH };
const juce::File demoSignalTool { TRELVANE_DEMO_SIGNAL_PATH };

struct ToolResult
{
    int exitCode = -1;
    juce::String out, err;
};

std::string quoted (const juce::String& argument)
{
    return "'" + argument.replace ("'", "'\\''").toStdString() + "'";
}

// Runs a tool with the given arguments; the working folder is `folder`.
ToolResult runTool (const juce::File& tool, const juce::File& folder, const juce::StringArray& arguments)
{
    const auto outFile = folder.getParentDirectory().getChildFile (folder.getFileName() + ".stdout");
    const auto errFile = folder.getParentDirectory().getChildFile (folder.getFileName() + ".stderr");
    std::string command = "cd " + quoted (folder.getFullPathName()) + " && " + quoted (tool.getFullPathName());
    for (const auto& a : arguments)
        command += " " + quoted (a);
    command += " >" + quoted (outFile.getFullPathName()) + " 2>" + quoted (errFile.getFullPathName());

    const int status = std::system (command.c_str());
    ToolResult result;
    result.exitCode = WIFEXITED (status) ? WEXITSTATUS (status) : -1;
    result.out = outFile.loadFileAsString();
    result.err = errFile.loadFileAsString();
    outFile.deleteFile();
    errFile.deleteFile();
    return result;
}

ToolResult render (const juce::File& folder, const juce::StringArray& arguments)
{
    return runTool (renderTool, folder, arguments);
}

struct Audio
{
    juce::AudioBuffer<float> samples;
    double rate = 0;
    int bitsPerSample = 0;
    bool isFloat = false;
    juce::String formatName;
};

Audio readAudio (const juce::File& file)
{
    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    std::unique_ptr<juce::AudioFormatReader> reader (formats.createReaderFor (file));
    Audio audio;
    if (reader == nullptr)
    {
        ADD_FAILURE() << "cannot read " << file.getFullPathName();
        return audio;
    }
    audio.samples.setSize ((int) reader->numChannels, (int) reader->lengthInSamples);
    reader->read (&audio.samples, 0, (int) reader->lengthInSamples, 0, true, true);
    audio.rate = reader->sampleRate;
    audio.bitsPerSample = (int) reader->bitsPerSample;
    audio.isFloat = reader->usesFloatingPointData;
    audio.formatName = reader->getFormatName();
    return audio;
}

void writeAudio (const juce::File& file, const juce::AudioBuffer<float>& samples, double rate, int bits)
{
    std::unique_ptr<juce::AudioFormat> format;
    const auto ext = file.getFileExtension();
    if (ext == ".wav")
        format = std::make_unique<juce::WavAudioFormat>();
    else if (ext == ".aiff")
        format = std::make_unique<juce::AiffAudioFormat>();
    else
        format = std::make_unique<juce::FlacAudioFormat>();

    file.deleteFile();
    auto stream = std::make_unique<juce::FileOutputStream> (file);
    std::unique_ptr<juce::AudioFormatWriter> writer (
        format->createWriterFor (stream.get(), rate, (unsigned) samples.getNumChannels(), bits, {}, 0));
    ASSERT_NE (writer, nullptr) << file.getFullPathName();
    stream.release();
    ASSERT_TRUE (writer->writeFromAudioSampleBuffer (samples, 0, samples.getNumSamples()));
}

// Different music on the two sides: tones and noise, with a quiet passage so
// that the smallest values occur too.
juce::AudioBuffer<float> testSignal (int channels, int length, double rate, int seed = 7)
{
    juce::AudioBuffer<float> buffer (channels, length);
    juce::Random random (seed);
    for (int c = 0; c < channels; ++c)
        for (int i = 0; i < length; ++i)
        {
            const double t = i / rate;
            const double tone = c == 0 ? 0.4 * std::sin (2 * M_PI * 97 * t) + 0.1 * std::sin (2 * M_PI * 1500 * t)
                                       : 0.3 * std::sin (2 * M_PI * 5200 * t + 1.0) + 0.2 * std::sin (2 * M_PI * 310 * t);
            const double fade = (i > length / 2 && i < length / 2 + 2000) ? 1e-4 : 1.0;
            buffer.setSample (c, i, (float) (fade * (tone + 0.1 * (random.nextFloat() * 2 - 1))));
        }
    return buffer;
}

// The processor run in this process the way the tool is meant to run it.
juce::AudioBuffer<float> processDirectly (const juce::AudioBuffer<float>& input, double rate, int blockSize,
                                          const std::function<void (TrelvaneAudioProcessor&)>& configure = {})
{
    TrelvaneAudioProcessor processor;
    if (configure)
        configure (processor);
    const int channels = input.getNumChannels();
    processor.setPlayConfigDetails (channels, channels, rate, blockSize);
    processor.prepareToPlay (rate, blockSize);

    juce::AudioBuffer<float> output (input);
    juce::MidiBuffer midi;
    for (int start = 0; start < output.getNumSamples(); start += blockSize)
    {
        const int n = std::min (blockSize, output.getNumSamples() - start);
        juce::AudioBuffer<float> view (output.getArrayOfWritePointers(), channels, start, n);
        processor.processBlock (view, midi);
    }
    return output;
}

std::function<void (TrelvaneAudioProcessor&)> setting (std::vector<std::pair<juce::String, float>> values)
{
    return [values] (TrelvaneAudioProcessor& p)
    {
        for (const auto& [id, value] : values)
            p.setParameter (p.findParameterIndex (id), value);
    };
}

int firstDifference (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
{
    if (a.getNumChannels() != b.getNumChannels() || a.getNumSamples() != b.getNumSamples())
        return 0;
    for (int c = 0; c < a.getNumChannels(); ++c)
        for (int i = 0; i < a.getNumSamples(); ++i)
            if (std::memcmp (a.getReadPointer (c) + i, b.getReadPointer (c) + i, sizeof (float)) != 0)
                return i;
    return -1;
}

#define EXPECT_SAME_AUDIO(a, b)                                                                      \
    do                                                                                               \
    {                                                                                                \
        ASSERT_EQ ((a).getNumChannels(), (b).getNumChannels());                                      \
        ASSERT_EQ ((a).getNumSamples(), (b).getNumSamples());                                        \
        EXPECT_EQ (firstDifference ((a), (b)), -1) << "the two renders differ from this sample on"; \
    } while (false)

// Amplitude of the component at `frequency` in samples [start, start + rate),
// a window of one second, in which every whole-hertz tone fits whole periods.
double amplitudeAt (const juce::AudioBuffer<float>& audio, int channel, double frequency, double rate, int start)
{
    const int n = (int) rate;
    double s = 0, c = 0;
    for (int i = 0; i < n; ++i)
    {
        const double phase = 2 * M_PI * frequency * (start + i) / rate;
        s += audio.getSample (channel, start + i) * std::sin (phase);
        c += audio.getSample (channel, start + i) * std::cos (phase);
    }
    return 2.0 / n * std::sqrt (s * s + c * c);
}

double dB (double ratio) { return 20 * std::log10 (ratio); }

juce::MemoryBlock loadBlock (const juce::File& f)
{
    juce::MemoryBlock block;
    f.loadFileAsData (block);
    return block;
}

std::unique_ptr<juce::XmlElement> xmlOfState (const juce::File& f)
{
    const auto block = loadBlock (f);
    return juce::AudioProcessor::getXmlFromBinary (block.getData(), (int) block.getSize());
}

class RenderTool : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE (renderTool.existsAsFile()) << renderTool.getFullPathName();
        // A random name rather than the first free one: test processes run in
        // parallel, and two of them could otherwise pick the same folder.
        std::random_device random;
        const auto name = juce::String::toHexString ((juce::int64) (((juce::uint64) random() << 32) | random()));
        folder = juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("trelvane-render-test-" + name);
        ASSERT_FALSE (folder.exists()) << folder.getFullPathName();
        ASSERT_TRUE (folder.createDirectory());
    }

    void TearDown() override { folder.deleteRecursively(); }

    juce::File file (const juce::String& name) const { return folder.getChildFile (name); }

    juce::StringArray folderListing() const
    {
        juce::StringArray names;
        for (const auto& f : folder.findChildFiles (juce::File::findFilesAndDirectories, true, "*", juce::File::FollowSymlinks::no))
            names.add (f.getRelativePathFrom (folder));
        names.sort (false);
        return names;
    }

    // A stereo float WAV of the test signal; returns its samples.
    juce::AudioBuffer<float> makeInput (const juce::String& name, double rate = 48000, int length = 72000, int channels = 2)
    {
        auto signal = testSignal (channels, length, rate);
        writeAudio (file (name), signal, rate, 32);
        return signal;
    }

    juce::File folder;
};

//==============================================================================
// The output is the processor's own output for the decoded input, for every
// input format, written as 32-bit float at the input's rate and channel count.
struct FormatCase
{
    const char* fileName;
    int bits;
    double rate;
    int channels;
};

class RenderFormats : public RenderTool, public testing::WithParamInterface<FormatCase> {};

TEST_P (RenderFormats, OutputIsTheProcessorsOutputAsFloatWav)
{
    const auto c = GetParam();
    writeAudio (file (c.fileName), testSignal (c.channels, 30000, c.rate), c.rate, c.bits);
    const auto decoded = readAudio (file (c.fileName));

    // Absolute paths here; the other tests name files relative to the working folder.
    const auto result = render (folder, { file (c.fileName).getFullPathName(), file ("out.wav").getFullPathName(), "--set", "freq2=0.62", "--set", "type2=0.5",
                                          "--set", "angle2=0.05", "--set", "gain4=0.8", "--set", "width4=0.7",
                                          "--set", "level1=0.3", "--set", "bypass5=1" });
    ASSERT_EQ (result.exitCode, 0) << result.err;
    EXPECT_EQ (result.err, "") << "no progress for a short file";

    const auto output = readAudio (file ("out.wav"));
    EXPECT_EQ (output.formatName, "WAV file");
    EXPECT_EQ (output.bitsPerSample, 32);
    EXPECT_TRUE (output.isFloat);
    EXPECT_EQ (output.rate, c.rate);

    const auto expected = processDirectly (decoded.samples, c.rate, 512,
                                           setting ({ { "freq2", 0.62f }, { "type2", 0.5f }, { "angle2", 0.05f }, { "gain4", 0.8f },
                                                      { "width4", 0.7f }, { "level1", 0.3f }, { "bypass5", 1.0f } }));
    EXPECT_SAME_AUDIO (output.samples, expected);
    EXPECT_NE (firstDifference (output.samples, decoded.samples), -1) << "the settings changed nothing";
}

INSTANTIATE_TEST_SUITE_P (Inputs, RenderFormats,
                          testing::Values (FormatCase { "float.wav", 32, 48000, 2 },
                                           FormatCase { "pcm16.wav", 16, 44100, 2 },
                                           FormatCase { "pcm24.aiff", 24, 96000, 2 },
                                           FormatCase { "pcm24.flac", 24, 48000, 2 },
                                           FormatCase { "pcm16.flac", 16, 22050, 2 }));

// Mono passes through unchanged, whatever the settings, and stays mono.
TEST_F (RenderTool, MonoInputPassesThroughUnchanged)
{
    for (const auto& [name, bits] : { std::pair<const char*, int> { "mono.wav", 32 }, { "mono.flac", 16 } })
    {
        SCOPED_TRACE (name);
        writeAudio (file (name), testSignal (1, 20000, 44100), 44100, bits);
        const auto input = readAudio (file (name));
        const auto result = render (folder, { name, "mono-out.wav", "--set", "level1=0.9", "--set", "type3=1" });
        ASSERT_EQ (result.exitCode, 0) << result.err;
        const auto output = readAudio (file ("mono-out.wav"));
        EXPECT_EQ (output.samples.getNumChannels(), 1);
        EXPECT_EQ (output.rate, 44100);
        EXPECT_TRUE (output.isFloat);
        EXPECT_SAME_AUDIO (output.samples, input.samples);
    }
}

// What the settings mean, measured: a high-pass aimed at the left channel
// (angle 0) at 16 * 1375^0.45 Hz = 413 Hz, Q 0.5, takes a 110 Hz tone on the
// left down by 20 log10 of r^2 / sqrt((1 - r^2)^2 + (r / Q)^2), r = 110 / 413:
// -23.6 dB. It leaves the right channel alone: the remaining bands are at
// 0 dB and the oversampling keeps every amplitude.
TEST_F (RenderTool, HighPassAimedLeftCutsOnlyTheLeftBass)
{
    constexpr double rate = 48000;
    juce::AudioBuffer<float> input (2, 3 * (int) rate);
    for (int i = 0; i < input.getNumSamples(); ++i)
    {
        const double t = i / rate;
        input.setSample (0, i, (float) (0.4 * std::sin (2 * M_PI * 110 * t) + 0.2 * std::sin (2 * M_PI * 3000 * t)));
        input.setSample (1, i, (float) (0.3 * std::sin (2 * M_PI * 110 * t + 0.5) + 0.1 * std::sin (2 * M_PI * 3000 * t)));
    }
    writeAudio (file ("tones.wav"), input, rate, 32);

    const auto result = render (folder, { "tones.wav", "hp.wav", "--set", "angle1=0", "--set", "type1=0.5", "--set", "freq1=0.45" });
    ASSERT_EQ (result.exitCode, 0) << result.err;
    const auto output = readAudio (file ("hp.wav"));
    const int start = (int) rate; // after a second of settling

    EXPECT_NEAR (dB (amplitudeAt (output.samples, 0, 110, rate, start) / 0.4), -23.6, 0.5);
    EXPECT_NEAR (dB (amplitudeAt (output.samples, 0, 3000, rate, start) / 0.2), -0.17, 0.1);
    EXPECT_NEAR (dB (amplitudeAt (output.samples, 1, 110, rate, start) / 0.3), 0.0, 0.02);
    EXPECT_NEAR (dB (amplitudeAt (output.samples, 1, 3000, rate, start) / 0.1), 0.0, 0.02);
}

//==============================================================================
// Settings apply as --state, then --program, then each --set, wherever they
// stand on the command line.
TEST_F (RenderTool, StateProgramAndSetApplyInThatOrder)
{
    const auto input = makeInput ("in.wav");

    // A state with band 3 moved, saved by the tool.
    auto r = render (folder, { "in.wav", "custom.wav", "--set", "freq3=0.8", "--set", "gain3=0.9", "--set", "type3=0.125",
                               "--save-state", "custom.state" });
    ASSERT_EQ (r.exitCode, 0) << r.err;
    const auto xml = xmlOfState (file ("custom.state"));
    ASSERT_NE (xml, nullptr) << "the saved state is a state block";
    EXPECT_EQ (xml->getTagName(), "MYPLUGINSETTINGS");
    // The framework writes 16 significant digits: the float that was set, to
    // within the last digit.
    EXPECT_EQ ((float) xml->getDoubleAttribute ("freq3"), 0.8f);
    EXPECT_NEAR (xml->getDoubleAttribute ("freq3"), (double) 0.8f, 1e-15);
    EXPECT_EQ ((float) xml->getDoubleAttribute ("gain3"), 0.9f);
    EXPECT_EQ (xml->getDoubleAttribute ("freq2"), 0.3) << "untouched values keep their defaults";
    EXPECT_EQ (xml->getStringAttribute ("current_program"), "0");

    ASSERT_EQ (render (folder, { "in.wav", "defaults.wav" }).exitCode, 0);
    ASSERT_EQ (render (folder, { "in.wav", "gain3.wav", "--set", "gain3=0.2" }).exitCode, 0);
    const auto custom = readAudio (file ("custom.wav")).samples;
    const auto defaults = readAudio (file ("defaults.wav")).samples;
    const auto gain3Only = readAudio (file ("gain3.wav")).samples;
    ASSERT_NE (firstDifference (custom, defaults), -1);

    // Restoring the state gives the sound it was saved with.
    ASSERT_EQ (render (folder, { "in.wav", "restored.wav", "--state", "custom.state" }).exitCode, 0);
    EXPECT_SAME_AUDIO (readAudio (file ("restored.wav")).samples, custom);

    // The restore wrote into program 0; program 1 still holds the defaults,
    // and selecting it after the restore replaces the restored values.
    ASSERT_EQ (render (folder, { "in.wav", "p0.wav", "--state", "custom.state", "--program", "0" }).exitCode, 0);
    ASSERT_EQ (render (folder, { "in.wav", "p1.wav", "--program", "1", "--state", "custom.state" }).exitCode, 0);
    EXPECT_SAME_AUDIO (readAudio (file ("p0.wav")).samples, custom);
    EXPECT_SAME_AUDIO (readAudio (file ("p1.wav")).samples, defaults);

    // --set comes last even when written first.
    r = render (folder, { "in.wav", "last.wav", "--set", "gain3=0.2", "--program", "1", "--state", "custom.state",
                          "--save-state", "last.state" });
    ASSERT_EQ (r.exitCode, 0) << r.err;
    EXPECT_SAME_AUDIO (readAudio (file ("last.wav")).samples, gain3Only);
    const auto lastXml = xmlOfState (file ("last.state"));
    ASSERT_NE (lastXml, nullptr);
    EXPECT_EQ ((float) lastXml->getDoubleAttribute ("gain3"), 0.2f);
    EXPECT_NEAR (lastXml->getDoubleAttribute ("gain3"), (double) 0.2f, 1e-15);
    EXPECT_EQ (lastXml->getDoubleAttribute ("freq3"), 0.5);
    EXPECT_EQ (lastXml->getStringAttribute ("current_program"), "1");

    // And the same sequence on a processor in this process sounds the same.
    const auto direct = processDirectly (input, 48000, 512, [&] (TrelvaneAudioProcessor& p)
    {
        const auto block = loadBlock (file ("custom.state"));
        p.setStateInformation (block.getData(), (int) block.getSize());
        p.setCurrentProgram (1);
        p.setParameter (p.findParameterIndex ("gain3"), 0.2f);
    });
    EXPECT_SAME_AUDIO (readAudio (file ("last.wav")).samples, direct);
}

// A state saved, restored and saved again is the same block, and repeated
// --set of one id keeps the last value.
TEST_F (RenderTool, SavedStateRoundTrips)
{
    makeInput ("in.wav", 48000, 4000);
    ASSERT_EQ (render (folder, { "in.wav", "a.wav", "--program", "4", "--set", "angle2=0.9", "--set", "bypass3=1",
                                 "--set", "level5=0.1", "--set", "level5=0.35",
                                 // 0.2 as a float needs 17 digits; the block keeps 16.
                                 "--set", "freq4=0.2", "--set", "width1=0.2", "--save-state", "a.state" }).exitCode, 0);
    ASSERT_EQ (render (folder, { "in.wav", "b.wav", "--state", "a.state", "--save-state", "b.state" }).exitCode, 0);

    EXPECT_EQ (loadBlock (file ("a.state")), loadBlock (file ("b.state")));
    EXPECT_SAME_AUDIO (readAudio (file ("a.wav")).samples, readAudio (file ("b.wav")).samples);

    const auto xml = xmlOfState (file ("b.state"));
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ ((float) xml->getDoubleAttribute ("level5"), 0.35f);
    EXPECT_EQ ((float) xml->getDoubleAttribute ("angle2"), 0.9f);
    EXPECT_EQ (xml->getStringAttribute ("bypass3"), "1.0");
    EXPECT_EQ (xml->getStringAttribute ("current_program"), "4");
}

//==============================================================================
// The tool hands the processor blocks of --block samples (the last one
// shorter). The engine adds its anti-denormal offset on the odd samples of
// each block, so any even block size gives the same output, sample for sample;
// an odd size moves the offsets onto other samples. The offset is far below a
// 32-bit step at these levels, so that changes at most the rounding of the
// last bit here and there: a few 1e-8 at full scale.
TEST_F (RenderTool, BlockSizes)
{
    const auto input = makeInput ("in.wav", 48000, 30001);
    const auto settings = setting ({ { "type2", 1.0f }, { "freq2", 0.55f }, { "angle4", 0.8f }, { "gain4", 0.1f } });
    const juce::StringArray sets { "--set", "type2=1", "--set", "freq2=0.55", "--set", "angle4=0.8", "--set", "gain4=0.1" };

    auto args = juce::StringArray { "in.wav", "default.wav" };
    args.addArray (sets);
    ASSERT_EQ (render (folder, args).exitCode, 0);
    const auto reference = readAudio (file ("default.wav")).samples;
    EXPECT_SAME_AUDIO (reference, processDirectly (input, 48000, 512, settings));

    for (const int block : { 1, 2, 7, 64, 511, 4096, 1000000 })
    {
        SCOPED_TRACE ("block " + std::to_string (block));
        const auto name = "block" + juce::String (block) + ".wav";
        args = juce::StringArray { "in.wav" };
        args.add (name);
        args.add ("--block");
        args.add (juce::String (block));
        args.addArray (sets);
        const auto result = render (folder, args);
        ASSERT_EQ (result.exitCode, 0) << result.err;
        const auto output = readAudio (file (name)).samples;

        EXPECT_SAME_AUDIO (output, processDirectly (input, 48000, std::min (block, input.getNumSamples()), settings));

        if (block % 2 == 0)
        {
            EXPECT_SAME_AUDIO (output, reference);
        }
        else
        {
            float largest = 0;
            for (int c = 0; c < 2; ++c)
                for (int i = 0; i < output.getNumSamples(); ++i)
                    largest = std::max (largest, std::abs (output.getSample (c, i) - reference.getSample (c, i)));
            EXPECT_LT (largest, 1e-7f);
        }
    }
}

//==============================================================================
// Every bad input: a non-zero exit, one line on stderr naming the problem,
// nothing on stdout, and no file left behind.
struct BadInput
{
    const char* name;
    std::vector<const char*> arguments;
    const char* mentions;
};

class RenderRefuses : public RenderTool, public testing::WithParamInterface<BadInput> {};

TEST_P (RenderRefuses, WithOneLineAndNoOutput)
{
    const auto& c = GetParam();
    makeInput ("in.wav", 48000, 2000);
    writeAudio (file ("six.wav"), testSignal (6, 2000, 48000), 48000, 16);
    file ("garbage.wav").replaceWithText ("this is not audio\n");
    file ("empty.flac").create();
    file ("dir.wav").createDirectory();
    ASSERT_EQ (render (folder, { "in.wav", "x.wav", "--save-state", "good.state" }).exitCode, 0);
    file ("x.wav").deleteFile();
    const auto good = loadBlock (file ("good.state"));
    file ("truncated.state").replaceWithData (good.getData(), good.getSize() - 20);
    file ("text.state").replaceWithText ("<MYPLUGINSETTINGS gain1=\"0.5\"/>");

    const auto before = folderListing();
    juce::StringArray arguments;
    for (auto* a : c.arguments)
        arguments.add (a);
    const auto result = render (folder, arguments);

    EXPECT_NE (result.exitCode, 0);
    EXPECT_EQ (result.out, "");
    EXPECT_TRUE (result.err.endsWithChar ('\n')) << result.err;
    EXPECT_EQ (result.err.trimEnd().indexOfChar ('\n'), -1) << "one line: " << result.err;
    EXPECT_GT (result.err.trim().length(), 20) << result.err;
    EXPECT_TRUE (result.err.contains (c.mentions)) << "expected mention of " << c.mentions << " in: " << result.err;
    EXPECT_EQ (folderListing(), before) << "a file was left behind";
    EXPECT_FALSE (file ("out.wav").exists());
}

INSTANTIATE_TEST_SUITE_P (
    Cases, RenderRefuses,
    testing::Values (
        BadInput { "MissingInput", { "nothing.wav", "out.wav" }, "nothing.wav" },
        BadInput { "InputIsText", { "garbage.wav", "out.wav" }, "garbage.wav" },
        BadInput { "InputIsEmpty", { "empty.flac", "out.wav" }, "empty.flac" },
        BadInput { "InputIsAFolder", { "dir.wav", "out.wav" }, "dir.wav" },
        BadInput { "SixChannels", { "six.wav", "out.wav" }, "6 channels" },
        BadInput { "UnknownId", { "in.wav", "out.wav", "--set", "frq2=0.3" }, "frq2" },
        BadInput { "IdIsCaseSensitive", { "in.wav", "out.wav", "--set", "Freq2=0.3" }, "Freq2" },
        BadInput { "EmptyId", { "in.wav", "out.wav", "--set", "=0.3" }, "unknown parameter id" },
        BadInput { "ValueIsAWord", { "in.wav", "out.wav", "--set", "freq2=abc" }, "abc" },
        BadInput { "ValueIsEmpty", { "in.wav", "out.wav", "--set", "freq2=" }, "freq2" },
        BadInput { "ValueHasAUnit", { "in.wav", "out.wav", "--set", "freq2=0.3dB" }, "0.3dB" },
        BadInput { "ValueIsNaN", { "in.wav", "out.wav", "--set", "freq2=nan" }, "freq2" },
        BadInput { "ValueIsInfinite", { "in.wav", "out.wav", "--set", "freq2=inf" }, "freq2" },
        BadInput { "ValueOverflowsAFloat", { "in.wav", "out.wav", "--set", "freq2=1e39" }, "freq2" },
        BadInput { "SetWithoutEquals", { "in.wav", "out.wav", "--set", "freq2" }, "freq2" },
        BadInput { "SetWithoutArgument", { "in.wav", "out.wav", "--set" }, "--set" },
        BadInput { "BlockZero", { "in.wav", "out.wav", "--block", "0" }, "block" },
        BadInput { "BlockNegative", { "in.wav", "out.wav", "--block", "-4" }, "block" },
        BadInput { "BlockFraction", { "in.wav", "out.wav", "--block", "2.5" }, "block" },
        BadInput { "BlockWord", { "in.wav", "out.wav", "--block", "big" }, "block" },
        BadInput { "ProgramOutOfRange", { "in.wav", "out.wav", "--program", "10" }, "program" },
        BadInput { "ProgramNegative", { "in.wav", "out.wav", "--program", "-1" }, "program" },
        BadInput { "MissingStateFile", { "in.wav", "out.wav", "--state", "none.state" }, "none.state" },
        BadInput { "TruncatedState", { "in.wav", "out.wav", "--state", "truncated.state" }, "truncated.state" },
        BadInput { "StateWithoutHeader", { "in.wav", "out.wav", "--state", "text.state" }, "text.state" },
        BadInput { "StateIsAudio", { "in.wav", "out.wav", "--state", "in.wav" }, "in.wav" },
        BadInput { "OutputInMissingFolder", { "in.wav", "no/such/out.wav" }, "out.wav" },
        BadInput { "OutputIsAFolder", { "in.wav", "dir.wav" }, "dir.wav" },
        BadInput { "SaveStateInMissingFolder", { "in.wav", "out.wav", "--save-state", "no/such/s.state" }, "s.state" },
        BadInput { "UnknownOption", { "in.wav", "out.wav", "--gain", "3" }, "--gain" },
        BadInput { "NoOutput", { "in.wav" }, "output" },
        BadInput { "ThreeFiles", { "in.wav", "out.wav", "more.wav" }, "too many" }),
    [] (const testing::TestParamInfo<BadInput>& param) { return std::string (param.param.name); });

// A failed render keeps what was at OUT before; a good one replaces it.
TEST_F (RenderTool, FailureKeepsAnEarlierOutput)
{
    makeInput ("in.wav", 48000, 2000);
    file ("out.wav").replaceWithText ("earlier");
    EXPECT_NE (render (folder, { "in.wav", "out.wav", "--state", "none.state" }).exitCode, 0);
    EXPECT_EQ (file ("out.wav").loadFileAsString(), "earlier");

    ASSERT_EQ (render (folder, { "in.wav", "out.wav" }).exitCode, 0);
    EXPECT_EQ (readAudio (file ("out.wav")).samples.getNumSamples(), 2000);
    EXPECT_EQ (folderListing(), juce::StringArray ({ "in.wav", "out.wav" }));
}

// Rendering a file onto itself works: the input is read before it is replaced.
TEST_F (RenderTool, OutputMayReplaceTheInput)
{
    const auto input = makeInput ("song.wav", 48000, 6000);
    ASSERT_EQ (render (folder, { "song.wav", "song.wav", "--set", "gain3=0.9" }).exitCode, 0);
    EXPECT_SAME_AUDIO (readAudio (file ("song.wav")).samples, processDirectly (input, 48000, 512, setting ({ { "gain3", 0.9f } })));
}

//==============================================================================
TEST_F (RenderTool, HelpShowsUsageAndTheOrderOfSettings)
{
    for (const char* flag : { "--help", "-h" })
    {
        const auto result = render (folder, { flag });
        EXPECT_EQ (result.exitCode, 0);
        EXPECT_EQ (result.err, "");
        EXPECT_TRUE (result.out.startsWith ("usage: trelvane-render IN OUT")) << result.out;
        for (const char* option : { "--set ID=VALUE", "--program N", "--state FILE", "--save-state FILE", "--block N" })
            EXPECT_TRUE (result.out.contains (option)) << option;
        EXPECT_TRUE (result.out.replace ("\n", " ").contains ("--state, then --program, then every --set")) << result.out;
    }
    EXPECT_EQ (folderListing(), juce::StringArray());
}

// Progress on stderr for a long file, silence for a short one.
TEST_F (RenderTool, ProgressOnlyForLongFiles)
{
    writeAudio (file ("long.wav"), testSignal (2, 8 * 48000, 48000), 48000, 16);
    auto result = render (folder, { "long.wav", "out.wav" });
    ASSERT_EQ (result.exitCode, 0);
    EXPECT_TRUE (result.err.contains ("100%")) << result.err;
    EXPECT_EQ (result.out, "");

    writeAudio (file ("short.wav"), testSignal (2, 2 * 48000, 48000), 48000, 16);
    result = render (folder, { "short.wav", "out.wav" });
    ASSERT_EQ (result.exitCode, 0);
    EXPECT_EQ (result.err, "");
}

//==============================================================================
// The demo signal has different music on its two sides, and the setting that
// the set-up script renders it with (band 1: high-pass at 593 Hz aimed 9
// degrees off the left channel; band 5: high shelf +12 dB from 2.5 kHz aimed 9
// degrees off the right channel) changes the two sides in opposite ways. The
// same filters aimed at the middle would treat both sides alike.
TEST_F (RenderTool, DemoSignalAndTheSetUpScriptsSetting)
{
    ASSERT_TRUE (demoSignalTool.existsAsFile());
    ASSERT_EQ (runTool (demoSignalTool, folder, { "demo.wav" }).exitCode, 0);
    const auto demo = readAudio (file ("demo.wav"));
    ASSERT_EQ (demo.samples.getNumChannels(), 2);
    EXPECT_EQ (demo.rate, 48000);
    EXPECT_GE (demo.samples.getNumSamples(), 3 * 48000);
    EXPECT_LE (demo.samples.getNumSamples(), 10 * 48000);

    const int start = 48000;
    const auto level = [&] (const juce::AudioBuffer<float>& audio, int channel, double frequency)
    { return amplitudeAt (audio, channel, frequency, 48000, start); };
    const double leftBass = level (demo.samples, 0, 110), rightChime = level (demo.samples, 1, 2637);
    EXPECT_GT (leftBass, 0.1);
    EXPECT_LT (level (demo.samples, 1, 110), 0.01 * leftBass) << "the sides differ";
    EXPECT_GT (rightChime, 0.05);
    EXPECT_LT (level (demo.samples, 0, 2637), 0.01 * rightChime) << "the sides differ";

    const auto renderWithAngles = [&] (const char* out, const char* angle1, const char* angle5)
    {
        const auto result = render (folder, { "demo.wav", out, "--set", "type1=0.5", "--set", "freq1=0.5", "--set", angle1,
                                              "--set", "type5=0.1111111", "--set", "freq5=0.7", "--set", "gain5=0.8", "--set", angle5 });
        EXPECT_EQ (result.exitCode, 0) << result.err;
        return readAudio (file (out)).samples;
    };

    const auto sides = renderWithAngles ("sides.wav", "angle1=0.1", "angle5=0.9");
    EXPECT_LT (dB (level (sides, 0, 110) / leftBass), -20) << "the left loses its bass";
    EXPECT_GT (dB (level (sides, 1, 2637) / rightChime), 3) << "the right's chimes come forward";
    EXPECT_LT (dB (level (sides, 1, 2637) / rightChime), 12);

    // Aimed at the middle, each filter sees half of each side: the left keeps
    // the half of its bass that lies across the axis (-6 dB), and the right's
    // chimes get a smaller lift than on the right-leaning axis.
    const auto middle = renderWithAngles ("middle.wav", "angle1=0.5", "angle5=0.5");
    EXPECT_NEAR (dB (level (middle, 0, 110) / leftBass), -6.0, 1.0);
    EXPECT_LT (level (middle, 1, 2637), level (sides, 1, 2637));
}
} // namespace

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
