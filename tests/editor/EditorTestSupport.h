#pragma once

// Helpers shared by the editor tests: finding controls by component name,
// letting the message loop deliver asynchronous notifications, and a host-side
// listener that records what the processor tells the host.

#include "editor/TrelvaneAudioProcessorEditor.h"
#include "engine/TrelvaneAudioProcessor.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <vector>

namespace editortest
{
inline juce::Component* findByName (juce::Component& root, const juce::String& name)
{
    for (auto* child : root.getChildren())
    {
        if (child->getName() == name)
            return child;

        if (auto* found = findByName (*child, name))
            return found;
    }

    return nullptr;
}

template <typename ControlType>
ControlType& control (juce::Component& root, const juce::String& name)
{
    auto* found = dynamic_cast<ControlType*> (findByName (root, name));

    if (found == nullptr)
        throw std::runtime_error (("no control " + name + " of the expected class").toStdString());

    return *found;
}

// Runs the message loop long enough for asynchronous slider, combo-box and
// change-broadcaster notifications (and the processor's 20 ms deferral timer).
inline void deliverPendingMessages (int milliseconds = 60)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
}

// What a host learns through the processor's listener interface.
struct HostRecorder : public juce::AudioProcessorListener
{
    struct Change
    {
        int index;
        float value;
    };

    std::vector<Change> changes;
    std::vector<int> gestureBegins, gestureEnds;

    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override
    {
        changes.push_back ({ index, value });
    }

    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override { gestureBegins.push_back (index); }
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override { gestureEnds.push_back (index); }
};

// Counts every change message the processor sends.
struct ChangeCounter : public juce::ChangeListener
{
    int count = 0;
    void changeListenerCallback (juce::ChangeBroadcaster*) override { ++count; }
};

inline const char* const rowWords[] = { "gain", "freq", "width", "angle", "level" };
} // namespace editortest
