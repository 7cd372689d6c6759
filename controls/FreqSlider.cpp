#include "FreqSlider.h"
#include "NumberText.h"

#include <cmath>

FreqSlider::FreqSlider (const juce::String& knobName)
    : juce::Slider (knobName), minFrequency (16.0), maxFrequency (22000.0)
{
}

FreqSlider::~FreqSlider() = default;

juce::String FreqSlider::getTextFromValue (double value)
{
    const float hz = (float) (minFrequency * std::pow (maxFrequency / minFrequency, value));

    if (hz < 10000.0f)
        return juce::String ((int) ((double) hz + 0.5)) + " Hz";

    return NumberText::fixed (hz / 1000.0f, 1) + " kHz";
}

double FreqSlider::getValueFromText (const juce::String& text)
{
    // The unit is not read: the number is taken as hertz.
    const double parsed = std::log (NumberText::read (text) / minFrequency) / std::log (maxFrequency / minFrequency);
    // A typed 0 (minus infinity), a negative frequency, "nan" or "inf" name
    // no position on the knob: it stays where it is.
    return std::isfinite (parsed) ? parsed : getValue();
}
