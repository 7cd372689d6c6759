#include "LabelWithSlider.h"

LabelWithSlider::LabelWithSlider (const juce::String& labelName, const juce::String& labelText)
    : MyLabel (labelName, labelText), boundSlider (nullptr)
{
}

LabelWithSlider::~LabelWithSlider() = default;
