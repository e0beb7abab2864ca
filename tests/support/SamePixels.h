#pragma once

#include <juce_graphics/juce_graphics.h>

namespace brevalon::test
{

// True when both images have the same size and every pixel the same colour.
inline bool samePixels (const juce::Image& a, const juce::Image& b)
{
    if (a.getBounds() != b.getBounds())
        return false;
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            if (a.getPixelAt (x, y) != b.getPixelAt (x, y))
                return false;
    return true;
}

} // namespace brevalon::test
