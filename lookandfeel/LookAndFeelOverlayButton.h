#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace brevalon
{

// The look-and-feel of an overlay's close button: no face, only bold dark text over a white
// highlight copy. Keeps the framework's typeface lookup. Draws only. Message thread only.
class LookAndFeelOverlayButton : public juce::LookAndFeel_V3
{
public:
    LookAndFeelOverlayButton();

    static constexpr float fontHeight = 14.0f;

    void drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    juce::Font getTextButtonFont (juce::TextButton& button, int buttonHeight) override;
    void drawButtonText (juce::Graphics& g, juce::TextButton& button, bool shouldDrawButtonAsHighlighted,
                         bool shouldDrawButtonAsDown) override;
};

} // namespace brevalon
