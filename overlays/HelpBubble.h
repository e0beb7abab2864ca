#pragma once

#include <juce_graphics/juce_graphics.h>

#include <array>

namespace brevalon
{

// Where the speech bubble of the help mode goes for one help area: its rectangle, the side of
// the area it opens on, and the pointer triangle between bubble and area. Pure geometry in the
// overlay's coordinates.
struct HelpBubble
{
    // The side a bubble opens on; `automatic` picks one from the area's place in the window.
    enum Placement
    {
        automatic = -1,
        below = 0,
        left = 1,
        above = 2,
        right = 3,
        centredBelowMiddle = 4
    };

    // The space around the paragraph: its left and right margin, its top (below the headline)
    // and the extra height the headline and margins add to the text's height.
    static constexpr int textMargin = 9;
    static constexpr int textTop = 30;
    static constexpr int extraHeight = 39;

    // For a paragraph laid out `textWidth` wide whose last line ends at `textBottom`, next to
    // `area` in an overlay of `overlaySize`.
    static HelpBubble place (juce::Rectangle<int> area, int requestedPlacement, float textWidth, float textBottom, int maxBubbleWidth,
                             juce::Point<int> overlaySize);

    // The side an automatic bubble of width `bubbleWidth` opens on: below an area at the top of
    // the window, above one at the bottom, else right of it where it fits, else left.
    static int automaticPlacement (juce::Rectangle<int> area, int bubbleWidth, juce::Point<int> overlaySize);

    juce::Path pointerPath() const;

    // Where the paragraph and the headline are drawn.
    juce::Rectangle<int> textArea() const;
    juce::Rectangle<int> headlineArea() const;

    juce::Rectangle<int> bounds;
    int placement = below;
    std::array<juce::Point<float>, 3> pointer;
};

} // namespace brevalon
