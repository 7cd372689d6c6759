#include "engine/TrelvaneAudioProcessor.h"

#include <gtest/gtest.h>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

namespace
{
TEST (Programs, TenSlotsWithFallbackNames)
{
    TrelvaneAudioProcessor p;
    EXPECT_EQ (p.getNumPrograms(), 10);
    EXPECT_EQ (p.getCurrentProgram(), 0);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ (p.getProgramName (i), "Program " + juce::String (i + 1));
    EXPECT_EQ (p.getProgramName (10), "");
    EXPECT_EQ (p.getProgramName (-1), "");
}

TEST (Programs, RenamingAffectsOnlyThatSlot)
{
    TrelvaneAudioProcessor p;
    juce::MemoryBlock before, after;
    p.getStateInformation (before);

    p.changeProgramName (2, "Wide vocal");
    EXPECT_EQ (p.getProgramName (2), "Wide vocal");
    EXPECT_EQ (p.getProgramName (1), "Program 2");
    p.getStateInformation (after);
    EXPECT_EQ (before, after) << "names are not part of the saved state";

    p.changeProgramName (2, "");
    EXPECT_EQ (p.getProgramName (2), "Program 3");
    p.changeProgramName (12, "ignored");
    EXPECT_EQ (p.getNumPrograms(), 10);
}

TEST (Programs, SlotsRecordWritesAndSelectionRestoresThem)
{
    TrelvaneAudioProcessor p;
    p.setParameter (0, 0.8f);
    p.setCurrentProgram (1);
    EXPECT_EQ (p.getParameter (0), 0.5f) << "slot 1 still holds the default";
    p.setParameter (0, 0.2f);
    p.setCurrentProgram (0);
    EXPECT_EQ (p.getParameter (0), 0.8f);
    p.setCurrentProgram (1);
    EXPECT_EQ (p.getParameter (0), 0.2f);
    EXPECT_EQ (p.getParameterText (6), "0") << "untouched integer copied from the slot";

    p.setCurrentProgram (10);
    p.setCurrentProgram (-1);
    EXPECT_EQ (p.getCurrentProgram(), 1) << "indexes outside the table are ignored";
}

// Selecting a program retunes the engine to the program's values: flags and
// all five bands, exactly as if each value had been written.
TEST (Programs, SelectionChangesTheSound)
{
    TrelvaneAudioProcessor p;
    p.prepareToPlay (48000, 64);
    p.setCurrentProgram (1);
    p.setParameter (6, 1.0f);    // bypass1
    p.setParameter (15, 1.0f);   // solo2
    p.setParameter (9, 0.8f);    // freq2
    p.setParameter (13, 1.0f);   // type2: low-pass
    p.setCurrentProgram (0);

    juce::AudioBuffer<float> buffer (2, 64);
    juce::MidiBuffer midi;
    buffer.clear();
    p.processBlock (buffer, midi);

    TrelvaneAudioProcessor fresh;
    fresh.prepareToPlay (48000, 64);
    const auto& chain = p.getBandChain();
    const auto& expected = fresh.getBandChain();
    for (int k = 0; k < 5; ++k)
    {
        EXPECT_FALSE (chain.bandBypass[k]);
        EXPECT_FALSE (chain.bandSolo[k]);
        EXPECT_EQ (chain.bandFilters[k].b0, expected.bandFilters[k].b0) << "band " << k + 1;
        EXPECT_EQ (chain.bandFilters[k].a1, expected.bandFilters[k].a1) << "band " << k + 1;
    }

    p.setCurrentProgram (1);
    p.processBlock (buffer, midi);
    EXPECT_TRUE (chain.bandBypass[0]);
    EXPECT_TRUE (chain.bandSolo[1]);
    BandFilter lowPass;
    lowPass.design (BandFilter::lowPass, BandSettings::designFrequency ((double) 0.8f), 96000, 0.5, 0.0);
    EXPECT_EQ (chain.bandFilters[1].b0, lowPass.b0);
    EXPECT_EQ (chain.bandFilters[1].a2, lowPass.a2);
}
} // namespace

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
