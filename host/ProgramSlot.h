#pragma once

#include "host/ParameterStore.h"

// One of the ten program memories: a name and a full set of forty values.
// Whatever is set while the slot is current is recorded in it.
class ProgramSlot
{
public:
    // The slot's own name, or "Program N" (N counted from 1) while it has
    // none, so that hosts can always list it.
    juce::String getDisplayName (int slotIndex) const;

    // Only the message thread names programs.
    juce::String name;
    ParameterStore values;
};
