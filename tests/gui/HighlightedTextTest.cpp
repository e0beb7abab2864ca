#include "OverlayTestBench.h"

#include "controls/SharedTypefaces.h"
#include "overlays/AbstractOverlay.h"

#include <gtest/gtest.h>

namespace brevalon
{
namespace
{
using test::inkBounds;

// Text is drawn in red over dark blue, so the red text, its white copy and the backdrop are told
// apart by colour alone.
const juce::Colour backdrop (0xff000040);
const juce::Colour red (0xffff0000);

bool isRed (juce::Colour c)
{
    return c.getRed() > 200 && c.getGreen() < 60 && c.getBlue() < 60;
}

bool isWhite (juce::Colour c)
{
    return c.getRed() > 220 && c.getGreen() > 220 && c.getBlue() > 220;
}

// Anything the text put down (red, white or a blend of them with the backdrop).
bool isInk (juce::Colour c)
{
    return c.getRed() > 60;
}

template <typename Draw> juce::Image render (Draw&& draw, int width = 300, int height = 120)
{
    juce::Image image (juce::Image::ARGB, width, height, true);
    juce::Graphics g (image);
    g.fillAll (backdrop);
    AbstractOverlay overlay;
    draw (overlay, g);
    return image;
}

// The lowest row holding a pixel of the kind, in the columns of `columns`.
int lowestRow (const juce::Image& image, const std::function<bool (juce::Colour)>& matches, juce::Range<int> columns)
{
    return inkBounds (image, matches, { columns.getStart(), 0, columns.getLength(), image.getHeight() }).getBottom() - 1;
}

TEST (HighlightedText, WhiteCopyLiesOnePixelBelowTheColouredText)
{
    for (const bool bold : { false, true })
    {
        SCOPED_TRACE (bold ? "bold" : "regular");
        const auto image = render (
            [bold] (AbstractOverlay& overlay, juce::Graphics& g)
            { overlay.drawHighlightedText (g, "HELLO", 20, 30, 200, 22, bold, juce::Justification::centredLeft, true, red, 14.0f); });

        const auto redInk = inkBounds (image, isRed);
        const auto whiteInk = inkBounds (image, isWhite);
        ASSERT_FALSE (redInk.isEmpty());
        ASSERT_FALSE (whiteInk.isEmpty());
        EXPECT_EQ (whiteInk.getBottom(), redInk.getBottom() + 1) << "the white copy shows below the text";
        EXPECT_TRUE (redInk.expanded (1).contains (whiteInk.withBottom (redInk.getBottom()))) << "and nowhere else";
        // Capitals 14 high sit in the middle of the 22-pixel row.
        EXPECT_NEAR (redInk.getCentreY(), 30 + 11, 2);
    }
}

TEST (HighlightedText, WithoutItsColourTheTextIsOneThirdOpaqueBlack)
{
    const auto image =
        render ([] (AbstractOverlay& overlay, juce::Graphics& g)
                { overlay.drawHighlightedText (g, "IIII", 20, 30, 200, 22, true, juce::Justification::centredLeft, false, red, 14.0f); });

    EXPECT_TRUE (inkBounds (image, isRed).isEmpty());
    // Inside the stems the text lies over its white copy: one-third black over white; below them
    // the white copy's last row shows.
    const auto overWhite = [] (juce::Colour c) { return test::isNearly (c, juce::Colour (0xffaaaaaa), 3); };
    const auto whiteCopy = inkBounds (image, isInk);
    EXPECT_GE (test::countPixels (image, overWhite, whiteCopy), 4 * 8) << "four stems";
    EXPECT_GE (test::countPixels (image, isWhite, whiteCopy.withTop (whiteCopy.getBottom() - 1)), 4) << "below four stems";
}

struct JustificationCase
{
    juce::Justification justification;
    int expectedLeft;  // -1: not checked
    int expectedRight; // -1: not checked
};

TEST (HighlightedText, FollowsItsJustificationInsideTheBox)
{
    // Box from x = 40 to 240; the text is narrower than that.
    const int width = (int)SharedTypefaces::getRegularFont (13.0f).getStringWidthFloat ("Level");
    const JustificationCase cases[] = {
        { juce::Justification::centredLeft, 40, -1 },
        { juce::Justification::centredRight, -1, 240 },
        { juce::Justification::centred, 140 - width / 2, 140 + width / 2 },
    };
    for (const auto& c : cases)
    {
        const auto image =
            render ([&c] (AbstractOverlay& overlay, juce::Graphics& g)
                    { overlay.drawHighlightedText (g, "Level", 40, 30, 200, 20, false, c.justification, true, red, 13.0f); });
        const auto ink = inkBounds (image, isInk);
        if (c.expectedLeft >= 0)
        {
            EXPECT_NEAR (ink.getX(), c.expectedLeft, 2);
        }
        if (c.expectedRight >= 0)
        {
            EXPECT_NEAR (ink.getRight(), c.expectedRight, 2);
        }
    }
}

TEST (HighlightedText, TooLongTextEndsInAnEllipsisInsideTheBox)
{
    // Capitals all reach the cap height; only the ellipsis' dots sit on the baseline alone.
    const auto image = render (
        [] (AbstractOverlay& overlay, juce::Graphics& g)
        {
            overlay.drawHighlightedText (g, "MMMMMMMMMMMMMMMMMMMMMMMM", 20, 30, 120, 22, true, juce::Justification::centredLeft, true, red,
                                         14.0f);
        });

    const auto ink = inkBounds (image, isRed);
    ASSERT_FALSE (ink.isEmpty());
    EXPECT_LE (ink.getRight(), 20 + 120);
    EXPECT_GE (ink.getRight(), 20 + 120 - 12) << "cut near the box's end, not earlier";
    const auto tail = inkBounds (image, isRed, { ink.getRight() - 8, 0, 8, image.getHeight() });
    EXPECT_LE (tail.getHeight(), 3) << "the last pixels are dots, not letters";
    EXPECT_EQ (tail.getBottom(), ink.getBottom()) << "on the baseline";
}

TEST (HighlightedParagraph, WrapsAtTheLineWidthFromTheFirstBaselineEmbossed)
{
    // No descenders: every line ends on its baseline.
    const juce::String text ("The filter removes the ultrasonic content above the audible band while the sound below its corner remains "
                             "untouched and clean.");
    const int x = 10, baseline = 20, lineWidth = 150;
    const auto image = render ([&] (AbstractOverlay& overlay, juce::Graphics& g)
                               { overlay.drawHighlightedParagraph (g, text, x, baseline, lineWidth, red); },
                               300, 140);

    const auto redInk = inkBounds (image, isRed);
    ASSERT_FALSE (redInk.isEmpty());
    EXPECT_NEAR (redInk.getX(), x, 1);
    EXPECT_LE (redInk.getRight(), x + lineWidth);
    // The longest word of the text would have fitted at the end of a shorter first line.
    const auto font = SharedTypefaces::getRegularFont (AbstractOverlay::paragraphFontHeight);
    EXPECT_GE (redInk.getRight(), x + lineWidth - (int)font.getStringWidthFloat (" ultrasonic"));

    // Lines 13 pixels apart: the first ends on its baseline, each next one 13 lower.
    const int lineCount = (int)std::ceil (font.getStringWidthFloat (text) / (float)lineWidth);
    ASSERT_GE (lineCount, 3);
    for (int line = 0; line < 2; ++line)
    {
        const auto band = juce::Rectangle<int> (0, baseline + 13 * line - 13, 300, 13);
        const auto bandInk = inkBounds (image, isRed, band);
        ASSERT_FALSE (bandInk.isEmpty()) << "line " << line;
        EXPECT_EQ (bandInk.getBottom(), baseline + 13 * line) << "line " << line;
    }
    EXPECT_TRUE (inkBounds (image, isInk, { 0, redInk.getBottom() + 2, 300, 140 - redInk.getBottom() - 2 }).isEmpty());

    // The white copy shows below the red text, one pixel lower.
    const juce::Range<int> columns (x, x + lineWidth);
    const auto isReddish = [] (juce::Colour c) { return c.getRed() > 120 && c.getGreen() < 80; };
    const auto isWhitish = [] (juce::Colour c) { return c.getGreen() > 150; };
    EXPECT_EQ (lowestRow (image, isWhitish, columns), lowestRow (image, isReddish, columns) + 1);
}

TEST (HighlightedParagraph, ABlankLineSeparatesParagraphs)
{
    const auto image = render ([] (AbstractOverlay& overlay, juce::Graphics& g)
                               { overlay.drawHighlightedParagraph (g, "First\r\n\r\nSecond", 10, 20, 200, red); });

    // "First" on the first baseline, "Second" two lines (26 pixels) lower, nothing between.
    const auto first = inkBounds (image, isRed, { 0, 0, 300, 21 });
    const auto second = inkBounds (image, isRed, { 0, 21, 300, 99 });
    EXPECT_EQ (first.getBottom(), 20);
    EXPECT_EQ (second.getBottom(), 20 + 26);
    EXPECT_TRUE (inkBounds (image, isRed, { 0, 22, 300, 46 - 13 - 22 }).isEmpty());
}

} // namespace
} // namespace brevalon
