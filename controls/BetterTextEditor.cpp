#include "controls/BetterTextEditor.h"

namespace brevalon
{

BetterTextEditor::BetterTextEditor (const juce::String& name)
    : juce::TextEditor (name, 0)
{
    setSelectAllWhenFocused (false);
}

void BetterTextEditor::focusGained (FocusChangeType cause)
{
    settleFocus (cause);
}

void BetterTextEditor::focusLost (FocusChangeType cause)
{
    settleFocus (cause);
}

void BetterTextEditor::settleFocus (FocusChangeType cause)
{
    // The framework's focus-lost step: ends the undo transaction, stops the caret timer, clears
    // composition underlines, moves the caret and posts the focus-lost message.
    juce::TextEditor::focusLost (cause);
    // Not being a text-input target, this dismisses any pending platform text input.
    if (auto* peer = getPeer())
        peer->refreshTextInputTarget();
}

} // namespace brevalon
