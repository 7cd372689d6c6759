#include "KnobRenderer.h"
#include "Supersampler.h"

#include <cmath>

namespace imagegen
{
namespace
{
constexpr int oversampling = 4;
constexpr int knurlRidges = 36;
constexpr float pi = juce::MathConstants<float>::pi;

juce::Point<float> polar (float cx, float cy, float radius, float angle)
{
    // angle clockwise from twelve o'clock
    return { cx + radius * std::sin (angle), cy - radius * std::cos (angle) };
}

// Outline of the knurled ring: a circle with small rounded ridges.
juce::Path knurledOutline (float cx, float cy, float radius, float angle)
{
    juce::Path p;
    const int steps = knurlRidges * 8;
    for (int i = 0; i <= steps; ++i)
    {
        const float a = angle + 2.0f * pi * (float) i / (float) steps;
        const float ridge = 0.5f + 0.5f * std::cos ((float) knurlRidges * (a - angle));
        const auto pt = polar (cx, cy, radius - 0.75f * (1.0f - ridge), a);
        if (i == 0) p.startNewSubPath (pt);
        else p.lineTo (pt);
    }
    p.closeSubPath();
    return p;
}

juce::Path circle (float cx, float cy, float r)
{
    juce::Path p;
    p.addEllipse (cx - r, cy - r, 2.0f * r, 2.0f * r);
    return p;
}

juce::Path wedge (float cx, float cy, float r, float from, float to)
{
    juce::Path p;
    p.addPieSegment (cx - r, cy - r, 2.0f * r, 2.0f * r, from, to, 0.0f);
    return p;
}
} // namespace

juce::Colour KnobRenderer::capColour (Row row)
{
    switch (row)
    {
        case Row::gain:  return juce::Colour (0xff2f6cd0);
        case Row::freq:  return juce::Colour (0xffee7d1c);
        case Row::width: return juce::Colour (0xffe0508e);
        case Row::angle: return juce::Colour (0xff2fa24e);
        case Row::level: return juce::Colour (0xff7d838b);
    }
    return juce::Colours::grey;
}

float KnobRenderer::pointerAngle (Row row, int frame)
{
    const float half = halfSweepDegrees (row) * pi / 180.0f;
    return -half + 2.0f * half * (float) frame / (float) (framesPerStrip - 1);
}

juce::Image KnobRenderer::renderShadow (const KnobPlacement& knob)
{
    const auto pivot = pivotOf (knob);
    const float depth = 0.16f * pivot.radius;
    juce::Image mask (juce::Image::ARGB, knob.frameWidth, knob.frameHeight, true, juce::SoftwareImageType());
    {
        juce::Graphics g (mask);
        g.setColour (juce::Colours::black.withAlpha (0.62f));
        g.fillEllipse (pivot.cx - pivot.radius - 2.2f, pivot.cy - pivot.radius + depth + 2.0f,
                       2.0f * pivot.radius, 2.0f * pivot.radius);
    }
    juce::ImageConvolutionKernel blur (9);
    blur.createGaussianBlur (2.6f);
    blur.applyToImage (mask, mask, mask.getBounds());
    return mask;
}

void KnobRenderer::paintKnob (juce::Graphics& g, const KnobPivot& pv, float angle, juce::Colour cap)
{
    const float cx = pv.cx, cy = pv.cy, R = pv.radius;
    const float depth = 0.16f * R;   // visible side of the knob, seen slightly from above

    // Side of the cylinder below the top face.
    {
        juce::Path side;
        side.addRectangle (cx - R, cy, 2.0f * R, depth);
        side.addPath (knurledOutline (cx, cy + depth, R, angle));
        side.setUsingNonZeroWinding (true);
        juce::ColourGradient shade (juce::Colour (0xff2a2b2e), cx - R, 0.0f, juce::Colour (0xff26272a), cx + R, 0.0f, false);
        shade.addColour (0.30, juce::Colour (0xff77797e));
        shade.addColour (0.55, juce::Colour (0xff4a4c50));
        g.setGradientFill (shade);
        g.fillPath (side);

        // ridges running down the side
        g.setColour (juce::Colours::black.withAlpha (0.35f));
        for (int i = 0; i < knurlRidges; ++i)
        {
            const float a = angle + 2.0f * pi * ((float) i + 0.5f) / (float) knurlRidges;
            const auto top = polar (cx, cy, R - 0.4f, a);
            if (top.y < cy)
                continue;
            g.drawLine (top.x, top.y, top.x, top.y + depth, 0.45f);
        }
    }

    // Top face of the knurled ring: brushed metal lit from the upper left.
    const auto ring = knurledOutline (cx, cy, R, angle);
    {
        juce::ColourGradient metal (juce::Colour (0xffeef0f2), cx - 0.7f * R, cy - 0.8f * R,
                                    juce::Colour (0xff5c5f64), cx + 0.6f * R, cy + 0.9f * R, false);
        metal.addColour (0.45, juce::Colour (0xffb4b7bc));
        g.setGradientFill (metal);
        g.fillPath (ring);

        // machined sheen: the highlights stay with the light, not with the knob
        g.saveState();
        g.reduceClipRegion (ring);
        g.setColour (juce::Colours::white.withAlpha (0.22f));
        g.fillPath (wedge (cx, cy, R, -0.95f, -0.35f));
        g.fillPath (wedge (cx, cy, R, 2.25f, 2.70f));
        g.setColour (juce::Colours::black.withAlpha (0.10f));
        g.fillPath (wedge (cx, cy, R, 0.75f, 1.45f));
        g.restoreState();

        // knurl ridges across the ring, shaded by where they face the light
        for (int i = 0; i < knurlRidges; ++i)
        {
            const float a = angle + 2.0f * pi * ((float) i + 0.5f) / (float) knurlRidges;
            const float facing = std::cos (a + 0.75f);   // +1 towards the upper left
            const auto inner = polar (cx, cy, 0.77f * R, a);
            const auto outer = polar (cx, cy, R - 0.5f, a);
            g.setColour (juce::Colours::black.withAlpha (0.16f + 0.12f * (1.0f - facing)));
            g.drawLine ({ inner, outer }, 0.55f);
            const float b = a + pi / (float) knurlRidges;
            const auto inner2 = polar (cx, cy, 0.77f * R, b);
            const auto outer2 = polar (cx, cy, R - 0.6f, b);
            g.setColour (juce::Colours::white.withAlpha (0.10f + 0.18f * (1.0f + facing) * 0.5f));
            g.drawLine ({ inner2, outer2 }, 0.45f);
        }

        g.setColour (juce::Colours::black.withAlpha (0.45f));
        g.strokePath (ring, juce::PathStrokeType (0.5f));
    }

    // Bevelled collar between the ring and the cap.
    {
        const float r = 0.76f * R;
        juce::ColourGradient collar (juce::Colour (0xff54575c), cx - r, cy - r, juce::Colour (0xffdfe2e6), cx + r, cy + r, false);
        g.setGradientFill (collar);
        g.fillPath (circle (cx, cy, r));
        juce::ColourGradient face (juce::Colour (0xffd5d8dc), cx - r, cy - r, juce::Colour (0xff7a7d82), cx + r, cy + r, false);
        g.setGradientFill (face);
        g.fillPath (circle (cx, cy, r - 1.1f));
    }

    // Flat coloured cap with a white rim.
    {
        const float r = 0.60f * R;
        juce::ColourGradient capFill (cap.brighter (0.45f), cx - 0.5f * r, cy - r,
                                      cap.darker (0.35f), cx + 0.4f * r, cy + r, false);
        capFill.addColour (0.5, cap);
        g.setGradientFill (capFill);
        g.fillPath (circle (cx, cy, r));

        g.setColour (juce::Colours::white.withAlpha (0.16f));
        g.fillEllipse (cx - 0.75f * r, cy - 0.9f * r, 1.5f * r, 0.95f * r);

        g.setColour (juce::Colours::white);
        g.strokePath (circle (cx, cy, r - 0.7f), juce::PathStrokeType (1.4f));

        // pointer: a small white triangle pointing out towards the scale
        juce::Path tri;
        tri.addTriangle (0.0f, -0.82f * r, -0.24f * r, -0.30f * r, 0.24f * r, -0.30f * r);
        const auto place = juce::AffineTransform::rotation (angle).translated (cx, cy);
        g.setColour (juce::Colours::black.withAlpha (0.35f));
        g.fillPath (tri, place.translated (-0.4f, 0.6f));
        g.setColour (juce::Colours::white);
        g.fillPath (tri, place);
    }
}

juce::Image KnobRenderer::renderFrame (const KnobPlacement& knob, int frame)
{
    const auto pivot = pivotOf (knob);
    juce::Image big (juce::Image::ARGB, knob.frameWidth * oversampling, knob.frameHeight * oversampling, true,
                     juce::SoftwareImageType());
    {
        juce::Graphics g (big);
        g.addTransform (juce::AffineTransform::scale ((float) oversampling));
        paintKnob (g, pivot, pointerAngle (knob.row, frame), capColour (knob.row));
    }
    const auto body = Supersampler::downsample (big, oversampling);

    auto result = renderShadow (knob);
    juce::Graphics g (result);
    g.drawImageAt (body, 0, 0);
    return result;
}

juce::Image KnobRenderer::renderStrip (const KnobPlacement& knob)
{
    juce::Image strip (juce::Image::ARGB, knob.frameWidth, knob.frameHeight * framesPerStrip, true,
                       juce::SoftwareImageType());
    juce::Graphics g (strip);
    for (int f = 0; f < framesPerStrip; ++f)
        g.drawImageAt (renderFrame (knob, f), 0, f * knob.frameHeight);
    return strip;
}
} // namespace imagegen
