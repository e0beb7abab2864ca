#include "overlays/CannotCreatePresetOverlay.h"

namespace brevalon
{

namespace
{
constexpr int panelW = 320, panelH = 110;
constexpr int okRight = 94, okBottom = 36, okWidth = 80, okHeight = 22;
constexpr int paragraphBaseline = 30;
} // namespace

CannotCreatePresetOverlay::CannotCreatePresetOverlay (const juce::String& titleText, const juce::String& paragraphText)
    : WindowOverlay (titleText),
      text (paragraphText)
{
    panelWidth = panelW;
    panelHeight = panelH;
    okButton.setTooltip ({});
    okButton.addListener (this);
    addAndMakeVisible (okButton);
}

CannotCreatePresetOverlay::~CannotCreatePresetOverlay()
{
    okButton.removeListener (this);
}

void CannotCreatePresetOverlay::resized()
{
    WindowOverlay::resized();
    okButton.setBounds (getWidth() - panelBounds.getX() - okRight, getHeight() - panelBounds.getY() - okBottom, okWidth, okHeight);
}

void CannotCreatePresetOverlay::paint (juce::Graphics& g)
{
    drawWindow (g, title);
    drawHighlightedParagraph (g, text, contentBounds.getX(), contentBounds.getY() + paragraphBaseline, contentBounds.getWidth(),
                              juce::Colours::black);
}

void CannotCreatePresetOverlay::buttonClicked (juce::Button* button)
{
    if (button == &okButton)
        sendChangeMessage();
    else
        WindowOverlay::buttonClicked (button);
}

} // namespace brevalon
