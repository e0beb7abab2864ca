#include "ComponentDriver.h"
#include "OverlayTestBench.h"
#include "Screenshot.h"

#include "overlays/AddUserPresetOverlay.h"
#include "overlays/CannotCreatePresetOverlay.h"
#include "overlays/DeleteUserPresetOverlay.h"
#include "overlays/OverwriteUserPresetOverlay.h"
#include "processor/QuillfenTemplateAudioProcessor.h"
#include "state/ParamManager.h"
#include "state/SharedFolder.h"
#include "state/StateEngine.h"

#include <gtest/gtest.h>

namespace brevalon
{
namespace
{
using test::ComponentDriver;
using test::OverlayMessageRecorder;

// A state engine over the product's programs in a shared folder of its own: factory presets
// "Default", "Light", ... and five empty user slots USER001 to USER005.
class UserPresetDialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        sharedFolder =
            juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("brevalon-dialogs-" + juce::Uuid().toString());
        engine = std::make_unique<StateEngine> (QuillfenTemplateAudioProcessor::createParameters(), "Brevalon.conf",
                                                SharedFolder (sharedFolder));
    }
    void TearDown() override
    {
        engine.reset();
        sharedFolder.deleteRecursively();
    }

    // Replaces the field's text through the real keyboard: select all, then type.
    static void retype (ComponentDriver& driver, AddUserPresetOverlay& dialog, const juce::String& text)
    {
        driver.click (dialog.getNameEditor().getBounds().getCentre());
        driver.pressKey (juce::KeyPress ('a', juce::ModifierKeys::commandModifier, 0));
        driver.pressKey (juce::KeyPress (juce::KeyPress::backspaceKey));
        driver.typeText (text);
        ComponentDriver::deliverPendingMessages();
    }

    juce::File sharedFolder;
    std::unique_ptr<StateEngine> engine;
};

struct NameCase
{
    const char* typed;
    bool accepted;
};

TEST_F (UserPresetDialogs, CreateAcceptsOnlyANameThatNoProgramHasInAnyCase)
{
    const NameCase cases[] = {
        { "My Sound", true }, { "  Late Night  ", true },
        { "default", false }, { "DEFAULT", false },
        { "Light", false },   { "steep AND reduced", false },
        { "user003", false }, { "User003", false },
        { "USER005", false }, { "   ", false },
        { "", false },        { "User006", true },
        { "Default2", true },
    };
    for (const auto& c : cases)
    {
        AddUserPresetOverlay dialog ("CREATE USER-PRESET", engine.get());
        test::StandInEditor editor (dialog);
        ComponentDriver driver (editor);
        EXPECT_FALSE (dialog.getConfirmButton().isEnabled()) << "an empty field at the start";

        retype (driver, dialog, c.typed);
        EXPECT_EQ (dialog.getNameEditor().getText(), c.typed);
        EXPECT_EQ (dialog.getConfirmButton().isEnabled(), c.accepted) << "'" << c.typed << "'";
    }
}

TEST_F (UserPresetDialogs, EnterFollowsTheConfirmButtonsRule)
{
    const NameCase cases[] = { { "light", false }, { "user001", false }, { "    ", false }, { "", false }, { " Night Bus ", true } };
    for (const auto& c : cases)
    {
        AddUserPresetOverlay dialog ("CREATE USER-PRESET", engine.get());
        test::StandInEditor editor (dialog);
        OverlayMessageRecorder recorder (dialog);
        ComponentDriver driver (editor);

        retype (driver, dialog, c.typed);
        driver.pressKey (juce::KeyPress (juce::KeyPress::returnKey));
        ComponentDriver::deliverPendingMessages();

        if (c.accepted)
        {
            EXPECT_EQ (recorder.messages, juce::StringArray ("action addUserPresetOverlay_add", "change"));
            EXPECT_EQ (dialog.getPresetName(), juce::String (c.typed).trim());
        }
        else
        {
            EXPECT_TRUE (recorder.messages.isEmpty()) << "'" << c.typed << "': " << recorder.messages.joinIntoString (", ");
            EXPECT_TRUE (dialog.getPresetName().isEmpty());
        }
    }
}

TEST_F (UserPresetDialogs, CreateWithTheOnScreenKeyboardAndTheConfirmButton)
{
    AddUserPresetOverlay dialog ("CREATE USER-PRESET", engine.get());
    test::StandInEditor editor (dialog);
    OverlayMessageRecorder recorder (dialog);
    ComponentDriver driver (editor);

    auto& keyboard = dialog.getKeyboard();
    for (const auto c : juce::String ("dusk"))
        driver.click (keyboard.getPosition() + keyboard.findKey (c)->getBounds().getCentre());
    driver.click (keyboard.getPosition() + keyboard.getSpaceButton().getBounds().getCentre());
    driver.click (keyboard.getPosition() + keyboard.findKey ('2')->getBounds().getCentre());
    ComponentDriver::deliverPendingMessages();
    ASSERT_EQ (dialog.getNameEditor().getText(), "Dusk 2");
    EXPECT_TRUE (dialog.getNameEditor().hasKeyboardFocus (false));
    ASSERT_TRUE (dialog.getConfirmButton().isEnabled());
    EXPECT_TRUE (recorder.messages.isEmpty());

    driver.click (dialog.getConfirmButton().getBounds().getCentre());
    ComponentDriver::deliverPendingMessages();

    EXPECT_EQ (recorder.messages, juce::StringArray ("action addUserPresetOverlay_add", "change"));
    EXPECT_EQ (dialog.getPresetName(), "Dusk 2");
}

TEST_F (UserPresetDialogs, CancelAndCloseSendOnlyTheChangeMessage)
{
    for (const bool viaCancel : { true, false })
    {
        AddUserPresetOverlay dialog ("CREATE USER-PRESET", engine.get());
        test::StandInEditor editor (dialog);
        OverlayMessageRecorder recorder (dialog);
        ComponentDriver driver (editor);
        retype (driver, dialog, "Fine Name");

        driver.click ((viaCancel ? dialog.getCancelButton() : dialog.getCloseButton()).getBounds().getCentre());
        ComponentDriver::deliverPendingMessages();

        EXPECT_EQ (recorder.messages, juce::StringArray ("change"));
        EXPECT_TRUE (dialog.getPresetName().isEmpty());
    }
}

TEST_F (UserPresetDialogs, TheNameFieldTakesAtMost32AllowedCharacters)
{
    AddUserPresetOverlay dialog ("CREATE USER-PRESET", engine.get());
    test::StandInEditor editor (dialog);
    ComponentDriver driver (editor);

    retype (driver, dialog, "a_b.c/d!e(f)g+h,i-j 1234567890 abcdefghijklmnop");
    EXPECT_EQ (dialog.getNameEditor().getText(), "abcde(f)g+h,i-j 1234567890 abcde");
}

TEST_F (UserPresetDialogs, NamingDialogsLayOutTheirControls)
{
    AddUserPresetOverlay add ("CREATE USER-PRESET", engine.get());
    OverwriteUserPresetOverlay overwrite ("OVERWRITE USER-PRESET", engine.get());
    for (AddUserPresetOverlay* dialog : { &add, static_cast<AddUserPresetOverlay*> (&overwrite) })
    {
        dialog->setSize (406, 242);
        EXPECT_EQ (dialog->getPanelBounds().getPosition(), juce::Point<int> (38, 10));
        EXPECT_EQ (dialog->getContentBounds().getPosition(), juce::Point<int> (52, 32));
        EXPECT_EQ (dialog->getNameEditor().getBounds(), juce::Rectangle<int> (173, 83, 180, 20));
        EXPECT_EQ (dialog->getKeyboard().getBounds(), juce::Rectangle<int> (52, 108, 302, 100));
        EXPECT_EQ (dialog->getConfirmButton().getBounds(), juce::Rectangle<int> (234, 196, 120, 26));
        EXPECT_EQ (dialog->getCancelButton().getBounds(), juce::Rectangle<int> (152, 196, 80, 26));
        EXPECT_EQ (dialog->getNameEditor().getName(), "presetNameEditor");
        EXPECT_TRUE (dialog->getConfirmButton().getTooltip().isEmpty());
    }
    EXPECT_EQ (add.getConfirmButton().getButtonText(), "Create preset");
    EXPECT_EQ (overwrite.getConfirmButton().getButtonText(), "Overwrite preset");
}

TEST_F (UserPresetDialogs, OverwriteAcceptsTheUnchangedNameAndFreeNames)
{
    ASSERT_EQ (engine->saveAsNewUserPreset (engine->firstFreeSlot(), "Tape Warmth"), 5);
    ASSERT_EQ (engine->getCurrentProgramName(), "Tape Warmth");

    const NameCase cases[] = {
        { "Tape Warmth", true }, { " Tape Warmth ", true }, { "tape warmth", false },  { "Light", false }, { "user002", false },
        { "", false },           { "  ", false },           { "Tape Warmth 2", true },
    };
    for (const auto& c : cases)
    {
        OverwriteUserPresetOverlay dialog ("OVERWRITE USER-PRESET", engine.get());
        dialog.setName (engine->getCurrentProgramName());
        test::StandInEditor editor (dialog);
        ComponentDriver driver (editor);
        EXPECT_EQ (dialog.getNameEditor().getText(), "Tape Warmth");
        EXPECT_TRUE (dialog.getConfirmButton().isEnabled()) << "the unchanged name";

        retype (driver, dialog, c.typed);
        EXPECT_EQ (dialog.getConfirmButton().isEnabled(), c.accepted) << "'" << c.typed << "'";
    }
}

TEST_F (UserPresetDialogs, OverwriteSendsItsOwnActionWithTheAcceptedName)
{
    ASSERT_EQ (engine->saveAsNewUserPreset (engine->firstFreeSlot(), "Tape Warmth"), 5);
    for (const bool viaEnter : { false, true })
    {
        OverwriteUserPresetOverlay dialog ("OVERWRITE USER-PRESET", engine.get());
        dialog.setName ("Tape Warmth");
        test::StandInEditor editor (dialog);
        OverlayMessageRecorder recorder (dialog);
        ComponentDriver driver (editor);
        retype (driver, dialog, "Tape Warmer");

        if (viaEnter)
            driver.pressKey (juce::KeyPress (juce::KeyPress::returnKey));
        else
            driver.click (dialog.getConfirmButton().getBounds().getCentre());
        ComponentDriver::deliverPendingMessages();

        EXPECT_EQ (recorder.messages, juce::StringArray ("action overwriteUserPresetOverlay_add", "change"));
        EXPECT_EQ (dialog.getPresetName(), "Tape Warmer");
    }
}

TEST_F (UserPresetDialogs, DeleteAsksWithTheQuotedNameAndSendsDeleteThenClose)
{
    DeleteUserPresetOverlay dialog ("DELETE USER-PRESET");
    dialog.setPresetName ("Tape Warmth");
    test::StandInEditor editor (dialog);
    OverlayMessageRecorder recorder (dialog);
    ComponentDriver driver (editor);

    EXPECT_EQ (dialog.getQuestion(), "You are about to delete \"Tape Warmth\", are you sure?");
    EXPECT_EQ (dialog.getPanelBounds(), juce::Rectangle<int> (43, 66, 322, 110));
    EXPECT_EQ (dialog.getConfirmButton().getBounds(), juce::Rectangle<int> (244, 139, 110, 26));
    EXPECT_EQ (dialog.getCancelButton().getBounds(), juce::Rectangle<int> (162, 139, 80, 26));
    EXPECT_EQ (dialog.getConfirmButton().getButtonText(), "Yes, Delete");

    driver.click (dialog.getConfirmButton().getBounds().getCentre());
    ComponentDriver::deliverPendingMessages();
    EXPECT_EQ (recorder.messages, juce::StringArray ("action deleteUserPresetOverlay_delete", "change"));

    recorder.messages.clear();
    driver.click (dialog.getCancelButton().getBounds().getCentre());
    ComponentDriver::deliverPendingMessages();
    EXPECT_EQ (recorder.messages, juce::StringArray ("change"));
}

TEST_F (UserPresetDialogs, DeleteDrawsTheNameIntoItsQuestion)
{
    // The paragraph's first line, below the title: content origin (57, 88).
    const juce::Rectangle<int> firstLine (57, 104, 292, 16);
    const auto dark = [] (juce::Colour c) { return c.getBrightness() < 0.3f; };
    juce::Rectangle<int> ink[2];
    for (const int withName : { 0, 1 })
    {
        DeleteUserPresetOverlay dialog ("DELETE USER-PRESET");
        dialog.setPresetName (withName == 1 ? "WWW" : "");
        test::StandInEditor editor (dialog);
        ink[withName] = test::inkBounds (test::renderComponent (editor), dark, firstLine);
    }
    EXPECT_EQ (ink[0].getX(), ink[1].getX());
    EXPECT_GT (ink[1].getRight(), ink[0].getRight() + 20) << ink[0].toString() << " " << ink[1].toString();
}

TEST_F (UserPresetDialogs, CannotCreateClosesWithOk)
{
    CannotCreatePresetOverlay dialog ("ALL USER-PRESET-SLOTS IN USE");
    test::StandInEditor editor (dialog);
    OverlayMessageRecorder recorder (dialog);
    ComponentDriver driver (editor);

    EXPECT_EQ (dialog.getOkButton().getBounds(), juce::Rectangle<int> (269, 140, 80, 22));
    driver.click (dialog.getOkButton().getBounds().getCentre());
    ComponentDriver::deliverPendingMessages();
    EXPECT_EQ (recorder.messages, juce::StringArray ("change"));
}

TEST_F (UserPresetDialogs, Screenshots)
{
    {
        AddUserPresetOverlay dialog ("CREATE USER-PRESET", engine.get());
        test::StandInEditor editor (dialog);
        ComponentDriver driver (editor);
        retype (driver, dialog, "Night Bus");
        EXPECT_TRUE (test::saveScreenshot (editor, "add_user_preset_overlay").existsAsFile());
    }
    {
        OverwriteUserPresetOverlay dialog ("OVERWRITE USER-PRESET", engine.get());
        dialog.setName ("Tape Warmth");
        test::StandInEditor editor (dialog);
        EXPECT_TRUE (test::saveScreenshot (editor, "overwrite_user_preset_overlay").existsAsFile());
    }
    {
        DeleteUserPresetOverlay dialog ("DELETE USER-PRESET");
        dialog.setPresetName ("Tape Warmth");
        test::StandInEditor editor (dialog);
        EXPECT_TRUE (test::saveScreenshot (editor, "delete_user_preset_overlay").existsAsFile());
    }
    {
        CannotCreatePresetOverlay dialog ("ALL USER-PRESET-SLOTS IN USE");
        test::StandInEditor editor (dialog);
        EXPECT_TRUE (test::saveScreenshot (editor, "cannot_create_preset_overlay").existsAsFile());
    }
}

} // namespace
} // namespace brevalon
