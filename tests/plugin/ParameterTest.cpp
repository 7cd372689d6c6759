#include "engine/TrelvaneAudioProcessor.h"

#include <gtest/gtest.h>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

namespace
{
TEST (Parameters, FortyIdsInBandOrder)
{
    TrelvaneAudioProcessor p;
    ASSERT_EQ (p.getNumParameters(), 40);

    const char* fields[] = { "gain", "freq", "width", "angle", "level", "type", "bypass", "solo" };
    for (int band = 1; band <= 5; ++band)
        for (int f = 0; f < 8; ++f)
            EXPECT_EQ (p.getParameterName ((band - 1) * 8 + f), juce::String (fields[f]) + juce::String (band));

    EXPECT_EQ (p.getParameterName (4), "level1");
    EXPECT_EQ (p.getParameterName (5), "type1");
    EXPECT_EQ (p.getParameterName (39), "solo5");
}

TEST (Parameters, Defaults)
{
    TrelvaneAudioProcessor p;
    const double freqs[] = { 0.1, 0.3, 0.5, 0.7, 0.9 };
    for (int band = 0; band < 5; ++band)
    {
        const int base = band * 8;
        EXPECT_EQ (p.getParameterDefaultValue (base + 0), 0.5f);
        EXPECT_EQ (p.getParameterDefaultValue (base + 1), (float) freqs[band]);
        EXPECT_EQ (p.getParameterDefaultValue (base + 2), 0.5f);
        EXPECT_EQ (p.getParameterDefaultValue (base + 3), (float) freqs[band]) << "angle defaults follow the same numbers";
        EXPECT_EQ (p.getParameterDefaultValue (base + 4), 0.5f);
        EXPECT_EQ (p.getParameterDefaultValue (base + 5), (float) (1.0 / 7.0));
        EXPECT_EQ (p.getParameterDefaultValue (base + 6), 0.0f);
        EXPECT_EQ (p.getParameterDefaultValue (base + 7), 0.0f);
        EXPECT_EQ (p.getParameter (base + 1), (float) freqs[band]);
    }
    EXPECT_EQ (p.getParameterValue ("type3"), (float) (1.0 / 7.0));
}

TEST (Parameters, TextsAsTheHostSeesThem)
{
    TrelvaneAudioProcessor p;
    EXPECT_EQ (p.getParameterText (6), "0") << "untouched bypass is the integer 0";
    EXPECT_EQ (p.getParameterText (0), "0.5");
    EXPECT_EQ (p.getParameterText (1), "0.1") << "the 64-bit default, not its 32-bit rounding";

    p.setParameter (6, 1.0f);
    EXPECT_EQ (p.getParameterText (6), "1.0");
    EXPECT_EQ (p.getParameter (6), 1.0f);

    p.setParameter (7, 0.0f);
    EXPECT_EQ (p.getParameterText (7), "0.0") << "a written zero is a float";
}

TEST (Parameters, WritesStoreTheThirtyTwoBitValue)
{
    TrelvaneAudioProcessor p;
    p.setParameter (2, 0.75f);
    EXPECT_EQ (p.getParameter (2), 0.75f);
    EXPECT_EQ (p.getParameterDefaultValue (2), 0.5f);

    p.setParameter (9, 0.3f);
    EXPECT_EQ (p.getParameterText (9), juce::var ((double) 0.3f).toString());

    p.setParameter (10, 1.7f);
    EXPECT_EQ (p.getParameter (10), 1.7f) << "no range check";
}

TEST (Parameters, OutOfRangeQueries)
{
    TrelvaneAudioProcessor p;
    for (int index : { -1, 40, 1000 })
    {
        EXPECT_EQ (p.getParameter (index), 0.0f);
        EXPECT_EQ (p.getParameterName (index), "");
        EXPECT_EQ (p.getParameterText (index), "");
        EXPECT_EQ (p.getParameterDefaultValue (index), 0.0f);
        p.setParameter (index, 0.9f);
    }
    EXPECT_EQ (p.getNumParameters(), 40);
    EXPECT_EQ (p.getParameter (0), 0.5f) << "an out-of-range write touches nothing";
}

TEST (Parameters, LookupById)
{
    TrelvaneAudioProcessor p;
    EXPECT_EQ (p.findParameterIndex ("level1"), 4);
    EXPECT_EQ (p.findParameterIndex ("solo5"), 39);
    EXPECT_EQ (p.findParameterIndex ("Level1"), -1);
    EXPECT_EQ (p.findParameterIndex (""), -1);
    EXPECT_EQ (p.getParameterValue ("nope"), 0.0f);
}

TEST (Parameters, StoredTypeReadsBackAsTypeNumber)
{
    TrelvaneAudioProcessor p;
    p.setParameter (5, 1.0f / 3.0f);
    const double v = p.getParameterValue ("type1");
    EXPECT_EQ ((int) (1.0 / (v - 0.001)), 3);
}

// A write from the message thread reaches change listeners asynchronously.
TEST (Parameters, WritesSendChangeMessages)
{
    struct Counter : juce::ChangeListener
    {
        int count = 0;
        void changeListenerCallback (juce::ChangeBroadcaster*) override { ++count; }
    } counter;

    TrelvaneAudioProcessor p;
    p.addChangeListener (&counter);
    p.setParameter (3, 0.2f);
    juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
    EXPECT_GE (counter.count, 1);

    // A write from another thread (automation on the audio thread) is
    // delivered too, without that thread touching the message queue.
    counter.count = 0;
    std::thread automation ([&] { p.setParameter (3, 0.4f); });
    automation.join();
    juce::MessageManager::getInstance()->runDispatchLoopUntil (200);
    EXPECT_GE (counter.count, 1);
    p.removeChangeListener (&counter);
}
} // namespace

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
