#include "PanelRenderer.h"
#include "KnobRenderer.h"
#include "Supersampler.h"

#include <cmath>
#include <stdexcept>

namespace imagegen
{
namespace
{
constexpr int oversampling = 3;
constexpr float pi = juce::MathConstants<float>::pi;
constexpr float columnWidth = 42.0f;

juce::Typeface::Ptr loadTypeface (const juce::File& file)
{
    juce::MemoryBlock data;
    if (! file.loadFileAsData (data))
        throw std::runtime_error (("cannot read font " + file.getFullPathName()).toStdString());
    return juce::Typeface::createSystemTypefaceFor (data.getData(), data.getSize());
}

juce::Point<float> polar (float cx, float cy, float radius, float angle)
{
    return { cx + radius * std::sin (angle), cy - radius * std::cos (angle) };
}

juce::Point<float> knobCentre (const KnobPlacement& k)
{
    const auto p = pivotOf (k);
    return { (float) k.x + p.cx, (float) k.y + p.cy };
}

float rowCentreY (Row row)
{
    float sum = 0.0f;
    int n = 0;
    for (const auto& k : knobPlacements)
        if (k.row == row) { sum += knobCentre (k).y; ++n; }
    return sum / (float) n;
}

// Text that looks printed into the metal: a light edge below a dark face.
void engrave (juce::Graphics& g, const juce::String& text, juce::Rectangle<float> area, juce::Justification just,
              juce::Colour ink, float lightAlpha)
{
    g.setColour (juce::Colours::white.withAlpha (lightAlpha));
    g.drawText (text, area.translated (0.0f, 0.8f), just, false);
    g.setColour (ink);
    g.drawText (text, area, just, false);
}
} // namespace

PanelRenderer::PanelRenderer (const juce::File& fontFolder)
    : sansBold (loadTypeface (fontFolder.getChildFile ("DejaVuSans-Bold.ttf"))),
      sansCondensedBold (loadTypeface (fontFolder.getChildFile ("DejaVuSansCondensed-Bold.ttf"))),
      serifBoldItalic (loadTypeface (fontFolder.getChildFile ("DejaVuSerif-BoldItalic.ttf")))
{
}

juce::Font PanelRenderer::font (const juce::Typeface::Ptr& face, float height) const
{
    return juce::Font (face).withHeight (height);
}

void PanelRenderer::paintPanel (juce::Graphics& g) const
{
    const float w = (float) panelWidth, h = (float) panelHeight;
    juce::ColourGradient base (juce::Colour (0xff9c9fa4), 0.0f, 0.0f, juce::Colour (0xffd08a2c), 0.0f, h, false);
    base.addColour (0.30, juce::Colour (0xffa4a5a6));
    base.addColour (0.62, juce::Colour (0xffb59c78));
    base.addColour (0.85, juce::Colour (0xffcb9448));
    g.setGradientFill (base);
    g.fillRect (0.0f, 0.0f, w, h);

    // a broad soft reflection across the upper half of the plate
    juce::ColourGradient sheen (juce::Colours::white.withAlpha (0.16f), w * 0.35f, h * 0.05f,
                                juce::Colours::white.withAlpha (0.0f), w * 0.35f, h * 0.55f, true);
    g.setGradientFill (sheen);
    g.fillRect (0.0f, 0.0f, w, h);

    // separating grooves: above the type menus and above the buttons / logo
    auto groove = [&g] (float y, float x0, float x1)
    {
        g.setColour (juce::Colours::black.withAlpha (0.28f));
        g.fillRect (x0, y, x1 - x0, 1.0f);
        g.setColour (juce::Colours::white.withAlpha (0.30f));
        g.fillRect (x0, y + 1.0f, x1 - x0, 1.0f);
    };
    groove (480.0f, columnWidth, w - columnWidth);
}

void PanelRenderer::paintColumns (juce::Graphics& g) const
{
    const float w = (float) panelWidth, h = (float) panelHeight;
    for (int side = 0; side < 2; ++side)
    {
        const float x0 = side == 0 ? 0.0f : w - columnWidth;
        juce::ColourGradient black (juce::Colour (0xff1b1c1e), x0, 0.0f, juce::Colour (0xff070708), x0 + columnWidth, 0.0f, false);
        if (side == 1)
            black = juce::ColourGradient (juce::Colour (0xff070708), x0, 0.0f, juce::Colour (0xff1b1c1e), x0 + columnWidth, 0.0f, false);
        g.setGradientFill (black);
        g.fillRect (x0, 0.0f, columnWidth, h);

        // the panel's edge against the column: a shadow and a bright lip
        const float edge = side == 0 ? columnWidth : x0;
        g.setColour (juce::Colours::black.withAlpha (0.45f));
        g.fillRect (side == 0 ? edge : edge - 2.0f, 0.0f, 2.0f, h);
        g.setColour (juce::Colours::white.withAlpha (0.18f));
        g.fillRect (side == 0 ? edge + 2.0f : edge - 3.0f, 0.0f, 1.0f, h);

        // row captions, written upwards
        g.setFont (font (sansBold, 13.0f).withExtraKerningFactor (0.06f));
        const char* captions[] = { "gain", "freq.", "Q", "angle", "output" };
        for (int row = 0; row < 5; ++row)
        {
            const float cy = rowCentreY ((Row) row);
            const float cx = x0 + columnWidth * 0.5f;
            g.saveState();
            g.addTransform (juce::AffineTransform::rotation (-pi * 0.5f, cx, cy));
            const juce::Rectangle<float> area (cx - 40.0f, cy - 9.0f, 80.0f, 18.0f);
            g.setColour (KnobRenderer::capColour ((Row) row).brighter (0.6f).withAlpha (0.9f));
            g.fillRect (cx - 12.0f, cy + 8.5f, 24.0f, 1.4f);
            g.setColour (juce::Colour (0xffe6e6e6));
            g.drawText (captions[row], area, juce::Justification::centred, false);
            g.restoreState();
        }

        paintScrew (g, x0 + columnWidth * 0.5f, 12.0f, 0.4f + (float) side);
        paintScrew (g, x0 + columnWidth * 0.5f, 505.0f, 1.3f + (float) side * 0.7f);
    }
}

void PanelRenderer::paintScrew (juce::Graphics& g, float cx, float cy, float angle) const
{
    const float r = 5.0f;
    juce::ColourGradient head (juce::Colour (0xffd7d9dc), cx - r, cy - r, juce::Colour (0xff4b4d51), cx + r, cy + r, false);
    g.setColour (juce::Colours::black.withAlpha (0.6f));
    g.fillEllipse (cx - r - 0.5f, cy - r + 0.5f, 2.0f * r + 1.0f, 2.0f * r + 1.0f);
    g.setGradientFill (head);
    g.fillEllipse (cx - r, cy - r, 2.0f * r, 2.0f * r);
    juce::Path slot;
    slot.addRectangle (-r * 0.8f, -0.7f, r * 1.6f, 1.4f);
    g.setColour (juce::Colour (0xff2a2b2d));
    g.fillPath (slot, juce::AffineTransform::rotation (angle).translated (cx, cy));
}

void PanelRenderer::paintScale (juce::Graphics& g, const KnobPlacement& knob) const
{
    const auto pivot = pivotOf (knob);
    const auto c = knobCentre (knob);
    const float R = pivot.radius;
    const float half = halfSweepDegrees (knob.row) * pi / 180.0f;
    const bool shortArc = knob.row == Row::angle;
    const int steps = shortArc ? 8 : 20;            // minor divisions
    const int majorEvery = shortArc ? 4 : 2;
    const float arcRadius = R + 5.0f;
    const juce::Colour ink (0xff17181a);

    // arc
    juce::Path arc;
    arc.addCentredArc (c.x, c.y, arcRadius, arcRadius, 0.0f, -half, half, true);
    g.setColour (juce::Colours::white.withAlpha (0.35f));
    g.strokePath (arc, juce::PathStrokeType (1.0f), juce::AffineTransform::translation (0.0f, 0.8f));
    g.setColour (ink.withAlpha (0.85f));
    g.strokePath (arc, juce::PathStrokeType (1.0f));

    for (int i = 0; i <= steps; ++i)
    {
        const float a = -half + 2.0f * half * (float) i / (float) steps;
        const bool major = i % majorEvery == 0;
        const bool end = i == 0 || i == steps;
        const float outer = arcRadius + (major ? 5.5f : 3.0f);
        const auto p0 = polar (c.x, c.y, arcRadius, a), p1 = polar (c.x, c.y, outer, a);
        g.setColour (juce::Colours::white.withAlpha (0.30f));
        g.drawLine ({ p0.translated (0.0f, 0.8f), p1.translated (0.0f, 0.8f) }, major ? 1.2f : 0.9f);
        g.setColour (ink.withAlpha (end ? 0.95f : 0.8f));
        g.drawLine ({ p0, p1 }, major ? 1.3f : 0.9f);
    }

    // the middle of the travel marked in the row's colour
    const auto mid = polar (c.x, c.y, arcRadius + 9.0f, 0.0f);
    g.setColour (juce::Colours::black.withAlpha (0.5f));
    g.fillEllipse (mid.x - 2.2f, mid.y - 2.0f, 4.4f, 4.4f);
    g.setColour (KnobRenderer::capColour (knob.row).brighter (0.2f));
    g.fillEllipse (mid.x - 1.8f, mid.y - 1.8f, 3.6f, 3.6f);
}

void PanelRenderer::paintLabelWindow (juce::Graphics& g, const KnobPlacement& knob) const
{
    // A dark window behind the knob's value text, cut to the knob's frame
    // because the text is clipped there too.
    const juce::Rectangle<float> frame ((float) knob.x, (float) knob.y, (float) knob.frameWidth, (float) knob.frameHeight);
    const juce::Rectangle<float> label ((float) (knob.x + knob.labelDx), (float) (knob.y + knob.labelDy),
                                        (float) valueLabelWidth, (float) valueLabelHeight);
    const auto window = label.getIntersection (frame).reduced (1.0f, 2.5f);
    g.setColour (juce::Colours::white.withAlpha (0.35f));
    g.fillRoundedRectangle (window.translated (0.0f, 1.0f), 4.0f);
    juce::ColourGradient fill (juce::Colour (0xff101113).withAlpha (0.86f), 0.0f, window.getY(),
                               juce::Colour (0xff2a2b2e).withAlpha (0.80f), 0.0f, window.getBottom(), false);
    g.setGradientFill (fill);
    g.fillRoundedRectangle (window, 4.0f);
}

void PanelRenderer::paintWells (juce::Graphics& g) const
{
    for (int band = 0; band < 5; ++band)
    {
        const juce::Rectangle<float> r ((float) typeMenuX[band], (float) typeMenuY, (float) typeMenuWidth, (float) typeMenuHeight);
        // a light edge below and right, the recess itself, and its inner shadow
        g.setColour (juce::Colours::white.withAlpha (0.45f));
        g.fillRoundedRectangle (r.expanded (1.0f).translated (0.5f, 0.8f), 3.5f);
        g.setColour (juce::Colour (0xff3a3027).withAlpha (0.75f));
        g.fillRoundedRectangle (r.expanded (1.0f), 3.5f);
        juce::ColourGradient well (juce::Colour (0xffcfc8b8), 0.0f, r.getY(), juce::Colour (0xfff6f1e4), 0.0f, r.getBottom(), false);
        g.setGradientFill (well);
        g.fillRoundedRectangle (r, 3.0f);
        g.setColour (juce::Colours::black.withAlpha (0.22f));
        g.fillRect (r.getX() + 2.0f, r.getY(), r.getWidth() - 4.0f, 1.2f);
    }

    // caption of the row of menus, in the side columns
    g.setFont (font (sansCondensedBold, 10.0f));
    g.setColour (juce::Colour (0xffb8b8b8));
    g.drawText ("type", juce::Rectangle<float> (0.0f, (float) typeMenuY, columnWidth, (float) typeMenuHeight), juce::Justification::centred, false);
    g.drawText ("type", juce::Rectangle<float> ((float) panelWidth - columnWidth, (float) typeMenuY, columnWidth, (float) typeMenuHeight), juce::Justification::centred, false);
}

void PanelRenderer::paintLogo (juce::Graphics& g) const
{
    const juce::Rectangle<float> area (columnWidth, 482.0f, (float) panelWidth - 2.0f * columnWidth, 61.0f);
    g.setFont (font (serifBoldItalic, 34.0f).withExtraKerningFactor (0.04f));
    const auto text = area.withTrimmedBottom (14.0f).translated (0.0f, 4.0f);
    g.setColour (juce::Colours::white.withAlpha (0.45f));
    g.drawText ("Trelvane", text.translated (0.0f, 1.2f), juce::Justification::centred, false);
    g.setColour (juce::Colour (0xff2a1c0c).withAlpha (0.88f));
    g.drawText ("Trelvane", text, juce::Justification::centred, false);

    g.setFont (font (sansCondensedBold, 9.0f).withExtraKerningFactor (0.35f));
    engrave (g, "FIVE-BAND STEREO ANGLE EQUALISER", area.withTrimmedTop (43.0f).withHeight (12.0f),
             juce::Justification::centred, juce::Colour (0xff3b2810).withAlpha (0.8f), 0.35f);
}

void PanelRenderer::brushTexture (juce::Image& image)
{
    // Horizontal brushing: each line gets a slowly varying brightness and a
    // fine grain, from a fixed seed so the picture is the same every run.
    juce::Random random (0x7e1a5e);
    juce::Image::BitmapData data (image, juce::Image::BitmapData::readWrite);
    std::vector<float> line ((size_t) image.getWidth());
    for (int y = 0; y < image.getHeight(); ++y)
    {
        const float rowShift = (random.nextFloat() - 0.5f) * 5.0f;
        float smooth = 0.0f;
        for (auto& v : line)
        {
            smooth = 0.82f * smooth + 0.18f * (random.nextFloat() - 0.5f) * 14.0f;
            v = rowShift + smooth;
        }
        for (int x = 0; x < image.getWidth(); ++x)
        {
            auto* p = reinterpret_cast<juce::PixelARGB*> (data.getPixelPointer (x, y));
            const float k = line[(size_t) x];
            auto adjust = [k] (juce::uint8 c) { return (juce::uint8) juce::jlimit (0, 255, (int) std::lround ((float) c + k)); };
            if (p->getAlpha() == 255)
                p->setARGB (255, adjust (p->getRed()), adjust (p->getGreen()), adjust (p->getBlue()));
        }
    }
}

void PanelRenderer::softenOuterEdge (juce::Image& image)
{
    // The outermost pixel ring is slightly see-through, so the panel's edge
    // blends with whatever the host draws around the window.
    juce::Image::BitmapData data (image, juce::Image::BitmapData::readWrite);
    const int w = image.getWidth(), h = image.getHeight();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            const bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            const bool corner = (x < 2 || x >= w - 2) && (y < 2 || y >= h - 2);
            if (! edge && ! corner)
                continue;
            auto* p = reinterpret_cast<juce::PixelARGB*> (data.getPixelPointer (x, y));
            auto c = p->getUnpremultiplied();
            c.setAlpha ((juce::uint8) (corner ? 150 : 210));
            c.premultiply();
            *p = c;
        }
}

juce::Image PanelRenderer::renderBackground() const
{
    juce::Image big (juce::Image::ARGB, panelWidth * oversampling, panelHeight * oversampling, true, juce::SoftwareImageType());
    {
        juce::Graphics g (big);
        g.addTransform (juce::AffineTransform::scale ((float) oversampling));
        paintPanel (g);
    }
    auto image = Supersampler::downsample (big, oversampling);
    brushTexture (image);

    juce::Image overlay (juce::Image::ARGB, panelWidth * oversampling, panelHeight * oversampling, true, juce::SoftwareImageType());
    {
        juce::Graphics g (overlay);
        g.addTransform (juce::AffineTransform::scale ((float) oversampling));
        for (const auto& k : knobPlacements)
            paintScale (g, k);
        for (const auto& k : knobPlacements)
            paintLabelWindow (g, k);
        paintWells (g);
        paintLogo (g);
        paintColumns (g);
        // The editor's version label (x 3 to 63, y 528 to 540) reaches past the
        // left column: a dark plate keeps its grey text on black.
        g.setColour (juce::Colour (0xff0c0c0d));
        g.fillRoundedRectangle ({ 2.0f, 526.0f, 62.0f, 16.0f }, 3.0f);
        // band numbers above the top row
        g.setFont (font (sansBold, 10.0f));
        for (int band = 0; band < 5; ++band)
        {
            const auto c = knobCentre (knobPlacements[band]);
            engrave (g, juce::String (band + 1), { c.x - 8.0f, 2.0f, 16.0f, 12.0f }, juce::Justification::centred,
                     juce::Colour (0xff202124).withAlpha (0.8f), 0.35f);
        }
    }
    {
        juce::Graphics g (image);
        g.drawImageAt (Supersampler::downsample (overlay, oversampling), 0, 0);
    }
    softenOuterEdge (image);
    return image;
}
} // namespace imagegen
