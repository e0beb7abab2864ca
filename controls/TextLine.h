#pragma once

#include <juce_graphics/juce_graphics.h>

namespace brevalon
{

// One line of text drawn into a rectangle, with an ellipsis when it does not fit.
void drawTextLine (juce::Graphics& g, const juce::String& text, const juce::Font& font, juce::Colour colour, juce::Rectangle<int> area,
                   juce::Justification justification);

// The two helpers of the overlays and the display: one line into a 20-pixel-high rectangle in
// the shared regular face, or in the shared bold face in white at x = 0.
constexpr int textLineHeight = 20;
void drawRegularText (juce::Graphics& g, const juce::String& text, float fontHeight, juce::Colour colour, int x, int y, int width,
                      juce::Justification justification);
void drawBoldWhiteText (juce::Graphics& g, const juce::String& text, float fontHeight, int y, int width, juce::Justification justification);

} // namespace brevalon
