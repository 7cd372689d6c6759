#include "TrelvaneLookAndFeel.h"
#include "KnobImages.h"
#include "MyLabel.h"

#include <cmath>

TrelvaneLookAndFeel::TrelvaneLookAndFeel() = default;
TrelvaneLookAndFeel::~TrelvaneLookAndFeel() = default;

void TrelvaneLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour&,
                                                bool, bool)
{
    // Only the state counts: hovering or pressing does not change the colour.
    g.setColour (button.getToggleState() ? juce::Colours::orange : juce::Colours::lightgrey);
    g.fillRoundedRectangle (0.0f, 0.0f, (float) button.getWidth(), (float) button.getHeight(), 3.0f);
}

juce::Font TrelvaneLookAndFeel::getPopupMenuFont()
{
    return juce::Font (12.0f, juce::Font::plain);
}

void TrelvaneLookAndFeel::getIdealPopupMenuItemSize (const juce::String& text, bool isSeparator,
                                                     int standardMenuItemHeight, int& idealWidth, int& idealHeight)
{
    if (isSeparator)
    {
        idealWidth = 50;
        idealHeight = standardMenuItemHeight > 0 ? standardMenuItemHeight / 2 : 10;
        return;
    }

    idealHeight = 16;
    idealWidth = (int) std::ceil (getPopupMenuFont().getStringWidthFloat (text)) + 2 * 16;
}

juce::Component* TrelvaneLookAndFeel::getParentComponentForMenuOptions (const juce::PopupMenu::Options& options)
{
    return options.getParentComponent();
}

void TrelvaneLookAndFeel::drawComboBox (juce::Graphics&, int, int, bool, int, int, int, int, juce::ComboBox&)
{
    // No box, outline or arrow: the background's well shows through.
}

void TrelvaneLookAndFeel::positionComboBoxText (juce::ComboBox& box, juce::Label& label)
{
    label.setBounds (1, 1, box.getWidth() - 2, box.getHeight() - 2);
    label.setJustificationType (juce::Justification::centred);
    label.setFont (juce::Font (12.0f, juce::Font::plain));
    label.setColour (juce::Label::textColourId, findColour (juce::ComboBox::textColourId));
}

int TrelvaneLookAndFeel::frameForPosition (float sliderPosProportional) noexcept
{
    if (sliderPosProportional == 1.0f)
        return stripFrameCount - 1;
    const int frame = (int) (sliderPosProportional * (float) stripFrameCount);
    return juce::jlimit (0, stripFrameCount - 1, frame);
}

juce::Image TrelvaneLookAndFeel::findKnobStrip (int knobIndex)
{
    return KnobImages::getStrip (knobIndex);
}

void TrelvaneLookAndFeel::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height,
                                            float sliderPosProportional, float, float, juce::Slider& slider)
{
    const int index = slider.getProperties()["index"];   // a missing property reads as 0
    if (index < 1 || index > 25)
        return;

    const auto strip = findKnobStrip (index);
    if (! strip.isValid())
        return;

    const int frameHeight = KnobImages::frameHeight (strip);
    const int frame = frameForPosition (sliderPosProportional);

    // The frame stretched to the knob's rectangle, each axis on its own.
    g.drawImage (strip, x, y, width, height, 0, frame * frameHeight, strip.getWidth(), frameHeight);
}

juce::Label* TrelvaneLookAndFeel::createSliderTextBox (juce::Slider& slider)
{
    auto* label = new MyLabel ("n", {});
    label->setJustificationType (juce::Justification::centred);

    label->setColour (juce::Label::textColourId, slider.findColour (juce::Slider::textBoxTextColourId));
    label->setColour (juce::Label::backgroundColourId,
                      slider.getSliderStyle() == juce::Slider::LinearBar
                          ? juce::Colours::transparentBlack
                          : slider.findColour (juce::Slider::textBoxBackgroundColourId));
    label->setColour (juce::Label::outlineColourId, slider.findColour (juce::Slider::textBoxOutlineColourId));
    label->setColour (juce::TextEditor::textColourId, juce::Colours::black);
    label->setColour (juce::TextEditor::backgroundColourId, juce::Colours::beige);
    label->setColour (juce::TextEditor::outlineColourId, slider.findColour (juce::Slider::textBoxOutlineColourId));

    label->setFont (juce::Font (13.0f, juce::Font::plain));
    label->setEditable (false, true, false);
    return label;
}
