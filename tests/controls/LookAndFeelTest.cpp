// The look-and-feel: knobs painted as strip frames, buttons, popup menu
// sizes, bare combo boxes and slider text boxes.

#include "controls/KnobImages.h"
#include "controls/MyLabel.h"
#include "controls/TrelvaneLookAndFeel.h"
#include "TrelvaneBinaryData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace
{
juce::Image blankImage (int w, int h)
{
    return juce::Image (juce::Image::ARGB, w, h, true, juce::SoftwareImageType());
}

// A copy of one frame of a strip decoded straight from its embedded PNG.
juce::Image frameOf (const char* resource, int frame)
{
    int size = 0;
    const char* data = TrelvaneBinaryData::getNamedResource (resource, size);
    juce::MemoryInputStream stream (data, (size_t) size, false);
    auto strip = juce::PNGImageFormat().decodeImage (stream).convertedToFormat (juce::Image::ARGB);
    const int h = strip.getHeight() / 69;
    auto copy = blankImage (strip.getWidth(), h);
    const juce::Image::BitmapData src (strip, juce::Image::BitmapData::readOnly);
    juce::Image::BitmapData dst (copy, juce::Image::BitmapData::writeOnly);
    for (int y = 0; y < h; ++y)
        std::memcpy (dst.getLinePointer (y), src.getLinePointer (frame * h + y), (size_t) strip.getWidth() * 4);
    return copy;
}

bool samePixels (const juce::Image& a, const juce::Image& b)
{
    if (a.getBounds() != b.getBounds())
        return false;
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            if (a.getPixelAt (x, y).getARGB() != b.getPixelAt (x, y).getARGB())
                return false;
    return true;
}

bool isBlank (const juce::Image& image)
{
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt (x, y).getAlpha() != 0)
                return false;
    return true;
}

// A knob as the editor builds it: normalised range, rotary, no text box.
struct Knob : juce::Slider
{
    Knob (juce::LookAndFeel& lf, juce::var index, int w, int h)
    {
        setLookAndFeel (&lf);
        setRange (0.0, 1.0, 0.0);
        setSliderStyle (juce::Slider::RotaryVerticalDrag);
        setTextBoxStyle (juce::Slider::NoTextBox, false, 0, 0);
        if (! index.isVoid())
            getProperties().set ("index", index);
        setBounds (0, 0, w, h);
    }
    ~Knob() override { setLookAndFeel (nullptr); }

    juce::Image paintedAt (double value)
    {
        setValue (value, juce::dontSendNotification);
        auto image = blankImage (getWidth(), getHeight());
        juce::Graphics g (image);
        paintEntireComponent (g, false);
        return image;
    }
};

class LookAndFeelTest : public ::testing::Test
{
protected:
    TrelvaneLookAndFeel lookAndFeel;
};
} // namespace

TEST (FrameRule, PositionToFrame)
{
    struct Case { float position; int frame; };
    const Case cases[] = {
        { 0.0f, 0 }, { 0.5f, 34 }, { 1.0f, 68 }, { 0.99f, 68 }, { 0.985f, 67 },
        { 1.0f / 69.0f - 1e-6f, 0 }, { 2.0f / 69.0f + 1e-6f, 2 }, { 0.9999f, 68 },
    };
    for (const auto& c : cases)
        EXPECT_EQ (TrelvaneLookAndFeel::frameForPosition (c.position), c.frame) << "position " << c.position;
}

TEST_F (LookAndFeelTest, KnobShowsExactlyTheFrameOfItsValue)
{
    // freqSlider5 has index 10 and a 60 x 68 frame.
    Knob knob (lookAndFeel, 10, 60, 68);
    struct Case { double value; int frame; };
    for (const auto& c : { Case { 0.0, 0 }, Case { 0.5, 34 }, Case { 0.985, 67 }, Case { 0.99, 68 }, Case { 1.0, 68 } })
    {
        const auto painted = knob.paintedAt (c.value);
        EXPECT_TRUE (samePixels (painted, frameOf ("freqStrip5_png", c.frame))) << "value " << c.value;
        if (c.frame > 0)
        {
            EXPECT_FALSE (samePixels (painted, frameOf ("freqStrip5_png", c.frame - 1))) << "value " << c.value;
        }
    }
}

TEST_F (LookAndFeelTest, TheIndexAloneChoosesTheStrip)
{
    // index 20 is angleStrip5 (61 x 73 frames) whatever the knob is called
    Knob knob (lookAndFeel, 20, 61, 73);
    knob.setName ("freqSlider5");
    EXPECT_TRUE (samePixels (knob.paintedAt (0.5), frameOf ("angleStrip5_png", 34)));

    // an index stored as text still selects its strip
    Knob textIndex (lookAndFeel, "10", 60, 68);
    EXPECT_TRUE (samePixels (textIndex.paintedAt (0.0), frameOf ("freqStrip5_png", 0)));
}

TEST_F (LookAndFeelTest, KnobWithoutAValidIndexPaintsNothing)
{
    Knob missing (lookAndFeel, juce::var(), 60, 68);
    EXPECT_TRUE (isBlank (missing.paintedAt (0.5)));
    for (int index : { 0, 26, -3 })
    {
        Knob knob (lookAndFeel, index, 60, 68);
        EXPECT_TRUE (isBlank (knob.paintedAt (0.5))) << "index " << index;
    }
}

TEST (LookAndFeel, KnobWhoseStripDoesNotDecodePaintsNothing)
{
    struct BrokenStrips : TrelvaneLookAndFeel
    {
        juce::Image findKnobStrip (int) override
        {
            static const char notAPicture[] = "these bytes are no picture in any format";
            return juce::ImageCache::getFromMemory (notAPicture, (int) sizeof (notAPicture));
        }
    } lookAndFeel;
    Knob knob (lookAndFeel, 10, 60, 68);
    EXPECT_TRUE (isBlank (knob.paintedAt (0.5)));
}

TEST_F (LookAndFeelTest, FrameIsStretchedToTheKnobRectangleAxisByAxis)
{
    // Twice as wide and three times as high as one 60 x 68 frame, placed
    // away from the corner of a larger picture.
    juce::Slider knob;
    knob.getProperties().set ("index", 10);
    const juce::Rectangle<int> area (5, 7, 120, 204);

    auto painted = blankImage (140, 220);
    {
        juce::Graphics g (painted);
        lookAndFeel.drawRotarySlider (g, area.getX(), area.getY(), area.getWidth(), area.getHeight(), 0.5f,
                                      0.0f, 1.0f, knob);
    }

    auto scaledFrame = [&] (int frame)
    {
        auto image = blankImage (140, 220);
        juce::Graphics g (image);
        g.drawImageTransformed (frameOf ("freqStrip5_png", frame),
                                juce::AffineTransform::scale (2.0f, 3.0f).translated ((float) area.getX(), (float) area.getY()));
        return image;
    };
    EXPECT_TRUE (samePixels (painted, scaledFrame (34)));
    EXPECT_FALSE (samePixels (painted, scaledFrame (33)));

    bool outside = false;
    for (int y = 0; y < painted.getHeight(); ++y)
        for (int x = 0; x < painted.getWidth(); ++x)
            if (! area.contains (x, y) && painted.getPixelAt (x, y).getAlpha() != 0)
                outside = true;
    EXPECT_FALSE (outside);
}

TEST_F (LookAndFeelTest, KnobOutsideTheClipIsNotDrawn)
{
    juce::Slider knob;
    knob.getProperties().set ("index", 10);
    auto painted = blankImage (200, 200);
    juce::Graphics g (painted);
    g.reduceClipRegion (0, 0, 50, 50);
    lookAndFeel.drawRotarySlider (g, 100, 100, 60, 68, 0.5f, 0.0f, 1.0f, knob);
    EXPECT_TRUE (isBlank (painted));
}

TEST_F (LookAndFeelTest, ButtonColourFollowsOnlyItsToggleState)
{
    juce::TextButton button ("BP1");
    button.setSize (21, 21);
    for (bool on : { false, true })
    {
        button.setToggleState (on, juce::dontSendNotification);
        const auto expected = on ? juce::Colour (0xffffa500) : juce::Colour (0xffd3d3d3);
        for (int flags = 0; flags < 4; ++flags)
        {
            auto image = blankImage (21, 21);
            juce::Graphics g (image);
            lookAndFeel.drawButtonBackground (g, button, juce::Colours::red, (flags & 1) != 0, (flags & 2) != 0);

            SCOPED_TRACE (juce::String (on ? "on" : "off") + " highlighted " + juce::String (flags & 1) + " down " + juce::String (flags >> 1));
            // the whole area but the rounded corners is flat colour (the
            // outermost pixels within the renderer's edge antialiasing)
            EXPECT_EQ (image.getPixelAt (10, 10), expected);
            EXPECT_EQ (image.getPixelAt (3, 3), expected);
            EXPECT_EQ (image.getPixelAt (17, 17), expected);
            for (auto edge : { juce::Point<int> (0, 10), { 20, 10 }, { 10, 0 }, { 10, 20 } })
            {
                const auto c = image.getPixelAt (edge.x, edge.y);
                EXPECT_GE (c.getAlpha(), 250);
                EXPECT_NEAR (c.getRed(), expected.getRed(), 2);
                EXPECT_NEAR (c.getGreen(), expected.getGreen(), 2);
                EXPECT_NEAR (c.getBlue(), expected.getBlue(), 2);
            }
            // corners of radius 3 leave the very corner pixels partly clear
            for (auto corner : { juce::Point<int> (0, 0), { 20, 0 }, { 0, 20 }, { 20, 20 } })
                EXPECT_LT (image.getPixelAt (corner.x, corner.y).getAlpha(), 200);
        }
    }
}

TEST_F (LookAndFeelTest, PopupMenuItemSizes)
{
    struct Case { bool separator; int standard; int width, height; };
    for (const auto& c : { Case { true, 15, 50, 7 }, Case { true, 0, 50, 10 }, Case { true, -4, 50, 10 }, Case { true, 24, 50, 12 } })
    {
        int w = -1, h = -1;
        lookAndFeel.getIdealPopupMenuItemSize ("----", c.separator, c.standard, w, h);
        EXPECT_EQ (w, c.width) << "standard " << c.standard;
        EXPECT_EQ (h, c.height) << "standard " << c.standard;
    }

    // Normal items: 16 high whatever the menu asks for; as wide as the text
    // (rounded up) plus 16 on each side.
    for (int standard : { 0, 15, 40 })
    {
        int w = -1, h = -1;
        lookAndFeel.getIdealPopupMenuItemSize ({}, false, standard, w, h);
        EXPECT_EQ (h, 16);
        EXPECT_EQ (w, 32);
    }

    const juce::Font menuFont (12.0f);
    EXPECT_EQ (lookAndFeel.getPopupMenuFont().getHeight(), 12.0f);
    EXPECT_FALSE (lookAndFeel.getPopupMenuFont().isBold());
    for (const char* text : { "LP", "LowShelf", "HighShelf" })
    {
        int w = -1, h = -1;
        lookAndFeel.getIdealPopupMenuItemSize (text, false, 15, w, h);
        const float textWidth = menuFont.getStringWidthFloat (text);
        EXPECT_GE ((float) w - 32.0f, textWidth) << text;
        EXPECT_LT ((float) w - 32.0f, textWidth + 1.0f) << text;
        EXPECT_EQ (h, 16);
    }
}

TEST (LookAndFeel, PopupItemWidthUsesTheOverriddenMenuFont)
{
    struct BigMenus : TrelvaneLookAndFeel
    {
        juce::Font getPopupMenuFont() override { return juce::Font (30.0f); }
    } lookAndFeel;
    TrelvaneLookAndFeel plain;
    int bigWidth = 0, plainWidth = 0, h = 0;
    lookAndFeel.getIdealPopupMenuItemSize ("HighShelf", false, 15, bigWidth, h);
    plain.getIdealPopupMenuItemSize ("HighShelf", false, 15, plainWidth, h);
    EXPECT_GT (bigWidth - 32, 2 * (plainWidth - 32));
    EXPECT_EQ (h, 16);
}

TEST_F (LookAndFeelTest, PopupMenusOpenInTheParentTheOptionsName)
{
    juce::Component parent;
    EXPECT_EQ (lookAndFeel.getParentComponentForMenuOptions (juce::PopupMenu::Options()), nullptr);
    EXPECT_EQ (lookAndFeel.getParentComponentForMenuOptions (juce::PopupMenu::Options().withParentComponent (&parent)), &parent);
}

TEST_F (LookAndFeelTest, ComboBoxShowsOnlyItsCentredText)
{
    juce::ComboBox box ("typeCombo1");
    box.setLookAndFeel (&lookAndFeel);
    box.setColour (juce::ComboBox::textColourId, juce::Colours::red);   // the look-and-feel's colour wins
    box.setBounds (0, 0, 57, 17);
    box.addItem ("LP", 1);
    box.addItem ("Peak", 7);

    juce::Label* text = nullptr;
    for (auto* child : box.getChildren())
        if (auto* label = dynamic_cast<juce::Label*> (child))
            text = label;
    ASSERT_NE (text, nullptr);
    EXPECT_EQ (text->getBounds(), juce::Rectangle<int> (1, 1, 55, 15));
    EXPECT_EQ (text->getJustificationType(), juce::Justification (juce::Justification::centred));
    EXPECT_EQ (text->getFont().getHeight(), 12.0f);
    EXPECT_FALSE (text->getFont().isBold());
    EXPECT_EQ (text->findColour (juce::Label::textColourId), lookAndFeel.findColour (juce::ComboBox::textColourId));

    // Nothing selected: no box, outline or arrow, so nothing at all.
    auto empty = blankImage (57, 17);
    {
        juce::Graphics g (empty);
        box.paintEntireComponent (g, false);
    }
    EXPECT_TRUE (isBlank (empty));

    // With a selection only the text is drawn, in the middle of the box.
    box.setSelectedId (7, juce::dontSendNotification);
    auto shown = blankImage (57, 17);
    {
        juce::Graphics g (shown);
        box.paintEntireComponent (g, false);
    }
    int left = 57, right = -1, top = 17, bottom = -1;
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 57; ++x)
            if (shown.getPixelAt (x, y).getAlpha() != 0)
            {
                left = juce::jmin (left, x); right = juce::jmax (right, x);
                top = juce::jmin (top, y); bottom = juce::jmax (bottom, y);
            }
    ASSERT_GE (right, left);
    EXPECT_NEAR ((left + right) * 0.5, 28.0, 1.5);
    EXPECT_NEAR ((top + bottom) * 0.5, 8.0, 2.0);
    EXPECT_GE (left, 1);
    EXPECT_LE (right, 55);
    box.setLookAndFeel (nullptr);
}

TEST_F (LookAndFeelTest, SliderTextBoxIsAPluginLabel)
{
    struct Case { juce::Slider::SliderStyle style; bool clearBackground; };
    for (const auto& c : { Case { juce::Slider::LinearBar, true }, Case { juce::Slider::LinearHorizontal, false },
                           Case { juce::Slider::RotaryVerticalDrag, false } })
    {
        juce::Slider slider;
        slider.setSliderStyle (c.style);
        slider.setColour (juce::Slider::textBoxTextColourId, juce::Colour (0xff102030));
        slider.setColour (juce::Slider::textBoxBackgroundColourId, juce::Colour (0xff405060));
        slider.setColour (juce::Slider::textBoxOutlineColourId, juce::Colour (0xff708090));

        std::unique_ptr<juce::Label> label (lookAndFeel.createSliderTextBox (slider));
        ASSERT_NE (dynamic_cast<MyLabel*> (label.get()), nullptr);
        EXPECT_EQ (label->getName(), "n");
        EXPECT_TRUE (label->getText().isEmpty());
        EXPECT_EQ (label->getJustificationType(), juce::Justification (juce::Justification::centred));
        EXPECT_EQ (label->findColour (juce::Label::textColourId), juce::Colour (0xff102030));
        EXPECT_EQ (label->findColour (juce::Label::backgroundColourId),
                   c.clearBackground ? juce::Colour (0x00000000) : juce::Colour (0xff405060));
        EXPECT_EQ (label->findColour (juce::Label::outlineColourId), juce::Colour (0xff708090));
        EXPECT_EQ (label->findColour (juce::TextEditor::textColourId), juce::Colour (0xff000000));
        EXPECT_EQ (label->findColour (juce::TextEditor::backgroundColourId), juce::Colour (0xfff5f5dc));
        EXPECT_EQ (label->findColour (juce::TextEditor::outlineColourId), juce::Colour (0xff708090));
        EXPECT_EQ (label->getFont().getHeight(), 13.0f);
        EXPECT_FALSE (label->isEditableOnSingleClick());
        EXPECT_TRUE (label->isEditableOnDoubleClick());
        EXPECT_FALSE (label->doesLossOfFocusDiscardChanges());
    }
}

TEST_F (LookAndFeelTest, EverythingElseIsTheBaseLook)
{
    // The colour table is the base look-and-feel's, untouched.
    juce::LookAndFeel_V3 base;
    for (int id : { (int) juce::ComboBox::textColourId, (int) juce::PopupMenu::backgroundColourId,
                    (int) juce::TextButton::buttonColourId, (int) juce::Slider::textBoxTextColourId })
        EXPECT_EQ (lookAndFeel.findColour (id), base.findColour (id)) << std::hex << id;
}
