#include "host/ProgramSlot.h"

juce::String ProgramSlot::getDisplayName (int slotIndex) const
{
    return name.isEmpty() ? "Program " + juce::String (slotIndex + 1) : name;
}
