#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace brevalon
{

// A text field that never starts the platform's text input: many hosts keep the keyboard for
// themselves, so typing goes through the on-screen keyboard instead. Gaining focus behaves as
// losing it does in the framework's editor (the focus-lost message included), so it never
// selects its text and never asks for an input method or a touch keyboard. A real keyboard still
// types into it while it has keyboard focus. Message thread only.
class BetterTextEditor : public juce::TextEditor
{
public:
    explicit BetterTextEditor (const juce::String& name);

    void focusGained (FocusChangeType cause) override;
    void focusLost (FocusChangeType cause) override;
    // Never a target for the platform's text input (input method, touch keyboard); key presses
    // reach the editor all the same.
    bool isTextInputActive() const override { return false; }

private:
    void settleFocus (FocusChangeType cause);

    JUCE_DECLARE_NON_COPYABLE (BetterTextEditor)
};

} // namespace brevalon
