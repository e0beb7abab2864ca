#include "overlays/AbstractOverlay.h"

#include "controls/SharedTypefaces.h"
#include "controls/TextLine.h"

namespace brevalon
{

namespace
{
// The white copy lies this far below the text it highlights.
constexpr int highlightOffset = 1;
} // namespace

AbstractOverlay::AbstractOverlay()
{
    setLookAndFeel (&overlayLookAndFeel);
    setBufferedToImage (true);
}

AbstractOverlay::~AbstractOverlay()
{
    setLookAndFeel (nullptr);
}

void AbstractOverlay::drawHighlightedText (juce::Graphics& g, const juce::String& text, int x, int y, int w, int h, bool bold,
                                           juce::Justification justification, bool useColour, juce::Colour colour, float fontHeight)
{
    const auto font = bold ? SharedTypefaces::getBoldFont (fontHeight) : SharedTypefaces::getRegularFont (fontHeight);
    const juce::Rectangle<int> area (x, y, w, h);
    drawTextLine (g, text, font, juce::Colours::white, area.translated (0, highlightOffset), justification);
    drawTextLine (g, text, font, useColour ? colour : juce::Colour (uncolouredText), area, justification);
}

void AbstractOverlay::drawHighlightedParagraph (juce::Graphics& g, const juce::String& text, int x, int baselineY, int maxLineWidth,
                                                juce::Colour colour)
{
    juce::GlyphArrangement lines;
    lines.addJustifiedText (SharedTypefaces::getRegularFont (paragraphFontHeight), text, (float)x, (float)baselineY, (float)maxLineWidth,
                            juce::Justification::left);
    g.setColour (juce::Colours::white);
    lines.draw (g, juce::AffineTransform::translation (0.0f, (float)highlightOffset));
    g.setColour (colour);
    lines.draw (g);
}

} // namespace brevalon
