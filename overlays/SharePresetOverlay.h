#pragma once

#include "overlays/WindowOverlay.h"

namespace brevalon
{

class Clipboard;
class Launcher;

// Shows the state code in a read-only, selectable box, copies it to the clipboard ("Copy to
// Clipboard") or hands the mail program a "mailto:" link with the code in its body ("Share via
// e-mail"). Sends no action messages and stays open after either; the clipboard and the launcher
// belong to the editor and outlive the overlay. Message thread only.
class SharePresetOverlay : public WindowOverlay
{
public:
    SharePresetOverlay (const juce::String& title, Clipboard& clipboard, Launcher& launcher);
    ~SharePresetOverlay() override;

    // The state code to show; called once before the overlay opens.
    void setCode (const juce::String& text);
    const juce::String& getCode() const noexcept { return code; }

    // The "mailto:" link for `stateCode`: subject and body, each percent-encoded from UTF-8 with
    // letters, digits and _ - . * ! ' ( ) kept as they are.
    static juce::String mailtoLink (const juce::String& stateCode);
    static juce::String percentEncode (const juce::String& text);

    void paint (juce::Graphics&) override;
    void resized() override;
    void buttonClicked (juce::Button* button) override;

    juce::TextButton& getCopyButton() noexcept { return copyButton; }
    juce::TextButton& getMailButton() noexcept { return mailButton; }
    juce::TextEditor& getCodeBox() noexcept { return codeBox; }

    static constexpr const char* paragraph = "Copy & paste the following code to share (or recall) the current plug-in state.";

private:
    juce::TextButton copyButton{ "Copy to Clipboard" };
    juce::TextButton mailButton{ "Share via e-mail" };
    juce::TextEditor codeBox;
    juce::String code;
    Clipboard& clipboard;
    Launcher& launcher;

    JUCE_DECLARE_NON_COPYABLE (SharePresetOverlay)
};

} // namespace brevalon
