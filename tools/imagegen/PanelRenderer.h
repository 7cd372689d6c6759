#pragma once

#include "PanelGeometry.h"
#include <juce_graphics/juce_graphics.h>

namespace imagegen
{
// Renders the 650 x 543 background: the metal panel, the black side columns
// with the row captions, a printed scale behind every knob, the wells of the
// type menus and the product name.
class PanelRenderer
{
public:
    // fontFolder holds the DejaVu fonts the lettering is set in.
    explicit PanelRenderer (const juce::File& fontFolder);

    juce::Image renderBackground() const;

private:
    void paintPanel (juce::Graphics& g) const;
    void paintColumns (juce::Graphics& g) const;
    void paintScale (juce::Graphics& g, const KnobPlacement& knob) const;
    void paintLabelWindow (juce::Graphics& g, const KnobPlacement& knob) const;
    void paintWells (juce::Graphics& g) const;
    void paintLogo (juce::Graphics& g) const;
    void paintScrew (juce::Graphics& g, float cx, float cy, float angle) const;
    static void brushTexture (juce::Image& image);
    static void softenOuterEdge (juce::Image& image);

    juce::Font font (const juce::Typeface::Ptr& face, float height) const;

    juce::Typeface::Ptr sansBold, sansCondensedBold, serifBoldItalic;
};
} // namespace imagegen
