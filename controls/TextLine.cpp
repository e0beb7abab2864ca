#include "controls/TextLine.h"

#include "controls/SharedTypefaces.h"

namespace brevalon
{

void drawTextLine (juce::Graphics& g, const juce::String& text, const juce::Font& font, juce::Colour colour, juce::Rectangle<int> area,
                   juce::Justification justification)
{
    g.setColour (colour);
    g.setFont (font);
    g.drawText (text, area, justification, true);
}

void drawRegularText (juce::Graphics& g, const juce::String& text, float fontHeight, juce::Colour colour, int x, int y, int width,
                      juce::Justification justification)
{
    drawTextLine (g, text, SharedTypefaces::getRegularFont (fontHeight), colour, { x, y, width, textLineHeight }, justification);
}

void drawBoldWhiteText (juce::Graphics& g, const juce::String& text, float fontHeight, int y, int width, juce::Justification justification)
{
    drawTextLine (g, text, SharedTypefaces::getBoldFont (fontHeight), juce::Colours::white, { 0, y, width, textLineHeight }, justification);
}

} // namespace brevalon
