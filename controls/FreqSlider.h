#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Knob of a band's frequency: the normalised value 0 to 1 on a logarithmic
// scale from 16 Hz to 22 kHz, shown in Hz below 10 kHz and in kHz above.
class FreqSlider : public juce::Slider
{
public:
    explicit FreqSlider (const juce::String& knobName);
    ~FreqSlider() override;

    double getValueFromText (const juce::String& text) override;
    juce::String getTextFromValue (double value) override;

    const double minFrequency;   // Hz at value 0
    const double maxFrequency;   // Hz at value 1

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FreqSlider)
};
