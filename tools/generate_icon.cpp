// Draws the application icon at the given sizes (those of the desktop's hicolor theme) and writes
// each as OUTPUT_FOLDER/<size>x<size>/apps/brevalon.png.
//
// The icon is the editor's response display in miniature: a graphite tile with a near-black
// screen, on which the blue response curve runs flat through the passband and falls steeply at
// the corner. Every size is drawn from the same shapes; small sizes get a wider margin, thicker
// strokes and no grid, so the curve stays legible at 16 pixels.
//
// Usage: generate_icon OUTPUT_FOLDER SIZE...

#include <juce_gui_basics/juce_gui_basics.h>

#include <cmath>
#include <cstdio>

namespace
{

using juce::Colour;
using juce::Graphics;
using juce::Image;
using juce::Path;
using juce::Rectangle;

// The editor's palette (tools/generate_images.cpp).
const Colour accent{ 0xff3399ff };
const Colour accentDeep{ 0xff1f6fc2 };
const Colour graphiteTop{ 0xff353a41 };
const Colour graphiteBottom{ 0xff1b1e22 };
const Colour rim{ 0xff0d0e10 };
const Colour screen{ 0xff0a0b0d };
const Colour screenEdge{ 0xff34393f };
const Colour grid{ 0xff1c2024 };

// The response in the screen's unit square (x to the right, y downwards): flat at the passband
// level up to the corner, then a steep, rounded fall to the bottom. It starts left of the square,
// so the stroke's end is clipped at the screen's edge.
Path responseCurve (Rectangle<float> area, float level)
{
    const auto at = [area] (float x, float y) { return juce::Point<float> (area.getX() + x * area.getWidth(), area.getY() + y * area.getHeight()); };
    Path curve;
    curve.startNewSubPath (at (-0.1f, level));
    curve.lineTo (at (0.50f, level));
    curve.cubicTo (at (0.64f, level), at (0.66f, level + 0.10f), at (0.70f, 0.62f));
    curve.cubicTo (at (0.73f, 0.80f), at (0.75f, 0.96f), at (0.77f, 1.0f));
    return curve;
}

Image drawIcon (int size)
{
    Image image (Image::ARGB, size, size, true);
    Graphics g (image);
    g.setImageResamplingQuality (Graphics::highResamplingQuality);

    const float s = (float)size;
    const bool small = size < 32;

    // The tile: rounded, lit from above, with a dark rim; a drop shadow only where there is room.
    const float margin = small ? 0.5f : s * 0.06f;
    const auto tile = Rectangle<float> (margin, margin, s - 2.0f * margin, s - 2.0f * margin - (small ? 0.0f : s * 0.02f));
    const float corner = tile.getWidth() * 0.2f;
    if (! small)
    {
        g.setColour (Colour (0x50000000));
        g.fillRoundedRectangle (tile.translated (0.0f, s * 0.02f), corner);
    }
    g.setGradientFill (juce::ColourGradient::vertical (graphiteTop, tile.getY(), graphiteBottom, tile.getBottom()));
    g.fillRoundedRectangle (tile, corner);
    g.setColour (rim);
    g.drawRoundedRectangle (tile, corner, juce::jmax (1.0f, s / 128.0f));
    if (! small)
    {
        g.setColour (Colour (0x22ffffff));
        g.fillRect (Rectangle<float> (tile.getX() + corner, tile.getY() + s / 128.0f, tile.getWidth() - 2.0f * corner, juce::jmax (1.0f, s / 128.0f)));
    }

    // The screen inside the tile; at small sizes the tile is only its frame, one whole pixel
    // inside the rim, so the screen's edges stay sharp.
    const float inset = small ? 1.5f : tile.getWidth() * 0.14f;
    const auto well = tile.reduced (inset);
    const float wellCorner = corner * 0.45f;
    g.setColour (screen);
    g.fillRoundedRectangle (well, wellCorner);
    if (! small)
    {
        g.setColour (screenEdge);
        g.drawRoundedRectangle (well, wellCorner, s / 128.0f);
    }

    // The curve leaves the screen's left edge and ends on its floor.
    const auto plot = well.withTrimmedTop (well.getHeight() * 0.08f);
    g.saveState();
    g.reduceClipRegion (well.toNearestInt());

    if (size >= 48)
    {
        g.setColour (grid);
        const float line = s / 256.0f * 2.0f;
        for (int i = 1; i < 4; ++i)
        {
            const float x = well.getX() + well.getWidth() * (float)i / 4.0f;
            const float y = well.getY() + well.getHeight() * (float)i / 4.0f;
            g.fillRect (Rectangle<float> (x - line / 2.0f, well.getY(), line, well.getHeight()));
            g.fillRect (Rectangle<float> (well.getX(), y - line / 2.0f, well.getWidth(), line));
        }
    }

    // The passband lies at 30 % of the plot's height; up to 48 px on a pixel edge, so the 2 px
    // stroke covers two whole rows.
    const float levelY = plot.getY() + 0.30f * plot.getHeight();
    const float level = ((size <= 48 ? std::round (levelY) : levelY) - plot.getY()) / plot.getHeight();
    const auto curve = responseCurve (plot, level);
    auto area = curve;
    area.lineTo (plot.getRight(), well.getBottom());
    area.lineTo (well.getX(), well.getBottom());
    area.closeSubPath();
    g.setGradientFill (juce::ColourGradient::vertical (accent.withAlpha (0.45f), plot.getY(), accentDeep.withAlpha (0.08f), well.getBottom()));
    g.fillPath (area);

    // The stroke is 2 px up to 57 px and grows with the size from there.
    const float stroke = juce::jmax (2.0f, s * 0.035f);
    g.setColour (accent.brighter (0.25f));
    g.strokePath (curve, juce::PathStrokeType (stroke, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    g.restoreState();
    return image;
}

} // namespace

int main (int argc, char* argv[])
{
    if (argc < 3)
    {
        std::fprintf (stderr, "usage: %s OUTPUT_FOLDER SIZE...\n", argv[0]);
        return 2;
    }
    const juce::File folder (juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]));
    for (int i = 2; i < argc; ++i)
    {
        const int size = juce::String (argv[i]).getIntValue();
        if (size < 16 || size > 1024)
        {
            std::fprintf (stderr, "not an icon size: %s\n", argv[i]);
            return 2;
        }
        const auto file = folder.getChildFile (juce::String (size) + "x" + juce::String (size)).getChildFile ("apps").getChildFile ("brevalon.png");
        if (! file.getParentDirectory().createDirectory())
        {
            std::fprintf (stderr, "cannot create %s\n", file.getParentDirectory().getFullPathName().toRawUTF8());
            return 1;
        }
        file.deleteFile();
        juce::FileOutputStream out (file);
        if (! out.openedOk() || ! juce::PNGImageFormat().writeImageToStream (drawIcon (size), out))
        {
            std::fprintf (stderr, "cannot write %s\n", file.getFullPathName().toRawUTF8());
            return 1;
        }
    }
    return 0;
}
