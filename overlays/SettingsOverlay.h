#pragma once

#include "overlays/WindowOverlay.h"

namespace brevalon
{

// The global slider settings (velocity-based or linear dragging, and the mouse sensitivity in
// linear mode) and two facts of the running instance (processing latency and sample rate).
// Every change by the user is sent at once: "changeSettings_sliderMode" for a mode button,
// "changeSettings_mouseSensitivity" for the slider; the editor then reads `isLinearModeOn` and
// `getSensitivity`. Message thread only.
class SettingsOverlay : public WindowOverlay, public juce::Slider::Listener
{
public:
    explicit SettingsOverlay (const juce::String& title);
    ~SettingsOverlay() override;

    // Shows the current values without sending anything; called once after construction.
    void setValues (int sliderMode, int mouseSensitivity, int latencySamples, double sampleRate);

    bool isLinearModeOn() const;
    int getSensitivity() const;

    // "Processing-latency: 45 samples (0.469 ms)" and "I/O Sample-Rate: 96000 Hz".
    static juce::String latencyLine (int latencySamples, double sampleRate);
    static juce::String sampleRateLine (double sampleRate);

    void paint (juce::Graphics&) override;
    void resized() override;
    void buttonClicked (juce::Button* button) override;
    void sliderValueChanged (juce::Slider* slider) override;

    juce::ToggleButton& getLinearButton() noexcept { return linearButton; }
    juce::ToggleButton& getVelocityButton() noexcept { return velocityButton; }
    juce::Slider& getSensitivitySlider() noexcept { return sensitivitySlider; }

    static constexpr float greyedOpacity = 0.3f;

private:
    void showSliderEnabled();

    juce::ToggleButton linearButton{ "Linear" };
    juce::ToggleButton velocityButton{ "Velocity based" };
    juce::Slider sensitivitySlider;
    int latencySamples = 0;
    double sampleRate = 0.0;

    JUCE_DECLARE_NON_COPYABLE (SettingsOverlay)
};

} // namespace brevalon
