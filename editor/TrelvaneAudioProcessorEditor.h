#pragma once

#include "controls/AngleSlider.h"
#include "controls/FreqSlider.h"
#include "controls/GainSlider.h"
#include "controls/LabelWithSlider.h"
#include "controls/TrelvaneLookAndFeel.h"
#include "controls/WidthSlider.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class TrelvaneAudioProcessor;

// The plug-in window: a fixed 650 x 543 design of five band columns (gain,
// frequency, Q and angle knobs, a filter-type menu, an output-level knob, bypass
// and solo buttons) over a background picture. Every control lives inside one
// content component of the design size; a smaller window scales that component
// down, centred, and nothing is ever repositioned.
//
// Controls are tied to their parameters by the component property "parameter"
// (the parameter id); knobs also carry "index", the number of their film strip.
// Control events write parameters; the processor's change messages refresh the
// controls unless the change came from the editor itself (guiChangePending).
class TrelvaneAudioProcessorEditor : public juce::AudioProcessorEditor,
                                     public juce::Slider::Listener,
                                     public juce::ComboBox::Listener,
                                     public juce::ChangeListener,
                                     public juce::Button::Listener,
                                     public juce::Label::Listener
{
public:
    static constexpr int numBands = 5;
    static constexpr int designWidth = 650;
    static constexpr int designHeight = 543;

    explicit TrelvaneAudioProcessorEditor (TrelvaneAudioProcessor& p);
    ~TrelvaneAudioProcessorEditor() override;

    void mouseDown (const juce::MouseEvent&) override;
    void mouseDrag (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;
    void paint (juce::Graphics& g) override;
    void resized() override;

    void sliderValueChanged (juce::Slider* knob) override;
    void sliderDragStarted (juce::Slider* knob) override;
    void sliderDragEnded (juce::Slider* knob) override;
    void comboBoxChanged (juce::ComboBox* box) override;
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;
    void buttonClicked (juce::Button* button) override;
    void labelTextChanged (juce::Label* label) override;

private:
    enum Row { gainRow, freqRow, widthRow, angleRow, levelRow, numRows };

    void addKnob (juce::Slider& knob, Row row, int band);
    void addValueLabel (std::unique_ptr<LabelWithSlider>& label, juce::Slider& knob,
                        const juce::String& labelName, Row row, int band);
    void addTypeCombo (int band);
    void addButtons (int band);
    void refreshKnob (juce::Slider& knob, juce::Label& label, const juce::String& parameterId);
    int parameterIndexOf (const juce::Component& control) const;

    // Declaration order matters: members are destroyed in reverse, so the value
    // labels go before their knobs and the content component before the controls.
    std::unique_ptr<GainSlider> gainSliders[numBands];
    std::unique_ptr<FreqSlider> freqSliders[numBands];
    std::unique_ptr<WidthSlider> widthSliders[numBands];
    std::unique_ptr<GainSlider> levelSliders[numBands];
    std::unique_ptr<AngleSlider> angleSliders[numBands];

    std::unique_ptr<LabelWithSlider> gainLabels[numBands];
    std::unique_ptr<LabelWithSlider> freqLabels[numBands];
    std::unique_ptr<LabelWithSlider> widthLabels[numBands];
    std::unique_ptr<LabelWithSlider> levelLabels[numBands];
    std::unique_ptr<LabelWithSlider> angleLabels[numBands];

    std::unique_ptr<juce::TextButton> soloButtons[numBands];
    std::unique_ptr<juce::TextButton> bypassButtons[numBands];

    int knobWidth = 0, knobHeight = 0;
    int valueLabelWidth = 60, valueLabelHeight = 20;
    int comboWidth = 57, comboHeight = 17;
    int buttonWidth = 21, buttonHeight = 21;

    std::unique_ptr<juce::ComboBox> typeCombos[numBands];

    TrelvaneAudioProcessor* eqProcessor = nullptr;
    TrelvaneLookAndFeel editorLookAndFeel;
    bool guiChangePending = false;
    std::unique_ptr<juce::Component> contentComponent;
    juce::Label versionLabel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TrelvaneAudioProcessorEditor)
};
