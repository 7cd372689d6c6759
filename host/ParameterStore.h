#pragma once

#include "host/ParameterTable.h"

#include <array>
#include <atomic>

// The forty current values (or one program's forty values), in parameter
// order. Every entry is atomic, so the audio thread, the editor and the
// host's state saving can read and write it at the same time without a lock.
// An entry remembers whether it still holds the untouched integer 0 of a
// bypass or solo switch, which hosts see as the text "0".
class ParameterStore
{
public:
    ParameterStore();

    static constexpr int size() { return ParameterTable::numParameters; }
    static const juce::Identifier& getName (int index) { return ParameterTable::id (index); }

    // Position of the first entry named exactly `id`, or -1.
    static int indexOf (const juce::String& id);

    double getValue (int index) const;
    bool holdsUntouchedInteger (int index) const;
    // "0" for an untouched integer, otherwise the value in the framework's
    // decimal form for doubles ("0.5", "1.0").
    juce::String getText (int index) const;

    void setValue (int index, double value);
    // Copies every value, including whether it is still the untouched integer.
    void copyFrom (const ParameterStore& other);

    ParameterStore (const ParameterStore&) = delete;
    ParameterStore& operator= (const ParameterStore&) = delete;

private:
    struct Entry
    {
        std::atomic<double> value { 0.0 };
        std::atomic<bool> untouchedInteger { false };
    };

    std::array<Entry, ParameterTable::numParameters> entries;
};
