#pragma once

#include <juce_core/juce_core.h>

#include <optional>

// Strict readers for numbers typed or stored as text: the whole text (apart
// from surrounding spaces) must be the number, or nothing is returned.
namespace StrictNumber
{
    // A finite decimal number; "inf", "nan", overflow and trailing junk are refused.
    std::optional<double> parseFinite (const juce::String& text);

    // A whole number in plain decimal form ("3", "-1"); "1.5", "03" and "3x" are refused.
    std::optional<int> parseInteger (const juce::String& text);
}
