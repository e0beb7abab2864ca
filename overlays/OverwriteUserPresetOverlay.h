#pragma once

#include "overlays/AddUserPresetOverlay.h"

namespace brevalon
{

// The dialog that overwrites the current user preset and lets the user rename it. It accepts
// the current program's own name unchanged (same letter case) besides every name that no
// program uses; it sends "overwriteUserPresetOverlay_add". Message thread only.
class OverwriteUserPresetOverlay : public AddUserPresetOverlay
{
public:
    OverwriteUserPresetOverlay (const juce::String& title, StateEngine* stateEngine);

    // Shows the current program's name in the field; called before the overlay opens.
    void setName (const juce::String& name);

protected:
    bool isNameAvailable (const juce::String& name) const override;

private:
    JUCE_DECLARE_NON_COPYABLE (OverwriteUserPresetOverlay)
};

} // namespace brevalon
