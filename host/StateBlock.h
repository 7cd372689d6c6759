#pragma once

#include "host/ParameterStore.h"

#include <optional>
#include <utility>
#include <vector>

// The saved state: a "MYPLUGINSETTINGS" element with one attribute per
// parameter and "current_program", in the framework's binary XML block.
namespace StateBlock
{
    void write (const ParameterStore& values, int currentProgram, juce::MemoryBlock& destination);

    struct Contents
    {
        std::optional<int> currentProgram;
        // Known parameters in attribute order: (index, value).
        std::vector<std::pair<int, double>> values;
    };

    // Reads a block back. Returns nothing when the block is not exactly in
    // the saved form: wrong magic number, a length field that does not fit
    // the data, text that is not XML, another tag, a parameter value that is
    // not a finite number, or a program index outside 0 to 9. Unknown
    // attributes are skipped.
    std::optional<Contents> read (const void* data, int sizeInBytes);
}
