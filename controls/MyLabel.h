#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The plug-in's label: its in-place editor selects all of its text when it
// opens, and the label says nothing about the editor opening or closing
// (its listeners still hear about text changes).
class MyLabel : public juce::Label
{
public:
    MyLabel (const juce::String& labelName, const juce::String& labelText);
    ~MyLabel() override;

protected:
    juce::TextEditor* createEditorComponent() override;
    void editorShown (juce::TextEditor*) override;
    void editorAboutToBeHidden (juce::TextEditor*) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MyLabel)
};
