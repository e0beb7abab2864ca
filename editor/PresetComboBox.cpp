#include "editor/PresetComboBox.h"

#include "editor/QuillfenEditor.h"

namespace brevalon
{

PresetComboBox::PresetComboBox() = default;

PresetComboBox::~PresetComboBox()
{
    setLookAndFeel (nullptr);
}

juce::PopupMenu PresetComboBox::createContextMenu() const
{
    juce::PopupMenu menu;
    menu.addItem (resetCode, "Reset to Original State", resetAllowed);
    if (userSectionShown)
    {
        menu.addSeparator();
        menu.addItem (saveAsNewCode, "Save As New Global User-Preset...");
        menu.addItem (overwriteCode, "Overwrite/Rename Selected User-Preset...", overwriteAllowed);
        menu.addItem (deleteCode, "Delete Selected User-Preset...", deleteAllowed);
        menu.addSeparator();
        menu.addItem (copyCode, "Copy State (Ctrl+C)");
        menu.addItem (pasteCode, "Paste State (Ctrl+V)");
        menu.addItem (shareCode, "Share State...");
    }
    return menu;
}

void PresetComboBox::mouseDown (const juce::MouseEvent& event)
{
    // The combo box opens its list on a left click only.
    juce::ComboBox::mouseDown (event);

    auto* parent = getParentComponent();
    if (! isEnabled() || parent == nullptr || ! parent->isEnabled() || ! event.mods.isPopupMenu())
        return;

    auto menu = createContextMenu();
    menu.setLookAndFeel (&menuLookAndFeel);
    juce::Component::SafePointer<juce::Component> target (parent);
    menu.showMenuAsync (juce::PopupMenu::Options().withTargetScreenArea (getScreenBounds()),
                        [target] (int result) { QuillfenEditor::contextMenuCallback (result, target.getComponent()); });
}

} // namespace brevalon
