#include "editor/TrelvaneAudioProcessorEditor.h"

#include "controls/KnobImages.h"
#include "engine/TrelvaneAudioProcessor.h"

#include <cmath>

namespace
{
constexpr int numBands = TrelvaneAudioProcessorEditor::numBands;

// Design coordinates of each knob's top-left corner, by row (gain, frequency,
// Q, angle, output level) and band. A knob's size is always its strip's frame.
constexpr juce::Point<int> knobPositions[5][numBands] = {
    { { 61, 25 },  { 184, 29 },  { 299, 31 },  { 414, 28 },  { 529, 29 } },
    { { 79, 107 }, { 192, 110 }, { 299, 109 }, { 407, 107 }, { 512, 107 } },
    { { 92, 185 }, { 195, 184 }, { 299, 185 }, { 401, 186 }, { 498, 185 } },
    { { 104, 265 }, { 202, 263 }, { 301, 262 }, { 393, 263 }, { 483, 265 } },
    { { 127, 372 }, { 213, 372 }, { 299, 373 }, { 382, 372 }, { 466, 372 } },
};

// Position of each value label inside its knob, same rows and bands.
constexpr juce::Point<int> valueLabelOffsets[5][numBands] = {
    { { 8, 52 }, { -1, 47 }, { -3, 46 }, { -7, 49 }, { -7, 48 } },
    { { 5, 47 }, { -3, 44 }, { -3, 45 }, { -5, 47 }, { -6, 47 } },
    { { 5, 46 }, { 0, 47 },  { -2, 46 }, { -4, 45 }, { -4, 45 } },
    { { 8, 45 }, { 0, 47 },  { -6, 48 }, { -6, 47 }, { -6, 46 } },
    { { 6, 51 }, { 0, 51 },  { -4, 50 }, { -5, 51 }, { -8, 51 } },
};

constexpr int typeComboX[numBands] = { 123, 209, 296, 383, 470 };
constexpr int typeComboY = 338;

// Bypass button x relative to the middle of the band's output knob, in button
// widths; the row leans towards the centre of the panel.
constexpr double bypassOffsetInButtons[numBands] = { -0.7, -0.9, -1.2, -1.5, -1.7 };
constexpr double lastSoloOffsetInButtons = -0.3;

const char* const rowWords[] = { "gain", "freq", "width", "angle", "level" };

// The type menu's item id for a stored type value: the reciprocal, truncated;
// the small offset keeps a value such as 1/7 rounded to float from truncating
// to the id below. Values whose reciprocal is out of any sensible range give 0.
int typeIdFromValue (double value)
{
    const double reciprocal = 1.0 / (value - 0.001);
    return std::abs (reciprocal) < 1.0e6 ? (int) reciprocal : 0;
}

juce::String parameterIdOf (const juce::Component& control)
{
    return control.getProperties()["parameter"].toString();
}
} // namespace

//==============================================================================
TrelvaneAudioProcessorEditor::TrelvaneAudioProcessorEditor (TrelvaneAudioProcessor& p)
    : juce::AudioProcessorEditor (p), eqProcessor (&p)
{
    valueLabelWidth = 60;
    valueLabelHeight = 20;
    comboWidth = 57;
    comboHeight = 17;
    buttonWidth = 21;
    buttonHeight = 21;
    eqProcessor->addChangeListener (this);

    contentComponent = std::make_unique<juce::Component>();
    contentComponent->setBounds (0, 0, designWidth, designHeight);
    addAndMakeVisible (*contentComponent);

    setSize (designWidth, designHeight);
    guiChangePending = false;

    for (int i = 0; i < numBands; ++i)
    {
        const auto band = juce::String (i + 1);

        gainSliders[i] = std::make_unique<GainSlider> ("gainSlider" + band);
        addKnob (*gainSliders[i], gainRow, i);
        addValueLabel (gainLabels[i], *gainSliders[i], "gainLabel" + band, gainRow, i);

        freqSliders[i] = std::make_unique<FreqSlider> ("freqSlider" + band);
        addKnob (*freqSliders[i], freqRow, i);
        addValueLabel (freqLabels[i], *freqSliders[i], "freqLabel" + band, freqRow, i);

        widthSliders[i] = std::make_unique<WidthSlider> ("widthSlider" + band);
        addKnob (*widthSliders[i], widthRow, i);
        addValueLabel (widthLabels[i], *widthSliders[i], "widthLabel" + band, widthRow, i);

        angleSliders[i] = std::make_unique<AngleSlider> ("angleSlider" + band);
        addKnob (*angleSliders[i], angleRow, i);
        addValueLabel (angleLabels[i], *angleSliders[i], "angleLabel" + band, angleRow, i);

        addTypeCombo (i);

        levelSliders[i] = std::make_unique<GainSlider> ("levelSlider" + band);
        addKnob (*levelSliders[i], levelRow, i);
        addValueLabel (levelLabels[i], *levelSliders[i], "levelLabel" + band, levelRow, i);

        addButtons (i);
    }

    versionLabel.setColour (juce::Label::textColourId, juce::Colours::grey);
    versionLabel.setFont (juce::Font (11.0f, juce::Font::plain));
    versionLabel.setJustificationType (juce::Justification::centred);
    versionLabel.setBounds (3, getHeight() - 15, 60, 12);
    contentComponent->addAndMakeVisible (versionLabel);
    versionLabel.setText (juce::String ("v") + JucePlugin_VersionString, juce::dontSendNotification);

    setLookAndFeel (&editorLookAndFeel);
}

TrelvaneAudioProcessorEditor::~TrelvaneAudioProcessorEditor()
{
    setLookAndFeel (nullptr);
    eqProcessor->removeChangeListener (this);
}

//==============================================================================
void TrelvaneAudioProcessorEditor::addKnob (juce::Slider& knob, Row row, int band)
{
    const int index = 5 * row + band + 1;

    const auto strip = KnobImages::getStrip (index);
    knobWidth = strip.getWidth();
    knobHeight = KnobImages::frameHeight (strip);

    contentComponent->addAndMakeVisible (knob);
    knob.addListener (this);
    knob.setRange (0.0, 1.0, 0.0);
    knob.setSliderStyle (juce::Slider::RotaryVerticalDrag);
    knob.setDoubleClickReturnValue (true, 0.5);
    const auto position = knobPositions[row][band];
    knob.setBounds (position.x, position.y, knobWidth, knobHeight);
    knob.setTextBoxStyle (juce::Slider::NoTextBox, false, valueLabelWidth, valueLabelHeight);

    const auto parameterId = rowWords[row] + juce::String (band + 1);
    knob.getProperties().set ("parameter", parameterId);
    knob.getProperties().set ("index", index);

    knob.setValue (eqProcessor->getParameterValue (parameterId), juce::dontSendNotification);
    knob.addMouseListener (this, false);
}

void TrelvaneAudioProcessorEditor::addValueLabel (std::unique_ptr<LabelWithSlider>& label, juce::Slider& knob,
                                                  const juce::String& labelName, Row row, int band)
{
    label = std::make_unique<LabelWithSlider> (labelName, juce::String());
    label->addListener (this);
    label->setColour (juce::Label::backgroundColourId, juce::Colours::transparentBlack);
    label->setColour (juce::Label::textColourId, juce::Colours::white);
    label->setColour (juce::Label::outlineColourId, juce::Colours::transparentBlack);
    // While typing, the text sits in an opaque field like the look-and-feel's
    // slider text boxes: dark text over the knob's dark value well would be
    // unreadable.
    label->setColour (juce::Label::backgroundWhenEditingColourId, juce::Colours::beige);
    label->setColour (juce::Label::textWhenEditingColourId, juce::Colours::black);
    label->setEditable (false, true, false);
    label->setJustificationType (juce::Justification::centred);
    const auto offset = valueLabelOffsets[row][band];
    label->setBounds (offset.x, offset.y, valueLabelWidth, valueLabelHeight);
    label->boundSlider = &knob;
    label->setText (knob.getTextFromValue (knob.getValue()), juce::dontSendNotification);
    knob.addAndMakeVisible (*label);
    label->addMouseListener (this, false);
}

void TrelvaneAudioProcessorEditor::addTypeCombo (int band)
{
    auto& box = typeCombos[band];
    box = std::make_unique<juce::ComboBox> ("typeCombo" + juce::String (band + 1));
    contentComponent->addAndMakeVisible (*box);
    box->addListener (this);
    box->setBounds (typeComboX[band], typeComboY, comboWidth, comboHeight);

    box->addItem ("LP", 1);
    box->addItem ("HP", 2);
    box->addItem ("BP", 3);
    box->addItem ("BP2", 4);
    box->addItem ("Notch", 5);
    box->addItem ("Peak", 7);
    box->addItem ("LowShelf", 8);
    box->addItem ("HighShelf", 9);

    const auto parameterId = "type" + juce::String (band + 1);
    box->getProperties().set ("parameter", parameterId);

    const double value = eqProcessor->getParameterValue (parameterId);
    box->setSelectedId (typeIdFromValue (value), juce::sendNotificationAsync);
}

void TrelvaneAudioProcessorEditor::addButtons (int band)
{
    const auto bandText = juce::String (band + 1);
    const auto& outputKnob = *levelSliders[band];
    const double outputKnobMiddle = outputKnob.getX() + 0.5 * outputKnob.getWidth();
    const int buttonY = levelSliders[0]->getBottom();

    auto setUp = [this] (juce::TextButton& button, const juce::String& text, const juce::String& parameterId)
    {
        button.setButtonText (text);
        contentComponent->addAndMakeVisible (button);
        button.addListener (this);
        button.getProperties().set ("parameter", parameterId);
        button.setToggleState (eqProcessor->getParameterValue (parameterId) != 0.0f, juce::dontSendNotification);
        button.setClickingTogglesState (true);
    };

    auto& bypass = bypassButtons[band];
    bypass = std::make_unique<juce::TextButton> ("BP" + bandText);
    setUp (*bypass, "X", "bypass" + bandText);
    bypass->setBounds ((int) (outputKnobMiddle + bypassOffsetInButtons[band] * buttonWidth), buttonY,
                       buttonWidth, buttonHeight);

    auto& solo = soloButtons[band];
    solo = std::make_unique<juce::TextButton> ("S" + bandText);
    setUp (*solo, "S", "solo" + bandText);
    const int soloX = band < numBands - 1 ? bypass->getX() + bypass->getWidth() + 5
                                          : (int) (outputKnobMiddle + lastSoloOffsetInButtons * buttonWidth);
    solo->setBounds (soloX, buttonY, buttonWidth, buttonHeight);
}

//==============================================================================
void TrelvaneAudioProcessorEditor::mouseDown (const juce::MouseEvent&) {}
void TrelvaneAudioProcessorEditor::mouseDrag (const juce::MouseEvent&) {}
void TrelvaneAudioProcessorEditor::mouseUp (const juce::MouseEvent&) {}

void TrelvaneAudioProcessorEditor::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);

    const auto background = KnobImages::getBackground();
    g.addTransform (contentComponent->getTransform());
    g.drawImageAt (background, 0, 0);
}

void TrelvaneAudioProcessorEditor::resized()
{
    const int w = getWidth();
    const int h = getHeight();

    const float designScale = (w >= designWidth && h >= designHeight)
                                  ? 1.0f
                                  : (float) juce::jmin (w / (double) designWidth, h / (double) designHeight);
    const float tx = ((float) w - (float) designWidth * designScale) * 0.5f;
    const float ty = ((float) h - (float) designHeight * designScale) * 0.5f;

    const auto transform = juce::AffineTransform::scale (designScale).translated (tx, ty);

    if (! transform.isSingularity())
    {
        contentComponent->setTransform (transform);
        repaint();
    }
}

//==============================================================================
int TrelvaneAudioProcessorEditor::parameterIndexOf (const juce::Component& control) const
{
    return eqProcessor->findParameterIndex (parameterIdOf (control));
}

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

void TrelvaneAudioProcessorEditor::sliderValueChanged (juce::Slider* knob)
{
    guiChangePending = true;

    const int index = parameterIndexOf (*knob);
    eqProcessor->setParameterNotifyingHost (index, (float) knob->getValue());

    if (knob->getNumChildComponents() > 0)
        if (auto* valueLabel = dynamic_cast<juce::Label*> (knob->getChildComponent (0)))
            valueLabel->setText (knob->getTextFromValue (knob->getValue()), juce::dontSendNotification);
}

void TrelvaneAudioProcessorEditor::sliderDragStarted (juce::Slider* knob)
{
    const int index = parameterIndexOf (*knob);

    if (index >= 0)
        eqProcessor->beginParameterChangeGesture (index);
}

void TrelvaneAudioProcessorEditor::sliderDragEnded (juce::Slider* knob)
{
    const int index = parameterIndexOf (*knob);

    if (index >= 0)
        eqProcessor->endParameterChangeGesture (index);
}

void TrelvaneAudioProcessorEditor::comboBoxChanged (juce::ComboBox* box)
{
    const int itemId = box->getSelectedId();

    // No item selected (a stored type that the menu does not offer): the menu
    // has nothing to say, so the stored type stays as it is.
    if (itemId <= 0)
        return;

    guiChangePending = true;

    const auto parameterId = parameterIdOf (*box);
    const int index = eqProcessor->findParameterIndex (parameterId);

    if (index >= 0)
        eqProcessor->setParameter (index, (float) (1.0 / itemId));

    const int band = parameterId.removeCharacters ("type").getIntValue();

    if (band >= 1 && band <= numBands)
    {
        const bool typeUsesGain = itemId == 7 || itemId == 8 || itemId == 9;
        gainSliders[band - 1]->setEnabled (typeUsesGain);
    }
}

void TrelvaneAudioProcessorEditor::buttonClicked (juce::Button* button)
{
    guiChangePending = true;

    const int index = parameterIndexOf (*button);
    eqProcessor->setParameterNotifyingHost (index, button->getToggleState() ? 1.0f : 0.0f);
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE

void TrelvaneAudioProcessorEditor::labelTextChanged (juce::Label* label)
{
    auto* valueLabel = dynamic_cast<LabelWithSlider*> (label);

    if (valueLabel == nullptr || valueLabel->boundSlider == nullptr)
        return;

    auto* knob = valueLabel->boundSlider;
    const double typedValue = knob->getValueFromText (label->getText());

    if (! std::isnan (typedValue))
        knob->setValue (typedValue, juce::sendNotification);

    label->setText (knob->getTextFromValue (knob->getValue()), juce::dontSendNotification);
}

void TrelvaneAudioProcessorEditor::refreshKnob (juce::Slider& knob, juce::Label& label, const juce::String& parameterId)
{
    knob.setValue ((double) eqProcessor->getParameterValue (parameterId), juce::dontSendNotification);
    label.setText (knob.getTextFromValue (knob.getValue()), juce::dontSendNotification);
}

void TrelvaneAudioProcessorEditor::changeListenerCallback (juce::ChangeBroadcaster*)
{
    if (! guiChangePending)
    {
        for (int i = 0; i < numBands; ++i)
        {
            const auto band = juce::String (i + 1);

            refreshKnob (*gainSliders[i], *gainLabels[i], "gain" + band);
            refreshKnob (*freqSliders[i], *freqLabels[i], "freq" + band);
            refreshKnob (*widthSliders[i], *widthLabels[i], "width" + band);
            refreshKnob (*angleSliders[i], *angleLabels[i], "angle" + band);

            const double typeValue = eqProcessor->getParameterValue ("type" + band);
            typeCombos[i]->setSelectedId (typeIdFromValue (typeValue), juce::sendNotificationAsync);

            refreshKnob (*levelSliders[i], *levelLabels[i], "level" + band);

            bypassButtons[i]->setToggleState (eqProcessor->getParameterValue ("bypass" + band) != 0.0f,
                                              juce::dontSendNotification);
            soloButtons[i]->setToggleState (eqProcessor->getParameterValue ("solo" + band) != 0.0f,
                                            juce::dontSendNotification);
        }
    }

    guiChangePending = false;
}
