// Fitting the fixed design into other window sizes: scaled down (never up),
// centred, background and controls moved together.

#include "EditorTestSupport.h"

using namespace editortest;

namespace
{
struct ScaledEditor : public ::testing::Test
{
    TrelvaneAudioProcessor processor;
    TrelvaneAudioProcessorEditor editor { processor };

    juce::Component& content() { return *editor.getChildComponent (0); }
};

TEST_F (ScaledEditor, ScalesDownNeverUpAndCentres)
{
    struct Case
    {
        int width, height;
        float scale, tx, ty;
    };
    const float fitHeight = (float) (400.0 / 543.0);
    const float justBelow = (float) (542.0 / 543.0);
    const Case cases[] = {
        { 650, 543, 1.0f, 0.0f, 0.0f },
        { 1300, 1086, 1.0f, 325.0f, 271.5f },
        { 325, 543, 0.5f, 0.0f, 135.75f },
        { 650, 400, fitHeight, (650.0f - 650.0f * fitHeight) * 0.5f, 0.0f },
        { 650, 542, justBelow, (650.0f - 650.0f * justBelow) * 0.5f, 0.0f },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.width) + " x " + juce::String (c.height));
        editor.setSize (c.width, c.height);
        const auto t = content().getTransform();
        EXPECT_FLOAT_EQ (t.mat00, c.scale);
        EXPECT_FLOAT_EQ (t.mat11, c.scale);
        EXPECT_EQ (t.mat01, 0.0f);
        EXPECT_EQ (t.mat10, 0.0f);
        EXPECT_NEAR (t.mat02, c.tx, 1e-4);
        EXPECT_NEAR (t.mat12, c.ty, 1e-4);
        EXPECT_EQ (content().getBounds(), juce::Rectangle<int> (0, 0, 650, 543)) << "only the transform changes";

        // A control lands where the transform puts its design position.
        auto& knob = control<juce::Slider> (editor, "levelSlider5");
        const auto where = editor.getLocalPoint (&knob, juce::Point<float> (0.0f, 0.0f));
        EXPECT_NEAR (where.x, 466.0f * c.scale + c.tx, 1e-3);
        EXPECT_NEAR (where.y, 372.0f * c.scale + c.ty, 1e-3);
    }

    EXPECT_LT (fitHeight, 0.7367f);
    EXPECT_GT (fitHeight, 0.7365f);
}

TEST_F (ScaledEditor, AnEmptyWindowKeepsThePreviousTransform)
{
    editor.setSize (325, 543);
    const auto before = content().getTransform();

    for (auto size : { juce::Point<int> (0, 0), juce::Point<int> (0, 543), juce::Point<int> (650, 0) })
    {
        editor.setSize (size.x, size.y);
        EXPECT_EQ (content().getTransform(), before);
    }
}

// Renders the editor with its children at its current size.
juce::Image render (juce::Component& c)
{
    return c.createComponentSnapshot (c.getLocalBounds(), true, 1.0f);
}

bool samePixels (const juce::Image& a, juce::Rectangle<int> areaOfA, const juce::Image& b)
{
    for (int y = 0; y < areaOfA.getHeight(); ++y)
        for (int x = 0; x < areaOfA.getWidth(); ++x)
            if (a.getPixelAt (areaOfA.getX() + x, areaOfA.getY() + y) != b.getPixelAt (x, y))
                return false;
    return true;
}

bool allBlack (const juce::Image& image, juce::Rectangle<int> area)
{
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            if (image.getPixelAt (x, y).getARGB() != 0xff000000)
                return false;
    return true;
}

TEST_F (ScaledEditor, PaintsTheBackgroundUnderTheMovedControlsAndBlackAround)
{
    const auto atDesignSize = render (editor);
    ASSERT_FALSE (allBlack (atDesignSize, { 0, 0, 650, 543 })) << "the background picture is drawn";

    // Twice the size in both directions, with whole-pixel offsets (325, 272):
    // the design is shown unscaled in the middle, exactly as at design size.
    editor.setSize (1300, 1087);
    const auto enlarged = render (editor);
    EXPECT_TRUE (samePixels (enlarged, { 325, 272, 650, 543 }, atDesignSize));
    EXPECT_TRUE (allBlack (enlarged, { 0, 0, 1300, 272 }));
    EXPECT_TRUE (allBlack (enlarged, { 0, 815, 1300, 272 }));
    EXPECT_TRUE (allBlack (enlarged, { 0, 0, 325, 1087 }));
    EXPECT_TRUE (allBlack (enlarged, { 975, 0, 325, 1087 }));

    // Half width: a half-size design centred vertically, black above and below.
    editor.setSize (325, 543);
    const auto reduced = render (editor);
    EXPECT_TRUE (allBlack (reduced, { 0, 0, 325, 135 }));
    EXPECT_TRUE (allBlack (reduced, { 0, 408, 325, 135 }));
    EXPECT_FALSE (allBlack (reduced, { 0, 137, 325, 270 }));
}
} // namespace
