#include "ComponentDriver.h"
#include "OverlayTestBench.h"
#include "Screenshot.h"

#include "overlays/InfoOverlay.h"
#include "tests/support/RecordingLauncher.h"

#include <gtest/gtest.h>

#include <regex>

namespace brevalon
{
namespace
{
using test::ComponentDriver;
using test::OverlayMessageRecorder;
using Wrapper = juce::AudioProcessor::WrapperType;

struct InfoBench
{
    explicit InfoBench (Wrapper wrapper = juce::AudioProcessor::wrapperType_VST)
        : overlay ("ABOUT", wrapper, launcher)
    {
    }

    void click (juce::Button& button)
    {
        driver.click (button.getBounds().getCentre());
        ComponentDriver::deliverPendingMessages();
    }

    test::RecordingLauncher launcher;
    InfoOverlay overlay;
    test::StandInEditor editor{ overlay };
    OverlayMessageRecorder recorder{ overlay };
    ComponentDriver driver{ editor };
};

TEST (InfoOverlay, TheVersionLineNamesTheFormatAndTheBuild)
{
    const std::pair<Wrapper, const char*> cases[] = {
        { juce::AudioProcessor::wrapperType_VST, " VST2" },     { juce::AudioProcessor::wrapperType_VST3, " VST3" },
        { juce::AudioProcessor::wrapperType_AudioUnit, " AU" }, { juce::AudioProcessor::wrapperType_AAX, " AAX" },
        { juce::AudioProcessor::wrapperType_Undefined, "" },    { juce::AudioProcessor::wrapperType_Standalone, "" },
        { juce::AudioProcessor::wrapperType_LV2, "" },          { juce::AudioProcessor::wrapperType_AudioUnitv3, "" },
    };
    for (const auto& [wrapper, suffix] : cases)
    {
        InfoBench bench (wrapper);
        const auto lines = juce::StringArray::fromLines (bench.overlay.getInfoText().getText());
        ASSERT_EQ (lines.size(), 5);
        // The date and time as the compiler writes them: "Dec 16 2014", "00:14:41".
        const std::regex pattern (std::string ("v1\\.0\\.0 64bit") + suffix +
                                  " alpha 1 \\([A-Z][a-z]{2} [ 0-3][0-9] [0-9]{4}, [0-9]{2}:[0-9]{2}:[0-9]{2}\\)");
        EXPECT_TRUE (std::regex_match (lines[0].toStdString(), pattern)) << lines[0];
        EXPECT_EQ (lines[1], "");
        EXPECT_EQ (lines[2], InfoOverlay::creditsLine);
        EXPECT_EQ (lines[3], "");
        EXPECT_EQ (lines[4], InfoOverlay::noticeLine);
    }
}

TEST (InfoOverlay, TheManualIsTheInstalledPdfOrElseTheOverviewPage)
{
    const auto folder =
        juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("brevalon-info-" + juce::Uuid().toString());
    const auto manual = folder.getChildFile ("Quillfen").getChildFile ("Brevalon").getChildFile ("Brevalon - Manual.pdf");

    for (const bool installed : { false, true })
    {
        if (installed)
        {
            ASSERT_TRUE (manual.getParentDirectory().createDirectory());
            ASSERT_TRUE (manual.replaceWithText ("%PDF-1.4\n"));
        }
        InfoBench bench;
        bench.overlay.setCommonDataFolder (folder);
        EXPECT_EQ (bench.overlay.getManualFile(), manual);

        bench.click (bench.overlay.getManualButton());

        EXPECT_EQ (bench.launcher.files, installed ? juce::StringArray (manual.getFullPathName()) : juce::StringArray());
        EXPECT_EQ (bench.launcher.urls, installed ? juce::StringArray() : juce::StringArray ("https://quillfen.example/products/brevalon"));
        EXPECT_TRUE (bench.recorder.messages.isEmpty()) << "the overlay stays open";
    }
    folder.deleteRecursively();
}

TEST (InfoOverlay, TheWebsiteAndForumButtonsOpenTheirPages)
{
    InfoBench bench;
    // "Vq4h" read big-endian is 1450259560; 1.0.0 is 0x10000.
    bench.click (bench.overlay.getWebsiteButton());
    bench.click (bench.overlay.getForumButton());
    EXPECT_EQ (bench.launcher.urls, juce::StringArray ({ "https://quillfen.example/plugins/info?id=1450259560&version=65536",
                                                         "https://quillfen.example/forum" }));
    EXPECT_TRUE (bench.launcher.files.isEmpty());
    EXPECT_TRUE (bench.recorder.messages.isEmpty());
}

TEST (InfoOverlay, LaysOutTheTextAndThreeButtons)
{
    InfoBench bench;
    auto& overlay = bench.overlay;
    EXPECT_EQ (overlay.getPanelBounds().getPosition(), juce::Point<int> (23, 10));
    EXPECT_EQ (overlay.getContentBounds(), juce::Rectangle<int> (37, 32, 332, 193));
    EXPECT_EQ (overlay.getInfoText().getBounds(), juce::Rectangle<int> (38, 91, 333, 98));
    EXPECT_EQ (overlay.getManualButton().getBounds(), juce::Rectangle<int> (36, 195, 109, 26));
    EXPECT_EQ (overlay.getWebsiteButton().getBounds(), juce::Rectangle<int> (149, 195, 109, 26));
    EXPECT_EQ (overlay.getForumButton().getBounds(), juce::Rectangle<int> (262, 195, 109, 26));
    EXPECT_TRUE (overlay.getInfoText().isReadOnly());
    EXPECT_FALSE (overlay.getInfoText().isCaretVisible());
}

TEST (InfoOverlay, Screenshot)
{
    InfoBench bench (juce::AudioProcessor::wrapperType_VST3);
    EXPECT_TRUE (test::saveScreenshot (bench.editor, "info_overlay").existsAsFile());
}

} // namespace
} // namespace brevalon
