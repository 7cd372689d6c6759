// trelvane-render: runs the Trelvane equaliser on an audio file.
#include "Renderer.h"

#include <juce_events/juce_events.h>

#include <iostream>

int main (int argc, char** argv)
{
    juce::StringArray arguments;
    for (int i = 1; i < argc; ++i)
        arguments.add (juce::String::fromUTF8 (argv[i]));

    juce::String error;
    const auto options = RenderOptions::parse (arguments, error);
    if (! options)
    {
        std::cerr << "trelvane-render: " << error << std::endl;
        return 2;
    }

    if (options->showHelp)
    {
        std::cout << RenderOptions::usage();
        return 0;
    }

    juce::ScopedJuceInitialiser_GUI framework;
    const auto problem = Renderer (*options).run();
    if (problem.isNotEmpty())
    {
        std::cerr << "trelvane-render: " << problem << std::endl;
        return 1;
    }
    return 0;
}
