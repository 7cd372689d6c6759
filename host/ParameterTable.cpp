#include "host/ParameterTable.h"

#include <array>

namespace ParameterTable
{
namespace
{
const std::array<juce::Identifier, numParameters>& ids()
{
    static const std::array<juce::Identifier, numParameters> table = []
    {
        const char* fieldNames[fieldsPerBand] = { "gain", "freq", "width", "angle", "level", "type", "bypass", "solo" };
        std::array<juce::Identifier, numParameters> result;
        for (int band = 0; band < numBands; ++band)
            for (int field = 0; field < fieldsPerBand; ++field)
                result[(size_t) indexOf (band, (Field) field)] = juce::String (fieldNames[field]) + juce::String (band + 1);
        return result;
    }();
    return table;
}
} // namespace

const juce::Identifier& id (int index)
{
    jassert (isValidIndex (index));
    return ids()[(size_t) index];
}

double defaultValue (int index)
{
    // Frequencies spread the bands over the spectrum; angles spread their axes
    // over the stereo field (the angle defaults are the 32-bit roundings).
    static const double bandFrequencies[numBands] = { 0.1, 0.3, 0.5, 0.7, 0.9 };
    static const double bandAngles[numBands] = { (double) 0.1f, (double) 0.3f, 0.5, (double) 0.7f, (double) 0.9f };

    const int band = bandOf (index);
    switch (fieldOf (index))
    {
        case freq:   return bandFrequencies[band];
        case angle:  return bandAngles[band];
        case type:   return 1.0 / 7.0;
        case bypass:
        case solo:   return 0.0;
        case gain:
        case width:
        case level:  return 0.5;
    }
    return 0.5;
}

bool defaultIsInteger (int index)
{
    const Field field = fieldOf (index);
    return field == bypass || field == solo;
}
} // namespace ParameterTable
