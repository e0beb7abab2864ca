#include "lookandfeel/LookAndFeelCustom2.h"

namespace brevalon
{

LookAndFeelCustom2::LookAndFeelCustom2()
{
    applyColourScheme();
}

void LookAndFeelCustom2::drawCentreMarker (juce::Graphics& g, int x, int y, int width, int height)
{
    const auto radius = (float)juce::jmin (width / 2, height / 2);
    const auto markerX = (float)x + (float)width / 2.0f + 0.2f;
    const auto top = (float)y + (float)height / 2.0f - radius;
    g.setColour (juce::Colours::white.withAlpha (0.8f));
    g.drawLine (markerX, top, markerX, top + 4.2f, 2.2f);
}

void LookAndFeelCustom2::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPosProportional,
                                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider)
{
    LookAndFeelCustom::drawRotarySlider (g, x, y, width, height, sliderPosProportional, rotaryStartAngle, rotaryEndAngle, slider);
    drawCentreMarker (g, x, y, width, height);
}

} // namespace brevalon
