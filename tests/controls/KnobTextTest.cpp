// Value texts of the four knob classes and the reading of typed text.
// Expected texts are the worked examples of the knob laws; expected values
// are derived from the physical quantity typed (dB, Hz, Q, degrees).

#include "controls/AngleSlider.h"
#include "controls/FreqSlider.h"
#include "controls/GainSlider.h"
#include "controls/WidthSlider.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>

namespace
{
enum class Kind { gain, freq, width, angle };

std::unique_ptr<juce::Slider> makeKnob (Kind kind)
{
    std::unique_ptr<juce::Slider> knob;
    switch (kind)
    {
        case Kind::gain:  knob = std::make_unique<GainSlider> ("gainSlider1"); break;
        case Kind::freq:  knob = std::make_unique<FreqSlider> ("freqSlider1"); break;
        case Kind::width: knob = std::make_unique<WidthSlider> ("widthSlider1"); break;
        case Kind::angle: knob = std::make_unique<AngleSlider> ("angleSlider1"); break;
    }
    knob->setRange (0.0, 1.0, 0.0);
    return knob;
}

const char* kindName (Kind k)
{
    switch (k)
    {
        case Kind::gain: return "gain";
        case Kind::freq: return "freq";
        case Kind::width: return "Q";
        case Kind::angle: return "angle";
    }
    return "?";
}

// normalised value of a frequency on the 16 Hz .. 22 kHz logarithmic travel
double valueOfHz (double hz) { return std::log (hz / 16.0) / std::log (22000.0 / 16.0); }
// normalised value of a Q on the upper, fourth-power half of the travel
double valueOfUpperQ (double q) { return std::pow ((q - 0.1) / 6.4, 0.25); }
} // namespace

TEST (KnobText, ValueToText)
{
    struct Case { Kind kind; double value; const char* text; };
    const Case cases[] = {
        { Kind::gain, 0.0,   "-20.00 dB" },
        { Kind::gain, 0.5,   "0.00 dB" },
        { Kind::gain, 0.575, "3.00 dB" },
        { Kind::gain, 0.8,   "12.00 dB" },
        { Kind::gain, 1.0,   "20.00 dB" },
        { Kind::gain, 0.4999, "-0.00 dB" },          // -0.004 dB keeps its sign
        { Kind::gain, 0.5 + 0.1234 / 40.0, "0.12 dB" },
        { Kind::gain, 0.5 + 0.1266 / 40.0, "0.13 dB" },

        { Kind::freq, 0.0, "16 Hz" },
        { Kind::freq, 0.1, "33 Hz" },
        { Kind::freq, 0.5, "593 Hz" },               // 593.30 Hz
        { Kind::freq, 0.7, "2517 Hz" },
        { Kind::freq, 0.9, "10.7 kHz" },
        { Kind::freq, 1.0, "22.0 kHz" },
        { Kind::freq, valueOfHz (440.6), "441 Hz" }, // rounded, not truncated
        { Kind::freq, valueOfHz (9999.2), "9999 Hz" },
        { Kind::freq, valueOfHz (9999.7), "10000 Hz" },   // still below the kHz switch
        { Kind::freq, valueOfHz (10000.4), "10.0 kHz" },
        { Kind::freq, valueOfHz (15049.0), "15.0 kHz" },
        { Kind::freq, valueOfHz (15051.0), "15.1 kHz" },

        { Kind::width, 0.0,  "Q: 0.100" },
        { Kind::width, 0.25, "Q: 0.300" },
        { Kind::width, 0.5,  "Q: 0.500" },
        { Kind::width, 0.75, "Q: 2.125" },          // 6.4 * 0.75^4 + 0.1 = 2.1250
        { Kind::width, 1.0,  "Q: 6.500" },
        { Kind::width, valueOfUpperQ (0.707), "Q: 0.707" },

        { Kind::angle, 0.0,  "-45.0 deg" },
        { Kind::angle, 0.5,  "0.0 deg" },
        { Kind::angle, 1.0,  "45.0 deg" },
        { Kind::angle, 0.25, "-22.5 deg" },
        { Kind::angle, 0.5 - 0.01 / 90.0, "-0.0 deg" },
        { Kind::angle, (10.0 / 90.0) + 0.5, "10.0 deg" },
    };

    for (const auto& c : cases)
    {
        auto knob = makeKnob (c.kind);
        EXPECT_EQ (knob->getTextFromValue (c.value), juce::String (c.text))
            << kindName (c.kind) << " at value " << c.value;
    }
}

TEST (KnobText, TextToValue)
{
    constexpr double unchanged = std::numeric_limits<double>::quiet_NaN();   // knob must stay put
    constexpr double start = 0.3;                                           // where each knob starts

    struct Case { Kind kind; const char* text; double parsed; double shown; };
    const Case cases[] = {
        // gain: dB / 40 + 0.5, units ignored, no number reads as 0 dB
        { Kind::gain, "3",          0.575,  0.575 },
        { Kind::gain, "3 dB",       0.575,  0.575 },
        { Kind::gain, "  -6.5dB",   0.3375, 0.3375 },
        { Kind::gain, "12",         0.8,    0.8 },
        { Kind::gain, "1e1",        0.75,   0.75 },
        { Kind::gain, "loud",       0.5,    0.5 },
        { Kind::gain, "-30",       -0.25,   0.0 },     // beyond the range: limited by the slider
        { Kind::gain, "40",         1.5,    1.0 },
        { Kind::gain, "inf",        unchanged, start },
        { Kind::gain, "-inf",       unchanged, start },
        { Kind::gain, "nan",        unchanged, start },
        { Kind::gain, "1e999",      unchanged, start },

        // frequency: the number is hertz whatever unit follows it
        { Kind::freq, "593 Hz",     valueOfHz (593.0),   valueOfHz (593.0) },
        { Kind::freq, "1000",       valueOfHz (1000.0),  valueOfHz (1000.0) },
        { Kind::freq, "16",         0.0,  0.0 },
        { Kind::freq, "22000",      1.0,  1.0 },
        { Kind::freq, "10.0 kHz",   valueOfHz (10.0),    0.0 },   // 10 Hz, below the range
        { Kind::freq, "2 kHz",      valueOfHz (2.0),     0.0 },
        { Kind::freq, "30000",      valueOfHz (30000.0), 1.0 },
        { Kind::freq, "0",          unchanged, start },          // 0 Hz: minus infinity
        { Kind::freq, "0 Hz",       unchanged, start },
        { Kind::freq, "Hz",         unchanged, start },          // no number reads as 0 Hz
        { Kind::freq, "-100",       unchanged, start },          // no logarithm
        { Kind::freq, "nan",        unchanged, start },
        { Kind::freq, "inf",        unchanged, start },

        // Q: the number after the first space, only numbers above 0 move the knob
        { Kind::width, "Q: 2",      valueOfUpperQ (2.0),   valueOfUpperQ (2.0) },
        { Kind::width, "2",         valueOfUpperQ (2.0),   valueOfUpperQ (2.0) },
        { Kind::width, "Q: 0.707",  valueOfUpperQ (0.707), valueOfUpperQ (0.707) },
        { Kind::width, "Q: 6.5",    1.0,  1.0 },
        { Kind::width, "Q: 0.3",    0.25, 0.25 },                 // (0.3 - 0.1) / 0.8
        { Kind::width, "Q: 0.1",    0.0,  0.0 },
        { Kind::width, "0.05",     -0.0625, 0.0 },                // below Q 0.1: limited
        { Kind::width, "Q: 10",     valueOfUpperQ (10.0), 1.0 },
        { Kind::width, "Q:",        unchanged, start },
        { Kind::width, "Q: ",       unchanged, start },
        { Kind::width, "0",         unchanged, start },
        { Kind::width, "Q: -1",     unchanged, start },
        { Kind::width, "2 x",       unchanged, start },           // reads "x"
        { Kind::width, "Q: inf",    unchanged, start },
        { Kind::width, "Q: nan",    unchanged, start },

        // angle: degrees from the middle, / 90 + 0.5
        { Kind::angle, "-10 deg",   0.5 - 10.0 / 90.0, 0.5 - 10.0 / 90.0 },
        { Kind::angle, "22.5",      0.75, 0.75 },
        { Kind::angle, "-45",       0.0,  0.0 },
        { Kind::angle, "90",        1.5,  1.0 },
        { Kind::angle, "left",      0.5,  0.5 },
        { Kind::angle, "nan",       unchanged, start },
        { Kind::angle, "-inf",      unchanged, start },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (std::string (kindName (c.kind)) + " reading \"" + c.text + "\"");
        auto knob = makeKnob (c.kind);
        knob->setValue (start, juce::dontSendNotification);

        const double parsed = knob->getValueFromText (c.text);
        if (std::isnan (c.parsed))
            EXPECT_EQ (parsed, start);
        else
            EXPECT_NEAR (parsed, c.parsed, 1e-12);

        knob->setValue (parsed, juce::dontSendNotification);
        EXPECT_NEAR (knob->getValue(), c.shown, 1e-12);
        EXPECT_TRUE (knob->getValue() >= 0.0 && knob->getValue() <= 1.0);
    }
}

TEST (KnobText, WrittenTextReadsBackToItsValue)
{
    // What a label shows, typed back in, lands where the knob was: exactly
    // for gain and angle, within the text's rounding for frequency and Q.
    struct Case { Kind kind; double tolerance; };
    const Case cases[] = { { Kind::gain, 1e-4 }, { Kind::angle, 1e-3 }, { Kind::freq, 2e-3 }, { Kind::width, 2e-3 } };

    for (const auto& c : cases)
    {
        for (int i = 0; i <= 20; ++i)
        {
            const double value = i / 20.0;
            auto knob = makeKnob (c.kind);
            const auto text = knob->getTextFromValue (value);
            if (c.kind == Kind::freq && text.endsWith ("kHz"))
                continue;   // the unit is not read back
            knob->setValue (knob->getValueFromText (text), juce::dontSendNotification);
            EXPECT_NEAR (knob->getValue(), value, c.tolerance) << kindName (c.kind) << " \"" << text << "\"";
        }
    }
}
