#include "overlays/HelpBubble.h"

#include <gtest/gtest.h>

namespace brevalon
{
namespace
{
// The product window and its widest bubble (406 / 2.3).
const juce::Point<int> window (406, 242);
constexpr int maxBubbleWidth = 176;

struct PlacementCase
{
    const char* what;
    juce::Rectangle<int> area;
    int requested;
    float textWidth, textBottom;
    int placement;
    juce::Rectangle<int> bubble;
};

TEST (HelpBubble, SizePlacementAndPositionKeptInsideTheWindow)
{
    const PlacementCase cases[] = {
        { "help button: top of the window, below, pushed left of the right edge",
          { 329, 3, 24, 22 },
          HelpBubble::automatic,
          150.4f,
          80.7f,
          HelpBubble::below,
          { 234, 31, 168, 119 } },
        { "undo/redo: below, pushed off the left edge to 4",
          { 3, 3, 49, 22 },
          HelpBubble::automatic,
          100.0f,
          40.0f,
          HelpBubble::below,
          { 4, 31, 118, 79 } },
        { "a slider at the bottom: above, centred on half the text width",
          { 123, 180, 66, 60 },
          HelpBubble::automatic,
          157.9f,
          65.2f,
          HelpBubble::above,
          { 78, 71, 175, 104 } },
        { "room on the right: right, a third of its height above the middle",
          { 20, 100, 40, 20 },
          HelpBubble::automatic,
          100.0f,
          40.0f,
          HelpBubble::right,
          { 66, 84, 118, 79 } },
        { "no room on the right: left",
          { 340, 100, 50, 20 },
          HelpBubble::automatic,
          100.0f,
          40.0f,
          HelpBubble::left,
          { 216, 84, 118, 79 } },
        { "the display: centred below its middle",
          { 13, 35, 370, 146 },
          HelpBubble::centredBelowMiddle,
          100.0f,
          40.0f,
          HelpBubble::centredBelowMiddle,
          { 139, 114, 118, 79 } },
        { "wider text is capped at the widest bubble",
          { 20, 100, 40, 20 },
          HelpBubble::right,
          300.0f,
          40.0f,
          HelpBubble::right,
          { 66, 84, 176, 79 } },
        { "below at the bottom edge: lifted to 4 above it",
          { 20, 200, 40, 20 },
          HelpBubble::below,
          100.0f,
          40.0f,
          HelpBubble::below,
          { 4, 159, 118, 79 } },
        { "above at the top edge: down to 4",
          { 200, 10, 40, 20 },
          HelpBubble::above,
          100.0f,
          40.0f,
          HelpBubble::above,
          { 170, 4, 118, 79 } },
        { "right at the right edge: 4 from it",
          { 350, 100, 40, 20 },
          HelpBubble::right,
          100.0f,
          40.0f,
          HelpBubble::right,
          { 284, 84, 118, 79 } },
    };
    for (const auto& c : cases)
    {
        const auto bubble = HelpBubble::place (c.area, c.requested, c.textWidth, c.textBottom, maxBubbleWidth, window);
        EXPECT_EQ (bubble.placement, c.placement) << c.what;
        EXPECT_EQ (bubble.bounds, c.bubble) << c.what;
    }
}

struct AutomaticCase
{
    juce::Rectangle<int> area;
    int placement;
};

TEST (HelpBubble, AutomaticPlacementAtItsLimits)
{
    // A bubble 118 wide in the product window.
    const AutomaticCase cases[] = {
        { { 100, 30, 10, 20 }, HelpBubble::below },                                              // middle at 40
        { { 100, 31, 10, 20 }, HelpBubble::right },                                              // middle at 41
        { { 100, 192, 10, 20 }, HelpBubble::above },                                             // middle 40 above the bottom
        { { 100, 191, 10, 20 }, HelpBubble::right }, { { 272, 100, 10, 20 }, HelpBubble::left }, // would end exactly at the right edge
        { { 271, 100, 10, 20 }, HelpBubble::right },
    };
    for (const auto& c : cases)
        EXPECT_EQ (HelpBubble::automaticPlacement (c.area, 118, window), c.placement) << c.area.toString();
}

struct PointerCase
{
    int placement;
    std::array<juce::Point<float>, 3> corners;
};

TEST (HelpBubble, PointerRunsFromTheBubbleIntoTheArea)
{
    // Area (100, 100, 40, 20): middle (120, 110).
    const PointerCase cases[] = {
        { HelpBubble::below, { { { 116, 126 }, { 124, 126 }, { 120, 116 } } } },
        { HelpBubble::left, { { { 94, 106 }, { 94, 114 }, { 104, 110 } } } },
        { HelpBubble::above, { { { 116, 94 }, { 124, 94 }, { 120, 104 } } } },
        { HelpBubble::right, { { { 146, 106 }, { 146, 114 }, { 136, 110 } } } },
        { HelpBubble::centredBelowMiddle, { { { 116, 116 }, { 124, 116 }, { 120, 106 } } } },
    };
    for (const auto& c : cases)
    {
        const auto bubble = HelpBubble::place ({ 100, 100, 40, 20 }, c.placement, 100.0f, 40.0f, maxBubbleWidth, window);
        EXPECT_EQ (bubble.pointer, c.corners) << "placement " << c.placement;
        EXPECT_EQ (bubble.pointerPath().getBounds(), juce::Rectangle<float>::findAreaContainingPoints (c.corners.data(), 3));
    }

    // An odd-sized area points at its exact middle.
    const auto odd = HelpBubble::place ({ 3, 3, 49, 22 }, HelpBubble::below, 100.0f, 40.0f, maxBubbleWidth, window);
    EXPECT_EQ (odd.pointer[2], juce::Point<float> (27.5f, 21.0f));
}

TEST (HelpBubble, HeadlineAndTextInsideTheMargins)
{
    const auto bubble = HelpBubble::place ({ 20, 100, 40, 20 }, HelpBubble::right, 100.0f, 40.0f, maxBubbleWidth, window);
    ASSERT_EQ (bubble.bounds, juce::Rectangle<int> (66, 84, 118, 79));
    EXPECT_EQ (bubble.headlineArea(), juce::Rectangle<int> (75, 91, 100, 12));
    EXPECT_EQ (bubble.textArea(), juce::Rectangle<int> (75, 114, 100, 37));
}

} // namespace
} // namespace brevalon
