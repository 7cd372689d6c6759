// Renders the editor's pictures: the background and the 25 knob film strips,
// quantised to palette PNGs, plus a preview sheet that shows the finished
// panel with every knob at its lowest, middle and highest frame.
//
//   trelvane-imagegen --resources <dir> --work <dir> [--fonts <dir>] [--no-quantise]

#include "KnobRenderer.h"
#include "PanelRenderer.h"

#include <juce_core/juce_core.h>
#include <juce_graphics/juce_graphics.h>

#include <cmath>
#include <iostream>
#include <stdexcept>

using namespace imagegen;

namespace
{
void writePng (const juce::Image& image, const juce::File& file)
{
    file.deleteFile();
    file.getParentDirectory().createDirectory();
    juce::FileOutputStream out (file);
    juce::PNGImageFormat png;
    if (! out.openedOk() || ! png.writeImageToStream (image, out))
        throw std::runtime_error (("cannot write " + file.getFullPathName()).toStdString());
}

juce::Image readPng (const juce::File& file)
{
    auto image = juce::ImageFileFormat::loadFrom (file);
    if (! image.isValid())
        throw std::runtime_error (("cannot decode " + file.getFullPathName()).toStdString());
    return image.convertedToFormat (juce::Image::ARGB);
}

// Palette quantisation with Debian's pngquant: 256 colours with alpha,
// Floyd-Steinberg dithering, no metadata; the output depends only on the input.
void quantise (const juce::File& in, const juce::File& out)
{
    out.deleteFile();
    juce::StringArray args { "pngquant", "--force", "--strip", "--speed", "1", "--output",
                             out.getFullPathName(), "256", "--", in.getFullPathName() };
    juce::ChildProcess process;
    if (! process.start (args) )
        throw std::runtime_error ("cannot start pngquant");
    const auto output = process.readAllProcessOutput();
    if (process.getExitCode() != 0 || ! out.existsAsFile())
        throw std::runtime_error (("pngquant failed on " + in.getFullPathName() + ": " + output).toStdString());
}

juce::String valueText (Row row, double v)
{
    switch (row)
    {
        case Row::gain:
        case Row::level: return juce::String ((v - 0.5) * 40.0, 2) + " dB";
        case Row::freq:
        {
            const float f = (float) (16.0 * std::pow (22000.0 / 16.0, v));
            return f < 10000.0f ? juce::String ((int) (f + 0.5)) + " Hz" : juce::String (f / 1000.0f, 1) + " kHz";
        }
        case Row::width: return "Q: " + juce::String (v < 0.5 ? v * 0.8 + 0.1 : 6.4 * std::pow (v, 4.0) + 0.1, 3);
        case Row::angle: return juce::String ((v - 0.5) * 90.0, 1) + " deg";
    }
    return {};
}

// The panel as the editor shows it with every knob at one frame.
juce::Image composePanel (const juce::Image& background, const juce::Image* strips, int frame, const juce::Font& labelFont)
{
    juce::Image panel (juce::Image::ARGB, panelWidth, panelHeight, true);
    juce::Graphics g (panel);
    g.fillAll (juce::Colours::black);
    g.drawImageAt (background, 0, 0);

    const char* types[] = { "LP", "Peak", "LowShelf", "Notch", "HighShelf" };
    for (int band = 0; band < 5; ++band)
    {
        g.setColour (juce::Colours::black);
        g.setFont (juce::Font (labelFont).withHeight (12.0f));
        g.drawText (types[band], typeMenuX[band] + 1, typeMenuY + 1, typeMenuWidth - 2, typeMenuHeight - 2, juce::Justification::centred);
        for (int b = 0; b < 2; ++b)
        {
            const int x = b == 0 ? bypassButtonX[band] : soloButtonX[band];
            const bool on = (band + b) % 3 == 0;
            g.setColour (on ? juce::Colours::orange : juce::Colours::lightgrey);
            g.fillRoundedRectangle ((float) x, (float) buttonY, (float) buttonSize, (float) buttonSize, 3.0f);
            g.setColour (juce::Colours::black);
            g.drawText (b == 0 ? "X" : "S", x, buttonY, buttonSize, buttonSize, juce::Justification::centred);
        }
    }

    for (int i = 0; i < 25; ++i)
    {
        const auto& k = knobPlacements[i];
        g.drawImage (strips[i], k.x, k.y, k.frameWidth, k.frameHeight, 0, frame * k.frameHeight, k.frameWidth, k.frameHeight);
        g.saveState();
        g.reduceClipRegion (k.x, k.y, k.frameWidth, k.frameHeight);
        g.setColour (juce::Colours::white);
        g.setFont (labelFont);
        g.drawText (valueText (k.row, frame / 68.0), k.x + k.labelDx, k.y + k.labelDy, valueLabelWidth, valueLabelHeight,
                    juce::Justification::centred, true);
        g.restoreState();
    }
    g.setColour (juce::Colours::grey);
    g.setFont (juce::Font (labelFont).withHeight (11.0f));
    g.drawText ("v1.0.8", 3, 528, 60, 12, juce::Justification::centred);
    return panel;
}

juce::File argValue (const juce::StringArray& args, const juce::String& name, const juce::String& fallback)
{
    const int i = args.indexOf (name);
    if (i >= 0 && i + 1 < args.size())
        return juce::File::getCurrentWorkingDirectory().getChildFile (args[i + 1]);
    if (fallback.isEmpty())
        throw std::runtime_error (("missing " + name).toStdString());
    return juce::File (fallback);
}
} // namespace

int main (int argc, char** argv)
{
    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
        args.add (argv[i]);

    try
    {
        const auto resources = argValue (args, "--resources", {});
        const auto work = argValue (args, "--work", {});
        const auto fonts = argValue (args, "--fonts", "/usr/share/fonts/truetype/dejavu");
        const bool quantised = ! args.contains ("--no-quantise");
        const auto raw = work.getChildFile ("raw");
        raw.createDirectory();
        resources.createDirectory();

        auto ship = [&] (const juce::Image& image, const juce::String& name)
        {
            const auto rawFile = raw.getChildFile (name + ".png");
            const auto outFile = resources.getChildFile (name + ".png");
            writePng (image, rawFile);
            if (quantised) quantise (rawFile, outFile);
            else rawFile.copyFileTo (outFile);
            std::cout << name << ".png " << outFile.getSize() << " bytes" << std::endl;
            return readPng (outFile);
        };

        PanelRenderer panel (fonts);
        const auto background = ship (panel.renderBackground(), "backgroundImage");

        juce::Image strips[25];
        for (int i = 0; i < 25; ++i)
            strips[i] = ship (KnobRenderer::renderStrip (knobPlacements[i]), knobPlacements[i].stripName);

        // Preview sheet: frames 0, 34 and 68 one below the other.
        juce::MemoryBlock labelFontData;
        fonts.getChildFile ("DejaVuSans.ttf").loadFileAsData (labelFontData);
        const auto face = juce::Typeface::createSystemTypefaceFor (labelFontData.getData(), labelFontData.getSize());
        const juce::Font labelFont = juce::Font (face).withHeight (15.0f);
        const int frames[] = { 0, 34, 68 };
        juce::Image sheet (juce::Image::ARGB, panelWidth, panelHeight * 3 + 20, true);
        {
            juce::Graphics g (sheet);
            g.fillAll (juce::Colour (0xff303030));
            for (int i = 0; i < 3; ++i)
            {
                const auto p = composePanel (background, strips, frames[i], labelFont);
                writePng (p, work.getChildFile ("preview-frame" + juce::String (frames[i]) + ".png"));
                g.drawImageAt (p, 0, i * (panelHeight + 10));
            }
        }
        writePng (sheet, work.getChildFile ("preview.png"));

        // Close-ups for judging detail: two corners of the middle-frame panel at 3x.
        const auto middle = composePanel (background, strips, 34, labelFont);
        const juce::Rectangle<int> crops[] = { { 0, 0, 330, 250 }, { 320, 250, 330, 293 } };
        for (int i = 0; i < 2; ++i)
        {
            const auto& c = crops[i];
            juce::Image zoom (juce::Image::ARGB, c.getWidth() * 3, c.getHeight() * 3, true);
            juce::Graphics g (zoom);
            g.setImageResamplingQuality (juce::Graphics::lowResamplingQuality);
            g.drawImage (middle, 0, 0, zoom.getWidth(), zoom.getHeight(), c.getX(), c.getY(), c.getWidth(), c.getHeight());
            writePng (zoom, work.getChildFile ("preview-zoom" + juce::String (i + 1) + ".png"));
        }
        std::cout << "preview sheet: " << work.getChildFile ("preview.png").getFullPathName() << std::endl;
    }
    catch (const std::exception& e)
    {
        std::cerr << "trelvane-imagegen: " << e.what() << std::endl;
        return 1;
    }
    return 0;
}
