// trelvane-demo-signal OUT.wav: writes a six-second stereo test signal at
// 48 kHz. The left channel carries a low, bass-heavy part (a 110 Hz tone
// with harmonics and soft noise), the right channel a bright part (chords of
// high tones and hiss), and a centred click track ties them together, so
// that a band aimed along one side of the stereo image is clearly audible.
#include <juce_audio_formats/juce_audio_formats.h>

#include <cmath>
#include <iostream>

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: trelvane-demo-signal OUT.wav" << std::endl;
        return 2;
    }

    constexpr double rate = 48000.0;
    constexpr int length = (int) (rate * 6);
    juce::AudioBuffer<float> buffer (2, length);
    juce::Random random (1234);

    for (int i = 0; i < length; ++i)
    {
        const double t = i / rate;
        const double bass = 0.30 * std::sin (2 * M_PI * 110 * t) + 0.12 * std::sin (2 * M_PI * 220 * t)
                          + 0.06 * std::sin (2 * M_PI * 330 * t);
        const double bright = 0.10 * (std::sin (2 * M_PI * 2637 * t) + std::sin (2 * M_PI * 3136 * t)
                                      + std::sin (2 * M_PI * 3951 * t));
        const double click = (i % 12000) < 240 ? 0.4 * std::exp (-(i % 12000) / 40.0) : 0.0;
        const double noiseLeft = 0.02 * (random.nextFloat() * 2 - 1);
        const double noiseRight = 0.05 * (random.nextFloat() * 2 - 1);
        buffer.setSample (0, i, (float) (bass + noiseLeft + click));
        buffer.setSample (1, i, (float) (bright + noiseRight + click));
    }

    const juce::File file = juce::File::getCurrentWorkingDirectory().getChildFile (juce::String::fromUTF8 (argv[1]));
    file.deleteFile();
    auto stream = std::make_unique<juce::FileOutputStream> (file);
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatWriter> writer (stream->openedOk() ? wav.createWriterFor (stream.get(), rate, 2, 24, {}, 0) : nullptr);
    if (writer == nullptr)
    {
        std::cerr << "trelvane-demo-signal: cannot write " << file.getFullPathName() << std::endl;
        return 1;
    }
    stream.release();
    writer->writeFromAudioSampleBuffer (buffer, 0, length);
    return 0;
}
