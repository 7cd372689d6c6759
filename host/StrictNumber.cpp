#include "host/StrictNumber.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace StrictNumber
{
std::optional<double> parseFinite (const juce::String& text)
{
    const auto utf8 = text.trim().toStdString();
    if (utf8.empty())
        return std::nullopt;

    char* end = nullptr;
    errno = 0;
    const double value = std::strtod (utf8.c_str(), &end);
    if (end != utf8.c_str() + utf8.size() || errno == ERANGE || ! std::isfinite (value))
        return std::nullopt;
    return value;
}

std::optional<int> parseInteger (const juce::String& text)
{
    const auto trimmed = text.trim();
    const auto digits = trimmed.startsWithChar ('-') ? trimmed.substring (1) : trimmed;
    if (digits.isEmpty() || digits.length() > 9 || ! digits.containsOnly ("0123456789"))
        return std::nullopt;

    const int value = trimmed.getIntValue();
    if (juce::String (value) != trimmed)
        return std::nullopt;
    return value;
}
} // namespace StrictNumber
