#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Knob of a band's Q: linear from Q 0.1 to 0.5 over the lower half of the
// travel, then rising with the fourth power of the value up to Q 6.5.
class WidthSlider : public juce::Slider
{
public:
    explicit WidthSlider (const juce::String& knobName);
    ~WidthSlider() override;

    double getValueFromText (const juce::String& text) override;
    juce::String getTextFromValue (double value) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WidthSlider)
};
