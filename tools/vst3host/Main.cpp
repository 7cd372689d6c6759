// A minimal VST3 host for driving a plug-in's editor in a real desktop window.
//
//   trelvane-vst3host BUNDLE.vst3 [--x X --y Y]
//
// Loads the first plug-in in the bundle through the framework's VST3 hosting,
// opens its editor in a borderless window at (X, Y) and then answers commands
// on standard input, one per line:
//
//   window   -> "window X Y W H": the editor's bounds on the screen
//   params   -> "param INDEX NAME VALUE TEXT" per parameter, then "end"
//   events   -> "events CHANGES BEGINS ENDS": what the plug-in reported to
//               the host since it was loaded (edits and gesture brackets)
//   changes  -> "change INDEX VALUE" per reported edit, then "end"
//   quit     -> closes the editor, releases the plug-in and exits
//
// Every answer line is flushed at once, so a script can read it through a pipe.
// The first line printed is "ready X Y W H" once the editor is on screen.

#include "XlibSetup.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace
{
void say (const juce::String& line)
{
    std::cout << line << std::endl;
}

// Records what the plug-in tells its host, as any host's automation
// recording would see it.
class EditRecorder : public juce::AudioProcessorListener
{
public:
    struct Edit
    {
        int index;
        float value;
    };

    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override
    {
        const std::lock_guard<std::mutex> lock (mutex);
        edits.push_back ({ index, value });
    }

    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}

    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int) override { ++begins; }
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int) override { ++ends; }

    std::vector<Edit> getEdits() const
    {
        const std::lock_guard<std::mutex> lock (mutex);
        return edits;
    }

    std::atomic<int> begins { 0 }, ends { 0 };

private:
    mutable std::mutex mutex;
    std::vector<Edit> edits;
};

// A borderless top-level window that is exactly the size of the editor in it.
class HostWindow : public juce::Component
{
public:
    explicit HostWindow (juce::AudioProcessorEditor& editorToShow) : editor (editorToShow)
    {
        setOpaque (true);
        addAndMakeVisible (editor);
        setSize (editor.getWidth(), editor.getHeight());
    }

    void paint (juce::Graphics& g) override { g.fillAll (juce::Colours::darkgrey); }
    void resized() override { editor.setBounds (getLocalBounds()); }

    void childBoundsChanged (juce::Component* child) override
    {
        if (child == &editor && child->getBounds() != getLocalBounds())
            setSize (child->getWidth(), child->getHeight());
    }

private:
    juce::AudioProcessorEditor& editor;
};

class HostSession
{
public:
    bool open (const juce::File& bundle, juce::Point<int> windowPosition, juce::String& error)
    {
        juce::OwnedArray<juce::PluginDescription> types;
        format.findAllTypesForFile (types, bundle.getFullPathName());

        if (types.isEmpty())
        {
            error = "no VST3 plug-in found in " + bundle.getFullPathName();
            return false;
        }

        plugin = format.createInstanceFromDescription (*types[0], sampleRate, blockSize, error);

        if (plugin == nullptr)
            return false;

        plugin->addListener (&recorder);
        plugin->enableAllBuses();
        plugin->prepareToPlay (sampleRate, blockSize);

        editor.reset (plugin->createEditorIfNeeded());

        if (editor == nullptr)
        {
            error = "the plug-in has no editor";
            return false;
        }

        window = std::make_unique<HostWindow> (*editor);
        window->setTopLeftPosition (windowPosition);
        window->addToDesktop (0);
        window->setVisible (true);
        window->toFront (true);
        return true;
    }

    void close()
    {
        window.reset();
        editor.reset();

        if (plugin != nullptr)
        {
            plugin->removeListener (&recorder);
            plugin->releaseResources();
            plugin.reset();
        }
    }

    juce::String describeWindow() const
    {
        const auto r = editor->getScreenBounds();
        return juce::String (r.getX()) + " " + juce::String (r.getY()) + " " + juce::String (r.getWidth()) + " "
               + juce::String (r.getHeight());
    }

    void handle (const juce::String& command)
    {
        if (command == "window")
        {
            say ("window " + describeWindow());
        }
        else if (command == "params")
        {
            const auto& params = plugin->getParameters();
            for (int i = 0; i < params.size(); ++i)
            {
                auto* p = params[i];
                say ("param " + juce::String (i) + " " + p->getName (64) + " "
                     + juce::String (p->getValue(), 9) + " " + p->getCurrentValueAsText());
            }
            say ("end");
        }
        else if (command == "events")
        {
            say ("events " + juce::String ((int) recorder.getEdits().size()) + " " + juce::String (recorder.begins.load())
                 + " " + juce::String (recorder.ends.load()));
        }
        else if (command == "changes")
        {
            for (const auto& edit : recorder.getEdits())
                say ("change " + juce::String (edit.index) + " " + juce::String (edit.value, 9));
            say ("end");
        }
        else if (command == "quit")
        {
            close();
            juce::MessageManager::getInstance()->stopDispatchLoop();
        }
        else if (command.isNotEmpty())
        {
            say ("error unknown command " + command);
        }
    }

private:
    static constexpr double sampleRate = 44100.0;
    static constexpr int blockSize = 512;

    juce::VST3PluginFormat format;
    std::unique_ptr<juce::AudioPluginInstance> plugin;
    std::unique_ptr<juce::AudioProcessorEditor> editor;
    std::unique_ptr<HostWindow> window;
    EditRecorder recorder;
};

int intOption (const juce::StringArray& args, const juce::String& name, int fallback)
{
    const int at = args.indexOf (name);
    return at >= 0 && at + 1 < args.size() ? args[at + 1].getIntValue() : fallback;
}
} // namespace

int main (int argc, char** argv)
{
    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
        args.add (argv[i]);

    if (args.isEmpty() || args[0].startsWith ("-"))
    {
        std::cerr << "usage: trelvane-vst3host BUNDLE.vst3 [--x X --y Y]" << std::endl;
        return 2;
    }

    prepareXlibForPluginHosting();
    juce::ScopedJuceInitialiser_GUI framework;
    HostSession session;
    juce::String error;

    const juce::File bundle (juce::File::getCurrentWorkingDirectory().getChildFile (args[0]));
    const juce::Point<int> position (intOption (args, "--x", 0), intOption (args, "--y", 0));

    if (! session.open (bundle, position, error))
    {
        std::cerr << "error: " << error << std::endl;
        session.close();
        return 1;
    }

    // Let the window appear and the plug-in attach its view before announcing it.
    juce::Timer::callAfterDelay (300, [&session] { say ("ready " + session.describeWindow()); });

    // Commands arrive on a reader thread and run on the message thread.
    std::thread reader ([&session]
    {
        std::string line;
        while (std::getline (std::cin, line))
        {
            const auto command = juce::String (line).trim();
            juce::MessageManager::callAsync ([&session, command] { session.handle (command); });

            if (command == "quit")
                return;
        }

        juce::MessageManager::callAsync ([&session] { session.handle ("quit"); });
    });

    juce::MessageManager::getInstance()->runDispatchLoop();
    reader.join();
    return 0;
}
