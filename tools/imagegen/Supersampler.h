#pragma once

#include <juce_graphics/juce_graphics.h>

namespace imagegen
{
// Draws at an integer multiple of the target size and averages each block of
// pixels down, so that fine detail (knurl ridges, tick marks) is smooth and
// the result never depends on the resampler of the renderer.
class Supersampler
{
public:
    static juce::Image downsample (const juce::Image& big, int factor)
    {
        const int w = big.getWidth() / factor, h = big.getHeight() / factor;
        juce::Image small (juce::Image::ARGB, w, h, true, juce::SoftwareImageType());
        const juce::Image::BitmapData src (big, juce::Image::BitmapData::readOnly);
        juce::Image::BitmapData dst (small, juce::Image::BitmapData::writeOnly);
        const int n = factor * factor;

        for (int y = 0; y < h; ++y)
        {
            for (int x = 0; x < w; ++x)
            {
                int a = 0, r = 0, g = 0, b = 0;   // premultiplied sums
                for (int j = 0; j < factor; ++j)
                {
                    for (int i = 0; i < factor; ++i)
                    {
                        const auto* p = reinterpret_cast<const juce::PixelARGB*> (src.getPixelPointer (x * factor + i, y * factor + j));
                        a += p->getAlpha(); r += p->getRed(); g += p->getGreen(); b += p->getBlue();
                    }
                }
                auto* q = reinterpret_cast<juce::PixelARGB*> (dst.getPixelPointer (x, y));
                q->setARGB ((juce::uint8) ((a + n / 2) / n), (juce::uint8) ((r + n / 2) / n),
                            (juce::uint8) ((g + n / 2) / n), (juce::uint8) ((b + n / 2) / n));
            }
        }
        return small;
    }
};
} // namespace imagegen
