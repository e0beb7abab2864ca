#pragma once

#include "lookandfeel/LfTextEditor.h"
#include "overlays/WindowOverlay.h"

#include <juce_audio_processors/juce_audio_processors.h>

namespace brevalon
{

class Launcher;

// The about dialog: the maker's logo and name, the product name, a read-only text with the
// version line, credits and licence notice, and buttons that open the manual, the product's web
// page and the user forum. The manual is the PDF in the common application-data folder when it
// is there, the product overview page otherwise. Sends no action messages and stays open after a
// link has been opened. Message thread only.
class InfoOverlay : public WindowOverlay
{
public:
    InfoOverlay (const juce::String& title, juce::AudioProcessor::WrapperType pluginFormat, Launcher& launcher);
    ~InfoOverlay() override;

    // "v1.0.0 64bit VST3 alpha 1 (Dec 16 2014, 00:14:41)": version, format suffix (none for an
    // unknown wrapper), build number, and the date and time of this build.
    static juce::String versionLine (int pluginFormat);
    static juce::String formatSuffix (int pluginFormat);

    // The folder searched for the manual: the system's common application-data folder, unless
    // another one is given (tests).
    void setCommonDataFolder (const juce::File& folder);
    juce::File getManualFile() const;

    static juce::String websiteAddress();
    static constexpr const char* overviewAddress = "https://quillfen.example/products/brevalon";
    static constexpr const char* forumAddress = "https://quillfen.example/forum";
    static constexpr const char* creditsLine = "Made by Quillfen with the JUCE framework.";
    static constexpr const char* noticeLine = "Brevalon is free software (GPL-3.0-or-later) and comes with ABSOLUTELY NO WARRANTY.";

    void paint (juce::Graphics&) override;
    void resized() override;
    void buttonClicked (juce::Button* button) override;

    juce::TextButton& getWebsiteButton() noexcept { return websiteButton; }
    juce::TextButton& getManualButton() noexcept { return manualButton; }
    juce::TextButton& getForumButton() noexcept { return forumButton; }
    juce::TextEditor& getInfoText() noexcept { return infoText; }

private:
    juce::TextButton websiteButton{ "Website" };
    juce::TextButton manualButton{ "Manual" };
    juce::TextButton forumButton{ "Forum" };
    juce::TextEditor infoText;
    LfTextEditor infoTextLookAndFeel;
    int pluginFormat = 0;
    Launcher& launcher;
    juce::File commonDataFolder;

    JUCE_DECLARE_NON_COPYABLE (InfoOverlay)
};

} // namespace brevalon
