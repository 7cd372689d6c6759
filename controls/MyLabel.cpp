#include "MyLabel.h"

MyLabel::MyLabel (const juce::String& labelName, const juce::String& labelText)
    : juce::Label (labelName, labelText)
{
}

MyLabel::~MyLabel() = default;

juce::TextEditor* MyLabel::createEditorComponent()
{
    // The framework's own editor (name, font and colours from the label),
    // with the whole text selected as soon as it has the focus, so the first
    // key typed replaces it.
    auto* textEditor = juce::Label::createEditorComponent();
    textEditor->setSelectAllWhenFocused (true);
    return textEditor;
}

void MyLabel::editorShown (juce::TextEditor*)
{
}

void MyLabel::editorAboutToBeHidden (juce::TextEditor*)
{
}
