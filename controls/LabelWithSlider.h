#pragma once

#include "MyLabel.h"

// A knob's value label: knows the knob whose value it shows, so that typed
// text can be turned into a value with that knob's own conversion.
class LabelWithSlider : public MyLabel
{
public:
    LabelWithSlider (const juce::String& labelName, const juce::String& labelText);
    ~LabelWithSlider() override;

    // The knob this label belongs to; not owned. Null until the editor binds it.
    juce::Slider* boundSlider;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LabelWithSlider)
};
