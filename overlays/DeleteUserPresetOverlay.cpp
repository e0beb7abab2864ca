#include "overlays/DeleteUserPresetOverlay.h"

namespace brevalon
{

namespace
{
constexpr int panelW = 320, panelH = 110;
constexpr int confirmRight = 119, confirmBottom = 37, confirmWidth = 110, buttonHeight = 26;
constexpr int cancelGap = 82, cancelWidth = 80;
constexpr int paragraphBaseline = 30;
} // namespace

DeleteUserPresetOverlay::DeleteUserPresetOverlay (const juce::String& titleText)
    : WindowOverlay (titleText)
{
    panelWidth = panelW;
    panelHeight = panelH;
    for (auto* button : { &confirmButton, &cancelButton })
    {
        button->setTooltip ({});
        button->addListener (this);
        addAndMakeVisible (*button);
    }
}

DeleteUserPresetOverlay::~DeleteUserPresetOverlay()
{
    confirmButton.removeListener (this);
    cancelButton.removeListener (this);
}

void DeleteUserPresetOverlay::setPresetName (const juce::String& name)
{
    presetName = name;
    repaint();
}

juce::String DeleteUserPresetOverlay::getQuestion() const
{
    return "You are about to delete \"" + presetName + "\", are you sure?";
}

void DeleteUserPresetOverlay::resized()
{
    WindowOverlay::resized();
    const int x0 = panelBounds.getX(), y0 = panelBounds.getY();
    confirmButton.setBounds (getWidth() - x0 - confirmRight, getHeight() - y0 - confirmBottom, confirmWidth, buttonHeight);
    cancelButton.setBounds (confirmButton.getX() - cancelGap, confirmButton.getY(), cancelWidth, buttonHeight);
}

void DeleteUserPresetOverlay::paint (juce::Graphics& g)
{
    drawWindow (g, title);
    drawHighlightedParagraph (g, getQuestion(), contentBounds.getX(), contentBounds.getY() + paragraphBaseline, contentBounds.getWidth(),
                              juce::Colours::black);
}

void DeleteUserPresetOverlay::buttonClicked (juce::Button* button)
{
    if (button == &confirmButton)
    {
        sendActionMessage ("deleteUserPresetOverlay_delete");
        sendChangeMessage();
    }
    else if (button == &cancelButton)
    {
        sendChangeMessage();
    }
    else
    {
        WindowOverlay::buttonClicked (button);
    }
}

} // namespace brevalon
