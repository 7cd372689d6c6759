#include "Renderer.h"

#include "engine/TrelvaneAudioProcessor.h"
#include "host/StateBlock.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <cstdio>
#include <iostream>
#include <optional>

#include <unistd.h>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

namespace
{
constexpr double progressThresholdSeconds = 5.0;

// A file written next to its destination and moved into place on commit; if
// never committed, it is deleted.
class PendingFile
{
public:
    explicit PendingFile (const juce::File& finalFile)
        : destination (finalFile),
          temporary (finalFile.getSiblingFile ("." + finalFile.getFileName() + ".partial-"
                                                 + juce::String::toHexString (juce::Random::getSystemRandom().nextInt())))
    {
    }

    ~PendingFile()
    {
        if (! committed)
            temporary.deleteFile();
    }

    const juce::File& file() const { return temporary; }

    bool commit()
    {
        // rename() replaces a file in one step and refuses to replace a folder.
        committed = std::rename (temporary.getFullPathName().toRawUTF8(), destination.getFullPathName().toRawUTF8()) == 0;
        return committed;
    }

private:
    juce::File destination, temporary;
    bool committed = false;
};

juce::String applySettings (TrelvaneAudioProcessor& processor, const RenderOptions& options)
{
    if (options.stateToLoad)
    {
        juce::MemoryBlock block;
        if (! options.stateToLoad->existsAsFile() || ! options.stateToLoad->loadFileAsData (block))
            return "cannot read state file " + options.stateToLoad->getFullPathName();
        if (! StateBlock::read (block.getData(), (int) block.getSize()))
            return "not a saved Trelvane state: " + options.stateToLoad->getFullPathName();
        processor.setStateInformation (block.getData(), (int) block.getSize());
    }

    if (options.program)
        processor.setCurrentProgram (*options.program);

    for (const auto& [index, value] : options.parameterValues)
        processor.setParameter (index, value);

    return {};
}

} // namespace

juce::String Renderer::run()
{
    if (! options.input.existsAsFile())
        return (options.input.isDirectory() ? "input is a folder, not an audio file: " : "input file not found: ")
             + options.input.getFullPathName();
    if (options.output.isDirectory())
        return "output is a folder: " + options.output.getFullPathName();
    if (options.stateToSave && options.stateToSave->isDirectory())
        return "state file to save is a folder: " + options.stateToSave->getFullPathName();

    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    std::unique_ptr<juce::AudioFormatReader> reader (formats.createReaderFor (options.input));
    if (reader == nullptr)
        return "cannot read audio from " + options.input.getFullPathName() + " (WAV, AIFF or FLAC expected)";

    const int channels = (int) reader->numChannels;
    const double rate = reader->sampleRate;
    const juce::int64 length = reader->lengthInSamples;
    if (channels < 1 || rate <= 0)
        return "input has no usable audio: " + options.input.getFullPathName();
    if (channels > 2)
        return "input has " + juce::String (channels) + " channels; Trelvane processes mono or stereo: "
             + options.input.getFullPathName();

    TrelvaneAudioProcessor processor;
    if (auto problem = applySettings (processor, options); problem.isNotEmpty())
        return problem;

    // The state file is written next to its destination now, so an unwritable
    // place is found before rendering, and moved into place with the audio.
    std::optional<PendingFile> pendingState;
    if (options.stateToSave)
    {
        juce::MemoryBlock block;
        processor.getStateInformation (block);
        pendingState.emplace (*options.stateToSave);
        if (! pendingState->file().replaceWithData (block.getData(), block.getSize()))
            return "cannot write state file " + options.stateToSave->getFullPathName();
    }

    PendingFile pending (options.output);
    std::unique_ptr<juce::AudioFormatWriter> writer;
    {
        auto stream = std::make_unique<juce::FileOutputStream> (pending.file());
        if (! stream->openedOk())
            return "cannot write output file " + options.output.getFullPathName();
        juce::WavAudioFormat wav;
        writer.reset (wav.createWriterFor (stream.get(), rate, (unsigned) channels, 32, {}, 0));
        if (writer == nullptr)
            return "cannot write a 32-bit float WAV with " + juce::String (channels) + " channels at " + juce::String (rate) + " Hz";
        stream.release(); // now owned by the writer
    }

    // The layout a host would choose for this file: mono in and out, or stereo.
    // A block longer than the whole file is the whole file in one block.
    const int blockSize = (int) juce::jlimit ((juce::int64) 1, juce::jmax ((juce::int64) 1, length), (juce::int64) options.blockSize);
    processor.setPlayConfigDetails (channels, channels, rate, blockSize);
    processor.prepareToPlay (rate, blockSize);

    juce::AudioBuffer<float> buffer (channels, blockSize);
    juce::MidiBuffer midi;
    // On a terminal one line counts up; into a file or pipe, a line per tenth.
    const bool showProgress = (double) length / rate > progressThresholdSeconds;
    const bool onTerminal = isatty (STDERR_FILENO) != 0;
    const int percentStep = onTerminal ? 1 : 10;
    int lastPercent = 0;

    for (juce::int64 position = 0; position < length; position += blockSize)
    {
        const int n = (int) juce::jmin ((juce::int64) blockSize, length - position);
        buffer.setSize (channels, n, false, false, true);
        if (! reader->read (&buffer, 0, n, position, true, true))
            return "read error in " + options.input.getFullPathName();
        processor.processBlock (buffer, midi);
        if (! writer->writeFromAudioSampleBuffer (buffer, 0, n))
            return "write error on " + options.output.getFullPathName();

        if (showProgress)
        {
            const int percent = (int) (100 * (position + n) / length);
            if (percent >= lastPercent + percentStep)
            {
                lastPercent = percent - percent % percentStep;
                if (onTerminal)
                    std::cerr << "\rrendering " << options.input.getFileName() << ": " << lastPercent << "%" << std::flush;
                else
                    std::cerr << "rendering " << options.input.getFileName() << ": " << lastPercent << "%\n";
            }
        }
    }

    if (showProgress && onTerminal)
        std::cerr << "\n";

    if (! writer->flush())
        return "write error on " + options.output.getFullPathName();
    writer.reset();

    if (! pending.commit())
        return "cannot write output file " + options.output.getFullPathName();
    if (pendingState && ! pendingState->commit())
        return "cannot write state file " + options.stateToSave->getFullPathName();
    return {};
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
