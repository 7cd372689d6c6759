#pragma once

// Where every knob of the editor sits on the 650 x 543 panel, how big its film
// strip frame is, and where its value label lies inside it. The pictures are
// drawn to fit this layout: each knob's printed scale on the background is
// centred on the pivot of that knob's frames.

namespace imagegen
{
constexpr int panelWidth = 650;
constexpr int panelHeight = 543;
constexpr int framesPerStrip = 69;

enum class Row { gain = 0, freq, width, angle, level };

struct KnobPlacement
{
    const char* stripName;   // file name without ".png"
    Row row;
    int band;                // 1 to 5
    int x, y;                // top-left of the knob in the panel
    int frameWidth, frameHeight;
    int labelDx, labelDy;    // value label (60 x 20) inside the knob
};

constexpr int valueLabelWidth = 60;
constexpr int valueLabelHeight = 20;

constexpr KnobPlacement knobPlacements[25] = {
    { "gainStrip1",  Row::gain,  1,  61,  25, 64, 71,  8, 52 },
    { "gainStrip2",  Row::gain,  2, 184,  29, 53, 63, -1, 47 },
    { "gainStrip3",  Row::gain,  3, 299,  31, 54, 64, -3, 46 },
    { "gainStrip4",  Row::gain,  4, 414,  28, 57, 68, -7, 49 },
    { "gainStrip5",  Row::gain,  5, 529,  29, 62, 63, -7, 48 },
    { "freqStrip1",  Row::freq,  1,  79, 107, 59, 68,  5, 47 },
    { "freqStrip2",  Row::freq,  2, 192, 110, 52, 65, -3, 44 },
    { "freqStrip3",  Row::freq,  3, 299, 109, 53, 66, -3, 45 },
    { "freqStrip4",  Row::freq,  4, 407, 107, 55, 68, -5, 47 },
    { "freqStrip5",  Row::freq,  5, 512, 107, 60, 68, -6, 47 },
    { "widthStrip1", Row::width, 1,  92, 185, 59, 68,  5, 46 },
    { "widthStrip2", Row::width, 2, 195, 184, 55, 69,  0, 47 },
    { "widthStrip3", Row::width, 3, 299, 185, 53, 67, -2, 46 },
    { "widthStrip4", Row::width, 4, 401, 186, 58, 64, -4, 45 },
    { "widthStrip5", Row::width, 5, 498, 185, 64, 68, -4, 45 },
    { "angleStrip1", Row::angle, 1, 104, 265, 62, 71,  8, 45 },
    { "angleStrip2", Row::angle, 2, 202, 263, 56, 73,  0, 47 },
    { "angleStrip3", Row::angle, 3, 301, 262, 52, 73, -6, 48 },
    { "angleStrip4", Row::angle, 4, 393, 263, 58, 69, -6, 47 },
    { "angleStrip5", Row::angle, 5, 483, 265, 61, 73, -6, 46 },
    { "levelStrip1", Row::level, 1, 127, 372, 59, 80,  6, 51 },
    { "levelStrip2", Row::level, 2, 213, 372, 58, 77,  0, 51 },
    { "levelStrip3", Row::level, 3, 299, 373, 57, 77, -4, 50 },
    { "levelStrip4", Row::level, 4, 382, 372, 61, 78, -5, 51 },
    { "levelStrip5", Row::level, 5, 466, 372, 61, 77, -8, 51 },
};

// Type menus (57 x 17) and the bypass / solo buttons (21 x 21), for the
// recessed wells of the background and for the preview.
constexpr int typeMenuX[5] = { 123, 209, 296, 383, 470 };
constexpr int typeMenuY = 338;
constexpr int typeMenuWidth = 57;
constexpr int typeMenuHeight = 17;
constexpr int bypassButtonX[5] = { 141, 223, 302, 381, 460 };
constexpr int soloButtonX[5] = { 167, 249, 328, 407, 490 };
constexpr int buttonY = 452;
constexpr int buttonSize = 21;

// The knob's pivot inside its frame and its radius; the frames and the printed
// scales both use this, so a knob always turns about the centre of its scale.
struct KnobPivot
{
    float cx, cy, radius;
};

inline KnobPivot pivotOf (const KnobPlacement& k)
{
    const float radius = k.row == Row::level ? 20.0f : 18.5f;
    // Centred over the value label where the frame leaves room for the knob
    // and its shadow, and high enough that the label's text sits below it.
    float cx = (float) k.labelDx + valueLabelWidth * 0.5f;
    const float minCx = radius + 6.0f, maxCx = (float) k.frameWidth - radius - 3.0f;
    cx = cx < minCx ? minCx : (cx > maxCx ? maxCx : cx);
    const float cy = (float) k.labelDy - radius - 5.0f;
    return { cx, cy, radius };
}

// Pointer travel either side of twelve o'clock, in degrees.
inline float halfSweepDegrees (Row row) { return row == Row::angle ? 60.0f : 150.0f; }
} // namespace imagegen
