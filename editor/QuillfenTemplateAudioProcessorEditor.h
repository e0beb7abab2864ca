#pragma once

#include "controls/BetterSlider.h"
#include "controls/MagnitudeDisplay.h"
#include "controls/ResponseCurve.h"
#include "editor/QuillfenEditor.h"
#include "lookandfeel/LookAndFeelCustom.h"
#include "processor/QuillfenTemplateAudioProcessor.h"

namespace brevalon
{

// The product's window: the framework's toolbar above the magnitude display (drag sideways for
// the corner frequency, up and down for the slope), the FREQUENCY, SLOPE and AMOUNT value sliders
// and the bypass button. Every timer tick moves the controls to parameters whose editor flag is
// set, redraws the response curve when the filter design changed, and dims what has no effect.
class QuillfenTemplateAudioProcessorEditor : public QuillfenEditor, public XYSlider::Listener
{
public:
    static constexpr int windowWidth = 406;
    static constexpr int windowHeight = 242;
    static constexpr float dimmedAlpha = 0.3f;

    explicit QuillfenTemplateAudioProcessorEditor (QuillfenTemplateAudioProcessor& owner);
    ~QuillfenTemplateAudioProcessorEditor() override;

    void paint (juce::Graphics&) override;
    void resized() override;
    void timerCallback() override;
    void editorTick() override;
    void addHelpAreas (DynamicHelpOverlay& overlay) override;
    void buttonClicked (juce::Button* button) override;

    void sliderValueChanged (juce::Slider* slider) override;
    void sliderDragStarted (juce::Slider* slider) override;
    void sliderDragEnded (juce::Slider* slider) override;

    void xySliderValueChanged (XYSlider* slider) override;
    void xySliderDragStarted (XYSlider* slider) override;
    void xySliderDragEnded (XYSlider* slider) override;

    // The controls, for tests and the look-and-feel gallery.
    BetterSlider& getFrequencySlider() noexcept { return frequencySlider; }
    BetterSlider& getSlopeSlider() noexcept { return slopeSlider; }
    BetterSlider& getAmountSlider() noexcept { return amountSlider; }
    juce::ImageButton& getBypassButton() noexcept { return bypassButton; }
    MagnitudeDisplay& getDisplay() noexcept { return display; }
    const ResponseCurve& getResponseCurve() const noexcept { return curve; }

private:
    int parameterOf (const juce::Slider* slider) const noexcept;
    void updateSliderFrom (BetterSlider& slider, int parameterIndex);
    void updateResponseCurve();
    void writeParameter (int index, float normalised);

    QuillfenTemplateAudioProcessor& product;
    LookAndFeelCustom sliderLookAndFeel;
    BetterSlider frequencySlider;
    BetterSlider amountSlider;
    BetterSlider slopeSlider;
    juce::ImageButton bypassButton;
    MagnitudeDisplay display;
    ResponseCurve curve;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QuillfenTemplateAudioProcessorEditor)
};

} // namespace brevalon
