#include "overlays/SharePresetOverlay.h"

#include "controls/SharedTypefaces.h"
#include "processor/PluginIdentity.h"
#include "state/Clipboard.h"
#include "state/Launcher.h"

#include <cstring>

namespace brevalon
{

namespace
{
constexpr int panelW = 320, panelH = 210;
constexpr int buttonInset = 156, buttonBottom = 36, buttonWidth = 142, buttonHeight = 26;
constexpr int codeBoxTop = 53, codeBoxHeight = 95;
constexpr int paragraphBaseline = 30;
constexpr int scrollBarThickness = 7;
constexpr float codeFontHeight = 11.0f;

bool isKeptAsIs (char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || (c != 0 && std::strchr ("_-.*!'()", c) != nullptr);
}
} // namespace

SharePresetOverlay::SharePresetOverlay (const juce::String& titleText, Clipboard& clipboardToUse, Launcher& launcherToUse)
    : WindowOverlay (titleText),
      clipboard (clipboardToUse),
      launcher (launcherToUse)
{
    panelWidth = panelW;
    panelHeight = panelH;

    for (auto* button : { &copyButton, &mailButton })
    {
        button->setTooltip ({});
        button->addListener (this);
        addAndMakeVisible (*button);
    }

    codeBox.setMultiLine (true, true);
    codeBox.setReadOnly (true);
    codeBox.setSelectAllWhenFocused (true);
    codeBox.setScrollBarThickness (scrollBarThickness);
    codeBox.setFont (SharedTypefaces::getRegularFont (codeFontHeight));
    addAndMakeVisible (codeBox);
}

SharePresetOverlay::~SharePresetOverlay()
{
    copyButton.removeListener (this);
    mailButton.removeListener (this);
}

void SharePresetOverlay::setCode (const juce::String& text)
{
    code = text;
    codeBox.setText (text, true);
}

juce::String SharePresetOverlay::percentEncode (const juce::String& text)
{
    const auto utf8 = text.toStdString();
    juce::String encoded;
    for (const char c : utf8)
    {
        if (isKeptAsIs (c))
            encoded << c;
        else
            encoded << '%' << juce::String::toHexString ((int)(unsigned char)c).paddedLeft ('0', 2).toUpperCase();
    }
    return encoded;
}

juce::String SharePresetOverlay::mailtoLink (const juce::String& stateCode)
{
    const juce::String product (PluginIdentity::name);
    const auto subject = product + " Preset";
    const auto body = "This e-mail contains a " + product + " Preset. To load it, just copy and paste the code below into a " + product +
                      " instance.\n\n-------- copy code below this line --------\n\n" + stateCode +
                      "\n\n-------- copy code above this line --------\n\n\n";
    return "mailto:?subject=" + percentEncode (subject) + "&body=" + percentEncode (body);
}

void SharePresetOverlay::resized()
{
    WindowOverlay::resized();
    const int x0 = panelBounds.getX(), y0 = panelBounds.getY();
    const int cx = contentBounds.getX(), cy = contentBounds.getY();
    copyButton.setBounds (getWidth() - x0 - buttonInset, getHeight() - y0 - buttonBottom, buttonWidth, buttonHeight);
    mailButton.setBounds (cx, getHeight() - y0 - buttonBottom, buttonWidth, buttonHeight);
    codeBox.setBounds (cx, cy + codeBoxTop, contentBounds.getWidth(), codeBoxHeight);
}

void SharePresetOverlay::paint (juce::Graphics& g)
{
    drawWindow (g, title);
    drawHighlightedParagraph (g, paragraph, contentBounds.getX(), contentBounds.getY() + paragraphBaseline, contentBounds.getWidth(),
                              juce::Colours::black);
}

void SharePresetOverlay::buttonClicked (juce::Button* button)
{
    if (button == &copyButton)
    {
        codeBox.selectAll();
        clipboard.copyText (code);
    }
    else if (button == &mailButton)
    {
        // Parsing would decode and re-encode the query the framework's way; the link is final.
        launcher.openUrl (juce::URL::createWithoutParsing (mailtoLink (code)));
    }
    else
    {
        WindowOverlay::buttonClicked (button);
    }
}

} // namespace brevalon
