// Automation on one thread, state saving and program selection on another,
// processing on a third, the message loop delivering change messages on the
// main thread: no data race (run under ThreadSanitizer), no lock on the audio
// thread, and the audio stays finite throughout.
#include "engine/TrelvaneAudioProcessor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <random>
#include <thread>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

namespace
{
struct ChangeCounter : juce::ChangeListener
{
    int count = 0;
    void changeListenerCallback (juce::ChangeBroadcaster*) override { ++count; }
};

TEST (Concurrency, AutomationSavingProgramsAndAudioTogether)
{
    TrelvaneAudioProcessor processor;
    processor.prepareToPlay (48000, 256);
    ChangeCounter counter;
    processor.addChangeListener (&counter);

    std::atomic<bool> running { true };
    std::atomic<long> blocks { 0 }, automationWrites { 0 }, saves { 0 };
    std::atomic<bool> allFinite { true };

    std::thread audio ([&]
    {
        juce::AudioBuffer<float> buffer (2, 256);
        juce::MidiBuffer midi;
        long n = 0;
        while (running.load())
        {
            for (int i = 0; i < 256; ++i)
            {
                buffer.setSample (0, i, 0.5f * (float) std::sin (0.05 * (double) (n + i)));
                buffer.setSample (1, i, 0.3f * (float) std::sin (0.031 * (double) (n + i)));
            }
            n += 256;
            processor.processBlock (buffer, midi);
            for (int i = 0; i < 256; ++i)
                if (! std::isfinite (buffer.getSample (0, i)) || ! std::isfinite (buffer.getSample (1, i)))
                    allFinite.store (false);
            ++blocks;
        }
    });

    std::thread automation ([&]
    {
        std::mt19937 random (1);
        std::uniform_real_distribution<float> unit (0.0f, 1.0f);
        while (running.load())
        {
            const int index = (int) (random() % 40);
            processor.setParameter (index, index % 8 >= 6 ? (float) (random() % 2) : unit (random));
            (void) processor.getParameter ((int) (random() % 40));
            ++automationWrites;
        }
    });

    std::thread host ([&]
    {
        std::mt19937 random (2);
        while (running.load())
        {
            juce::MemoryBlock state;
            processor.getStateInformation (state);
            (void) processor.getParameterText ((int) (random() % 40));
            if (random() % 8 == 0)
                processor.setCurrentProgram ((int) (random() % 10));
            if (random() % 16 == 0)
                processor.setStateInformation (state.getData(), (int) state.getSize());
            ++saves;
        }
    });

    const auto end = juce::Time::getMillisecondCounter() + 3000;
    while (juce::Time::getMillisecondCounter() < end)
        juce::MessageManager::getInstance()->runDispatchLoopUntil (50);

    running.store (false);
    audio.join();
    automation.join();
    host.join();
    juce::MessageManager::getInstance()->runDispatchLoopUntil (100);
    processor.removeChangeListener (&counter);

    EXPECT_TRUE (allFinite.load());
    EXPECT_GT (blocks.load(), 10);
    EXPECT_GT (automationWrites.load(), 1000);
    EXPECT_GT (saves.load(), 10);
    EXPECT_GT (counter.count, 0) << "changes from other threads reach the message thread";
}
} // namespace

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
