#include "AngleSlider.h"
#include "NumberText.h"

#include <cmath>

AngleSlider::AngleSlider (const juce::String& knobName)
    : juce::Slider (knobName), maxAngle (45.0)
{
}

AngleSlider::~AngleSlider() = default;

juce::String AngleSlider::getTextFromValue (double value)
{
    return NumberText::fixed ((value - 0.5) * 2.0 * maxAngle, 1) + " deg";
}

double AngleSlider::getValueFromText (const juce::String& text)
{
    const double parsed = NumberText::read (text) / (2.0 * maxAngle) + 0.5;
    return std::isfinite (parsed) ? parsed : getValue();
}
