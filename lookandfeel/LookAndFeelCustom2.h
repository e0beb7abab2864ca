#pragma once

#include "lookandfeel/LookAndFeelCustom.h"

namespace brevalon
{

// `LookAndFeelCustom` whose knobs carry a white centre marker at the top.
class LookAndFeelCustom2 : public LookAndFeelCustom
{
public:
    LookAndFeelCustom2();

    void drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPosProportional, float rotaryStartAngle,
                           float rotaryEndAngle, juce::Slider& slider) override;

protected:
    // The marker over a knob drawn in (x, y, width, height).
    static void drawCentreMarker (juce::Graphics& g, int x, int y, int width, int height);
};

} // namespace brevalon
