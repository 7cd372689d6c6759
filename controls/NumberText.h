#pragma once

#include <juce_core/juce_core.h>

// The number formats shared by the knobs' value texts: a physical value is
// shown as a 32-bit float in fixed-point notation, read back with the
// framework's lenient number reader.
class NumberText
{
public:
    // value rounded to a 32-bit float, written with exactly `decimals` digits
    // after the point; always '.' as the decimal point, a leading '-' for
    // negative numbers (also when they round to zero), no plus sign.
    static juce::String fixed (double value, int decimals);

    // The number at the start of text (after white space); 0 when none.
    // Anything after the number is ignored.
    static double read (const juce::String& text);
};
