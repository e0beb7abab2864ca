#include "overlays/HelpBubble.h"

#include <algorithm>

namespace brevalon
{

namespace
{
// Distance kept between bubble and area, and between bubble and window edge.
constexpr int gap = 6;
constexpr int aboveGap = 5;
constexpr int edgeLimit = 5;
constexpr int edgeMargin = 4;
// An area whose middle lies this close to the top or bottom edge gets its bubble below or above.
constexpr int edgeZone = 40;
// The pointer: half its base, its base's distance from the area and its tip's reach into it.
constexpr float pointerHalfBase = 4.0f;
constexpr float pointerBase = 6.0f;
constexpr float pointerTip = 4.0f;
// The headline row.
constexpr int headlineTop = 7;
constexpr int headlineHeight = 12;
constexpr int textBottomMargin = 12;

// The bubble's top-left corner for a placement, before it is kept inside the window.
juce::Point<int> unclampedPosition (juce::Rectangle<int> area, int placement, juce::Point<int> size, int textWidth)
{
    const int ax = area.getX(), ay = area.getY(), aw = area.getWidth(), ah = area.getHeight();
    const int w = size.x, h = size.y;
    switch (placement)
    {
    case HelpBubble::left:
        return { ax - w - gap, ay + ah / 2 - h / 3 };
    case HelpBubble::above:
        return { ax + aw / 2 - textWidth / 2, ay - h - aboveGap };
    case HelpBubble::right:
        return { ax + aw + gap, ay + ah / 2 - h / 3 };
    case HelpBubble::centredBelowMiddle:
        return { ax + aw / 2 - w / 2, ay + ah / 2 + gap };
    case HelpBubble::below:
    default:
        return { ax + aw / 2 - w / 2, ay + ah + gap };
    }
}

// The triangle's base (two corners) lies on the bubble's side, its tip reaches into the area.
std::array<juce::Point<float>, 3> pointerFor (juce::Rectangle<int> area, int placement)
{
    const auto a = area.toFloat();
    const float mx = a.getX() + a.getWidth() / 2.0f;
    const float my = a.getY() + a.getHeight() / 2.0f;
    switch (placement)
    {
    case HelpBubble::left:
        return { { { a.getX() - pointerBase, my - pointerHalfBase },
                   { a.getX() - pointerBase, my + pointerHalfBase },
                   { a.getX() + pointerTip, my } } };
    case HelpBubble::above:
        return { { { mx - pointerHalfBase, a.getY() - pointerBase },
                   { mx + pointerHalfBase, a.getY() - pointerBase },
                   { mx, a.getY() + pointerTip } } };
    case HelpBubble::right:
        return { { { a.getRight() + pointerBase, my - pointerHalfBase },
                   { a.getRight() + pointerBase, my + pointerHalfBase },
                   { a.getRight() - pointerTip, my } } };
    case HelpBubble::centredBelowMiddle:
        return { { { mx - pointerHalfBase, my + pointerBase }, { mx + pointerHalfBase, my + pointerBase }, { mx, my - pointerTip } } };
    case HelpBubble::below:
    default:
        return { { { mx - pointerHalfBase, a.getBottom() + pointerBase },
                   { mx + pointerHalfBase, a.getBottom() + pointerBase },
                   { mx, a.getBottom() - pointerTip } } };
    }
}

int keptFromEdge (int coordinate)
{
    return coordinate < edgeLimit ? edgeMargin : coordinate;
}
} // namespace

int HelpBubble::automaticPlacement (juce::Rectangle<int> area, int bubbleWidth, juce::Point<int> overlaySize)
{
    const int centreY = area.getY() + area.getHeight() / 2;
    if (centreY <= edgeZone)
        return below;
    if (centreY + edgeZone >= overlaySize.y)
        return above;
    if (area.getRight() + bubbleWidth + gap < overlaySize.x)
        return right;
    return left;
}

HelpBubble HelpBubble::place (juce::Rectangle<int> area, int requestedPlacement, float textWidth, float textBottom, int maxBubbleWidth,
                              juce::Point<int> overlaySize)
{
    const int layoutWidth = (int)textWidth;
    const juce::Point<int> size (std::min (layoutWidth + 2 * textMargin, maxBubbleWidth), (int)textBottom + extraHeight);

    HelpBubble bubble;
    bubble.placement = requestedPlacement != automatic ? requestedPlacement : automaticPlacement (area, size.x, overlaySize);
    const auto position = unclampedPosition (area, bubble.placement, size, layoutWidth);
    const int x = std::min (keptFromEdge (position.x), overlaySize.x - size.x - edgeMargin);
    const int y = std::min (keptFromEdge (position.y), overlaySize.y - size.y - edgeMargin);
    bubble.bounds = { x, y, size.x, size.y };
    bubble.pointer = pointerFor (area, bubble.placement);
    return bubble;
}

juce::Path HelpBubble::pointerPath() const
{
    juce::Path path;
    path.addTriangle (pointer[0], pointer[1], pointer[2]);
    return path;
}

juce::Rectangle<int> HelpBubble::textArea() const
{
    return { bounds.getX() + textMargin, bounds.getY() + textTop, bounds.getWidth() - 2 * textMargin,
             bounds.getHeight() - textTop - textBottomMargin };
}

juce::Rectangle<int> HelpBubble::headlineArea() const
{
    return { bounds.getX() + textMargin, bounds.getY() + headlineTop, bounds.getWidth() - 2 * textMargin, headlineHeight };
}

} // namespace brevalon
