#pragma once

#include "RenderOptions.h"

// Runs the plug-in's processor over an input file into an output file. The
// output appears only when the whole render succeeded: it is written to a
// temporary file next to it and moved into place at the end.
class Renderer
{
public:
    explicit Renderer (const RenderOptions& optionsToRun) : options (optionsToRun) {}

    // Returns an empty string on success, otherwise a one-line description
    // of the problem.
    juce::String run();

private:
    const RenderOptions& options;
};
