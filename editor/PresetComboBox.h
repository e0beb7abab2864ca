#pragma once

#include "lookandfeel/LookAndFeelContextMenu.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace brevalon
{

// The toolbar's preset list. A right-click opens the preset context menu (reset, the user-preset
// dialogs, copy, paste, share) instead of the list; its result goes to the editor's
// contextMenuCallback. The editor sets the menu's enable flags on every tick.
class PresetComboBox : public juce::ComboBox
{
public:
    enum MenuCode
    {
        resetCode = 1,
        saveAsNewCode = 2,
        overwriteCode = 3,
        deleteCode = 4,
        copyCode = 5,
        pasteCode = 6,
        shareCode = 7
    };

    PresetComboBox();
    ~PresetComboBox() override;

    void mouseDown (const juce::MouseEvent&) override;

    // The context menu for the current flags.
    juce::PopupMenu createContextMenu() const;

    bool resetAllowed = false;
    bool overwriteAllowed = false;
    bool deleteAllowed = false;
    bool userSectionShown = false;

private:
    LookAndFeelContextMenu menuLookAndFeel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetComboBox)
};

} // namespace brevalon
