#include "RenderOptions.h"

#include "host/ParameterStore.h"
#include "host/StrictNumber.h"

#include <cmath>

juce::String RenderOptions::usage()
{
    return "usage: trelvane-render IN OUT [--set ID=VALUE ...] [--program N] [--state FILE] [--save-state FILE] [--block N]\n"
           "\n"
           "Runs the Trelvane equaliser on an audio file (WAV, AIFF or FLAC) and writes a\n"
           "32-bit float WAV at the input's sample rate and channel count.\n"
           "\n"
           "  --set ID=VALUE     set a parameter by id to a normalised value, as a host sends\n"
           "                     it (nominally 0 to 1); may be repeated. Ids, per band N = 1..5:\n"
           "                     gainN freqN widthN angleN levelN typeN bypassN soloN\n"
           "                     (angleN: 0 = left, 0.5 = middle, 1 = right; typeN = 1/k for\n"
           "                     k = 1 LP, 2 HP, 3 BP, 4 BP2, 5 Notch, 7 Peak, 8 LowShelf,\n"
           "                     9 HighShelf)\n"
           "  --program N        select program N (0 to 9)\n"
           "  --state FILE       restore a saved state block (as written by --save-state)\n"
           "  --save-state FILE  write the state block in effect for the render\n"
           "  --block N          process in blocks of N samples (default 512)\n"
           "\n"
           "Settings apply in this order, wherever they stand on the line: --state, then\n"
           "--program, then every --set in turn from left to right. Mono input passes\n"
           "through unchanged, as in a host. On any problem the tool prints one line,\n"
           "exits non-zero and leaves no output file.\n";
}

std::optional<RenderOptions> RenderOptions::parse (const juce::StringArray& arguments, juce::String& error)
{
    RenderOptions options;
    juce::StringArray positional;

    for (int i = 0; i < arguments.size(); ++i)
    {
        const auto& argument = arguments[i];

        if (argument == "--help" || argument == "-h")
        {
            options.showHelp = true;
            return options;
        }

        const bool takesValue = argument == "--set" || argument == "--program" || argument == "--state"
                             || argument == "--save-state" || argument == "--block";
        if (takesValue && i + 1 >= arguments.size())
        {
            error = argument + " needs a value";
            return std::nullopt;
        }

        if (argument == "--set")
        {
            const auto assignment = arguments[++i];
            const auto id = assignment.upToFirstOccurrenceOf ("=", false, false);
            const auto valueText = assignment.fromFirstOccurrenceOf ("=", false, false);
            if (! assignment.containsChar ('='))
            {
                error = "--set expects ID=VALUE, got \"" + assignment + "\"";
                return std::nullopt;
            }
            const int index = ParameterStore::indexOf (id);
            if (index < 0)
            {
                error = "unknown parameter id \"" + id + "\"";
                return std::nullopt;
            }
            const auto value = StrictNumber::parseFinite (valueText);
            if (! value || ! std::isfinite ((float) *value))
            {
                error = "value of " + id + " is not a number: \"" + valueText + "\"";
                return std::nullopt;
            }
            options.parameterValues.emplace_back (index, (float) *value);
        }
        else if (argument == "--program")
        {
            const auto program = StrictNumber::parseInteger (arguments[++i]);
            if (! program || *program < 0 || *program > 9)
            {
                error = "program must be a whole number from 0 to 9, got \"" + arguments[i] + "\"";
                return std::nullopt;
            }
            options.program = program;
        }
        else if (argument == "--block")
        {
            const auto block = StrictNumber::parseInteger (arguments[++i]);
            if (! block || *block < 1)
            {
                error = "block size must be a whole number of at least 1, got \"" + arguments[i] + "\"";
                return std::nullopt;
            }
            options.blockSize = *block;
        }
        else if (argument == "--state")
        {
            options.stateToLoad = juce::File::getCurrentWorkingDirectory().getChildFile (arguments[++i]);
        }
        else if (argument == "--save-state")
        {
            options.stateToSave = juce::File::getCurrentWorkingDirectory().getChildFile (arguments[++i]);
        }
        else if (argument.startsWith ("--"))
        {
            error = "unknown option " + argument;
            return std::nullopt;
        }
        else
        {
            positional.add (argument);
        }
    }

    if (positional.size() != 2)
    {
        error = positional.size() < 2 ? "expected an input and an output file (see --help)"
                                      : "too many file arguments (see --help)";
        return std::nullopt;
    }

    options.input = juce::File::getCurrentWorkingDirectory().getChildFile (positional[0]);
    options.output = juce::File::getCurrentWorkingDirectory().getChildFile (positional[1]);
    return options;
}
