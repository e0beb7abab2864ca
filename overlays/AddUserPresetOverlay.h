#pragma once

#include "controls/BetterTextEditor.h"
#include "controls/VirtualKeyboard.h"
#include "overlays/WindowOverlay.h"

namespace brevalon
{

class StateEngine;

// The dialog that names a new global user preset: a paragraph, a name field with an on-screen
// keyboard, "Create preset" and "Cancel". The confirm button is enabled only for a name that is
// not empty (after trimming spaces) and not taken by any program, placeholders of empty user
// slots included, in any letter case; Enter in the field follows the same rule. On acceptance
// the trimmed name is kept in `presetName` and the overlay sends `actionPrefix` + "add", then
// the change message that closes it; the editor reads the name while the overlay still exists.
// Message thread only.
class AddUserPresetOverlay : public WindowOverlay, public juce::TextEditor::Listener, public juce::ChangeListener
{
public:
    AddUserPresetOverlay (const juce::String& title, StateEngine* stateEngine);
    ~AddUserPresetOverlay() override;

    void paint (juce::Graphics&) override;
    void resized() override;
    void buttonClicked (juce::Button* button) override;

    // The name field takes the keyboard focus as soon as the dialog is on screen, so the user
    // can type straight away.
    void parentHierarchyChanged() override;

    void textEditorTextChanged (juce::TextEditor&) override;
    void textEditorReturnKeyPressed (juce::TextEditor&) override;
    // The keyboard broadcasts nothing; the overlay listens all the same.
    void changeListenerCallback (juce::ChangeBroadcaster*) override {}

    // The accepted name, valid once the action message has been sent.
    const juce::String& getPresetName() const noexcept { return presetName; }

    BetterTextEditor& getNameEditor() noexcept { return nameEditor; }
    VirtualKeyboard& getKeyboard() noexcept { return keyboard; }
    juce::TextButton& getConfirmButton() noexcept { return confirmButton; }
    juce::TextButton& getCancelButton() noexcept { return cancelButton; }

    static constexpr int maximumNameLength = 32;
    static constexpr const char* allowedNameCharacters = "1234567890abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ ()-+,";

protected:
    AddUserPresetOverlay (const juce::String& title, StateEngine* stateEngine, const juce::String& actionPrefix,
                          const juce::String& confirmText, const juce::String& paragraph);

    // Whether `name` (trimmed, not empty) may be accepted.
    virtual bool isNameAvailable (const juce::String& name) const;
    bool isTaken (const juce::String& name) const;
    juce::String enteredName() const;
    void updateConfirmButton();

    BetterTextEditor nameEditor{ "presetNameEditor" };
    juce::TextButton confirmButton;
    juce::TextButton cancelButton{ "Cancel" };
    VirtualKeyboard keyboard{ &nameEditor };
    juce::String presetName;
    juce::String actionPrefix;
    StateEngine* stateEngine = nullptr;

private:
    void accept();

    juce::String paragraphText;

    JUCE_DECLARE_NON_COPYABLE (AddUserPresetOverlay)
};

} // namespace brevalon
