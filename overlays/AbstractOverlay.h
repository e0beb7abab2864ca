#pragma once

#include "lookandfeel/LookAndFeelOverlay.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace brevalon
{

// The base of every overlay: a component covering the whole editor that swallows every click
// on itself. An overlay never calls the editor: it broadcasts a result as an action message
// (a plain string) and asks to be closed with a change message, in that order; both arrive
// asynchronously, so the editor handles the result while the overlay still exists.
//
// It draws through a cached image of itself, and its look-and-feel is inherited by all its
// children. Message thread only.
class AbstractOverlay : public juce::Component,
                        public juce::Button::Listener,
                        public juce::ChangeBroadcaster,
                        public juce::ActionBroadcaster
{
public:
    AbstractOverlay();
    ~AbstractOverlay() override;

    void mouseDown (const juce::MouseEvent&) override {}
    void paint (juce::Graphics&) override {}
    void resized() override {}
    void buttonClicked (juce::Button*) override {}

    // One line in the shared Verdana face (bold or regular) at `fontHeight`: first in white into
    // (x, y + 1, w, h), then in `colour` (or a one-third-opaque black when `useColour` is false)
    // into (x, y, w, h), cut with an ellipsis when too long. The white copy gives the embossed
    // look of every overlay text.
    virtual void drawHighlightedText (juce::Graphics& g, const juce::String& text, int x, int y, int w, int h, bool bold,
                                      juce::Justification justification, bool useColour, juce::Colour colour, float fontHeight);

    // Word-wrapped lines of at most `maxLineWidth` pixels in regular Verdana 13, starting at x
    // with the first baseline at `baselineY`, embossed the same way.
    virtual void drawHighlightedParagraph (juce::Graphics& g, const juce::String& text, int x, int baselineY, int maxLineWidth,
                                           juce::Colour colour);

    static constexpr juce::uint32 uncolouredText = 0x55000000;
    static constexpr float paragraphFontHeight = 13.0f;

protected:
    LookAndFeelOverlay overlayLookAndFeel;

private:
    JUCE_DECLARE_NON_COPYABLE (AbstractOverlay)
};

} // namespace brevalon
