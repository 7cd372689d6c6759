// Replaces the global allocation functions for this test binary and counts
// every allocation made on the audio thread while blocks are processed.
#include "engine/TrelvaneAudioProcessor.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <thread>

namespace
{
thread_local bool countingThisThread = false;
thread_local long allocationsOnThisThread = 0;

void* allocate (std::size_t size)
{
    if (countingThisThread)
        ++allocationsOnThisThread;
    if (void* p = std::malloc (size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

struct CountAllocations
{
    CountAllocations() { allocationsOnThisThread = 0; countingThisThread = true; }
    ~CountAllocations() { countingThisThread = false; }
    long count() const { return allocationsOnThisThread; }
};
} // namespace

void* operator new (std::size_t size) { return allocate (size); }
void* operator new[] (std::size_t size) { return allocate (size); }
void* operator new (std::size_t size, const std::nothrow_t&) noexcept { try { return allocate (size); } catch (...) { return nullptr; } }
void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept { try { return allocate (size); } catch (...) { return nullptr; } }
void operator delete (void* p) noexcept { std::free (p); }
void operator delete[] (void* p) noexcept { std::free (p); }
void operator delete (void* p, std::size_t) noexcept { std::free (p); }
void operator delete[] (void* p, std::size_t) noexcept { std::free (p); }

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

namespace
{
TEST (RealTime, CounterSeesAllocations)
{
    CountAllocations counter;
    auto* p = new int (3);
    delete p;
    EXPECT_EQ (counter.count(), 1) << "the replacement is in effect";
}

TEST (RealTime, ProcessBlockDoesNotAllocateInSteadyState)
{
    TrelvaneAudioProcessor processor;
    processor.prepareToPlay (48000, 512);
    juce::AudioBuffer<float> buffer (2, 512);
    juce::MidiBuffer midi;

    long allocations = -1;
    // The audio thread is not the message thread, as in a host.
    std::thread audioThread ([&]
    {
        CountAllocations counter;
        for (int block = 0; block < 2000; ++block)
        {
            for (int i = 0; i < 512; ++i)
            {
                buffer.setSample (0, i, (float) std::sin (i * 0.01 + block));
                buffer.setSample (1, i, (float) std::cos (i * 0.013 + block));
            }
            // Automation arriving with the audio, as a host delivers it.
            processor.setParameter (9, (float) (block % 100) / 100.0f);
            processor.setParameter (14, (block % 2) ? 1.0f : 0.0f);
            processor.setParameter (21, (float) (block % 7) / 7.0f);

            // Shorter blocks than announced, too.
            buffer.setSize (2, block % 3 == 0 ? 100 : 512, true, false, true);
            processor.processBlock (buffer, midi);
        }
        allocations = counter.count();
    });
    audioThread.join();
    EXPECT_EQ (allocations, 0);
}
} // namespace

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
