// The embedded pictures: which strip each knob index selects, the geometry of
// every strip, and the form of the PNG files (palette with transparency).

#include "controls/KnobImages.h"
#include "TrelvaneBinaryData.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
struct StripEntry { int index; const char* resource; int width, height, frameHeight; };

// The knob strip table: index = 5 x row + band, rows gain, freq, Q ("width"),
// angle, output ("level").
const StripEntry stripTable[] = {
    {  1, "gainStrip1_png",  64, 4899, 71 }, {  2, "gainStrip2_png",  53, 4347, 63 },
    {  3, "gainStrip3_png",  54, 4416, 64 }, {  4, "gainStrip4_png",  57, 4692, 68 },
    {  5, "gainStrip5_png",  62, 4347, 63 }, {  6, "freqStrip1_png",  59, 4692, 68 },
    {  7, "freqStrip2_png",  52, 4485, 65 }, {  8, "freqStrip3_png",  53, 4554, 66 },
    {  9, "freqStrip4_png",  55, 4692, 68 }, { 10, "freqStrip5_png",  60, 4692, 68 },
    { 11, "widthStrip1_png", 59, 4692, 68 }, { 12, "widthStrip2_png", 55, 4761, 69 },
    { 13, "widthStrip3_png", 53, 4623, 67 }, { 14, "widthStrip4_png", 58, 4416, 64 },
    { 15, "widthStrip5_png", 64, 4692, 68 }, { 16, "angleStrip1_png", 62, 4899, 71 },
    { 17, "angleStrip2_png", 56, 5037, 73 }, { 18, "angleStrip3_png", 52, 5037, 73 },
    { 19, "angleStrip4_png", 58, 4761, 69 }, { 20, "angleStrip5_png", 61, 5037, 73 },
    { 21, "levelStrip1_png", 59, 5520, 80 }, { 22, "levelStrip2_png", 58, 5313, 77 },
    { 23, "levelStrip3_png", 57, 5313, 77 }, { 24, "levelStrip4_png", 61, 5382, 78 },
    { 25, "levelStrip5_png", 61, 5313, 77 },
};

juce::uint32 bigEndian32 (const juce::uint8* p)
{
    return ((juce::uint32) p[0] << 24) | ((juce::uint32) p[1] << 16) | ((juce::uint32) p[2] << 8) | p[3];
}

// Walks the PNG chunks: colour type and interlace from IHDR, and whether a
// tRNS chunk is present.
struct PngForm { bool signatureOk = false; int colourType = -1, bitDepth = -1, interlace = -1; bool hasTransparency = false; };

PngForm readPngForm (const void* data, int size)
{
    PngForm form;
    const auto* bytes = static_cast<const juce::uint8*> (data);
    static const juce::uint8 signature[] = { 0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a };
    if (size < 8 || std::memcmp (bytes, signature, 8) != 0)
        return form;
    form.signatureOk = true;
    for (int pos = 8; pos + 8 <= size;)
    {
        const auto length = (int) bigEndian32 (bytes + pos);
        const juce::String type (reinterpret_cast<const char*> (bytes + pos + 4), 4);
        if (type == "IHDR")
        {
            form.bitDepth = bytes[pos + 16];
            form.colourType = bytes[pos + 17];
            form.interlace = bytes[pos + 20];
        }
        if (type == "tRNS")
            form.hasTransparency = true;
        pos += 12 + length;
    }
    return form;
}

struct AlphaCounts { int transparent = 0, partial = 0, opaque = 0; };

AlphaCounts countAlpha (const juce::Image& image)
{
    AlphaCounts counts;
    const juce::Image::BitmapData data (image, juce::Image::BitmapData::readOnly);
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
        {
            const auto a = data.getPixelColour (x, y).getAlpha();
            (a == 0 ? counts.transparent : a == 255 ? counts.opaque : counts.partial)++;
        }
    return counts;
}
} // namespace

TEST (KnobImages, EachIndexSelectsItsOwnStripWithTheTableGeometry)
{
    for (const auto& e : stripTable)
    {
        SCOPED_TRACE (juce::String ("index ") + juce::String (e.index) + " " + e.resource);
        int expectedSize = 0;
        const char* expectedData = TrelvaneBinaryData::getNamedResource (e.resource, expectedSize);
        ASSERT_NE (expectedData, nullptr);

        const auto block = KnobImages::stripBlock (e.index);
        EXPECT_EQ (block.data, static_cast<const void*> (expectedData));
        EXPECT_EQ (block.size, expectedSize);

        const auto strip = KnobImages::getStrip (e.index);
        ASSERT_TRUE (strip.isValid());
        EXPECT_EQ (strip.getWidth(), e.width);
        EXPECT_EQ (strip.getHeight(), e.height);
        EXPECT_EQ (strip.getHeight() % stripFrameCount, 0);
        EXPECT_EQ (KnobImages::frameHeight (strip), e.frameHeight);
    }
}

TEST (KnobImages, IndicesOutsideOneToTwentyFiveSelectNothing)
{
    for (int index : { -1, 0, 26, 100 })
    {
        EXPECT_TRUE (KnobImages::stripBlock (index).isEmpty()) << index;
        EXPECT_EQ (KnobImages::stripBlock (index).size, 0) << index;
        EXPECT_FALSE (KnobImages::getStrip (index).isValid()) << index;
    }
}

TEST (KnobImages, BackgroundIsTheFullDesignSize)
{
    int expectedSize = 0;
    const char* expectedData = TrelvaneBinaryData::getNamedResource ("backgroundImage_png", expectedSize);
    EXPECT_EQ (KnobImages::backgroundBlock().data, static_cast<const void*> (expectedData));
    EXPECT_EQ (KnobImages::backgroundBlock().size, expectedSize);

    const auto background = KnobImages::getBackground();
    ASSERT_TRUE (background.isValid());
    EXPECT_EQ (background.getWidth(), 650);
    EXPECT_EQ (background.getHeight(), 543);
}

TEST (KnobImages, DecodedPicturesComeFromTheSharedCache)
{
    // Measuring a knob and painting it must not decode its strip twice.
    const auto first = KnobImages::getStrip (7);
    const auto second = KnobImages::getStrip (7);
    ASSERT_TRUE (first.isValid());
    EXPECT_EQ (first.getPixelData(), second.getPixelData());
    EXPECT_EQ (KnobImages::getBackground().getPixelData(), KnobImages::getBackground().getPixelData());
}

TEST (KnobImages, FilesArePalettePngsWithTransparency)
{
    std::vector<KnobImages::Block> blocks { KnobImages::backgroundBlock() };
    for (int i = 1; i <= 25; ++i)
        blocks.push_back (KnobImages::stripBlock (i));

    for (size_t i = 0; i < blocks.size(); ++i)
    {
        SCOPED_TRACE (i == 0 ? juce::String ("background") : "strip " + juce::String ((int) i));
        const auto form = readPngForm (blocks[i].data, blocks[i].size);
        EXPECT_TRUE (form.signatureOk);
        EXPECT_EQ (form.colourType, 3);   // palette
        EXPECT_EQ (form.bitDepth, 8);
        EXPECT_EQ (form.interlace, 0);
        EXPECT_TRUE (form.hasTransparency);
    }
}

TEST (KnobImages, StripsAreSeeThroughAroundTheKnobAndTheBackgroundIsNot)
{
    for (int i = 1; i <= 25; ++i)
    {
        const auto counts = countAlpha (KnobImages::getStrip (i));
        EXPECT_GT (counts.transparent, 0) << "strip " << i << " has no clear surround";
        EXPECT_GT (counts.partial, 0) << "strip " << i << " has no soft shadow";
        EXPECT_GT (counts.opaque, 0) << "strip " << i << " has no solid knob";
    }

    const auto background = countAlpha (KnobImages::getBackground());
    EXPECT_EQ (background.transparent, 0);
    EXPECT_GT (background.partial, 0);
    EXPECT_GT (background.opaque, 650 * 543 * 9 / 10);
}

TEST (KnobImages, NeighbouringFramesDiffer)
{
    // Every frame is a different position: no two neighbouring frames of a
    // strip are identical.
    for (int i = 1; i <= 25; ++i)
    {
        const auto strip = KnobImages::getStrip (i);
        const int h = KnobImages::frameHeight (strip);
        for (int f = 0; f + 1 < stripFrameCount; ++f)
        {
            const auto a = strip.getClippedImage ({ 0, f * h, strip.getWidth(), h });
            const auto b = strip.getClippedImage ({ 0, (f + 1) * h, strip.getWidth(), h });
            bool differ = false;
            for (int y = 0; y < h && ! differ; ++y)
                for (int x = 0; x < strip.getWidth() && ! differ; ++x)
                    differ = a.getPixelAt (x, y) != b.getPixelAt (x, y);
            EXPECT_TRUE (differ) << "strip " << i << " frames " << f << " and " << f + 1;
        }
    }
}
