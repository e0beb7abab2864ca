#pragma once

#include "overlays/WindowOverlay.h"

namespace brevalon
{

// Asks whether the current user preset should be deleted. "Yes, Delete" sends
// "deleteUserPresetOverlay_delete" and then closes; "Cancel" only closes. Message thread only.
class DeleteUserPresetOverlay : public WindowOverlay
{
public:
    explicit DeleteUserPresetOverlay (const juce::String& title);
    ~DeleteUserPresetOverlay() override;

    // The name shown in the question; called before the overlay opens.
    void setPresetName (const juce::String& name);
    const juce::String& getPresetName() const noexcept { return presetName; }
    // "You are about to delete "<name>", are you sure?"
    juce::String getQuestion() const;

    void paint (juce::Graphics&) override;
    void resized() override;
    void buttonClicked (juce::Button* button) override;

    juce::TextButton& getConfirmButton() noexcept { return confirmButton; }
    juce::TextButton& getCancelButton() noexcept { return cancelButton; }

private:
    juce::String presetName;
    juce::TextButton confirmButton{ "Yes, Delete" };
    juce::TextButton cancelButton{ "Cancel" };

    JUCE_DECLARE_NON_COPYABLE (DeleteUserPresetOverlay)
};

} // namespace brevalon
