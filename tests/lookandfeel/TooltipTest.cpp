#include "controls/SharedTypefaces.h"
#include "lookandfeel/LookAndFeelContextMenu.h"
#include "lookandfeel/LookAndFeelOverlay.h"
#include "lookandfeel/LookAndFeelToolbar.h"

#include <gtest/gtest.h>

#include <functional>

namespace brevalon
{
namespace
{

struct TooltipStyle
{
    const char* name;
    std::function<juce::Rectangle<int> (const juce::String&)> size;
    float fontHeight;
    float maximumWidth;
};

const TooltipStyle styles[] = {
    { "overlay", LookAndFeelOverlay::getTooltipSize, 15.5f, 220.0f },
    { "context menu", LookAndFeelContextMenu::getTooltipSize, 13.0f, 200.0f },
    { "toolbar", LookAndFeelToolbar::getTooltipSize, 13.0f, 220.0f },
};

const juce::String longText ("Click and drag to change the frequency; double-click to type a value, or hold Ctrl for finer "
                             "steps while dragging.");

TEST (TooltipSize, AShortTextIsOneLinePlusTheMargins)
{
    for (const auto& style : styles)
    {
        const auto font = SharedTypefaces::getRegularFont (style.fontHeight);
        const auto size = style.size ("Undo");
        EXPECT_NEAR (size.getWidth(), font.getStringWidthFloat ("Undo") + 14.0f, 1.0f) << style.name;
        EXPECT_NEAR (size.getHeight(), font.getHeight() + 6.0f, 1.0f) << style.name;
        EXPECT_EQ (size.getPosition(), juce::Point<int>()) << style.name;
    }
}

TEST (TooltipSize, ALongTextWrapsWithinTheMaximumWidthIntoBalancedLines)
{
    for (const auto& style : styles)
    {
        const auto font = SharedTypefaces::getRegularFont (style.fontHeight);
        ASSERT_GT (font.getStringWidthFloat (longText), 2.0f * style.maximumWidth) << "needs three lines or more";

        const auto size = style.size (longText);
        EXPECT_LE (size.getWidth(), (int)style.maximumWidth + 14) << style.name;
        EXPECT_GT (size.getWidth(), (int)(style.maximumWidth * 0.6f)) << style.name;

        const auto layout = lookandfeel::layoutTooltip (longText, font, style.maximumWidth, juce::Colours::black);
        ASSERT_GE (layout.getNumLines(), 3) << style.name;
        EXPECT_EQ (size.getHeight(), (int)(layout.getHeight() + 6.0f)) << style.name;
        EXPECT_GE (size.getHeight(), (int)(3.0f * font.getHeight())) << style.name;

        // Balanced: no line is left much shorter than the others.
        float shortest = 1.0e9f, longest = 0.0f;
        for (int i = 0; i < layout.getNumLines(); ++i)
        {
            const auto width = layout.getLine (i).getLineBoundsX().getLength();
            shortest = juce::jmin (shortest, width);
            longest = juce::jmax (longest, width);
        }
        EXPECT_GT (shortest, 0.6f * longest) << style.name;
    }
}

TEST (TooltipSize, IsPlacedNextToThePointerInsideTheParentArea)
{
    const juce::Rectangle<int> screen (0, 0, 800, 600);
    const auto size = LookAndFeelToolbar::getTooltipSize ("Redo");
    LookAndFeelToolbar lookAndFeel;
    const auto nearTopLeft = lookAndFeel.getTooltipBounds ("Redo", { 100, 100 }, screen);
    EXPECT_EQ (nearTopLeft, size.withPosition (124, 106));
    const auto nearBottomRight = lookAndFeel.getTooltipBounds ("Redo", { 790, 590 }, screen);
    EXPECT_TRUE (screen.contains (nearBottomRight));
    EXPECT_EQ (nearBottomRight.withZeroOrigin(), size);
}

} // namespace
} // namespace brevalon
