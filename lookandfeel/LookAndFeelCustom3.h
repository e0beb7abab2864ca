#pragma once

#include "lookandfeel/LookAndFeelCustom2.h"

namespace brevalon
{

// `LookAndFeelCustom2` (the same marked knobs) with buttons and labels drawn on the stretched value-box image.
class LookAndFeelCustom3 : public LookAndFeelCustom2
{
public:
    LookAndFeelCustom3();

    void drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    void drawButtonText (juce::Graphics& g, juce::TextButton& button, bool shouldDrawButtonAsHighlighted,
                         bool shouldDrawButtonAsDown) override;
    void drawLabel (juce::Graphics& g, juce::Label& label) override;
};

} // namespace brevalon
