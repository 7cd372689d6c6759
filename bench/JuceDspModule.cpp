// The framework's DSP module, compiled with the plug-in's configuration.
#include <juce_dsp/juce_dsp.cpp>
