#include "engine/TrelvaneAudioProcessor.h"

#include <gtest/gtest.h>

#include <random>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

namespace
{
juce::MemoryBlock stateOf (TrelvaneAudioProcessor& p)
{
    juce::MemoryBlock block;
    p.getStateInformation (block);
    return block;
}

juce::String textOf (const juce::MemoryBlock& block)
{
    return juce::String::fromUTF8 (static_cast<const char*> (block.getData()) + 8, (int) block.getSize() - 9);
}

juce::MemoryBlock blockWithText (const juce::String& text)
{
    juce::MemoryBlock block;
    juce::MemoryOutputStream out (block, false);
    out.writeInt (0x21324356);
    out.writeInt ((int) text.getNumBytesAsUTF8());
    out << text;
    out.writeByte (0);
    return block;
}

TEST (SavedState, BlockLayoutOfAFreshProcessor)
{
    TrelvaneAudioProcessor p;
    const auto block = stateOf (p);
    const auto* bytes = static_cast<const juce::uint8*> (block.getData());

    ASSERT_GT (block.getSize(), 9u);
    EXPECT_EQ (bytes[0], 0x56);
    EXPECT_EQ (bytes[1], 0x43);
    EXPECT_EQ (bytes[2], 0x32);
    EXPECT_EQ (bytes[3], 0x21);
    const auto length = juce::ByteOrder::littleEndianInt (bytes + 4);
    EXPECT_EQ (length, block.getSize() - 9);
    EXPECT_EQ (bytes[block.getSize() - 1], 0);

    const auto text = textOf (block);
    EXPECT_TRUE (text.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?> <MYPLUGINSETTINGS gain1=\"0.5\" freq1=\"0.1\" width1=\"0.5\" "));
    EXPECT_TRUE (text.endsWith (" current_program=\"0\"/>"));
    EXPECT_FALSE (text.containsChar ('\n'));

    const auto xml = juce::parseXML (text);
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getNumAttributes(), 41);
    EXPECT_EQ (xml->getAttributeName (4), "level1");
    EXPECT_EQ (xml->getAttributeName (5), "type1");
    EXPECT_EQ (xml->getAttributeValue (6), "0.0");
}

TEST (SavedState, ReflectsWritesAndProgram)
{
    TrelvaneAudioProcessor p;
    p.setParameter (6, 1.0f);
    p.setCurrentProgram (3);
    const auto xml = juce::parseXML (textOf (stateOf (p)));
    EXPECT_EQ (xml->getStringAttribute ("bypass1"), "0.0") << "slot 3 holds the default";
    EXPECT_EQ (xml->getAttributeName (40), "current_program");
    EXPECT_EQ (xml->getAttributeValue (40), "3");

    p.setParameter (6, 1.0f);
    EXPECT_EQ (juce::parseXML (textOf (stateOf (p)))->getStringAttribute ("bypass1"), "1.0");
    EXPECT_EQ (stateOf (p), stateOf (p));
}

TEST (SavedState, DestinationIsReplacedNotAppended)
{
    TrelvaneAudioProcessor p;
    juce::MemoryBlock block (5000, true);
    p.getStateInformation (block);
    EXPECT_EQ (block, stateOf (p));
}

// Save, restore into a new processor, save again: the same block, and the
// same audio from the same input.
TEST (SavedState, RoundTripRestoresValuesProgramAndSound)
{
    TrelvaneAudioProcessor original;
    std::mt19937 random (3);
    std::uniform_real_distribution<float> dist (0.0f, 1.0f);
    original.setCurrentProgram (4);
    for (int i = 0; i < 40; ++i)
        if (i % 8 < 6)
            original.setParameter (i, dist (random));
    original.setParameter (5, 1.0f / 8.0f);
    original.setParameter (22, 1.0f);  // bypass3
    const auto saved = stateOf (original);

    TrelvaneAudioProcessor restored;
    restored.setStateInformation (saved.getData(), (int) saved.getSize());
    EXPECT_EQ (stateOf (restored), saved);
    EXPECT_EQ (restored.getCurrentProgram(), 4);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ (restored.getParameter (i), original.getParameter (i)) << i;

    juce::AudioBuffer<float> a (2, 256), b (2, 256);
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 256; ++i)
            a.setSample (ch, i, dist (random) - 0.5f);
    b.makeCopyOf (a);
    juce::MidiBuffer midi;
    original.prepareToPlay (44100, 256);
    restored.prepareToPlay (44100, 256);
    original.processBlock (a, midi);
    restored.processBlock (b, midi);
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ (a.getSample (ch, i), b.getSample (ch, i)) << ch << ":" << i;
}

TEST (SavedState, RestoreKeepsMissingAndSkipsUnknownAttributes)
{
    TrelvaneAudioProcessor p;
    p.setParameter (1, 0.6f);
    const auto block = blockWithText ("<?xml version=\"1.0\" encoding=\"UTF-8\"?> <MYPLUGINSETTINGS future=\"abc\" gain1=\"0.25\" current_program=\"2\"/>");
    p.setStateInformation (block.getData(), (int) block.getSize());
    EXPECT_EQ (p.getParameter (0), 0.25f);
    EXPECT_EQ (p.getParameter (1), 0.6f) << "missing attribute keeps its value";
    EXPECT_EQ (p.getCurrentProgram(), 2);

    p.setCurrentProgram (2);
    EXPECT_EQ (p.getParameter (0), 0.25f) << "the restored value was recorded in the restored program";
}

TEST (SavedState, DamagedBlocksChangeNothing)
{
    TrelvaneAudioProcessor source;
    source.setParameter (3, 0.9f);
    const auto good = stateOf (source);
    const auto goodText = textOf (good);

    struct Case { const char* what; juce::MemoryBlock block; };
    std::vector<Case> cases;

    auto wrongMagic = good;
    static_cast<char*> (wrongMagic.getData())[0] = 0x57;
    cases.push_back ({ "wrong magic", wrongMagic });

    juce::MemoryBlock truncated (good.getData(), good.getSize() / 2);
    cases.push_back ({ "truncated", truncated });

    auto longLength = good;
    const auto length = (juce::uint32) good.getSize();
    std::memcpy (static_cast<char*> (longLength.getData()) + 4, &length, 4);
    cases.push_back ({ "length field beyond the data", longLength });

    cases.push_back ({ "header only", juce::MemoryBlock (good.getData(), 8) });
    cases.push_back ({ "empty", juce::MemoryBlock() });
    cases.push_back ({ "not XML", blockWithText ("gain1=0.3 freq1=0.2") });
    cases.push_back ({ "other tag", blockWithText (goodText.replace ("MYPLUGINSETTINGS", "OTHERSETTINGS")) });
    cases.push_back ({ "value not a number", blockWithText (goodText.replace ("gain1=\"0.5\"", "gain1=\"loud\"")) });
    cases.push_back ({ "value with trailing junk", blockWithText (goodText.replace ("gain1=\"0.5\"", "gain1=\"0.5x\"")) });
    cases.push_back ({ "value infinite", blockWithText (goodText.replace ("gain1=\"0.5\"", "gain1=\"inf\"")) });
    cases.push_back ({ "value NaN", blockWithText (goodText.replace ("gain1=\"0.5\"", "gain1=\"nan\"")) });
    cases.push_back ({ "value overflowing", blockWithText (goodText.replace ("gain1=\"0.5\"", "gain1=\"1e999\"")) });
    cases.push_back ({ "program too high", blockWithText (goodText.replace ("current_program=\"0\"", "current_program=\"10\"")) });
    cases.push_back ({ "program negative", blockWithText (goodText.replace ("current_program=\"0\"", "current_program=\"-1\"")) });
    cases.push_back ({ "program not an integer", blockWithText (goodText.replace ("current_program=\"0\"", "current_program=\"1.5\"")) });

    for (const auto& c : cases)
    {
        TrelvaneAudioProcessor p;
        p.setParameter (0, 0.7f);
        p.setCurrentProgram (0);
        const auto before = stateOf (p);
        p.setStateInformation (c.block.getData(), (int) c.block.getSize());
        EXPECT_EQ (stateOf (p), before) << c.what;
    }

    // The damaged variants really were the only difference: the intact
    // block does restore.
    TrelvaneAudioProcessor p;
    p.setStateInformation (good.getData(), (int) good.getSize());
    EXPECT_EQ (p.getParameter (3), 0.9f);
}
} // namespace

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
