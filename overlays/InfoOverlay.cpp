#include "overlays/InfoOverlay.h"

#include "controls/SharedTypefaces.h"
#include "processor/PluginIdentity.h"
#include "resources/NamedResources.h"
#include "state/Launcher.h"

namespace brevalon
{

namespace
{
constexpr int panelW = 360, panelH = 221;
constexpr int buildNumber = 1;
constexpr int scrollBarThickness = 7;
constexpr float infoFontHeight = 12.5f;
constexpr int infoTextTop = 59, infoTextBottomReserve = 95;
constexpr int buttonRowFromBottom = 30, buttonHeight = 26;
constexpr int logoTop = 21;
constexpr float makerFontHeight = 14.0f, productFontHeight = 20.0f;

juce::Image namedImage (const char* name)
{
    int size = 0;
    const auto* data = resources::getNamedResource (name, size);
    return data != nullptr ? juce::ImageCache::getFromMemory (data, size) : juce::Image();
}
} // namespace

InfoOverlay::InfoOverlay (const juce::String& titleText, juce::AudioProcessor::WrapperType format, Launcher& launcherToUse)
    : WindowOverlay (titleText),
      pluginFormat ((int)format),
      launcher (launcherToUse),
      commonDataFolder (juce::File::getSpecialLocation (juce::File::commonApplicationDataDirectory))
{
    panelWidth = panelW;
    panelHeight = panelH;

    for (auto* button : { &websiteButton, &manualButton, &forumButton })
    {
        button->setTooltip ({});
        button->addListener (this);
        addAndMakeVisible (*button);
    }

    infoText.setLookAndFeel (&infoTextLookAndFeel);
    infoText.setMultiLine (true, true);
    infoText.setReadOnly (true);
    infoText.setCaretVisible (false);
    infoText.setScrollBarThickness (scrollBarThickness);
    // No border: the text sits directly on the panel.
    for (auto id : { juce::TextEditor::outlineColourId, juce::TextEditor::focusedOutlineColourId, juce::TextEditor::backgroundColourId })
        infoText.setColour (id, juce::Colours::transparentBlack);
    infoText.setColour (juce::TextEditor::textColourId, juce::Colours::black);
    infoText.setFont (SharedTypefaces::getRegularFont (infoFontHeight));
    infoText.setText (versionLine (pluginFormat) + "\n\n" + creditsLine + "\n\n" + noticeLine, true);
    addAndMakeVisible (infoText);
}

InfoOverlay::~InfoOverlay()
{
    for (auto* button : { &websiteButton, &manualButton, &forumButton })
        button->removeListener (this);
    infoText.setLookAndFeel (nullptr);
}

juce::String InfoOverlay::formatSuffix (int format)
{
    switch (format)
    {
    case juce::AudioProcessor::wrapperType_VST:
        return " VST2";
    case juce::AudioProcessor::wrapperType_VST3:
        return " VST3";
    case juce::AudioProcessor::wrapperType_AudioUnit:
        return " AU";
    case juce::AudioProcessor::wrapperType_AAX:
        return " AAX";
    default:
        return {};
    }
}

juce::String InfoOverlay::versionLine (int format)
{
    return "v" + juce::String (PluginIdentity::version) + " 64bit" + formatSuffix (format) + " alpha " + juce::String (buildNumber) + " (" +
           __DATE__ + ", " + __TIME__ + ")";
}

juce::String InfoOverlay::websiteAddress()
{
    const auto id = (juce::uint32)PluginIdentity::fourCharCode (PluginIdentity::pluginCode);
    return "https://quillfen.example/plugins/info?id=" + juce::String (id) + "&version=" + juce::String (PluginIdentity::versionCode);
}

void InfoOverlay::setCommonDataFolder (const juce::File& folder)
{
    commonDataFolder = folder;
}

juce::File InfoOverlay::getManualFile() const
{
    const juce::String product (PluginIdentity::name);
    return commonDataFolder.getChildFile (PluginIdentity::manufacturer).getChildFile (product).getChildFile (product + " - Manual.pdf");
}

void InfoOverlay::resized()
{
    WindowOverlay::resized();
    const int cx = contentBounds.getX(), cy = contentBounds.getY();
    const int cw = contentBounds.getWidth(), ch = contentBounds.getHeight(), cb = contentBounds.getBottom();
    const int bw = cw / 3 - 1;
    infoText.setBounds (cx + 1, cy + infoTextTop, cw + 1, ch - infoTextBottomReserve);
    manualButton.setBounds (cx - 1, cb - buttonRowFromBottom, bw, buttonHeight);
    websiteButton.setBounds (cx + bw + 3, cb - buttonRowFromBottom, bw, buttonHeight);
    forumButton.setBounds (cx + 2 * bw + 7, cb - buttonRowFromBottom, bw, buttonHeight);
}

void InfoOverlay::paint (juce::Graphics& g)
{
    drawWindow (g, title);
    const int cx = contentBounds.getX(), cy = contentBounds.getY(), cw = contentBounds.getWidth();
    const auto black = juce::Colours::black;

    if (const auto banner = namedImage ("infologo_png"); banner.isValid())
    {
        g.drawImageAt (banner, cx, cy + logoTop);
        return;
    }
    g.drawImageAt (namedImage ("logo_png"), cx - 1, cy + logoTop);
    drawHighlightedText (g, PluginIdentity::manufacturer, cx + 42, cy + 19, cw - 50, 18, true, juce::Justification::centredLeft, true,
                         black, makerFontHeight);
    drawHighlightedText (g, PluginIdentity::name, cx + 42, cy + 32, cw - 40, 28, true, juce::Justification::centredLeft, true, black,
                         productFontHeight);
}

void InfoOverlay::buttonClicked (juce::Button* button)
{
    if (button == &manualButton)
    {
        const auto manual = getManualFile();
        if (manual.existsAsFile())
            launcher.openFile (manual);
        else
            launcher.openUrl (juce::URL::createWithoutParsing (overviewAddress));
    }
    else if (button == &websiteButton)
    {
        launcher.openUrl (juce::URL::createWithoutParsing (websiteAddress()));
    }
    else if (button == &forumButton)
    {
        launcher.openUrl (juce::URL::createWithoutParsing (forumAddress));
    }
    else
    {
        WindowOverlay::buttonClicked (button);
    }
}

} // namespace brevalon
