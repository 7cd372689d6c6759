#pragma once

#include <juce_graphics/juce_graphics.h>

// Frames in every knob film strip; frame 0 (top) is the lowest value,
// frame 68 (bottom) the highest.
constexpr int stripFrameCount = 69;

// The embedded pictures of the editor: the background and one film strip per
// knob, selected by the knob's index 1 to 25 (5 x row + band, rows gain,
// frequency, Q, angle, output level). Decoded images always come from the
// framework's image cache, so measuring and painting share one decode.
class KnobImages
{
public:
    struct Block
    {
        const void* data = nullptr;
        int size = 0;   // exact length of the PNG in bytes

        bool isEmpty() const noexcept { return data == nullptr; }
    };

    // The embedded PNG of a knob's strip; empty for an index outside 1 to 25.
    static Block stripBlock (int knobIndex) noexcept;

    // The embedded PNG of the panel background.
    static Block backgroundBlock() noexcept;

    // The decoded strip; null for an index outside 1 to 25 or a block that
    // does not decode.
    static juce::Image getStrip (int knobIndex);

    // The decoded background; null if it does not decode.
    static juce::Image getBackground();

    // Height of one frame of a strip (integer division by the frame count).
    static int frameHeight (const juce::Image& strip) noexcept { return strip.getHeight() / stripFrameCount; }

private:
    static juce::Image fromCache (const Block& block);
};
