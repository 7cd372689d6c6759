// The value labels: double-click editing with the whole text selected, no
// editor-shown / editor-hidden notifications, and the binding to a knob.

#include "controls/GainSlider.h"
#include "controls/LabelWithSlider.h"

#include <gtest/gtest.h>

namespace
{
struct ListenerLog : juce::Label::Listener
{
    int textChanges = 0, shown = 0, hidden = 0;
    void labelTextChanged (juce::Label*) override { ++textChanges; }
    void editorShown (juce::Label*, juce::TextEditor&) override { ++shown; }
    void editorHidden (juce::Label*, juce::TextEditor&) override { ++hidden; }
};

juce::MouseEvent clickOn (juce::Component& c, int clicks)
{
    const juce::Point<float> pos (10.0f, 10.0f);
    const auto now = juce::Time::getCurrentTime();
    return { juce::Desktop::getInstance().getMainMouseSource(), pos, juce::ModifierKeys::leftButtonModifier,
             juce::MouseInputSource::defaultPressure, juce::MouseInputSource::defaultOrientation,
             juce::MouseInputSource::defaultRotation, juce::MouseInputSource::defaultTiltX,
             juce::MouseInputSource::defaultTiltY, &c, &c, now, pos, now, clicks, false };
}

// A gain knob with its value label as the editor sets them up.
class ValueLabelTest : public ::testing::Test
{
protected:
    ValueLabelTest()
    {
        knob.setRange (0.0, 1.0, 0.0);
        knob.setBounds (0, 0, 64, 71);
        knob.setValue (0.5, juce::dontSendNotification);
        label.addListener (&log);
        label.setEditable (false, true, false);
        label.setBounds (8, 52, 60, 20);
        label.boundSlider = &knob;
        label.setText (knob.getTextFromValue (knob.getValue()), juce::dontSendNotification);
        knob.addAndMakeVisible (label);
        label.onEditorShow = [this] { ++showCallbacks; };
        label.onEditorHide = [this] { ++hideCallbacks; };
    }

    void singleClick()
    {
        juce::Component& c = label;
        c.mouseDown (clickOn (label, 1));
        c.mouseUp (clickOn (label, 1));
    }

    void doubleClick()
    {
        singleClick();
        juce::Component& c = label;
        c.mouseDown (clickOn (label, 2));
        c.mouseDoubleClick (clickOn (label, 2));
        c.mouseUp (clickOn (label, 2));
    }

    GainSlider knob { "gainSlider1" };
    LabelWithSlider label { "gainLabel1", {} };
    ListenerLog log;
    int showCallbacks = 0, hideCallbacks = 0;
};
} // namespace

TEST (LabelWithSlider, StartsUnbound)
{
    LabelWithSlider label ("freqLabel2", "");
    EXPECT_EQ (label.boundSlider, nullptr);
    EXPECT_EQ (label.getName(), "freqLabel2");
    EXPECT_TRUE (label.getText().isEmpty());

    MyLabel plain ("n", "text");
    EXPECT_EQ (plain.getName(), "n");
    EXPECT_EQ (plain.getText(), "text");
}

TEST_F (ValueLabelTest, SingleClickDoesNotOpenTheEditor)
{
    singleClick();
    EXPECT_EQ (label.getCurrentTextEditor(), nullptr);
}

TEST_F (ValueLabelTest, DoubleClickOpensTheEditorWithAllTextSelected)
{
    doubleClick();
    auto* editor = label.getCurrentTextEditor();
    ASSERT_NE (editor, nullptr);
    EXPECT_EQ (editor->getText(), "0.00 dB");
    EXPECT_EQ (editor->getHighlightedRegion(), juce::Range<int> (0, 7));

    // Each time the editor gains the focus its whole text is selected again,
    // so the first key typed replaces it.
    editor->setHighlightedRegion ({ 2, 2 });
    editor->focusGained (juce::Component::focusChangedByMouseClick);
    EXPECT_EQ (editor->getHighlightedRegion(), juce::Range<int> (0, 7));
    editor->setHighlightedRegion ({ 0, 0 });
    editor->focusGained (juce::Component::focusChangedByTabKey);
    EXPECT_EQ (editor->getHighlightedRegion(), juce::Range<int> (0, 7));
}

TEST_F (ValueLabelTest, EditorTakesTheLabelsFontAndEditingColours)
{
    label.setFont (juce::Font (17.0f));
    label.setColour (juce::Label::textWhenEditingColourId, juce::Colours::yellow);
    label.setColour (juce::Label::backgroundWhenEditingColourId, juce::Colours::navy);
    doubleClick();
    auto* editor = label.getCurrentTextEditor();
    ASSERT_NE (editor, nullptr);
    EXPECT_EQ (editor->getName(), "gainLabel1");
    EXPECT_EQ (editor->getFont().getHeight(), 17.0f);
    EXPECT_EQ (editor->findColour (juce::TextEditor::textColourId), juce::Colours::yellow);
    EXPECT_EQ (editor->findColour (juce::TextEditor::backgroundColourId), juce::Colours::navy);
}

TEST_F (ValueLabelTest, ListenersHearTextChangesButNotTheEditorOpeningOrClosing)
{
    doubleClick();
    auto* editor = label.getCurrentTextEditor();
    ASSERT_NE (editor, nullptr);
    editor->setText ("12", false);
    label.hideEditor (false);   // Return / focus loss: commit

    EXPECT_EQ (label.getCurrentTextEditor(), nullptr);
    EXPECT_EQ (label.getText(), "12");
    EXPECT_EQ (log.textChanges, 1);
    EXPECT_EQ (log.shown, 0);
    EXPECT_EQ (log.hidden, 0);
    EXPECT_EQ (showCallbacks, 0);
    EXPECT_EQ (hideCallbacks, 0);

    // What the editor's label callback does with it: the bound knob reads the
    // text, and the label shows the knob's own text for the new value.
    auto* bound = label.boundSlider;
    ASSERT_EQ (bound, &knob);
    bound->setValue (bound->getValueFromText (label.getText()), juce::dontSendNotification);
    label.setText (bound->getTextFromValue (bound->getValue()), juce::dontSendNotification);
    EXPECT_NEAR (knob.getValue(), 0.8, 1e-12);
    EXPECT_EQ (label.getText(), "12.00 dB");
}

TEST_F (ValueLabelTest, EscapeAbandonsTheEdit)
{
    doubleClick();
    auto* editor = label.getCurrentTextEditor();
    ASSERT_NE (editor, nullptr);
    editor->setText ("12", false);
    label.hideEditor (true);
    EXPECT_EQ (label.getText(), "0.00 dB");
    EXPECT_EQ (log.textChanges, 0);
    EXPECT_EQ (log.hidden, 0);
}
