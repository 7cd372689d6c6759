#pragma once

#include "PanelGeometry.h"
#include <juce_graphics/juce_graphics.h>

namespace imagegen
{
// Renders one knob's film strip: 69 frames stacked from top (lowest value) to
// bottom (highest value), each a knurled metal knob with a coloured cap and a
// white pointer, over a soft shadow falling to the lower left.
class KnobRenderer
{
public:
    static juce::Colour capColour (Row row);

    // The whole strip, frameWidth x (69 * frameHeight).
    static juce::Image renderStrip (const KnobPlacement& knob);

    // One frame, frameWidth x frameHeight; frame 0 to 68.
    static juce::Image renderFrame (const KnobPlacement& knob, int frame);

    // Pointer angle of a frame, radians clockwise from twelve o'clock.
    static float pointerAngle (Row row, int frame);

private:
    static juce::Image renderShadow (const KnobPlacement& knob);
    static void paintKnob (juce::Graphics& g, const KnobPivot& pivot, float angle, juce::Colour cap);
};
} // namespace imagegen
