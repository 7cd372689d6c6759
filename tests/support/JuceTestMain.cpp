// Test entry point for binaries that use the framework: the message manager
// exists for the whole run, as it does inside a host.
#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);
    juce::ScopedJuceInitialiser_GUI framework;
    return RUN_ALL_TESTS();
}
