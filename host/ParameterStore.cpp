#include "host/ParameterStore.h"

ParameterStore::ParameterStore()
{
    for (int i = 0; i < size(); ++i)
    {
        entries[(size_t) i].value.store (ParameterTable::defaultValue (i), std::memory_order_relaxed);
        entries[(size_t) i].untouchedInteger.store (ParameterTable::defaultIsInteger (i), std::memory_order_relaxed);
    }
}

int ParameterStore::indexOf (const juce::String& id)
{
    for (int i = 0; i < size(); ++i)
        if (getName (i).toString() == id)
            return i;
    return -1;
}

double ParameterStore::getValue (int index) const
{
    return entries[(size_t) index].value.load (std::memory_order_acquire);
}

bool ParameterStore::holdsUntouchedInteger (int index) const
{
    return entries[(size_t) index].untouchedInteger.load (std::memory_order_acquire);
}

juce::String ParameterStore::getText (int index) const
{
    if (holdsUntouchedInteger (index))
        return juce::var ((int) getValue (index)).toString();
    return juce::var (getValue (index)).toString();
}

void ParameterStore::setValue (int index, double value)
{
    auto& entry = entries[(size_t) index];
    entry.value.store (value, std::memory_order_release);
    entry.untouchedInteger.store (false, std::memory_order_release);
}

void ParameterStore::copyFrom (const ParameterStore& other)
{
    for (int i = 0; i < size(); ++i)
    {
        auto& entry = entries[(size_t) i];
        entry.value.store (other.getValue (i), std::memory_order_release);
        entry.untouchedInteger.store (other.holdsUntouchedInteger (i), std::memory_order_release);
    }
}
