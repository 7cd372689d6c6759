#include "GainSlider.h"
#include "NumberText.h"

#include <cmath>

GainSlider::GainSlider (const juce::String& knobName)
    : juce::Slider (knobName), dbSpan (40.0)
{
}

GainSlider::~GainSlider() = default;

juce::String GainSlider::getTextFromValue (double value)
{
    return NumberText::fixed ((value - 0.5) * dbSpan, 2) + " dB";
}

double GainSlider::getValueFromText (const juce::String& text)
{
    const double parsed = NumberText::read (text) / dbSpan + 0.5;
    // "inf", "nan" and overflowing exponents are no position: stay put.
    return std::isfinite (parsed) ? parsed : getValue();
}
