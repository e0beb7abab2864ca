#include "overlays/SettingsOverlay.h"

#include <cmath>

namespace brevalon
{

namespace
{
constexpr int panelW = 300, panelH = 186;
constexpr int radioGroup = 1;
constexpr int modeButtonWidth = 110, modeButtonHeight = 22;
constexpr int sliderTop = 49, sliderWidth = 80, sliderHeight = 18;
constexpr int sliderTextBoxWidth = 50, sliderTextBoxHeight = 18;
constexpr double minimumSensitivity = 1.0, maximumSensitivity = 200.0;
// Below the title row: the mode buttons, and the text rows.
constexpr int controlsTop = 14 + 20;
constexpr int textTop = 14 + 2;
constexpr float textHeight = 13.0f;
} // namespace

SettingsOverlay::SettingsOverlay (const juce::String& titleText)
    : WindowOverlay (titleText)
{
    panelWidth = panelW;
    panelHeight = panelH;

    linearButton.setTooltip ("Linear: Control movement proportional to mouse movement.");
    velocityButton.setTooltip ("Velocity Based: Control movement depends on mouse speed.");
    for (auto* button : { &linearButton, &velocityButton })
    {
        button->setRadioGroupId (radioGroup);
        button->addListener (this);
        addAndMakeVisible (*button);
    }

    // A child first, so that the value box is made by the overlay's look-and-feel.
    addAndMakeVisible (sensitivitySlider);
    sensitivitySlider.setSliderStyle (juce::Slider::IncDecButtons);
    sensitivitySlider.setRange (minimumSensitivity, maximumSensitivity, 1.0);
    sensitivitySlider.setTextValueSuffix ("%");
    sensitivitySlider.setTextBoxStyle (juce::Slider::TextBoxLeft, false, sliderTextBoxWidth, sliderTextBoxHeight);
    sensitivitySlider.setColour (juce::Label::outlineColourId, juce::Colour (0xff444444));
    sensitivitySlider.setTooltip ("Linear mode mouse sensivity.");
    sensitivitySlider.addListener (this);
}

SettingsOverlay::~SettingsOverlay()
{
    linearButton.removeListener (this);
    velocityButton.removeListener (this);
    sensitivitySlider.removeListener (this);
}

void SettingsOverlay::setValues (int sliderMode, int mouseSensitivity, int latency, double rate)
{
    const bool linear = sliderMode == 1;
    linearButton.setToggleState (linear, juce::dontSendNotification);
    velocityButton.setToggleState (! linear, juce::dontSendNotification);
    sensitivitySlider.setValue (mouseSensitivity, juce::dontSendNotification);
    latencySamples = latency;
    sampleRate = rate;
    showSliderEnabled();
}

bool SettingsOverlay::isLinearModeOn() const
{
    return linearButton.getToggleState();
}

int SettingsOverlay::getSensitivity() const
{
    return (int)sensitivitySlider.getValue();
}

void SettingsOverlay::showSliderEnabled()
{
    const bool linear = linearButton.getToggleState();
    sensitivitySlider.setEnabled (linear);
    sensitivitySlider.setAlpha (linear ? 1.0f : greyedOpacity);
    // The sensitivity heading fades with the slider.
    repaint();
}

juce::String SettingsOverlay::latencyLine (int samples, double rate)
{
    const double milliseconds = samples >= 1 && rate > 0.0 ? 1000.0 / rate * samples : 0.0;
    // Three decimals, halves rounded up; the tiny allowance keeps a half that the division
    // left just below it from rounding down.
    const auto thousandths = (juce::int64)std::floor (milliseconds * 1000.0 + 0.5 + 1.0e-9);
    const auto fraction = juce::String (thousandths % 1000).paddedLeft ('0', 3);
    return "Processing-latency: " + juce::String (samples) + " samples (" + juce::String (thousandths / 1000) + "." + fraction + " ms)";
}

juce::String SettingsOverlay::sampleRateLine (double rate)
{
    return "I/O Sample-Rate: " + juce::String ((juce::int64)std::llround (rate)) + " Hz";
}

void SettingsOverlay::resized()
{
    WindowOverlay::resized();
    const int cx = contentBounds.getX(), a = contentBounds.getY() + controlsTop;
    velocityButton.setBounds (cx, a, modeButtonWidth, modeButtonHeight);
    linearButton.setBounds (cx + modeButtonWidth, a, modeButtonWidth, modeButtonHeight);
    sensitivitySlider.setBounds (cx, a + sliderTop, sliderWidth, sliderHeight);
}

void SettingsOverlay::paint (juce::Graphics& g)
{
    drawWindow (g, title);
    const int cx = contentBounds.getX(), cw = contentBounds.getWidth(), d = contentBounds.getY() + textTop;
    const auto left = juce::Justification::centredLeft;
    const auto black = juce::Colours::black;
    drawHighlightedText (g, "Slider/knob mode (global)", cx, d, cw, 22, true, left, true, black, textHeight);
    drawHighlightedText (g, "Slider/knob mouse-sensitivity (global)", cx, d + 44, cw, 22, true, left, linearButton.getToggleState(), black,
                         textHeight);
    drawHighlightedText (g, latencyLine (latencySamples, sampleRate), cx, d + 98, cw, 20, false, left, true, black, textHeight);
    drawHighlightedText (g, sampleRateLine (sampleRate), cx, d + 116, cw, 20, false, left, true, black, textHeight);
}

void SettingsOverlay::buttonClicked (juce::Button* button)
{
    if (button == &linearButton || button == &velocityButton)
    {
        // A click on one mode button also switches the other off; only the one now on reports.
        if (! button->getToggleState())
            return;
        sendActionMessage ("changeSettings_sliderMode");
        showSliderEnabled();
    }
    else
    {
        WindowOverlay::buttonClicked (button);
    }
}

void SettingsOverlay::sliderValueChanged (juce::Slider* slider)
{
    if (slider == &sensitivitySlider)
        sendActionMessage ("changeSettings_mouseSensitivity");
}

} // namespace brevalon
