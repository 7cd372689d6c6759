#include "KnobImages.h"
#include "TrelvaneBinaryData.h"

namespace
{
#define TRELVANE_BLOCK(name) KnobImages::Block { TrelvaneBinaryData::name##_png, TrelvaneBinaryData::name##_pngSize }

const KnobImages::Block strips[25] = {
    TRELVANE_BLOCK (gainStrip1),  TRELVANE_BLOCK (gainStrip2),  TRELVANE_BLOCK (gainStrip3),
    TRELVANE_BLOCK (gainStrip4),  TRELVANE_BLOCK (gainStrip5),
    TRELVANE_BLOCK (freqStrip1),  TRELVANE_BLOCK (freqStrip2),  TRELVANE_BLOCK (freqStrip3),
    TRELVANE_BLOCK (freqStrip4),  TRELVANE_BLOCK (freqStrip5),
    TRELVANE_BLOCK (widthStrip1), TRELVANE_BLOCK (widthStrip2), TRELVANE_BLOCK (widthStrip3),
    TRELVANE_BLOCK (widthStrip4), TRELVANE_BLOCK (widthStrip5),
    TRELVANE_BLOCK (angleStrip1), TRELVANE_BLOCK (angleStrip2), TRELVANE_BLOCK (angleStrip3),
    TRELVANE_BLOCK (angleStrip4), TRELVANE_BLOCK (angleStrip5),
    TRELVANE_BLOCK (levelStrip1), TRELVANE_BLOCK (levelStrip2), TRELVANE_BLOCK (levelStrip3),
    TRELVANE_BLOCK (levelStrip4), TRELVANE_BLOCK (levelStrip5),
};

#undef TRELVANE_BLOCK
} // namespace

KnobImages::Block KnobImages::stripBlock (int knobIndex) noexcept
{
    if (knobIndex < 1 || knobIndex > 25)
        return {};
    return strips[knobIndex - 1];
}

KnobImages::Block KnobImages::backgroundBlock() noexcept
{
    return { TrelvaneBinaryData::backgroundImage_png, TrelvaneBinaryData::backgroundImage_pngSize };
}

juce::Image KnobImages::fromCache (const Block& block)
{
    if (block.isEmpty())
        return {};
    return juce::ImageCache::getFromMemory (block.data, block.size);
}

juce::Image KnobImages::getStrip (int knobIndex)
{
    return fromCache (stripBlock (knobIndex));
}

juce::Image KnobImages::getBackground()
{
    return fromCache (backgroundBlock());
}
