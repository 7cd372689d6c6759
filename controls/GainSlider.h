#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Knob of a band's gain or output level: the normalised value 0 to 1 shown
// as -20 to +20 dB.
class GainSlider : public juce::Slider
{
public:
    explicit GainSlider (const juce::String& knobName);
    ~GainSlider() override;

    double getValueFromText (const juce::String& text) override;
    juce::String getTextFromValue (double value) override;

    const double dbSpan;   // decibels over the whole travel, centred on 0 dB

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (GainSlider)
};
