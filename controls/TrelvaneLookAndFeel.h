#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The editor's look: knobs drawn as frames of their film strips, bare combo
// boxes with centred text, flat rounded bypass / solo buttons coloured by
// their state, compact popup menus, and slider text boxes made of MyLabel.
// Everything else, colours included, is LookAndFeel_V3's.
class TrelvaneLookAndFeel : public juce::LookAndFeel_V3
{
public:
    TrelvaneLookAndFeel();
    ~TrelvaneLookAndFeel() override;

    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

    juce::Font getPopupMenuFont() override;
    void getIdealPopupMenuItemSize (const juce::String& text, bool isSeparator, int standardMenuItemHeight,
                                    int& idealWidth, int& idealHeight) override;
    juce::Component* getParentComponentForMenuOptions (const juce::PopupMenu::Options&) override;

    void drawComboBox (juce::Graphics&, int width, int height, bool isButtonDown,
                       int buttonX, int buttonY, int buttonW, int buttonH, juce::ComboBox&) override;
    void positionComboBoxText (juce::ComboBox&, juce::Label&) override;

    void drawRotarySlider (juce::Graphics&, int x, int y, int width, int height, float sliderPosProportional,
                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider&) override;
    juce::Label* createSliderTextBox (juce::Slider&) override;

    // Frame of a strip shown at a proportional knob position 0 to 1.
    static int frameForPosition (float sliderPosProportional) noexcept;

protected:
    // The film strip of the knob with this index, from the image cache.
    virtual juce::Image findKnobStrip (int knobIndex);

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TrelvaneLookAndFeel)
};
