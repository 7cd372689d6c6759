#include "WidthSlider.h"
#include "NumberText.h"

#include <cmath>

WidthSlider::WidthSlider (const juce::String& knobName)
    : juce::Slider (knobName)
{
}

WidthSlider::~WidthSlider() = default;

juce::String WidthSlider::getTextFromValue (double value)
{
    // The law's constants are single-precision numbers; the arithmetic is double.
    const double slope = (double) 0.8f, offset = (double) 0.1f, curve = (double) 6.4f;
    const double q = value < 0.5 ? value * slope + offset
                                 : curve * value * value * value * value + offset;
    return "Q: " + NumberText::fixed (q, 3);
}

double WidthSlider::getValueFromText (const juce::String& text)
{
    // A label shows "Q: 0.707": the number follows the first space.
    const int space = text.indexOfChar (' ');
    const double q = NumberText::read (space >= 0 ? text.substring (space + 1) : text);

    if (! (q > 0.0) || ! std::isfinite (q))
        return getValue();

    const double value = q < 0.5 ? (q - 0.1) / 0.8
                                 : std::pow ((q - 0.1) * 0.0625 / 0.4, 0.25);
    return std::isfinite (value) ? value : getValue();
}
