// The editor as it opens: window size, every control's place, identity and
// class, the version label, the type menus' items, and the values shown.

#include "EditorTestSupport.h"

using namespace editortest;

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

namespace
{
enum class Kind { gainKnob, freqKnob, widthKnob, angleKnob, levelKnob, valueLabel, typeCombo, bypassButton, soloButton };

struct ControlRow
{
    const char* name;
    Kind kind;
    int x, y, width, height;
    const char* parent;    // the component the control sits in
    const char* parameter; // "" for value labels
    int index;             // knob strip index, 0 for other controls
};

// The design: knob sizes are the frame sizes of the knobs' film strips; value
// labels are placed inside their knobs; buttons sit on the bottom line of the
// first output knob.
const ControlRow designLayout[] = {
    { "gainSlider1", Kind::gainKnob, 61, 25, 64, 71, "", "gain1", 1 },
    { "gainSlider2", Kind::gainKnob, 184, 29, 53, 63, "", "gain2", 2 },
    { "gainSlider3", Kind::gainKnob, 299, 31, 54, 64, "", "gain3", 3 },
    { "gainSlider4", Kind::gainKnob, 414, 28, 57, 68, "", "gain4", 4 },
    { "gainSlider5", Kind::gainKnob, 529, 29, 62, 63, "", "gain5", 5 },
    { "freqSlider1", Kind::freqKnob, 79, 107, 59, 68, "", "freq1", 6 },
    { "freqSlider2", Kind::freqKnob, 192, 110, 52, 65, "", "freq2", 7 },
    { "freqSlider3", Kind::freqKnob, 299, 109, 53, 66, "", "freq3", 8 },
    { "freqSlider4", Kind::freqKnob, 407, 107, 55, 68, "", "freq4", 9 },
    { "freqSlider5", Kind::freqKnob, 512, 107, 60, 68, "", "freq5", 10 },
    { "widthSlider1", Kind::widthKnob, 92, 185, 59, 68, "", "width1", 11 },
    { "widthSlider2", Kind::widthKnob, 195, 184, 55, 69, "", "width2", 12 },
    { "widthSlider3", Kind::widthKnob, 299, 185, 53, 67, "", "width3", 13 },
    { "widthSlider4", Kind::widthKnob, 401, 186, 58, 64, "", "width4", 14 },
    { "widthSlider5", Kind::widthKnob, 498, 185, 64, 68, "", "width5", 15 },
    { "angleSlider1", Kind::angleKnob, 104, 265, 62, 71, "", "angle1", 16 },
    { "angleSlider2", Kind::angleKnob, 202, 263, 56, 73, "", "angle2", 17 },
    { "angleSlider3", Kind::angleKnob, 301, 262, 52, 73, "", "angle3", 18 },
    { "angleSlider4", Kind::angleKnob, 393, 263, 58, 69, "", "angle4", 19 },
    { "angleSlider5", Kind::angleKnob, 483, 265, 61, 73, "", "angle5", 20 },
    { "levelSlider1", Kind::levelKnob, 127, 372, 59, 80, "", "level1", 21 },
    { "levelSlider2", Kind::levelKnob, 213, 372, 58, 77, "", "level2", 22 },
    { "levelSlider3", Kind::levelKnob, 299, 373, 57, 77, "", "level3", 23 },
    { "levelSlider4", Kind::levelKnob, 382, 372, 61, 78, "", "level4", 24 },
    { "levelSlider5", Kind::levelKnob, 466, 372, 61, 77, "", "level5", 25 },

    { "gainLabel1", Kind::valueLabel, 8, 52, 60, 20, "gainSlider1", "", 0 },
    { "gainLabel2", Kind::valueLabel, -1, 47, 60, 20, "gainSlider2", "", 0 },
    { "gainLabel3", Kind::valueLabel, -3, 46, 60, 20, "gainSlider3", "", 0 },
    { "gainLabel4", Kind::valueLabel, -7, 49, 60, 20, "gainSlider4", "", 0 },
    { "gainLabel5", Kind::valueLabel, -7, 48, 60, 20, "gainSlider5", "", 0 },
    { "freqLabel1", Kind::valueLabel, 5, 47, 60, 20, "freqSlider1", "", 0 },
    { "freqLabel2", Kind::valueLabel, -3, 44, 60, 20, "freqSlider2", "", 0 },
    { "freqLabel3", Kind::valueLabel, -3, 45, 60, 20, "freqSlider3", "", 0 },
    { "freqLabel4", Kind::valueLabel, -5, 47, 60, 20, "freqSlider4", "", 0 },
    { "freqLabel5", Kind::valueLabel, -6, 47, 60, 20, "freqSlider5", "", 0 },
    { "widthLabel1", Kind::valueLabel, 5, 46, 60, 20, "widthSlider1", "", 0 },
    { "widthLabel2", Kind::valueLabel, 0, 47, 60, 20, "widthSlider2", "", 0 },
    { "widthLabel3", Kind::valueLabel, -2, 46, 60, 20, "widthSlider3", "", 0 },
    { "widthLabel4", Kind::valueLabel, -4, 45, 60, 20, "widthSlider4", "", 0 },
    { "widthLabel5", Kind::valueLabel, -4, 45, 60, 20, "widthSlider5", "", 0 },
    { "angleLabel1", Kind::valueLabel, 8, 45, 60, 20, "angleSlider1", "", 0 },
    { "angleLabel2", Kind::valueLabel, 0, 47, 60, 20, "angleSlider2", "", 0 },
    { "angleLabel3", Kind::valueLabel, -6, 48, 60, 20, "angleSlider3", "", 0 },
    { "angleLabel4", Kind::valueLabel, -6, 47, 60, 20, "angleSlider4", "", 0 },
    { "angleLabel5", Kind::valueLabel, -6, 46, 60, 20, "angleSlider5", "", 0 },
    { "levelLabel1", Kind::valueLabel, 6, 51, 60, 20, "levelSlider1", "", 0 },
    { "levelLabel2", Kind::valueLabel, 0, 51, 60, 20, "levelSlider2", "", 0 },
    { "levelLabel3", Kind::valueLabel, -4, 50, 60, 20, "levelSlider3", "", 0 },
    { "levelLabel4", Kind::valueLabel, -5, 51, 60, 20, "levelSlider4", "", 0 },
    { "levelLabel5", Kind::valueLabel, -8, 51, 60, 20, "levelSlider5", "", 0 },

    { "typeCombo1", Kind::typeCombo, 123, 338, 57, 17, "", "type1", 0 },
    { "typeCombo2", Kind::typeCombo, 209, 338, 57, 17, "", "type2", 0 },
    { "typeCombo3", Kind::typeCombo, 296, 338, 57, 17, "", "type3", 0 },
    { "typeCombo4", Kind::typeCombo, 383, 338, 57, 17, "", "type4", 0 },
    { "typeCombo5", Kind::typeCombo, 470, 338, 57, 17, "", "type5", 0 },

    { "BP1", Kind::bypassButton, 141, 452, 21, 21, "", "bypass1", 0 },
    { "BP2", Kind::bypassButton, 223, 452, 21, 21, "", "bypass2", 0 },
    { "BP3", Kind::bypassButton, 302, 452, 21, 21, "", "bypass3", 0 },
    { "BP4", Kind::bypassButton, 381, 452, 21, 21, "", "bypass4", 0 },
    { "BP5", Kind::bypassButton, 460, 452, 21, 21, "", "bypass5", 0 },
    { "S1", Kind::soloButton, 167, 452, 21, 21, "", "solo1", 0 },
    { "S2", Kind::soloButton, 249, 452, 21, 21, "", "solo2", 0 },
    { "S3", Kind::soloButton, 328, 452, 21, 21, "", "solo3", 0 },
    { "S4", Kind::soloButton, 407, 452, 21, 21, "", "solo4", 0 },
    { "S5", Kind::soloButton, 490, 452, 21, 21, "", "solo5", 0 },
};

bool isKnob (Kind kind) { return kind <= Kind::levelKnob; }

bool hasExpectedClass (const juce::Component& c, Kind kind)
{
    switch (kind)
    {
        case Kind::gainKnob:
        case Kind::levelKnob:    return dynamic_cast<const GainSlider*> (&c) != nullptr;
        case Kind::freqKnob:     return dynamic_cast<const FreqSlider*> (&c) != nullptr;
        case Kind::widthKnob:    return dynamic_cast<const WidthSlider*> (&c) != nullptr;
        case Kind::angleKnob:    return dynamic_cast<const AngleSlider*> (&c) != nullptr;
        case Kind::valueLabel:   return dynamic_cast<const LabelWithSlider*> (&c) != nullptr;
        case Kind::typeCombo:    return dynamic_cast<const juce::ComboBox*> (&c) != nullptr;
        case Kind::bypassButton:
        case Kind::soloButton:   return dynamic_cast<const juce::TextButton*> (&c) != nullptr;
    }

    return false;
}

struct OpenEditor : public ::testing::Test
{
    TrelvaneAudioProcessor processor;
    std::unique_ptr<TrelvaneAudioProcessorEditor> editor;

    juce::Component& content() { return *editor->getChildComponent (0); }
    void open() { editor = std::make_unique<TrelvaneAudioProcessorEditor> (processor); }
};

TEST_F (OpenEditor, IsTheDesignSizeWithOneContentComponentAndTheVersionLabel)
{
    open();
    EXPECT_EQ (editor->getWidth(), 650);
    EXPECT_EQ (editor->getHeight(), 543);
    ASSERT_EQ (editor->getNumChildComponents(), 1);
    EXPECT_EQ (content().getBounds(), juce::Rectangle<int> (0, 0, 650, 543));
    EXPECT_TRUE (content().getTransform().isIdentity());

    juce::Label* version = nullptr;
    for (auto* child : content().getChildren())
        if (auto* label = dynamic_cast<juce::Label*> (child))
            version = label;

    ASSERT_NE (version, nullptr);
    EXPECT_EQ (version->getText(), "v1.0.8");
    EXPECT_EQ (version->getBounds(), juce::Rectangle<int> (3, 528, 60, 12));
    EXPECT_EQ (version->findColour (juce::Label::textColourId), juce::Colour (0xff808080));
    EXPECT_EQ (version->getFont().getHeight(), 11.0f);
    EXPECT_EQ (version->getJustificationType(), juce::Justification (juce::Justification::centred));
    EXPECT_TRUE (version->isVisible());
}

TEST_F (OpenEditor, EveryControlHasItsDesignBoundsParentClassAndIdentity)
{
    open();
    int seen = 0;

    for (const auto& row : designLayout)
    {
        SCOPED_TRACE (row.name);
        auto* c = findByName (*editor, row.name);
        ASSERT_NE (c, nullptr);
        ++seen;

        EXPECT_TRUE (hasExpectedClass (*c, row.kind));
        EXPECT_EQ (c->getBounds(), juce::Rectangle<int> (row.x, row.y, row.width, row.height));
        EXPECT_TRUE (c->isVisible());

        const auto expectedParent = row.parent[0] == 0 ? &content() : findByName (*editor, row.parent);
        EXPECT_EQ (c->getParentComponent(), expectedParent);

        const auto& props = c->getProperties();
        if (row.kind == Kind::valueLabel)
        {
            EXPECT_FALSE (props.contains ("parameter"));
        }
        else
        {
            EXPECT_TRUE (props["parameter"].isString());
            EXPECT_EQ (props["parameter"].toString(), row.parameter);
        }

        if (isKnob (row.kind))
        {
            EXPECT_TRUE (props["index"].isInt());
            EXPECT_EQ ((int) props["index"], row.index);
        }
        else
        {
            EXPECT_FALSE (props.contains ("index"));
        }
    }

    EXPECT_EQ (seen, 65);
}

TEST_F (OpenEditor, ContentChildrenAreInCreationOrderSoLaterControlsLieOnTop)
{
    open();
    juce::StringArray expected;
    for (int band = 1; band <= 5; ++band)
        for (auto name : { "gainSlider", "freqSlider", "widthSlider", "angleSlider", "typeCombo", "levelSlider", "BP", "S" })
            expected.add (name + juce::String (band));
    expected.add (""); // the version label has no name

    juce::StringArray actual;
    for (auto* child : content().getChildren())
        actual.add (child->getName());

    EXPECT_EQ (actual, expected);
}

TEST_F (OpenEditor, KnobsWorkOnTheNormalisedValueWithoutTextBoxes)
{
    open();
    for (const auto& row : designLayout)
    {
        if (! isKnob (row.kind))
            continue;

        SCOPED_TRACE (row.name);
        auto& knob = control<juce::Slider> (*editor, row.name);
        EXPECT_EQ (knob.getMinimum(), 0.0);
        EXPECT_EQ (knob.getMaximum(), 1.0);
        EXPECT_EQ (knob.getInterval(), 0.0);
        EXPECT_EQ (knob.getSliderStyle(), juce::Slider::RotaryVerticalDrag);
        EXPECT_EQ (knob.getTextBoxPosition(), juce::Slider::NoTextBox);
        EXPECT_TRUE (knob.isDoubleClickReturnEnabled());
        EXPECT_EQ (knob.getDoubleClickReturnValue(), 0.5);
        ASSERT_EQ (knob.getNumChildComponents(), 1) << "exactly its value label";

        auto* label = dynamic_cast<LabelWithSlider*> (knob.getChildComponent (0));
        ASSERT_NE (label, nullptr);
        EXPECT_EQ (label->boundSlider, &knob);
        EXPECT_EQ (label->findColour (juce::Label::textColourId), juce::Colours::white);
        EXPECT_EQ (label->findColour (juce::Label::backgroundColourId), juce::Colours::transparentBlack);
        EXPECT_EQ (label->findColour (juce::Label::outlineColourId), juce::Colours::transparentBlack);
        EXPECT_FALSE (label->isEditableOnSingleClick());
        EXPECT_TRUE (label->isEditableOnDoubleClick());
        EXPECT_FALSE (label->doesLossOfFocusDiscardChanges());
        EXPECT_EQ (label->getJustificationType(), juce::Justification (juce::Justification::centred));
    }
}

TEST_F (OpenEditor, AValueLabelBeingEditedShowsDarkTextOnAnOpaqueLightField)
{
    open();
    for (auto name : { "gainLabel2", "freqLabel5", "widthLabel1", "angleLabel3", "levelLabel4" })
    {
        SCOPED_TRACE (name);
        auto& l = control<juce::Label> (*editor, name);
        l.showEditor();
        auto* field = l.getCurrentTextEditor();
        ASSERT_NE (field, nullptr);

        const auto background = field->findColour (juce::TextEditor::backgroundColourId);
        const auto text = field->findColour (juce::TextEditor::textColourId);
        EXPECT_TRUE (background.isOpaque());
        EXPECT_GT (background.getPerceivedBrightness() - text.getPerceivedBrightness(), 0.6f);
        l.hideEditor (true);
    }
}

TEST_F (OpenEditor, TypeMenusOfferEightTypesAndButtonsToggle)
{
    open();
    const std::pair<int, const char*> items[] = { { 1, "LP" },   { 2, "HP" },   { 3, "BP" },       { 4, "BP2" },
                                                  { 5, "Notch" }, { 7, "Peak" }, { 8, "LowShelf" }, { 9, "HighShelf" } };
    for (int band = 1; band <= 5; ++band)
    {
        SCOPED_TRACE (band);
        auto& box = control<juce::ComboBox> (*editor, "typeCombo" + juce::String (band));
        ASSERT_EQ (box.getNumItems(), 8);
        for (int i = 0; i < 8; ++i)
        {
            EXPECT_EQ (box.getItemId (i), items[i].first);
            EXPECT_EQ (box.getItemText (i), items[i].second);
        }

        auto& bypass = control<juce::TextButton> (*editor, "BP" + juce::String (band));
        auto& solo = control<juce::TextButton> (*editor, "S" + juce::String (band));
        EXPECT_EQ (bypass.getButtonText(), "X");
        EXPECT_EQ (solo.getButtonText(), "S");
        EXPECT_TRUE (bypass.getClickingTogglesState());
        EXPECT_TRUE (solo.getClickingTogglesState());
    }
}

TEST_F (OpenEditor, InstallsItsLookAndFeelOnItselfAndRemovesItWhenClosing)
{
    open();
    EXPECT_NE (dynamic_cast<TrelvaneLookAndFeel*> (&editor->getLookAndFeel()), nullptr);
    EXPECT_NE (dynamic_cast<TrelvaneLookAndFeel*> (&control<juce::Slider> (*editor, "freqSlider3").getLookAndFeel()), nullptr);

    // After closing, the processor no longer talks to the editor: a change
    // message must reach nobody (a dangling listener would crash here).
    editor.reset();
    processor.setParameter (0, 0.3f);
    deliverPendingMessages();
    SUCCEED();
}

TEST_F (OpenEditor, ShowsNonDefaultParameterValues)
{
    processor.setParameter (0, 0.575f);             // gain1
    processor.setParameter (9, 0.5f);               // freq2
    processor.setParameter (18, 0.75f);             // width3
    processor.setParameter (27, 0.0f);              // angle4
    processor.setParameter (36, 1.0f);              // level5
    processor.setParameter (5, (float) (1.0 / 8));  // type1: LowShelf
    processor.setParameter (13, (float) (1.0 / 2)); // type2: HP
    processor.setParameter (22, 1.0f);              // bypass3
    processor.setParameter (31, 1.0f);              // solo4
    deliverPendingMessages();
    open();

    struct Shown
    {
        const char* knob;
        const char* label;
        double value;
        const char* text;
    };
    const Shown shown[] = {
        { "gainSlider1", "gainLabel1", 0.575f, "3.00 dB" },  { "freqSlider2", "freqLabel2", 0.5, "593 Hz" },
        { "widthSlider3", "widthLabel3", 0.75, "Q: 2.125" }, { "angleSlider4", "angleLabel4", 0.0, "-45.0 deg" },
        { "levelSlider5", "levelLabel5", 1.0, "20.00 dB" },  { "freqSlider1", "freqLabel1", 0.1f, "33 Hz" },
        { "angleSlider3", "angleLabel3", 0.5, "0.0 deg" },   { "freqSlider5", "freqLabel5", 0.9f, "10.7 kHz" },
    };
    for (const auto& s : shown)
    {
        SCOPED_TRACE (s.knob);
        EXPECT_EQ (control<juce::Slider> (*editor, s.knob).getValue(), s.value);
        EXPECT_EQ (control<juce::Label> (*editor, s.label).getText(), s.text);
    }

    EXPECT_EQ (control<juce::ComboBox> (*editor, "typeCombo1").getSelectedId(), 8);
    EXPECT_EQ (control<juce::ComboBox> (*editor, "typeCombo1").getText(), "LowShelf");
    EXPECT_EQ (control<juce::ComboBox> (*editor, "typeCombo2").getSelectedId(), 2);
    EXPECT_EQ (control<juce::ComboBox> (*editor, "typeCombo3").getSelectedId(), 7);

    EXPECT_TRUE (control<juce::Button> (*editor, "BP3").getToggleState());
    EXPECT_FALSE (control<juce::Button> (*editor, "S3").getToggleState());
    EXPECT_TRUE (control<juce::Button> (*editor, "S4").getToggleState());
    EXPECT_FALSE (control<juce::Button> (*editor, "BP4").getToggleState());
}

TEST_F (OpenEditor, SelectsTheMenuItemOfEveryStoredTypeAndNothingForTheAllPass)
{
    for (int k = 1; k <= 9; ++k)
    {
        SCOPED_TRACE (k);
        processor.setParameter (21, (float) (1.0 / k)); // type3
        open();
        auto& box = control<juce::ComboBox> (*editor, "typeCombo3");
        if (k == 6)
        {
            EXPECT_EQ (box.getSelectedId(), 0);
            EXPECT_EQ (box.getText(), "");
        }
        else
        {
            EXPECT_EQ (box.getSelectedId(), k);
        }
        editor.reset();
    }
}

// A combo-box notification arrives once per band after opening; knobs and
// buttons send none, and nothing is reported to the host.
struct NotificationCounter : public juce::Slider::Listener,
                             public juce::ComboBox::Listener,
                             public juce::Button::Listener
{
    std::map<juce::String, int> counts;
    void sliderValueChanged (juce::Slider* s) override { ++counts[s->getName()]; }
    void comboBoxChanged (juce::ComboBox* b) override { ++counts[b->getName()]; }
    void buttonClicked (juce::Button* b) override { ++counts[b->getName()]; }
    void buttonStateChanged (juce::Button*) override {}
};

TEST_F (OpenEditor, SendsExactlyOneTypeMenuNotificationPerBandAndNoneFromKnobsOrButtons)
{
    processor.setParameter (13, (float) (1.0 / 5)); // type2: Notch
    processor.setParameter (37, (float) (1.0 / 9)); // type5: HighShelf
    deliverPendingMessages();

    HostRecorder host;
    processor.addListener (&host);
    open();

    NotificationCounter counter;
    for (const auto& row : designLayout)
    {
        auto* c = findByName (*editor, row.name);
        if (auto* s = dynamic_cast<juce::Slider*> (c)) s->addListener (&counter);
        if (auto* b = dynamic_cast<juce::ComboBox*> (c)) b->addListener (&counter);
        if (auto* b = dynamic_cast<juce::Button*> (c)) b->addListener (&counter);
    }

    deliverPendingMessages (200);

    std::map<juce::String, int> expected;
    for (int band = 1; band <= 5; ++band)
        expected["typeCombo" + juce::String (band)] = 1;
    EXPECT_EQ (counter.counts, expected);

    EXPECT_TRUE (host.changes.empty());
    EXPECT_TRUE (host.gestureBegins.empty());

    // The gain knob is live only for the designs that use a gain.
    EXPECT_TRUE (control<juce::Slider> (*editor, "gainSlider1").isEnabled());
    EXPECT_FALSE (control<juce::Slider> (*editor, "gainSlider2").isEnabled());
    EXPECT_TRUE (control<juce::Slider> (*editor, "gainSlider5").isEnabled());
    EXPECT_EQ (processor.getParameterValue ("type2"), (float) (1.0 / 5));
    EXPECT_EQ (processor.getParameterValue ("type5"), (float) (1.0 / 9));

    for (const auto& row : designLayout)
    {
        auto* c = findByName (*editor, row.name);
        if (auto* s = dynamic_cast<juce::Slider*> (c)) s->removeListener (&counter);
        if (auto* b = dynamic_cast<juce::ComboBox*> (c)) b->removeListener (&counter);
        if (auto* b = dynamic_cast<juce::Button*> (c)) b->removeListener (&counter);
    }
    processor.removeListener (&host);
}
} // namespace

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
