#include "ComponentDriver.h"
#include "OverlayTestBench.h"
#include "Screenshot.h"

#include "overlays/WindowOverlay.h"

#include <gtest/gtest.h>

namespace brevalon
{
namespace
{
using test::ComponentDriver;
using test::OverlayMessageRecorder;

// A dialog as the product's overlays are built: a panel size, a paragraph and an "OK" button
// that reports its result and then asks to be closed.
class SampleDialog : public WindowOverlay
{
public:
    SampleDialog (const juce::String& titleText, int width, int height, const juce::String& paragraphText = {})
        : WindowOverlay (titleText),
          paragraph (paragraphText)
    {
        panelWidth = width;
        panelHeight = height;
        okButton.addListener (this);
        addAndMakeVisible (okButton);
    }

    ~SampleDialog() override { okButton.removeListener (this); }

    void resized() override
    {
        WindowOverlay::resized();
        okButton.setBounds (contentBounds.getRight() - 83, contentBounds.getBottom() - 26, 83, 26);
    }

    void paint (juce::Graphics& g) override
    {
        drawWindow (g, title);
        drawHighlightedParagraph (g, paragraph, contentBounds.getX(), contentBounds.getY() + 22, contentBounds.getWidth(),
                                  juce::Colour (titleColour));
    }

    void buttonClicked (juce::Button* button) override
    {
        if (button == &okButton)
        {
            sendActionMessage ("sampleDialog_ok");
            sendChangeMessage();
        }
        else
        {
            WindowOverlay::buttonClicked (button);
        }
    }

    juce::TextButton okButton{ "OK" };

private:
    juce::String paragraph;
};

struct LayoutCase
{
    juce::Point<int> overlaySize;
    juce::Point<int> panelSize;
    juce::Rectangle<int> panel, content, closeButton;
};

TEST (WindowOverlay, CentresThePanelWithItsContentAndCloseButton)
{
    const LayoutCase cases[] = {
        { { 406, 242 }, { 300, 186 }, { 53, 28, 302, 186 }, { 67, 50, 272, 158 }, { 324, 37, 24, 18 } },
        { { 400, 300 }, { 250, 200 }, { 75, 50, 252, 200 }, { 89, 72, 222, 172 }, { 296, 59, 24, 18 } },
        // Odd differences: the halves round toward zero.
        { { 406, 242 }, { 301, 187 }, { 52, 27, 303, 187 }, { 66, 49, 273, 159 }, { 325, 36, 24, 18 } },
    };
    for (const auto& c : cases)
    {
        SampleDialog dialog ("SETTINGS", c.panelSize.x, c.panelSize.y);
        dialog.setSize (c.overlaySize.x, c.overlaySize.y);
        EXPECT_EQ (dialog.getPanelBounds(), c.panel);
        EXPECT_EQ (dialog.getContentBounds(), c.content);
        EXPECT_EQ (dialog.getCloseButton().getBounds(), c.closeButton);
        EXPECT_EQ (dialog.getCloseButton().getButtonText(), "X");
        EXPECT_TRUE (dialog.getCloseButton().getTooltip().isEmpty());
        EXPECT_TRUE (dialog.getCloseButton().isVisible());
        EXPECT_NE (dialog.getCachedComponentImage(), nullptr) << "drawn through a cached image of itself";
    }
}

TEST (WindowOverlay, FramesThePanelWithNineSlicesOfTheFrameImage)
{
    using Slice = WindowOverlay::ImageSlice;
    const std::vector<Slice> expected = {
        { { 0, 0, 29, 46 }, { 53, 28, 29, 46 } },     { { 29, 0, 1, 46 }, { 82, 28, 244, 46 } },
        { { 32, 0, 29, 46 }, { 326, 28, 29, 46 } },   { { 0, 46, 29, 1 }, { 53, 74, 29, 108 } },
        { { 29, 46, 1, 1 }, { 82, 74, 244, 108 } },   { { 32, 46, 29, 1 }, { 326, 74, 29, 108 } },
        { { 0, 61, 29, 32 }, { 53, 182, 29, 32 } },   { { 29, 61, 1, 32 }, { 82, 182, 244, 32 } },
        { { 32, 61, 29, 32 }, { 326, 182, 29, 32 } },
    };
    const auto slices = WindowOverlay::panelSlices ({ 53, 28, 302, 186 });
    ASSERT_EQ (slices.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
    {
        EXPECT_EQ (slices[i].source, expected[i].source) << "slice " << i;
        EXPECT_EQ (slices[i].destination, expected[i].destination) << "slice " << i;
    }

    // Any panel is covered exactly, without gaps or overlaps.
    for (const auto panel : { juce::Rectangle<int> (53, 28, 302, 186), juce::Rectangle<int> (10, 5, 80, 100) })
    {
        int area = 0;
        juce::Rectangle<int> covered;
        for (const auto& slice : WindowOverlay::panelSlices (panel))
        {
            area += slice.destination.getWidth() * slice.destination.getHeight();
            covered = covered.isEmpty() ? slice.destination : covered.getUnion (slice.destination);
        }
        EXPECT_EQ (covered, panel);
        EXPECT_EQ (area, panel.getWidth() * panel.getHeight());
    }
}

TEST (WindowOverlay, DrawsTheVeilAndTheFrameImageAtItsSlices)
{
    SampleDialog dialog ("T", 300, 186);
    dialog.setSize (406, 242);
    const auto image = test::renderComponent (dialog);
    const auto frame = test::embeddedImage ("window_background_png");
    ASSERT_EQ (frame.getBounds(), juce::Rectangle<int> (61, 93));

    EXPECT_TRUE (test::isNearly (image.getPixelAt (2, 2), juce::Colour (WindowOverlay::veilColour)))
        << image.getPixelAt (2, 2).toDisplayString (true);
    EXPECT_TRUE (test::isNearly (image.getPixelAt (400, 238), juce::Colour (WindowOverlay::veilColour)));

    // Overlay point and the frame image's pixel it shows: corners 1:1, edges and centre
    // stretched from their one-pixel strips. The panel is (53, 28, 302, 186).
    struct Probe
    {
        juce::Point<int> overlay, frame;
    };
    const Probe probes[] = {
        { { 53 + 3, 28 + 3 }, { 3, 3 } },
        { { 53 + 20, 28 + 40 }, { 20, 40 } },
        { { 200, 28 + 2 }, { 29, 2 } },
        { { 200, 28 + 44 }, { 29, 44 } },
        { { 53 + 5, 120 }, { 5, 46 } },
        { { 200, 120 }, { 29, 46 } },
        { { 355 - 29 + 25, 120 }, { 32 + 25, 46 } },
        { { 355 - 3, 214 - 3 }, { 58, 90 } },
        { { 200, 214 - 10 }, { 29, 83 } },
    };
    for (const auto& probe : probes)
    {
        // The frame image over the veil.
        const auto expected = juce::Colour (WindowOverlay::veilColour).overlaidWith (frame.getPixelAt (probe.frame.x, probe.frame.y));
        EXPECT_TRUE (test::isNearly (image.getPixelAt (probe.overlay.x, probe.overlay.y), expected, 3))
            << probe.overlay.toString() << ": " << image.getPixelAt (probe.overlay.x, probe.overlay.y).toDisplayString (true) << " vs "
            << expected.toDisplayString (true);
    }
}

TEST (WindowOverlay, TitleIsBoldDarkTextOverItsWhiteCopyCutBeforeTheCloseButton)
{
    // Title row: content x 67, from y 36 to 58, 234 pixels wide (close button from x 324).
    const auto isDark = [] (juce::Colour c) { return c.getAlpha() > 200 && c.getBrightness() < 0.15f; };
    const auto isWhite = [] (juce::Colour c) { return c.getAlpha() > 200 && c.getBrightness() > 0.95f && c.getSaturation() < 0.05f; };
    const juce::Rectangle<int> titleRow (67, 35, 234, 24);

    SampleDialog shortTitle ("SETTINGS", 300, 186);
    shortTitle.setSize (406, 242);
    const auto image = test::renderComponent (shortTitle);
    const auto dark = test::inkBounds (image, isDark, titleRow);
    const auto white = test::inkBounds (image, isWhite, titleRow);
    ASSERT_FALSE (dark.isEmpty());
    EXPECT_NEAR (dark.getX(), 67, 2);
    EXPECT_NEAR (dark.getCentreY(), 36 + 11 - 1, 2) << "centred in the row, one pixel above the white copy";
    EXPECT_EQ (white.getBottom(), dark.getBottom() + 1);
    EXPECT_LT (dark.getRight(), 67 + 120);

    SampleDialog longTitle ("A TITLE FAR TOO LONG FOR THE TITLE ROW OF THIS PANEL", 300, 186);
    longTitle.setSize (406, 242);
    const auto longImage = test::renderComponent (longTitle);
    // Everything left of the close button.
    const auto longDark = test::inkBounds (longImage, isDark, titleRow.withWidth (324 - 67));
    EXPECT_LE (longDark.getRight(), 67 + 234);
    EXPECT_GE (longDark.getRight(), 67 + 234 - 14);
    const auto tail = test::inkBounds (longImage, isDark, { longDark.getRight() - 8, 35, 8, 24 });
    EXPECT_LE (tail.getHeight(), 5) << "ends in the ellipsis' dots, not in capitals 10 pixels high";
}

struct PressCase
{
    juce::Point<int> position;
    bool closes;
};

TEST (WindowOverlay, APressOnTheVeilClosesItAndOneOnThePanelDoesNothing)
{
    // Panel (53, 28, 302, 186) in 406 × 242: the panel's column and row are 53..353 and 28..214.
    const PressCase cases[] = {
        { { 200, 120 }, false }, { { 53, 28 }, false }, { { 353, 214 }, false }, { { 60, 210 }, false }, { { 52, 120 }, true },
        { { 354, 120 }, true },  { { 200, 27 }, true }, { { 200, 215 }, true },  { { 5, 5 }, true },     { { 400, 236 }, true },
    };
    for (const auto& c : cases)
    {
        SampleDialog dialog ("SETTINGS", 300, 186);
        dialog.setSize (406, 242);
        OverlayMessageRecorder recorder (dialog);
        ComponentDriver driver (dialog);

        driver.click (c.position);
        ComponentDriver::deliverPendingMessages();

        EXPECT_EQ (recorder.messages, c.closes ? juce::StringArray ("change") : juce::StringArray()) << c.position.toString();
    }
}

TEST (WindowOverlay, TheCloseButtonSendsTheChangeMessage)
{
    SampleDialog dialog ("SETTINGS", 300, 186);
    dialog.setSize (406, 242);
    OverlayMessageRecorder recorder (dialog);
    ComponentDriver driver (dialog);

    driver.click (dialog.getCloseButton().getBounds().getCentre());
    ComponentDriver::deliverPendingMessages();

    EXPECT_EQ (recorder.messages, juce::StringArray ("change"));
}

TEST (WindowOverlay, AResultArrivesAsActionMessageBeforeTheChangeMessage)
{
    SampleDialog dialog ("SETTINGS", 300, 186);
    dialog.setSize (406, 242);
    OverlayMessageRecorder recorder (dialog);
    ComponentDriver driver (dialog);

    driver.click (dialog.okButton.getBounds().getCentre());
    EXPECT_TRUE (recorder.messages.isEmpty()) << "both arrive later, through the message queue";
    ComponentDriver::deliverPendingMessages();

    EXPECT_EQ (recorder.messages, juce::StringArray ("action sampleDialog_ok", "change"));
}

TEST (WindowOverlay, ScreenshotOfADialogOverTheProductWindow)
{
    SampleDialog dialog ("SETTINGS", 300, 186,
                         "Velocity mode moves a slider by how fast you drag, linear mode by how far.\r\n\r\n"
                         "Mouse sensitivity sets the distance of a full-range drag.");
    test::StandInEditor editor (dialog);

    const auto file = test::saveScreenshot (editor, "window_overlay");

    EXPECT_TRUE (file.existsAsFile());
    EXPECT_GT (file.getSize(), 1000);
}

} // namespace
} // namespace brevalon
