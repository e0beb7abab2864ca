#include "ComponentDriver.h"
#include "OverlayTestBench.h"
#include "Screenshot.h"

#include "overlays/SharePresetOverlay.h"
#include "processor/QuillfenTemplateAudioProcessor.h"
#include "state/Clipboard.h"
#include "state/ParamManager.h"
#include "state/SharedFolder.h"
#include "state/StateCode.h"
#include "state/StateEngine.h"
#include "tests/support/RecordingLauncher.h"

#include <gtest/gtest.h>

namespace brevalon
{
namespace
{
using test::ComponentDriver;
using test::OverlayMessageRecorder;

// The code of the product's default state, made by the state engine as the menu does.
juce::String defaultStateCode()
{
    const auto folder =
        juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("brevalon-share-" + juce::Uuid().toString());
    juce::String code;
    {
        StateEngine engine (QuillfenTemplateAudioProcessor::createParameters(), "Brevalon.conf", SharedFolder (folder));
        code = StateCode::make (engine);
    }
    folder.deleteRecursively();
    return code;
}

struct ShareBench
{
    explicit ShareBench (const juce::String& code) { overlay.setCode (code); }

    MemoryClipboard clipboard;
    test::RecordingLauncher launcher;
    SharePresetOverlay overlay{ "SHARE PRESET", clipboard, launcher };
    test::StandInEditor editor{ overlay };
    OverlayMessageRecorder recorder{ overlay };
    ComponentDriver driver{ editor };
};

TEST (SharePresetOverlay, MailsTheDefaultStateAsThisExactLink)
{
    const auto code = defaultStateCode();
    ASSERT_EQ (code, "<Brevalon freqParam=\"21000.0\" slopeParam=\"75.0\" mixParam=\"100.0\" bypassParam=\"Off\"/>");
    ShareBench bench (code);

    bench.driver.click (bench.overlay.getMailButton().getBounds().getCentre());
    ComponentDriver::deliverPendingMessages();

    // Encoded independently (Python's urllib.parse.quote with "_-.*!'()" kept).
    const juce::String expected =
        "mailto:?subject=Brevalon%20Preset&body=This%20e-mail%20contains%20a%20Brevalon%20Preset.%20To%20load%20it%2C%20just%20copy%20and%"
        "20paste%20the%20code%20below%20into%20a%20Brevalon%20instance.%0A%0A--------%20copy%20code%20below%20this%20line%20--------%0A%0A%"
        "3CBrevalon%20freqParam%3D%2221000.0%22%20slopeParam%3D%2275.0%22%20mixParam%3D%22100.0%22%20bypassParam%3D%22Off%22%2F%3E%0A%0A--"
        "------%20copy%20code%20above%20this%20line%20--------%0A%0A%0A";
    EXPECT_EQ (bench.launcher.urls, juce::StringArray (expected));
    EXPECT_TRUE (bench.launcher.files.isEmpty());
    EXPECT_TRUE (bench.recorder.messages.isEmpty()) << "the overlay stays open";
}

TEST (SharePresetOverlay, PercentEncodesUtf8BytesKeepingOnlyTheUnreservedFew)
{
    const std::pair<juce::String, juce::String> cases[] = {
        { "AZaz09_-.*!'()", "AZaz09_-.*!'()" },
        { "~ &=?/+#%", "%7E%20%26%3D%3F%2F%2B%23%25" },
        { juce::String::fromUTF8 ("\xc3\xa9\xe2\x82\xac"), "%C3%A9%E2%82%AC" },
        { "\r\n\t", "%0D%0A%09" },
    };
    for (const auto& [text, encoded] : cases)
        EXPECT_EQ (SharePresetOverlay::percentEncode (text), encoded) << text;
}

TEST (SharePresetOverlay, CopyingTwiceLeavesTheSameTextAndSelectsTheCode)
{
    const juce::String code ("<Brevalon freqParam=\"22000.0\" slopeParam=\"40.0\" mixParam=\"90.0\" bypassParam=\"Off\"/>");
    ShareBench bench (code);
    bench.clipboard.copyText ("something else");

    for (int click = 0; click < 2; ++click)
    {
        bench.driver.click (bench.overlay.getCopyButton().getBounds().getCentre());
        ComponentDriver::deliverPendingMessages();
        EXPECT_EQ (bench.clipboard.getText(), code);
        EXPECT_EQ (bench.overlay.getCodeBox().getHighlightedRegion(), juce::Range<int> (0, code.length()));
    }
    EXPECT_TRUE (bench.recorder.messages.isEmpty()) << "the overlay stays open";
    EXPECT_TRUE (bench.launcher.urls.isEmpty());
}

TEST (SharePresetOverlay, TheCodeBoxIsReadOnlyButSelectable)
{
    const juce::String code ("<Brevalon freqParam=\"22000.0\"/>");
    ShareBench bench (code);
    auto& box = bench.overlay.getCodeBox();
    EXPECT_EQ (box.getText(), code);

    // Focus by a click selects everything, ready to be copied.
    bench.driver.click (box.getBounds().getCentre());
    ComponentDriver::deliverPendingMessages();
    ASSERT_TRUE (box.hasKeyboardFocus (false));
    EXPECT_EQ (box.getHighlightedText(), code);

    // Typing, deleting and cutting change nothing.
    bench.driver.typeText ("x");
    bench.driver.pressKey (juce::KeyPress (juce::KeyPress::backspaceKey));
    bench.driver.pressKey (juce::KeyPress (juce::KeyPress::deleteKey));
    bench.driver.pressKey (juce::KeyPress ('x', juce::ModifierKeys::commandModifier, 0));
    EXPECT_EQ (box.getText(), code);

    // A drag selects part of it, and the keyboard selects all and copies.
    bench.driver.drag (box.getPosition() + juce::Point<int> (4, 8), { { 20, 0 }, { 40, 0 } });
    const auto part = box.getHighlightedText();
    EXPECT_TRUE (part.isNotEmpty() && part.length() < code.length() && code.startsWith (part)) << part;

    juce::SystemClipboard::copyTextToClipboard ({});
    bench.driver.pressKey (juce::KeyPress ('a', juce::ModifierKeys::commandModifier, 0));
    bench.driver.pressKey (juce::KeyPress ('c', juce::ModifierKeys::commandModifier, 0));
    EXPECT_EQ (box.getHighlightedText(), code);
    EXPECT_EQ (juce::SystemClipboard::getTextFromClipboard(), code) << "the private display's clipboard";
    EXPECT_EQ (box.getText(), code);
}

TEST (SharePresetOverlay, LaysOutTheButtonsAndTheCodeBox)
{
    ShareBench bench ("<Brevalon/>");
    EXPECT_EQ (bench.overlay.getPanelBounds().getPosition(), juce::Point<int> (43, 16));
    EXPECT_EQ (bench.overlay.getMailButton().getBounds(), juce::Rectangle<int> (57, 190, 142, 26));
    EXPECT_EQ (bench.overlay.getCopyButton().getBounds(), juce::Rectangle<int> (207, 190, 142, 26));
    EXPECT_EQ (bench.overlay.getCodeBox().getBounds(), juce::Rectangle<int> (57, 91, 292, 95));
    EXPECT_EQ (bench.overlay.getCopyButton().getButtonText(), "Copy to Clipboard");
    EXPECT_EQ (bench.overlay.getMailButton().getButtonText(), "Share via e-mail");
}

TEST (SharePresetOverlay, Screenshot)
{
    ShareBench bench (defaultStateCode());
    EXPECT_TRUE (test::saveScreenshot (bench.editor, "share_preset_overlay").existsAsFile());
}

} // namespace
} // namespace brevalon
