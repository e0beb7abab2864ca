#pragma once

#include "overlays/WindowOverlay.h"

namespace brevalon
{

// Tells the user that every user-preset slot is in use; "Ok" closes it. Message thread only.
class CannotCreatePresetOverlay : public WindowOverlay
{
public:
    // The paragraph explains why; by default that every user slot is in use.
    explicit CannotCreatePresetOverlay (const juce::String& title, const juce::String& paragraphText = paragraph);
    ~CannotCreatePresetOverlay() override;

    void paint (juce::Graphics&) override;
    void resized() override;
    void buttonClicked (juce::Button* button) override;

    juce::TextButton& getOkButton() noexcept { return okButton; }

    static constexpr const char* paragraph =
        "All available slots are already being used. You'll have to delete at least one user preset before creating a new one.";
    static constexpr const char* unreadableFileParagraph =
        "The user-preset file Brevalon.conf cannot be read, and Brevalon never writes over it. Move it away to save presets again.";

    const juce::String& getParagraph() const noexcept { return text; }

private:
    juce::String text;
    juce::TextButton okButton{ "Ok" };

    JUCE_DECLARE_NON_COPYABLE (CannotCreatePresetOverlay)
};

} // namespace brevalon
