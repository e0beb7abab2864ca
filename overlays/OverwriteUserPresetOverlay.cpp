#include "overlays/OverwriteUserPresetOverlay.h"

#include "state/StateEngine.h"

namespace brevalon
{

OverwriteUserPresetOverlay::OverwriteUserPresetOverlay (const juce::String& titleText, StateEngine* engine)
    : AddUserPresetOverlay (titleText, engine, "overwriteUserPresetOverlay_", "Overwrite preset",
                            "You are about to overwrite the user preset. Feel free to change the preset name.")
{
}

void OverwriteUserPresetOverlay::setName (const juce::String& name)
{
    confirmButton.setEnabled (false);
    presetName = name;
    nameEditor.setText (name, false);
    confirmButton.setEnabled (true);
}

bool OverwriteUserPresetOverlay::isNameAvailable (const juce::String& name) const
{
    if (stateEngine != nullptr && name == stateEngine->getCurrentProgramName())
        return true;
    return ! isTaken (name);
}

} // namespace brevalon
