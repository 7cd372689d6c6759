// Values moving between the editor's controls and the processor, in both
// directions, and what the host is told on the way.

#include "EditorTestSupport.h"

#include <cmath>
#include <thread>

using namespace editortest;

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

namespace
{
// An open editor whose opening notifications have been delivered, with a
// recorder of everything the host hears from then on.
struct WiredEditor : public ::testing::Test
{
    TrelvaneAudioProcessor processor;
    std::unique_ptr<TrelvaneAudioProcessorEditor> editor;
    HostRecorder host;

    void SetUp() override
    {
        editor = std::make_unique<TrelvaneAudioProcessorEditor> (processor);
        deliverPendingMessages();
        processor.addListener (&host);
    }

    void TearDown() override
    {
        processor.removeListener (&host);
        editor.reset();
    }

    juce::Slider& knob (const juce::String& name) { return control<juce::Slider> (*editor, name); }
    juce::Label& label (const juce::String& name) { return control<juce::Label> (*editor, name); }
    juce::ComboBox& combo (const juce::String& name) { return control<juce::ComboBox> (*editor, name); }
    juce::Button& button (const juce::String& name) { return control<juce::Button> (*editor, name); }
    float value (const char* id) { return processor.getParameterValue (id); }
};

TEST_F (WiredEditor, DraggingAKnobWritesItsParameterInsideOneHostGesture)
{
    auto& gain = knob ("gainSlider1");
    auto& asListener = static_cast<juce::Slider::Listener&> (*editor);

    asListener.sliderDragStarted (&gain);
    gain.setValue (0.6, juce::sendNotificationSync);
    gain.setValue (0.75, juce::sendNotificationSync);
    asListener.sliderDragEnded (&gain);

    EXPECT_EQ (value ("gain1"), 0.75f);
    ASSERT_EQ (host.changes.size(), 2u);
    EXPECT_EQ (host.changes[0].index, 0);
    EXPECT_EQ (host.changes[0].value, 0.6f);
    EXPECT_EQ (host.changes[1].value, 0.75f);
    EXPECT_EQ (host.gestureBegins, std::vector<int> { 0 });
    EXPECT_EQ (host.gestureEnds, std::vector<int> { 0 });
    EXPECT_EQ (label ("gainLabel1").getText(), "10.00 dB");
}

TEST_F (WiredEditor, EveryKnobWritesItsOwnParameter)
{
    for (int band = 1; band <= 5; ++band)
        for (auto word : rowWords)
        {
            const auto id = word + juce::String (band);
            SCOPED_TRACE (id);
            host.changes.clear();
            knob (word + juce::String ("Slider") + juce::String (band)).setValue (0.25 + band * 0.1, juce::sendNotificationSync);

            const int index = processor.findParameterIndex (id);
            ASSERT_EQ (host.changes.size(), 1u);
            EXPECT_EQ (host.changes[0].index, index);
            EXPECT_EQ (processor.getParameter (index), (float) (0.25 + band * 0.1));
        }
}

TEST_F (WiredEditor, AChangeMadeByTheEditorIsNotEchoedBack)
{
    auto& freq = knob ("freqSlider2");
    auto& width = knob ("widthSlider2");
    const double unrepresentable = 0.123456789; // not a 32-bit float

    freq.setValue (unrepresentable, juce::sendNotificationSync);
    // A second write from elsewhere before the message arrives: change
    // messages coalesce, and the one message is absorbed by the editor's own.
    processor.setParameter (processor.findParameterIndex ("width2"), 0.9f);
    deliverPendingMessages();

    EXPECT_EQ (freq.getValue(), unrepresentable) << "the knob was refreshed from the stored float";
    EXPECT_EQ (width.getValue(), 0.5);
    EXPECT_EQ (value ("freq2"), (float) unrepresentable);

    // The next change message is not absorbed.
    processor.setParameter (processor.findParameterIndex ("width2"), 0.8f);
    deliverPendingMessages();
    EXPECT_EQ (width.getValue(), (double) 0.8f);
    EXPECT_EQ (freq.getValue(), (double) (float) unrepresentable);
}

TEST_F (WiredEditor, TypeMenuWritesTheReciprocalWithoutTellingTheHostAndGatesTheGainKnob)
{
    struct Case
    {
        const char* menuText;
        int id;
        bool gainLive;
    };
    const Case cases[] = { { "LowShelf", 8, true }, { "Notch", 5, false }, { "LP", 1, false }, { "Peak", 7, true },
                           { "HP", 2, false },      { "BP", 3, false },    { "BP2", 4, false }, { "HighShelf", 9, true } };

    auto& box = combo ("typeCombo2");
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.menuText);
        box.setSelectedId (c.id, juce::sendNotificationSync);
        EXPECT_EQ (box.getText(), c.menuText);
        EXPECT_EQ (value ("type2"), (float) (1.0 / c.id));
        EXPECT_EQ (knob ("gainSlider2").isEnabled(), c.gainLive);
        EXPECT_TRUE (knob ("gainSlider1").isEnabled()) << "another band's knob is untouched";
    }

    EXPECT_TRUE (host.changes.empty());
}

TEST_F (WiredEditor, ATypeMenuWithoutSelectionWritesNothing)
{
    processor.setParameter (processor.findParameterIndex ("type4"), (float) (1.0 / 6));
    deliverPendingMessages();

    EXPECT_EQ (combo ("typeCombo4").getSelectedId(), 0);
    EXPECT_EQ (value ("type4"), (float) (1.0 / 6)) << "the all-pass type stays";

    processor.setParameter (processor.findParameterIndex ("type4"), 0.05f);
    deliverPendingMessages();
    EXPECT_EQ (value ("type4"), 0.05f);

    // The refresh after it still works: nothing was left pending.
    processor.setParameter (processor.findParameterIndex ("gain4"), 0.25f);
    deliverPendingMessages();
    EXPECT_EQ (knob ("gainSlider4").getValue(), 0.25);
}

TEST_F (WiredEditor, BypassAndSoloButtonsWriteOneAndZeroAndTellTheHost)
{
    for (auto name : { "BP3", "S1", "BP5", "S4" })
    {
        SCOPED_TRACE (name);
        auto& b = button (name);
        const auto id = b.getProperties()["parameter"].toString();
        const int index = processor.findParameterIndex (id);

        host.changes.clear();
        b.triggerClick();
        deliverPendingMessages();
        EXPECT_TRUE (b.getToggleState());
        EXPECT_EQ (processor.getParameterValue (id), 1.0f);

        b.triggerClick();
        deliverPendingMessages();
        EXPECT_FALSE (b.getToggleState());
        EXPECT_EQ (processor.getParameterValue (id), 0.0f);

        ASSERT_EQ (host.changes.size(), 2u);
        EXPECT_EQ (host.changes[0].index, index);
        EXPECT_EQ (host.changes[0].value, 1.0f);
        EXPECT_EQ (host.changes[1].index, index);
        EXPECT_EQ (host.changes[1].value, 0.0f);
    }
}

TEST_F (WiredEditor, TypingIntoAValueLabelMovesTheKnobAndThenTheParameter)
{
    auto& l = label ("gainLabel1");
    l.showEditor();
    auto* textEditor = l.getCurrentTextEditor();
    ASSERT_NE (textEditor, nullptr);
    textEditor->setText ("12");
    textEditor->keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
    deliverPendingMessages();

    EXPECT_EQ (l.getCurrentTextEditor(), nullptr);
    EXPECT_EQ (knob ("gainSlider1").getValue(), 12.0 / 40 + 0.5);
    EXPECT_EQ (l.getText(), "12.00 dB");
    EXPECT_EQ (value ("gain1"), 0.8f);
    ASSERT_EQ (host.changes.size(), 1u);
    EXPECT_EQ (host.changes[0].index, 0);
}

TEST_F (WiredEditor, TypedValuesGoThroughTheKnobsParserAndAreLimited)
{
    struct Case
    {
        const char* labelName;
        const char* parameter;
        const char* typed;
        double knobValue;
        const char* shown;
    };
    const Case cases[] = {
        { "freqLabel4", "freq4", "1000", std::log (1000.0 / 16) / std::log (22000.0 / 16), "1000 Hz" },
        { "freqLabel3", "freq3", "10.0 kHz", 0.0, "16 Hz" },   // the unit is not read: 10 Hz
        { "angleLabel2", "angle2", "90", 1.0, "45.0 deg" },    // limited
        { "levelLabel5", "level5", "-30 dB", 0.0, "-20.00 dB" }, // limited
        { "gainLabel3", "gain3", "3", 0.575, "3.00 dB" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.typed);
        auto& l = label (c.labelName);
        l.setText (c.typed, juce::sendNotificationSync);
        EXPECT_NEAR (dynamic_cast<LabelWithSlider&> (l).boundSlider->getValue(), c.knobValue, 1e-12);
        EXPECT_EQ (l.getText(), c.shown);
        EXPECT_NE (value (c.parameter), (float) c.knobValue) << "the knob passes the value on asynchronously";

        deliverPendingMessages();
        EXPECT_NEAR (value (c.parameter), (float) c.knobValue, 1e-7);
    }

    // Text that a Q knob cannot read leaves it where it is.
    auto& q = label ("widthLabel1");
    q.setText ("wide", juce::sendNotificationSync);
    EXPECT_EQ (knob ("widthSlider1").getValue(), 0.5);
    EXPECT_EQ (q.getText(), "Q: 0.500");
}

TEST_F (WiredEditor, ProcessorSideChangesRefreshKnobsLabelsMenusAndButtons)
{
    processor.setParameter (processor.findParameterIndex ("gain2"), 1.0f);
    processor.setParameter (processor.findParameterIndex ("width3"), 0.25f);
    processor.setParameter (processor.findParameterIndex ("type1"), 0.5f);
    processor.setParameter (processor.findParameterIndex ("bypass4"), 1.0f);
    processor.setParameter (processor.findParameterIndex ("solo5"), 1.0f);
    deliverPendingMessages();

    EXPECT_EQ (knob ("gainSlider2").getValue(), 1.0);
    EXPECT_EQ (label ("gainLabel2").getText(), "20.00 dB");
    EXPECT_EQ (knob ("widthSlider3").getValue(), 0.25);
    EXPECT_EQ (label ("widthLabel3").getText(), "Q: 0.300");
    EXPECT_EQ (combo ("typeCombo1").getSelectedId(), 2);
    EXPECT_FALSE (knob ("gainSlider1").isEnabled()) << "the menu's own notification gates the gain knob";
    EXPECT_EQ (value ("type1"), 0.5f);
    EXPECT_TRUE (button ("BP4").getToggleState());
    EXPECT_TRUE (button ("S5").getToggleState());
    EXPECT_FALSE (button ("S4").getToggleState());
    EXPECT_TRUE (host.changes.empty()) << "a refresh writes nothing the host must hear";

    // Automation from another thread arrives through the deferred message.
    std::thread automation ([this] { processor.setParameter (processor.findParameterIndex ("angle5"), 0.25f); });
    automation.join();
    deliverPendingMessages (120);
    EXPECT_EQ (knob ("angleSlider5").getValue(), 0.25);
    EXPECT_EQ (label ("angleLabel5").getText(), "-22.5 deg");
}

TEST_F (WiredEditor, SelectingAProgramShowsItsValues)
{
    processor.setCurrentProgram (3);
    processor.setParameter (processor.findParameterIndex ("freq1"), 0.5f);
    processor.setParameter (processor.findParameterIndex ("level3"), 0.0f);
    processor.setParameter (processor.findParameterIndex ("type5"), 0.25f);
    processor.setParameter (processor.findParameterIndex ("bypass2"), 1.0f);
    processor.setCurrentProgram (0);
    deliverPendingMessages();

    EXPECT_EQ (knob ("freqSlider1").getValue(), (double) 0.1f);
    EXPECT_EQ (combo ("typeCombo5").getSelectedId(), 7);
    EXPECT_FALSE (button ("BP2").getToggleState());

    processor.setCurrentProgram (3);
    deliverPendingMessages();
    EXPECT_EQ (knob ("freqSlider1").getValue(), 0.5);
    EXPECT_EQ (label ("freqLabel1").getText(), "593 Hz");
    EXPECT_EQ (knob ("levelSlider3").getValue(), 0.0);
    EXPECT_EQ (label ("levelLabel3").getText(), "-20.00 dB");
    EXPECT_EQ (combo ("typeCombo5").getText(), "BP2");
    EXPECT_FALSE (knob ("gainSlider5").isEnabled());
    EXPECT_TRUE (button ("BP2").getToggleState());
}
} // namespace

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
