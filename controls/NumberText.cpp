#include "NumberText.h"

#include <charconv>

juce::String NumberText::fixed (double value, int decimals)
{
    char buffer[64];
    const auto single = (double) (float) value;
    const auto result = std::to_chars (buffer, buffer + sizeof (buffer), single, std::chars_format::fixed, decimals);
    return juce::String (buffer, (size_t) (result.ptr - buffer));
}

double NumberText::read (const juce::String& text)
{
    return text.getDoubleValue();
}
