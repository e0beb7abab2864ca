#include "ComponentDriver.h"
#include "OverlayTestBench.h"
#include "Screenshot.h"

#include "overlays/DynamicHelpOverlay.h"

#include <gtest/gtest.h>

#include <cmath>

namespace brevalon
{
namespace
{
using test::ComponentDriver;
using test::OverlayMessageRecorder;

// The help areas the editors declare in the product window (toolbar first, then the product's
// controls), with the help button's bounds.
const juce::Rectangle<int> helpButton (329, 3, 24, 22);
struct DeclaredArea
{
    juce::Rectangle<int> bounds;
    const char* helpId;
    int placement;
};
const DeclaredArea productWindowAreas[] = {
    { { 3, 3, 49, 22 }, "undoRedo", HelpBubble::automatic },
    { { 66, 3, 161, 22 }, "presetManagement", HelpBubble::automatic },
    { { 241, 3, 73, 22 }, "abStates", HelpBubble::automatic },
    { { 354, 3, 24, 22 }, "settings", HelpBubble::automatic },
    { { 379, 3, 24, 22 }, "about", HelpBubble::automatic },
    { helpButton, "help", HelpBubble::automatic },
    { { 13, 35, 370, 146 }, "display", HelpBubble::centredBelowMiddle },
    { { 123, 180, 66, 60 }, "frequency", HelpBubble::automatic },
    { { 188, 180, 66, 60 }, "slope", HelpBubble::automatic },
    { { 253, 180, 66, 60 }, "amount", HelpBubble::automatic },
    { { 341, 190, 88, 35 }, "bypass", HelpBubble::automatic },
};
constexpr int helpArea = 5;
constexpr int frequencyArea = 7;
constexpr int slopeArea = 8;

struct HelpBench
{
    HelpBench()
    {
        for (const auto& area : productWindowAreas)
            overlay.addArea (area.bounds, area.helpId, area.placement);
        overlay.setHelpButtonArea (helpButton);
    }

    // The mouse comes to rest at `position` and the timer ticks `ticks` times (driven here, not
    // by the clock).
    void restAt (juce::Point<int> position, int ticks = DynamicHelpOverlay::ticksBeforeBubble + 1)
    {
        driver.moveTo (position);
        tick (ticks);
    }

    void tick (int ticks)
    {
        for (int i = 0; i < ticks; ++i)
            overlay.timerCallback();
    }

    DynamicHelpOverlay overlay;
    test::StandInEditor editor{ overlay };
    ComponentDriver driver{ editor };
};

TEST (DynamicHelpOverlay, TheFirstDeclaredAreaUnderTheMouseCounts)
{
    HelpBench bench;
    ASSERT_EQ (bench.overlay.getAreas().size(), std::size (productWindowAreas));
    const std::pair<juce::Point<int>, int> cases[] = {
        { { 3, 3 }, 0 },
        { { 51, 24 }, 0 },
        { { 52, 3 }, -1 },
        { { 3, 25 }, -1 },
        { { 340, 10 }, helpArea },
        { { 150, 200 }, frequencyArea },
        { { 200, 100 }, 6 },
        { { 2, 120 }, -1 },
        // The display's area and the sliders' overlap from y 180: the display was added first.
        { { 150, 180 }, 6 },
    };
    for (const auto& [position, area] : cases)
        EXPECT_EQ (bench.overlay.findAreaAt (position), area) << position.toString();
}

TEST (DynamicHelpOverlay, BubblesAreAtMostAShareOfTheWindowWide)
{
    const std::pair<int, int> cases[] = { { 406, 176 }, { 400, 173 }, { 736, 320 }, { 1000, 320 }, { 100, 43 } };
    for (const auto& [windowWidth, maxWidth] : cases)
    {
        DynamicHelpOverlay overlay;
        overlay.setSize (windowWidth, 242);
        EXPECT_EQ (overlay.getMaxBubbleWidth(), maxWidth) << windowWidth;
    }
}

TEST (DynamicHelpOverlay, HighlightsTheHelpButtonShrunkAndMovedDown)
{
    HelpBench bench;
    EXPECT_EQ (bench.overlay.getHelpButtonArea(), juce::Rectangle<int> (330, 5, 22, 20));
    EXPECT_NE (bench.overlay.getCachedComponentImage(), nullptr) << "drawn through a cached image of itself";
}

struct TickStep
{
    int countdown, shownArea;
    bool timerRunning;
};

TEST (DynamicHelpOverlay, ABubbleShowsOnTheFourthTickOfRest)
{
    HelpBench bench;
    bench.driver.moveTo ({ 340, 12 });
    EXPECT_EQ (bench.overlay.getHoveredArea(), helpArea);
    EXPECT_EQ (bench.overlay.getShownArea(), -1);
    EXPECT_TRUE (bench.overlay.isTimerRunning());
    EXPECT_EQ (bench.overlay.getTimerInterval(), 50);

    const TickStep steps[] = { { 2, -1, true }, { 1, -1, true }, { 0, -1, true }, { 3, helpArea, false } };
    for (const auto& step : steps)
    {
        bench.tick (1);
        EXPECT_EQ (bench.overlay.getCountdown(), step.countdown);
        EXPECT_EQ (bench.overlay.getShownArea(), step.shownArea);
        EXPECT_EQ (bench.overlay.isTimerRunning(), step.timerRunning);
    }
    EXPECT_TRUE (bench.overlay.isShowingBubble());
    EXPECT_EQ (bench.overlay.getHeadline(), "Dynamic help mode");
}

TEST (DynamicHelpOverlay, MovingWithinAnAreaKeepsTheCountdownAndAnotherAreaHidesTheBubble)
{
    HelpBench bench;
    bench.restAt ({ 150, 200 }, 2);
    bench.driver.moveTo ({ 160, 210 });
    EXPECT_EQ (bench.overlay.getCountdown(), 1) << "same area: nothing restarts";
    bench.tick (2);
    EXPECT_EQ (bench.overlay.getShownArea(), frequencyArea);
    EXPECT_EQ (bench.overlay.getHeadline(), "Filter frequency");

    bench.driver.moveTo ({ 220, 200 });
    EXPECT_EQ (bench.overlay.getShownArea(), -1) << "the bubble goes at once";
    EXPECT_FALSE (bench.overlay.isShowingBubble());
    EXPECT_EQ (bench.overlay.getHoveredArea(), slopeArea);
    bench.tick (4);
    EXPECT_EQ (bench.overlay.getHeadline(), "Filter slope");

    // Off every area: the bubble goes, and the next tick stops the timer for good.
    bench.driver.moveTo ({ 2, 120 });
    EXPECT_FALSE (bench.overlay.isShowingBubble());
    EXPECT_TRUE (bench.overlay.isTimerRunning());
    bench.tick (1);
    EXPECT_FALSE (bench.overlay.isTimerRunning());
    EXPECT_EQ (bench.overlay.getCountdown(), 3);
    EXPECT_FALSE (bench.overlay.isShowingBubble());
}

TEST (DynamicHelpOverlay, AnEarlierMoveCanLeaveTheCountdownLower)
{
    HelpBench bench;
    bench.restAt ({ 150, 200 }, 2);
    bench.driver.moveTo ({ 220, 200 });
    EXPECT_EQ (bench.overlay.getCountdown(), 1);
    bench.tick (2);
    EXPECT_EQ (bench.overlay.getShownArea(), slopeArea) << "shown on the second tick on this area";
}

struct LookupCase
{
    const char* helpId;
    const char* headline;
    const char* textStart;
};

template <size_t count> void expectHelpTexts (const DynamicHelpOverlay& overlay, const LookupCase (&cases)[count])
{
    for (const auto& c : cases)
    {
        const auto help = overlay.findHelp (c.helpId);
        EXPECT_EQ (help.headline, c.headline) << c.helpId;
        EXPECT_TRUE (help.text.startsWith (c.textStart)) << c.helpId << ": " << help.text;
    }
}

TEST (DynamicHelpOverlay, FindsEveryDeclaredIdInEitherDocumentIgnoringCase)
{
    const DynamicHelpOverlay overlay;
    const LookupCase cases[] = {
        { "about", "About", "Opens a dialog with general information" },
        { "abStates", "A/B States", "A/B allows to switch between two states" },
        { "help", "Dynamic help mode", "The online help mode offers" },
        { "presetManagement", "Preset management", "The drop-down list allows" },
        { "settings", "Settings", "The settings button opens a dialog" },
        { "undoRedo", "Undo/Redo", "The undo/redo buttons allow" },
        { "display", "Frequency magnitude", "This display shows the frequency response" },
        { "frequency", "Filter frequency", "Specifies the filter's croner frequency." },
        { "slope", "Filter slope", "Controls the filter's slope from shallow (0%) to steep (100%)." },
        { "amount", "Filter amount", "Controls the amount of filtering." },
        { "bypass", "Bypass", "Bypasses processing." },
        { "HELP", "Dynamic help mode", "The online help mode offers" },
        { "PresetManagement", "Preset management", "The drop-down list allows" },
        { "FREQUENCY", "Filter frequency", "Specifies" },
        { "noSuchHelp", "", "" },
        { "", "", "" },
    };
    expectHelpTexts (overlay, cases);
    EXPECT_TRUE (overlay.findHelp ("abStates").text.contains ("settings.\r\n\r\nA>B or B<A")) << "paragraphs keep their blank line";
}

TEST (DynamicHelpOverlay, TheFrameworkDocumentWinsAndAMissingTitleIsFlagged)
{
    const DynamicHelpOverlay overlay ("<helpResources><Shared title=\"Product\"><![CDATA[product text]]></Shared>"
                                      "<productOnly><![CDATA[no title]]></productOnly></helpResources>",
                                      "<helpResources><SHARED title=\"Framework\"><![CDATA[framework text]]></SHARED></helpResources>");

    const LookupCase cases[] = {
        { "shared", "Framework", "framework text" },
        { "Shared", "Framework", "framework text" },
        { "productonly", "Warning: Missing headline", "no title" },
    };
    expectHelpTexts (overlay, cases);
}

TEST (DynamicHelpOverlay, AnIdNeitherDocumentKnowsShowsNoBubble)
{
    DynamicHelpOverlay overlay;
    overlay.addArea ({ 100, 100, 50, 30 }, "noSuchHelp");
    test::StandInEditor editor (overlay);
    ComponentDriver driver (editor);

    driver.moveTo ({ 120, 110 });
    for (int tick = 0; tick < 4; ++tick)
        overlay.timerCallback();

    EXPECT_EQ (overlay.getShownArea(), 0);
    EXPECT_FALSE (overlay.isTimerRunning()) << "resting there costs nothing further";
    EXPECT_FALSE (overlay.isShowingBubble());
    const auto image = test::renderComponent (overlay);
    EXPECT_EQ (test::countPixels (
                   image, [] (juce::Colour c) { return c.getAlpha() > 0 && c.getBlue() > 0; }, image.getBounds()),
               0)
        << "only the help button's highlight (none here) would be drawn";
}

TEST (DynamicHelpOverlay, TheHelpButtonShowsDynamicHelpModeBelowIt)
{
    HelpBench bench;
    bench.restAt ({ 340, 12 });

    const auto& layout = bench.overlay.getTextLayout();
    const auto& bubble = bench.overlay.getBubble();
    ASSERT_TRUE (bench.overlay.isShowingBubble());
    EXPECT_EQ (bench.overlay.getHeadline(), "Dynamic help mode");
    EXPECT_EQ (bubble.placement, HelpBubble::below);
    EXPECT_LE (layout.getWidth(), 176.0f - 18.0f);
    EXPECT_GE (layout.getNumLines(), 8) << "two paragraphs wrapped at 158 pixels";

    const int width = std::min ((int)layout.getWidth() + 18, 176);
    const int height = (int)layout.getLine (layout.getNumLines() - 1).getLineBoundsY().getEnd() + 39;
    // Centred under the button it would cross the right edge: it ends 4 pixels before it.
    EXPECT_EQ (bubble.bounds, juce::Rectangle<int> (406 - width - 4, 3 + 22 + 6, width, height));
    EXPECT_EQ (bubble.pointer[2], juce::Point<float> (341.0f, 21.0f));
}

TEST (DynamicHelpOverlay, PaintsBubblePointerShadowAndTheHighlightedHelpButton)
{
    HelpBench bench;
    const auto idle = test::renderComponent (bench.overlay);
    EXPECT_TRUE (test::isNearly (idle.getPixelAt (341, 15), juce::Colour (DynamicHelpOverlay::helpButtonHighlight)))
        << idle.getPixelAt (341, 15).toDisplayString (true);
    EXPECT_EQ (idle.getPixelAt (200, 120).getAlpha(), 0) << "the editor stays visible undimmed";

    bench.restAt ({ 340, 12 });
    const auto image = test::renderComponent (bench.overlay);
    const auto bubble = bench.overlay.getBubble().bounds;
    const auto white = juce::Colours::white;

    EXPECT_TRUE (test::isNearly (image.getPixelAt (bubble.getX() + 3, bubble.getCentreY()), white)) << "the bubble's margin";
    EXPECT_TRUE (test::isNearly (image.getPixelAt (341, 28), white)) << "the pointer, between button and bubble";

    // The shadow falls to the lower right: overlapping faint black copies of the bubble, most of
    // them right under its edge, none above it.
    struct ShadowProbe
    {
        juce::Point<int> position;
        int copies;
    };
    const ShadowProbe shadow[] = {
        { { bubble.getCentreX(), bubble.getBottom() }, 4 },     { { bubble.getCentreX(), bubble.getBottom() + 1 }, 3 },
        { { bubble.getCentreX(), bubble.getBottom() + 2 }, 1 }, { { bubble.getCentreX(), bubble.getBottom() + 3 }, 0 },
        { { bubble.getRight(), bubble.getCentreY() }, 3 },      { { bubble.getRight() + 1, bubble.getCentreY() }, 1 },
        { { bubble.getX() - 1, bubble.getCentreY() }, 2 },      { { bubble.getX() - 2, bubble.getCentreY() }, 1 },
        { { bubble.getCentreX(), bubble.getY() - 1 }, 0 },
    };
    for (const auto& probe : shadow)
    {
        const auto pixel = image.getPixelAt (probe.position.x, probe.position.y);
        const float copyAlpha = juce::Colour (DynamicHelpOverlay::shadowColour).getFloatAlpha();
        const float expectedAlpha = 1.0f - std::pow (1.0f - copyAlpha, (float)probe.copies);
        EXPECT_NEAR (pixel.getFloatAlpha(), expectedAlpha, 0.01f) << probe.position.toString();
        if (probe.copies > 0)
        {
            EXPECT_LT (pixel.getBrightness(), 0.05f) << probe.position.toString();
        }
    }

    // Black headline in its row, black text below it, both inside the margins.
    const auto isBlack = [] (juce::Colour c) { return c.getAlpha() > 200 && c.getBrightness() < 0.2f; };
    const auto headline = test::inkBounds (image, isBlack, bench.overlay.getBubble().headlineArea().expanded (0, 3));
    EXPECT_NEAR (headline.getX(), bubble.getX() + 9, 2);
    const auto text = test::inkBounds (image, isBlack, bench.overlay.getBubble().textArea());
    EXPECT_NEAR (text.getX(), bubble.getX() + 9, 2);
    EXPECT_LE (text.getRight(), bubble.getRight() - 9);
    EXPECT_GT (text.getY(), headline.getBottom());
}

TEST (DynamicHelpOverlay, APressIsSwallowedAndTheReleaseAnywhereEndsHelpMode)
{
    for (const auto position : { juce::Point<int> (340, 12), juce::Point<int> (300, 60), juce::Point<int> (2, 120) })
    {
        HelpBench bench;
        bench.restAt ({ 340, 12 });
        ASSERT_TRUE (bench.overlay.getBubble().bounds.contains (300, 60)) << "one release lands on the bubble";
        OverlayMessageRecorder recorder (bench.overlay);

        bench.driver.press (position);
        ComponentDriver::deliverPendingMessages();
        EXPECT_TRUE (recorder.messages.isEmpty()) << position.toString();

        bench.driver.release();
        ComponentDriver::deliverPendingMessages();
        EXPECT_EQ (recorder.messages, juce::StringArray ("change")) << position.toString();
    }
}

TEST (DynamicHelpOverlay, ScreenshotsOfBubblesOverTheProductWindow)
{
    const std::pair<juce::Point<int>, const char*> shots[] = {
        { { 340, 12 }, "help_bubble_help_button" },
        { { 150, 200 }, "help_bubble_frequency" },
        { { 200, 100 }, "help_bubble_display" },
    };
    for (const auto& [position, name] : shots)
    {
        HelpBench bench;
        bench.restAt (position);
        ASSERT_TRUE (bench.overlay.isShowingBubble()) << name;
        const auto file = test::saveScreenshot (bench.editor, name);
        EXPECT_GT (file.getSize(), 1000) << name;
    }
}

} // namespace
} // namespace brevalon
