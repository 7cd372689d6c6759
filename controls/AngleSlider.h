#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Knob of a band's angle in the stereo field: the normalised value 0 to 1
// shown as the deviation from the middle, -45 to +45 degrees.
class AngleSlider : public juce::Slider
{
public:
    explicit AngleSlider (const juce::String& knobName);
    ~AngleSlider() override;

    double getValueFromText (const juce::String& text) override;
    juce::String getTextFromValue (double value) override;

    const double maxAngle;   // degrees shown at either end of the travel

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AngleSlider)
};
