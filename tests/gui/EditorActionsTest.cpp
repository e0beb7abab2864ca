#include "EditorBench.h"
#include "Screenshot.h"

#include "overlays/AddUserPresetOverlay.h"
#include "overlays/CannotCreatePresetOverlay.h"
#include "overlays/DeleteUserPresetOverlay.h"
#include "overlays/InfoOverlay.h"
#include "overlays/OverwriteUserPresetOverlay.h"
#include "overlays/SettingsOverlay.h"
#include "overlays/SharePresetOverlay.h"
#include "state/GlobalParamList.h"
#include "state/ParamManager.h"
#include "state/StateCode.h"

#include <gtest/gtest.h>

namespace brevalon
{
namespace
{
using test::ComponentDriver;
using test::EditorBench;
using Product = QuillfenTemplateAudioProcessor;

// The menus' codes, as the preset box and the background menu report them.
enum Code
{
    reset = 1,
    saveAsNew = 2,
    overwrite = 3,
    remove = 4,
    copy = 5,
    paste = 6,
    share = 7
};

template <typename Overlay>
Overlay* openOverlay (EditorBench& bench)
{
    return dynamic_cast<Overlay*> (bench.editor->getCurrentOverlay());
}

juce::ComboBox& presetBox (EditorBench& bench)
{
    for (auto* child : bench.editor->getChildren())
        if (auto* box = dynamic_cast<PresetComboBox*> (child))
            return *box;
    throw std::logic_error ("no preset box");
}

juce::String userPresetFile (EditorBench& bench)
{
    return bench.sharedFolder.getFile().getChildFile ("Brevalon.conf").loadFileAsString();
}

// Saves the current state as a user preset through the editor, as the dialog's confirm would.
void saveUserPreset (EditorBench& bench, const juce::String& name)
{
    QuillfenEditor::contextMenuCallback (saveAsNew, bench.editor.get());
    auto* add = openOverlay<AddUserPresetOverlay> (bench);
    ASSERT_NE (add, nullptr);
    bench.driver->typeText (name);
    add->getConfirmButton().triggerClick();
    ComponentDriver::deliverPendingMessages();
}

//==============================================================================
TEST (EditorActions, SettingsMessagesWriteTheSharedSettingsAndTheSlidersFollow)
{
    EditorBench bench;
    auto& settings = bench.processor->getGlobalSettings();
    const auto file = bench.sharedFolder.getFile().getChildFile ("global.conf");
    bench.driver->click ({ 360, 10 });
    auto* overlay = openOverlay<SettingsOverlay> (bench);
    ASSERT_NE (overlay, nullptr);
    EXPECT_EQ (overlay->getTitle(), "SETTINGS");

    overlay->getLinearButton().setToggleState (true, juce::dontSendNotification);
    bench.editor->actionListenerCallback ("changeSettings_sliderMode");
    EXPECT_EQ (settings.getParameterAt (GlobalParamList::sliderMode)->getIntValue(), 1);
    overlay->getSensitivitySlider().setValue (150.0, juce::dontSendNotification);
    bench.editor->actionListenerCallback ("changeSettings_mouseSensitivity");
    EXPECT_EQ (settings.getParameterAt (GlobalParamList::mouseSensitivity)->getIntValue(), 150);
    EXPECT_TRUE (file.loadFileAsString().contains ("linear"));
    EXPECT_TRUE (file.loadFileAsString().contains ("150"));

    bench.tick();
    EXPECT_FALSE (bench.editor->getFrequencySlider().getVelocityBasedMode()) << "the sliders follow on the next tick";
    EXPECT_EQ (bench.editor->getFrequencySlider().getMouseDragSensitivity(), BetterSlider::fullDragDistanceForSensitivity (150));
}

TEST (EditorActions, ClickingTheSettingsDialogChangesTheSettings)
{
    EditorBench bench;
    auto& settings = bench.processor->getGlobalSettings();
    bench.driver->click ({ 360, 10 });
    auto* overlay = openOverlay<SettingsOverlay> (bench);
    ASSERT_NE (overlay, nullptr);
    EXPECT_FALSE (overlay->getSensitivitySlider().isEnabled());

    const auto linear = overlay->getLinearButton().getBounds().getCentre();
    bench.driver->click (linear);
    ComponentDriver::deliverPendingMessages();
    EXPECT_EQ (settings.getParameterAt (GlobalParamList::sliderMode)->getIntValue(), 1);
    EXPECT_TRUE (overlay->getSensitivitySlider().isEnabled());
    test::saveAtBothScales (*bench.editor, "editor-settings");
}

TEST (EditorActions, AddingAUserPresetSavesSelectsAndEnablesIt)
{
    EditorBench bench;
    auto& engine = bench.processor->getStateEngine();
    saveUserPreset (bench, "Bright Master");
    EXPECT_EQ (bench.editor->getCurrentOverlay(), nullptr) << "the dialog closed";
    EXPECT_EQ (engine.getCurrentProgram(), 5);
    EXPECT_TRUE (userPresetFile (bench).contains ("Bright Master"));

    bench.tick();
    auto& box = presetBox (bench);
    EXPECT_EQ (box.getSelectedId(), 6);
    EXPECT_EQ (box.getText(), "Bright Master");
    EXPECT_TRUE (box.isItemEnabled (6));
}

// A user-preset file that cannot be read is never written over; the menu says so instead of
// saving a preset that would exist in this instance only.
TEST (EditorActions, AnUnreadablePresetFileIsExplainedAndKept)
{
    EditorBench bench;
    auto& engine = bench.processor->getStateEngine();
    const auto file = bench.sharedFolder.getFile().getChildFile ("Brevalon.conf");
    ASSERT_TRUE (file.getParentDirectory().createDirectory());
    const juce::String damaged = "<Quillfen><presets><preset _No_=\"1000\" _Name_=\"Half";

    // Damaged while the naming dialog is open: confirming saves nothing.
    QuillfenEditor::contextMenuCallback (saveAsNew, bench.editor.get());
    auto* add = openOverlay<AddUserPresetOverlay> (bench);
    ASSERT_NE (add, nullptr);
    ASSERT_TRUE (file.replaceWithText (damaged));
    bench.driver->typeText ("Lost");
    add->getConfirmButton().triggerClick();
    ComponentDriver::deliverPendingMessages();
    EXPECT_EQ (engine.getCurrentProgram(), 0);
    EXPECT_FALSE (engine.isAvailable (5));

    for (const auto code : { saveAsNew, overwrite })
    {
        SCOPED_TRACE (code);
        QuillfenEditor::contextMenuCallback (code, bench.editor.get());
        auto* overlay = openOverlay<CannotCreatePresetOverlay> (bench);
        ASSERT_NE (overlay, nullptr);
        EXPECT_EQ (overlay->getTitle(), "USER-PRESET FILE UNREADABLE");
        EXPECT_EQ (overlay->getParagraph(), CannotCreatePresetOverlay::unreadableFileParagraph);
        if (code == saveAsNew)
            test::saveAtBothScales (*bench.editor, "editor-preset-file-unreadable");
        overlay->getOkButton().triggerClick();
        ComponentDriver::deliverPendingMessages();
        EXPECT_EQ (bench.editor->getCurrentOverlay(), nullptr);
    }
    EXPECT_EQ (file.loadFileAsString(), damaged);
}

TEST (EditorActions, WithEveryUserSlotInUseTheMenuExplains)
{
    EditorBench bench;
    for (int i = 1; i <= 5; ++i)
        saveUserPreset (bench, "Preset " + juce::String (i));
    QuillfenEditor::contextMenuCallback (saveAsNew, bench.editor.get());
    auto* overlay = openOverlay<CannotCreatePresetOverlay> (bench);
    ASSERT_NE (overlay, nullptr);
    EXPECT_EQ (overlay->getTitle(), "ALL USER-PRESET-SLOTS IN USE");
    test::saveAtBothScales (*bench.editor, "editor-cannot-create");

    // An add message that arrives anyway saves nothing (no free slot, and the wrong dialog).
    const auto before = userPresetFile (bench);
    bench.editor->actionListenerCallback ("addUserPresetOverlay_add");
    EXPECT_EQ (userPresetFile (bench), before);
}

TEST (EditorActions, OverwriteRenamesAndUpdatesTheFileAndTheList)
{
    EditorBench bench;
    auto& engine = bench.processor->getStateEngine();
    saveUserPreset (bench, "First");
    bench.processor->setParameterFromEditor (Product::slopeParam, 0.25f);

    QuillfenEditor::contextMenuCallback (overwrite, bench.editor.get());
    auto* overlay = openOverlay<OverwriteUserPresetOverlay> (bench);
    ASSERT_NE (overlay, nullptr);
    EXPECT_EQ (overlay->getNameEditor().getText(), "First");
    test::saveAtBothScales (*bench.editor, "editor-overwrite-preset");
    overlay->getNameEditor().setText ("Second", juce::sendNotification);
    overlay->getConfirmButton().triggerClick();
    ComponentDriver::deliverPendingMessages();

    EXPECT_EQ (engine.getCurrentProgramName(), "Second");
    const auto file = userPresetFile (bench);
    EXPECT_TRUE (file.contains ("Second"));
    EXPECT_FALSE (file.contains ("First"));
    bench.tick();
    EXPECT_EQ (presetBox (bench).getItemText (5), "Second");
}

TEST (EditorActions, DeleteEmptiesTheSlotAndReturnsToThePreviousProgram)
{
    EditorBench bench;
    auto& engine = bench.processor->getStateEngine();
    saveUserPreset (bench, "Short Lived");
    bench.tick();
    auto& box = presetBox (bench);
    box.setSelectedId (3); // "Intermediate", then back to the user preset, through the list
    ComponentDriver::deliverPendingMessages();
    box.setSelectedId (6);
    ComponentDriver::deliverPendingMessages();
    ASSERT_EQ (engine.getCurrentProgram(), 5);

    QuillfenEditor::contextMenuCallback (remove, bench.editor.get());
    auto* overlay = openOverlay<DeleteUserPresetOverlay> (bench);
    ASSERT_NE (overlay, nullptr);
    EXPECT_TRUE (overlay->getQuestion().contains ("\"Short Lived\""));
    test::saveAtBothScales (*bench.editor, "editor-delete-preset");
    overlay->getConfirmButton().triggerClick();
    ComponentDriver::deliverPendingMessages();

    EXPECT_EQ (engine.getCurrentProgram(), 2);
    EXPECT_FALSE (engine.isAvailable (5));
    bench.tick();
    EXPECT_FALSE (presetBox (bench).isItemEnabled (6));
}

TEST (EditorActions, MessagesForAnotherDialogOrUnknownOnesAreIgnored)
{
    EditorBench bench;
    auto& engine = bench.processor->getStateEngine();
    saveUserPreset (bench, "Keep Me");
    const auto file = userPresetFile (bench);
    auto& settings = bench.processor->getGlobalSettings();

    bench.driver->click ({ 360, 10 }); // settings open
    for (const char* message : { "deleteUserPresetOverlay_delete", "overwriteUserPresetOverlay_add", "addUserPresetOverlay_add", "bogus" })
        bench.editor->actionListenerCallback (message);
    EXPECT_EQ (userPresetFile (bench), file);
    EXPECT_EQ (engine.getCurrentProgramName(), "Keep Me");

    QuillfenEditor::contextMenuCallback (remove, bench.editor.get()); // the delete dialog open
    bench.editor->actionListenerCallback ("changeSettings_sliderMode");
    EXPECT_EQ (settings.getParameterAt (GlobalParamList::sliderMode)->getIntValue(), 0);
}

TEST (EditorActions, MenuCodesResetCopyPasteShareAndNothingForZero)
{
    EditorBench bench;
    auto& engine = bench.processor->getStateEngine();
    auto& slope = *bench.processor->getParamManager().getParameterAt (Product::slopeParam);
    const float stored = slope.getNormalised();

    bench.processor->setParameterFromEditor (Product::slopeParam, 0.25f);
    QuillfenEditor::contextMenuCallback (0, bench.editor.get());
    QuillfenEditor::contextMenuCallback (99, bench.editor.get());
    QuillfenEditor::contextMenuCallback (reset, nullptr);
    EXPECT_FLOAT_EQ (slope.getNormalised(), 0.25f);

    QuillfenEditor::contextMenuCallback (copy, bench.editor.get());
    const auto code = bench.clipboard->getText();
    EXPECT_EQ (code, StateCode::make (engine));

    QuillfenEditor::contextMenuCallback (reset, bench.editor.get());
    EXPECT_FLOAT_EQ (slope.getNormalised(), stored);

    QuillfenEditor::contextMenuCallback (paste, bench.editor.get());
    EXPECT_FLOAT_EQ (slope.getNormalised(), 0.25f);

    QuillfenEditor::contextMenuCallback (share, bench.editor.get());
    auto* shareOverlay = openOverlay<SharePresetOverlay> (bench);
    ASSERT_NE (shareOverlay, nullptr);
    EXPECT_EQ (shareOverlay->getTitle(), "SHARE PRESET");
    EXPECT_EQ (shareOverlay->getCode(), code);
    test::saveAtBothScales (*bench.editor, "editor-share");
}

TEST (EditorActions, InfoButtonOpensTheAboutBox)
{
    EditorBench bench;
    bench.driver->click ({ 385, 10 });
    auto* overlay = openOverlay<InfoOverlay> (bench);
    ASSERT_NE (overlay, nullptr);
    EXPECT_EQ (overlay->getTitle(), "ABOUT");
    test::saveAtBothScales (*bench.editor, "editor-about");
    bench.driver->click ({ 3, 120 }); // the veil
    ComponentDriver::deliverPendingMessages();
    EXPECT_EQ (bench.editor->getCurrentOverlay(), nullptr);
}

TEST (EditorActions, TheNameFieldTakesTheKeysWhenTheDialogOpens)
{
    EditorBench bench;
    QuillfenEditor::contextMenuCallback (saveAsNew, bench.editor.get());
    auto* add = openOverlay<AddUserPresetOverlay> (bench);
    ASSERT_NE (add, nullptr);
    EXPECT_TRUE (add->getNameEditor().hasKeyboardFocus (false));
    test::saveAtBothScales (*bench.editor, "editor-add-preset");
}

// Two instances in one process share the user presets through the file. A preset saved in one
// takes its slot for the other too: the other's "save as new" goes to the next free slot and keeps
// it. A new instance lists both. Deleting a preset in one leaves the other working: resetting
// that slot there finds it gone.
TEST (EditorActions, TwoInstancesShareTheUserPresets)
{
    EditorBench first;
    auto second = std::make_unique<QuillfenTemplateAudioProcessor> (SharedFolder (first.sharedFolder.getFile()));
    second->prepareToPlay (96000.0, 512);
    auto secondEditor = std::make_unique<QuillfenTemplateAudioProcessorEditor> (*second);
    test::ComponentDriver secondDriver (*secondEditor, { 600, 100 });
    auto& secondEngine = second->getStateEngine();

    saveUserPreset (first, "Shared One");
    QuillfenEditor::contextMenuCallback (saveAsNew, secondEditor.get());
    auto* add = dynamic_cast<AddUserPresetOverlay*> (secondEditor->getCurrentOverlay());
    ASSERT_NE (add, nullptr);
    add->getNameEditor().setText ("Second Own", juce::sendNotification);
    add->getConfirmButton().triggerClick();
    ComponentDriver::deliverPendingMessages();
    EXPECT_EQ (secondEngine.getCurrentProgram(), 6) << "the first instance's slot was skipped";
    const auto file = userPresetFile (first);
    EXPECT_TRUE (file.contains ("Shared One"));
    EXPECT_TRUE (file.contains ("Second Own"));

    {
        QuillfenTemplateAudioProcessor third (SharedFolder (first.sharedFolder.getFile()));
        QuillfenTemplateAudioProcessorEditor thirdEditor (third);
        EXPECT_EQ (third.getStateEngine().getProgramNameForDisplay (5), "Shared One");
        EXPECT_EQ (third.getStateEngine().getProgramNameForDisplay (6), "Second Own");
        EXPECT_TRUE (third.getStateEngine().isAvailable (5));
    }

    QuillfenEditor::contextMenuCallback (remove, first.editor.get());
    auto* confirm = openOverlay<DeleteUserPresetOverlay> (first);
    ASSERT_NE (confirm, nullptr);
    confirm->getConfirmButton().triggerClick();
    ComponentDriver::deliverPendingMessages();
    first.tick();

    // The second instance never learnt of slot 5; it goes there and resets it from the file.
    secondEngine.selectProgram (5);
    QuillfenEditor::contextMenuCallback (reset, secondEditor.get());
    secondEditor->timerCallback();
    EXPECT_FALSE (secondEngine.isAvailable (5));
    EXPECT_TRUE (secondEngine.isAvailable (6));
    QuillfenTemplateAudioProcessor fourth (SharedFolder (first.sharedFolder.getFile()));
    EXPECT_FALSE (fourth.getStateEngine().isAvailable (5)) << "deleted in the file";
    EXPECT_EQ (fourth.getStateEngine().getProgramNameForDisplay (6), "Second Own");
}

} // namespace
} // namespace brevalon
