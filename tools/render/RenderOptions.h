#pragma once

#include <juce_core/juce_core.h>

#include <optional>
#include <utility>
#include <vector>

// The command line of trelvane-render, checked before any file is touched.
struct RenderOptions
{
    juce::File input;
    juce::File output;
    std::vector<std::pair<int, float>> parameterValues; // (index, normalised value), in command-line order
    std::optional<int> program;
    std::optional<juce::File> stateToLoad;
    std::optional<juce::File> stateToSave;
    int blockSize = 512;
    bool showHelp = false;

    // Parses the arguments (without the program name). On a problem, returns
    // nothing and puts a one-line description into `error`.
    static std::optional<RenderOptions> parse (const juce::StringArray& arguments, juce::String& error);

    static juce::String usage();
};
