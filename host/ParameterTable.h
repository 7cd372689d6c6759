#pragma once

#include <juce_core/juce_core.h>

// The forty parameters: eight per band, band by band. A parameter's index is
// its position here; hosts store automation by it, so the order never changes.
namespace ParameterTable
{
    constexpr int numBands = 5;
    constexpr int fieldsPerBand = 8;
    constexpr int numParameters = numBands * fieldsPerBand;

    enum Field { gain = 0, freq, width, angle, level, type, bypass, solo };

    constexpr int indexOf (int band, Field field) { return band * fieldsPerBand + (int) field; }
    constexpr int bandOf (int index) { return index / fieldsPerBand; }
    constexpr Field fieldOf (int index) { return (Field) (index % fieldsPerBand); }
    constexpr bool isValidIndex (int index) { return (unsigned) index < (unsigned) numParameters; }
    constexpr bool isShapingField (Field field) { return field <= type; }

    // "gain1" ... "solo5".
    const juce::Identifier& id (int index);

    double defaultValue (int index);
    // Bypass and solo entries start as the integer 0 rather than a float.
    bool defaultIsInteger (int index);
}
