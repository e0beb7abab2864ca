// Draws every image of the editor and writes them as PNG files into one folder.
//
// The images share one calm, dark look: graphite surfaces, near-black screens, light grey
// symbols and one blue accent (the colour of the response curve), with amber reserved for the
// bypass button. Toolbar symbols sit on whole pixels; text is laid out glyph by glyph with every
// glyph's left edge and the baseline on whole pixels, so small capitals stay sharp.
//
// The files are committed; the normal build embeds them and never runs this program.
//
// Usage: generate_images OUTPUT_FOLDER

#include <juce_gui_basics/juce_gui_basics.h>

#include <cmath>
#include <cstdio>
#include <functional>

namespace
{

using juce::Colour;
using juce::Graphics;
using juce::Image;
using juce::Path;
using juce::Rectangle;

// ---------------------------------------------------------------------------------------------
// Colours

namespace colours
{
const Colour accent{ 0xff3399ff };       // the response curve's blue
const Colour accentDeep{ 0xff1f6fc2 };   // accent surfaces that carry white symbols
const Colour amber{ 0xffffb43c };        // the lit bypass
const Colour symbol{ 0xffa4abb4 };       // toolbar symbols at rest
const Colour symbolBright{ 0xfff1f4f7 }; // toolbar symbols under the mouse
const Colour graphiteTop{ 0xff1d2024 };  // editor surface, top of its gradient
const Colour graphiteBottom{ 0xff16181b };
const Colour screen{ 0xff0a0b0d };     // display and value-box screens
const Colour screenEdge{ 0xff34393f }; // their frames
const Colour labelText{ 0xff9aa1aa };  // control labels on graphite
const Colour panelLight{ 0xffe7e8ea }; // overlay panels
const Colour panelTitle{ 0xffd3d6da }; // overlay title row
const Colour panelEdge{ 0xff5c6168 };
} // namespace colours

// ---------------------------------------------------------------------------------------------
// Fonts and crisp text

const juce::File fontFolder ("/usr/share/fonts/truetype/dejavu");

juce::Typeface::Ptr loadTypeface (const char* fileName)
{
    juce::MemoryBlock data;
    if (! fontFolder.getChildFile (fileName).loadFileAsData (data))
    {
        std::fprintf (stderr, "cannot read %s from %s\n", fileName, fontFolder.getFullPathName().toRawUTF8());
        std::exit (1);
    }
    return juce::Typeface::createSystemTypefaceFor (data.getData(), data.getSize());
}

const juce::Typeface::Ptr& regularFace()
{
    static const juce::Typeface::Ptr face = loadTypeface ("DejaVuSans.ttf");
    return face;
}

const juce::Typeface::Ptr& boldFace()
{
    static const juce::Typeface::Ptr face = loadTypeface ("DejaVuSans-Bold.ttf");
    return face;
}

// A font of the face whose capital letters are exactly capHeight pixels tall, so cap tops and
// baselines both fall on pixel edges.
juce::Font fontWithCapHeight (const juce::Typeface::Ptr& face, float capHeight)
{
    const juce::Font probe = juce::Font (face).withHeight (100.0f);
    juce::GlyphArrangement glyphs;
    glyphs.addLineOfText (probe, "H", 0.0f, 0.0f);
    Path outline;
    glyphs.createPath (outline);
    return probe.withHeight (100.0f * capHeight / outline.getBounds().getHeight());
}

enum class Align
{
    left,
    centre,
    right
};

// Glyph outlines of one line of text with the ink placed at x by align, each glyph moved so its
// left ink edge lands on a pixel edge; worstMove is the largest such move.
struct SnappedLine
{
    juce::Array<Path> glyphs;
    float worstMove = 0.0f;
};

SnappedLine snapLine (const juce::String& text, const juce::Font& font, float x, Align align, float tracking)
{
    juce::GlyphArrangement arrangement;
    arrangement.addLineOfText (font, text, 0.0f, 0.0f);

    SnappedLine line;
    Rectangle<float> ink;
    for (int i = 0; i < arrangement.getNumGlyphs(); ++i)
    {
        Path outline;
        arrangement.getGlyph (i).createPath (outline);
        if (outline.isEmpty())
            continue;
        outline.applyTransform (juce::AffineTransform::translation ((float)i * tracking, 0.0f));
        ink = line.glyphs.isEmpty() ? outline.getBounds() : ink.getUnion (outline.getBounds());
        line.glyphs.add (outline);
    }

    const float start = align == Align::left ? x : align == Align::centre ? x - ink.getWidth() * 0.5f : x - ink.getWidth();
    const float shift = std::round (start) - ink.getX();
    for (auto& outline : line.glyphs)
    {
        const float inkLeft = outline.getBounds().getX() + shift;
        const float move = std::round (inkLeft) - inkLeft;
        line.worstMove = juce::jmax (line.worstMove, std::abs (move));
        outline.applyTransform (juce::AffineTransform::translation (shift + move, 0.0f));
    }
    return line;
}

// Fills text on a whole-pixel baseline with every glyph's left ink edge on a pixel edge, so stems
// and cap tops stay sharp. Tracking adds about that many pixels between letters: the amount used
// is the one within 0.3 pixels of it whose glyphs need the smallest moves, so snapping leaves the
// spacing even. x is the left edge, centre or right edge of the ink, by align.
void drawCrispText (Graphics& g, const juce::String& text, const juce::Font& font, float x, int baseline, Align align,
                    float tracking = 0.0f)
{
    SnappedLine best;
    best.worstMove = 1.0f;
    for (int i = 0; i <= 12; ++i)
    {
        // 0, +0.05, -0.05, +0.1, ...: on a tie the amount nearest the one asked for wins.
        const float offset = 0.05f * (float)((i + 1) / 2) * (i % 2 == 0 ? -1.0f : 1.0f);
        auto candidate = snapLine (text, font, x, align, tracking + offset);
        if (candidate.worstMove < best.worstMove - 0.01f)
            best = candidate;
    }
    for (const auto& glyph : best.glyphs)
        g.fillPath (glyph, juce::AffineTransform::translation (0.0f, (float)baseline));
}

// ---------------------------------------------------------------------------------------------
// Images and files

Image blankImage (int width, int height)
{
    return Image (Image::ARGB, width, height, true);
}

void writePng (const Image& image, const juce::File& folder, const juce::String& name)
{
    const auto file = folder.getChildFile (name + ".png");
    file.deleteFile();
    juce::FileOutputStream out (file);
    if (! out.openedOk() || ! juce::PNGImageFormat().writeImageToStream (image, out))
    {
        std::fprintf (stderr, "cannot write %s\n", file.getFullPathName().toRawUTF8());
        std::exit (1);
    }
    std::printf ("%s  %d x %d\n", file.getFileName().toRawUTF8(), image.getWidth(), image.getHeight());
}

// The three looks of a toolbar or selector button: at rest, under the mouse, pressed.
enum class ButtonState
{
    normal,
    over,
    pressed
};

const juce::String stateSuffix[] = { "", "_s2", "_s3" };

// Draws one image per state and writes them as stem, stem_s2 and stem_s3.
void writeTriplet (const juce::File& folder, const juce::String& stem, int width, int height,
                   const std::function<void (Graphics&, ButtonState)>& draw)
{
    for (auto state : { ButtonState::normal, ButtonState::over, ButtonState::pressed })
    {
        Image image = blankImage (width, height);
        Graphics g (image);
        draw (g, state);
        writePng (image, folder, stem + stateSuffix[(int)state]);
    }
}

// A rounded rectangle with its 1-pixel outline centred on pixel edges' midlines, so the outline
// covers exactly one row and one column of pixels.
Path pixelRoundedRect (Rectangle<int> area, float corner)
{
    Path path;
    path.addRoundedRectangle (area.toFloat().reduced (0.5f), corner);
    return path;
}

// ---------------------------------------------------------------------------------------------
// Toolbar buttons

// The pad behind a toolbar symbol: nothing visible at rest, a faint raised plate under the mouse
// and a recessed plate with an accent rim while pressed. The toolbar's buttons take a click only
// on pixels that are not fully transparent, so the whole area gets an invisible film first: a
// click between the strokes of a symbol must still hit.
void drawToolbarPad (Graphics& g, Rectangle<int> area, ButtonState state)
{
    g.setColour (Colour (0x03000000));
    g.fillRect (area);
    if (state == ButtonState::normal)
        return;
    const auto pad = pixelRoundedRect (area, 3.0f);
    const bool pressed = state == ButtonState::pressed;
    g.setGradientFill (juce::ColourGradient::vertical (Colour (pressed ? 0xff0f1114 : 0xff24282d), (float)area.getY(),
                                                       Colour (pressed ? 0xff171a1e : 0xff1a1d21), (float)area.getBottom()));
    g.fillPath (pad);
    g.setColour (pressed ? colours::accent.withAlpha (0.55f) : Colour (0xff363b42));
    g.strokePath (pad, juce::PathStrokeType (1.0f));
}

Colour symbolColour (ButtonState state)
{
    return state == ButtonState::normal ? colours::symbol : state == ButtonState::over ? colours::symbolBright : colours::accent;
}

// Undo: an arrow pointing left whose shaft turns down and back in a half circle. Mirrored for redo.
Path undoSymbol (bool mirrored)
{
    Path shaft;
    shaft.startNewSubPath (9.0f, 7.0f);
    shaft.lineTo (13.0f, 7.0f);
    shaft.addCentredArc (13.0f, 11.5f, 4.5f, 4.5f, 0.0f, 0.0f, juce::MathConstants<float>::pi, false);
    shaft.lineTo (8.0f, 16.0f);
    Path symbol;
    juce::PathStrokeType (2.0f, juce::PathStrokeType::curved, juce::PathStrokeType::butt).createStrokedPath (symbol, shaft);
    Path head;
    head.addTriangle (5.0f, 7.0f, 10.0f, 2.5f, 10.0f, 11.5f);
    symbol.addPath (head);
    symbol.setUsingNonZeroWinding (true);
    if (mirrored)
        symbol.applyTransform (juce::AffineTransform::scale (-1.0f, 1.0f).translated (24.0f, 0.0f));
    return symbol;
}

// A glyph of the bold face centred in a ring.
void drawRingedGlyph (Graphics& g, const juce::String& glyph, Colour colour)
{
    g.setColour (colour);
    Path ring;
    ring.addEllipse (4.75f, 3.75f, 14.5f, 14.5f);
    g.strokePath (ring, juce::PathStrokeType (1.5f));
    drawCrispText (g, glyph, fontWithCapHeight (boldFace(), 8.0f), 12.0f, 15, Align::centre);
}

// A gear of eight teeth around a hole.
Path gearSymbol()
{
    const float cx = 12.0f, cy = 11.0f;
    constexpr int teeth = 8;
    Path gear;
    // Each tooth is four corners, at these fractions of a tooth's turn: two on the rim, two at the tip.
    constexpr float toothCorners[] = { -0.27f, -0.14f, 0.14f, 0.27f };
    for (int i = 0; i < teeth * 4; ++i)
    {
        const float angle = juce::MathConstants<float>::twoPi * ((float)(i / 4) + toothCorners[i % 4]) / teeth;
        const float radius = (i % 4 == 0 || i % 4 == 3) ? 5.6f : 7.6f;
        const float px = cx + radius * std::sin (angle), py = cy - radius * std::cos (angle);
        if (i == 0)
            gear.startNewSubPath (px, py);
        else
            gear.lineTo (px, py);
    }
    gear.closeSubPath();
    gear.addEllipse (cx - 2.5f, cy - 2.5f, 5.0f, 5.0f);
    gear.setUsingNonZeroWinding (false);
    return gear;
}

void writeToolbarIcons (const juce::File& folder)
{
    const Rectangle<int> pad (0, 0, 24, 22);
    const auto symbolButton = [&] (const juce::String& stem, std::function<void (Graphics&, Colour)> drawSymbol)
    {
        writeTriplet (folder, stem, 24, 22,
                      [&] (Graphics& g, ButtonState state)
                      {
                          drawToolbarPad (g, pad, state);
                          drawSymbol (g, symbolColour (state));
                      });
    };
    const auto pathButton = [&] (const juce::String& stem, const Path& symbol)
    {
        symbolButton (stem,
                      [&symbol] (Graphics& g, Colour c)
                      {
                          g.setColour (c);
                          g.fillPath (symbol);
                      });
    };
    pathButton ("undo", undoSymbol (false));
    pathButton ("redo", undoSymbol (true));
    symbolButton ("help", [] (Graphics& g, Colour c) { drawRingedGlyph (g, "?", c); });
    symbolButton ("info", [] (Graphics& g, Colour c) { drawRingedGlyph (g, "i", c); });
    pathButton ("settings", gearSymbol());

    // Previous and next sit stacked beside the preset box: a small triangle up and down.
    for (bool up : { true, false })
        writeTriplet (folder, up ? "prev" : "next", 24, 11,
                      [up] (Graphics& g, ButtonState state)
                      {
                          drawToolbarPad (g, { 0, 0, 24, 11 }, state);
                          g.setColour (symbolColour (state));
                          Path triangle;
                          if (up)
                              triangle.addTriangle (8.0f, 8.0f, 16.0f, 8.0f, 12.0f, 4.0f);
                          else
                              triangle.addTriangle (8.0f, 3.0f, 16.0f, 3.0f, 12.0f, 7.0f);
                          g.fillPath (triangle);
                      });
}

// ---------------------------------------------------------------------------------------------
// A/B comparison buttons

// A/B switch: a two-segment pill naming both states; the active state's segment is filled.
void drawStatePill (Graphics& g, bool aActive, ButtonState state)
{
    drawToolbarPad (g, { 0, 0, 36, 22 }, state);
    const Rectangle<int> pill (4, 4, 28, 14);
    const auto active = aActive ? pill.withWidth (14) : pill.withTrimmedLeft (14);
    const auto inactive = aActive ? pill.withTrimmedLeft (14) : pill.withWidth (14);

    g.setColour (state == ButtonState::pressed ? colours::accent
                                               : colours::accentDeep.brighter (state == ButtonState::over ? 0.25f : 0.0f));
    Path segment;
    segment.addRoundedRectangle ((float)active.getX(), (float)active.getY(), (float)active.getWidth(), (float)active.getHeight(), 3.0f,
                                 3.0f, aActive, ! aActive, aActive, ! aActive);
    g.fillPath (segment);
    g.setColour (symbolColour (state).withMultipliedAlpha (0.7f));
    g.strokePath (pixelRoundedRect (pill, 3.0f), juce::PathStrokeType (1.0f));

    const auto letters = fontWithCapHeight (boldFace(), 8.0f);
    g.setColour (juce::Colours::white);
    drawCrispText (g, aActive ? "A" : "B", letters, (float)active.getCentreX(), 15, Align::centre);
    g.setColour (symbolColour (state).withMultipliedAlpha (0.8f));
    drawCrispText (g, aActive ? "B" : "A", letters, (float)inactive.getCentreX(), 15, Align::centre);
}

// Copy: the source letter, an arrow and the target letter.
void drawCopySymbol (Graphics& g, bool aToB, ButtonState state)
{
    drawToolbarPad (g, { 0, 0, 36, 22 }, state);
    const auto letters = fontWithCapHeight (boldFace(), 8.0f);
    const Colour c = symbolColour (state);
    g.setColour (c);
    drawCrispText (g, aToB ? "A" : "B", letters, 9.0f, 15, Align::centre);
    drawCrispText (g, aToB ? "B" : "A", letters, 27.0f, 15, Align::centre);
    Path arrow;
    arrow.addRectangle (14.0f, 10.0f, 6.0f, 2.0f);
    arrow.addTriangle (19.0f, 7.0f, 23.0f, 11.0f, 19.0f, 15.0f);
    g.fillPath (arrow);
}

void writeComparisonButtons (const juce::File& folder)
{
    writeTriplet (folder, "ab", 36, 22, [] (Graphics& g, ButtonState s) { drawStatePill (g, true, s); });
    writeTriplet (folder, "ba", 36, 22, [] (Graphics& g, ButtonState s) { drawStatePill (g, false, s); });
    writeTriplet (folder, "acopyb", 36, 22, [] (Graphics& g, ButtonState s) { drawCopySymbol (g, true, s); });
    writeTriplet (folder, "bcopya", 36, 22, [] (Graphics& g, ButtonState s) { drawCopySymbol (g, false, s); });
}

// ---------------------------------------------------------------------------------------------
// Button faces

// A face with a vertical gradient, a 1-pixel rim and a 1-pixel inner highlight along the top.
struct FaceColours
{
    Colour top, bottom, rim, highlight;
};

void drawFace (Graphics& g, Rectangle<int> area, const FaceColours& face, float corner)
{
    const auto outline = pixelRoundedRect (area, corner);
    g.setGradientFill (juce::ColourGradient::vertical (face.top, (float)area.getY(), face.bottom, (float)area.getBottom()));
    g.fillPath (outline);
    g.setColour (face.highlight);
    g.fillRect (area.getX() + (int)corner, area.getY() + 1, area.getWidth() - 2 * (int)corner, 1);
    g.setColour (face.rim);
    g.strokePath (outline, juce::PathStrokeType (1.0f));
}

Image faceImage (int width, int height, const FaceColours& face, float corner)
{
    Image image = blankImage (width, height);
    Graphics g (image);
    drawFace (g, { 0, 0, width, height }, face, corner);
    return image;
}

// Dark faces of the preset box and the menus' buttons, which carry white text.
void writeDarkButtonFaces (const juce::File& folder)
{
    const FaceColours faces[] = {
        { Colour (0xff2a2e33), Colour (0xff1f2226), Colour (0xff3d4249), Colour (0x14ffffff) },
        { Colour (0xff32373d), Colour (0xff262a2f), Colour (0xff4b5159), Colour (0x1cffffff) },
        { Colour (0xff16181b), Colour (0xff1d2024), colours::accent.withAlpha (0.6f), Colour (0x00000000) },
    };
    for (int i = 0; i < 3; ++i)
        writePng (faceImage (102, 22, faces[i], 3.0f), folder, "button" + stateSuffix[i]);
}

// Light faces of the overlay buttons, which carry dark text with a white emboss.
void writeLightButtonFaces (const juce::File& folder)
{
    const struct
    {
        const char* name;
        FaceColours face;
    } faces[] = {
        { "button_up", { Colour (0xfff8f9fa), Colour (0xffdcdfe3), Colour (0xff8c929a), Colour (0xffffffff) } },
        { "button_over", { Colour (0xffffffff), Colour (0xffe6e9ed), colours::accent.darker (0.2f), Colour (0xffffffff) } },
        { "button_down", { Colour (0xffc9cdd2), Colour (0xffd9dce0), Colour (0xff6f757d), Colour (0x00000000) } },
    };
    for (const auto& f : faces)
        writePng (faceImage (83, 26, f.face, 4.0f), folder, f.name);
}

// Unticked box on the left, ticked box on the right; both readable on light panels and dark menus.
void writeCheckbox (const juce::File& folder)
{
    Image image = blankImage (32, 16);
    Graphics g (image);
    const FaceColours unticked{ Colour (0xfffbfbfc), Colour (0xffe1e4e7), Colour (0xff737a83), Colour (0xffffffff) };
    const FaceColours ticked{ colours::accent.brighter (0.1f), colours::accentDeep, Colour (0xff17548f), Colour (0x40ffffff) };
    drawFace (g, { 2, 2, 12, 12 }, unticked, 2.0f);
    drawFace (g, { 18, 2, 12, 12 }, ticked, 2.0f);
    Path tick;
    tick.startNewSubPath (20.5f, 8.0f);
    tick.lineTo (23.0f, 10.5f);
    tick.lineTo (27.5f, 5.0f);
    g.setColour (juce::Colours::white);
    g.strokePath (tick, juce::PathStrokeType (2.0f, juce::PathStrokeType::mitered, juce::PathStrokeType::square));
    writePng (image, folder, "checkbox");
}

// ---------------------------------------------------------------------------------------------
// Indicator lamps: unlit above, lit below.

void drawLamp (Graphics& g, juce::Point<float> centre, float radius, Colour hue, bool lit)
{
    if (lit)
    {
        juce::ColourGradient glow (hue.withAlpha (0.45f), centre, hue.withAlpha (0.0f), centre.translated (radius * 1.9f, 0.0f), true);
        g.setGradientFill (glow);
        g.fillEllipse (Rectangle<float> (radius * 3.8f, radius * 3.8f).withCentre (centre));
    }
    const auto body = Rectangle<float> (radius * 2.0f, radius * 2.0f).withCentre (centre);
    g.setColour (Colour (0xff0b0c0e));
    g.fillEllipse (body.expanded (1.0f));
    juce::ColourGradient fill (lit ? hue.brighter (0.6f) : hue.withMultipliedBrightness (0.28f),
                               centre.translated (-radius * 0.3f, -radius * 0.35f), lit ? hue : hue.withMultipliedBrightness (0.16f),
                               body.getBottomRight(), true);
    g.setGradientFill (fill);
    g.fillEllipse (body);
    g.setColour (juce::Colours::white.withAlpha (lit ? 0.55f : 0.12f));
    g.fillEllipse (Rectangle<float> (radius * 0.7f, radius * 0.45f).withCentre (centre.translated (-radius * 0.25f, -radius * 0.45f)));
}

void writeLamps (const juce::File& folder)
{
    const struct
    {
        const char* name;
        Colour hue;
    } lamps[] = {
        { "LED_blue", colours::accent },    { "LED_green", Colour (0xff3ccf6e) }, { "LED_orange", colours::amber },
        { "LED_red", Colour (0xffff4b42) }, { "LED_white", Colour (0xffeef2f6) },
    };
    for (const auto& lamp : lamps)
    {
        Image image = blankImage (23, 46);
        Graphics g (image);
        drawLamp (g, { 11.5f, 11.5f }, 5.0f, lamp.hue, false);
        drawLamp (g, { 11.5f, 34.5f }, 5.0f, lamp.hue, true);
        writePng (image, folder, lamp.name);
    }
}

// ---------------------------------------------------------------------------------------------
// Knob film strips

constexpr int knobFrames = 150;
constexpr float knobStartAngle = -0.75f * juce::MathConstants<float>::pi; // 7:30
constexpr float knobEndAngle = 0.75f * juce::MathConstants<float>::pi;    // 4:30

// One knob frame of size f at proportion p: a track ring with the value arc in the accent colour
// from the start, and a dark cap whose pointer line follows the value.
void drawKnobFrame (Graphics& g, float f, float p)
{
    const float c = f * 0.5f;
    const float ringRadius = f * 0.5f - f * 0.075f;
    const float ringWidth = juce::jmax (2.0f, f * 0.05f);
    const float angle = knobStartAngle + p * (knobEndAngle - knobStartAngle);

    Path track;
    track.addCentredArc (c, c, ringRadius, ringRadius, 0.0f, knobStartAngle, knobEndAngle, true);
    g.setColour (Colour (0xff2a2e34));
    g.strokePath (track, juce::PathStrokeType (ringWidth, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    if (p > 0.0f)
    {
        Path value;
        value.addCentredArc (c, c, ringRadius, ringRadius, 0.0f, knobStartAngle, angle, true);
        g.setColour (colours::accent);
        g.strokePath (value, juce::PathStrokeType (ringWidth, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    }

    const float capRadius = ringRadius - ringWidth - f * 0.06f;
    const auto cap = Rectangle<float> (capRadius * 2.0f, capRadius * 2.0f).withCentre ({ c, c });
    g.setColour (Colour (0x66000000));
    g.fillEllipse (cap.translated (0.0f, f * 0.025f).expanded (1.0f));
    g.setGradientFill (juce::ColourGradient::vertical (Colour (0xff3a3f46), cap.getY(), Colour (0xff1c1f23), cap.getBottom()));
    g.fillEllipse (cap);
    g.setColour (Colour (0x26ffffff));
    g.drawEllipse (cap.reduced (0.5f), 1.0f);

    const float pointerWidth = juce::jmax (2.0f, f * 0.04f);
    Path pointer;
    pointer.addRoundedRectangle (-pointerWidth * 0.5f, -capRadius + f * 0.05f, pointerWidth, capRadius * 0.55f, pointerWidth * 0.5f);
    g.setColour (colours::symbolBright);
    g.fillPath (pointer, juce::AffineTransform::rotation (angle).translated (c, c));
}

void writeKnobStrip (const juce::File& folder, const char* name, int frameSize)
{
    Image strip = blankImage (frameSize, frameSize * knobFrames);
    Graphics g (strip);
    for (int k = 0; k < knobFrames; ++k)
    {
        juce::Graphics::ScopedSaveState frame (g);
        g.reduceClipRegion (0, k * frameSize, frameSize, frameSize);
        g.setOrigin (0, k * frameSize);
        drawKnobFrame (g, (float)frameSize, (float)k / (float)(knobFrames - 1));
    }
    writePng (strip, folder, name);
}

// ---------------------------------------------------------------------------------------------
// Screens: value boxes and displays

// A recessed near-black screen with a frame and a soft shadow along its inner top edge.
void drawScreen (Graphics& g, Rectangle<int> area, float corner)
{
    const auto outline = pixelRoundedRect (area, corner);
    g.setGradientFill (
        juce::ColourGradient::vertical (Colour (0xff07080a), (float)area.getY(), Colour (0xff0e1013), (float)area.getBottom()));
    g.fillPath (outline);
    g.setColour (Colour (0x55000000));
    g.fillRect (area.getX() + (int)corner, area.getY() + 1, area.getWidth() - 2 * (int)corner, 1);
    g.setColour (colours::screenEdge);
    g.strokePath (outline, juce::PathStrokeType (1.0f));
}

void writeScreens (const juce::File& folder)
{
    const struct
    {
        const char* name;
        int width, height;
    } screens[] = {
        { "display_background", 50, 18 },
        { "touch_display_background", 55, 21 },
        { "touch_display_wide_background", 84, 21 },
    };
    for (const auto& s : screens)
    {
        Image image = blankImage (s.width, s.height);
        Graphics g (image);
        drawScreen (g, { 0, 0, s.width, s.height }, 3.0f);
        writePng (image, folder, s.name);
    }
}

// ---------------------------------------------------------------------------------------------
// Overlay panel: drawn as nine slices around the pixel at (29, 46), so everything that must not
// stretch (corners, title row) lies outside column 29 and row 46.

void writeWindowBackground (const juce::File& folder)
{
    constexpr int width = 61, height = 93, titleRowBottom = 33;
    Image image = blankImage (width, height);
    Graphics g (image);
    const Rectangle<int> panel (0, 0, width, height);
    const auto outline = pixelRoundedRect (panel, 5.0f);

    g.setColour (colours::panelLight);
    g.fillPath (outline);
    {
        juce::Graphics::ScopedSaveState title (g);
        g.reduceClipRegion (0, 0, width, titleRowBottom);
        g.setGradientFill (juce::ColourGradient::vertical (Colour (0xffdfe2e5), 0.0f, colours::panelTitle, (float)titleRowBottom));
        g.fillPath (outline);
    }
    g.setColour (Colour (0xffb4b9bf));
    g.fillRect (1, titleRowBottom, width - 2, 1);
    g.setColour (Colour (0xfff6f7f8));
    g.fillRect (1, titleRowBottom + 1, width - 2, 1);
    g.setColour (Colour (0x80ffffff));
    g.strokePath (pixelRoundedRect (panel.reduced (1), 4.0f), juce::PathStrokeType (1.0f));
    g.setColour (colours::panelEdge);
    g.strokePath (outline, juce::PathStrokeType (1.0f));
    writePng (image, folder, "window_background");
}

// ---------------------------------------------------------------------------------------------
// Maker logo: a graphite badge carrying a quill, for Quillfen; it sits on the light info panel.

void writeLogo (const juce::File& folder)
{
    Image image = blankImage (40, 35);
    Graphics g (image);
    const Rectangle<int> badge (4, 1, 32, 32);
    drawFace (g, badge, { Colour (0xff353a41), Colour (0xff1b1e22), Colour (0xff15171a), Colour (0x24ffffff) }, 7.0f);

    // The vane: a slim leaf from the tip at the upper right down towards the lower left.
    Path vane;
    vane.startNewSubPath (30.0f, 5.5f);
    vane.cubicTo (31.0f, 14.0f, 22.0f, 22.5f, 14.0f, 25.0f);
    vane.cubicTo (14.5f, 16.5f, 21.0f, 8.0f, 30.0f, 5.5f);
    vane.closeSubPath();
    g.setGradientFill (juce::ColourGradient (colours::accent.brighter (0.35f), 30.0f, 5.5f, colours::accentDeep, 14.0f, 25.0f, false));
    g.fillPath (vane);

    // The shaft runs through the vane and on to the nib at the lower left.
    Path shaft;
    shaft.startNewSubPath (29.0f, 7.0f);
    shaft.quadraticTo (19.0f, 17.0f, 10.0f, 28.5f);
    g.setColour (Colour (0xf2ffffff));
    g.strokePath (shaft, juce::PathStrokeType (1.3f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    writePng (image, folder, "logo");
}

// ---------------------------------------------------------------------------------------------
// Product editor: background below the toolbar and bypass button.
//
// The background is drawn at (0, 27) of the 406 x 242 editor; positions here are in its own
// coordinates, so every editor position is 27 higher than here.

constexpr int backgroundTop = 27;
const Rectangle<int> displayArea (16, 38 - backgroundTop, 366, 142);
const Rectangle<int> displayWell = displayArea.expanded (4);
const int valueBoxTop = 207 - backgroundTop;
const int labelBaseline = valueBoxTop - 5;

// The bypass button is drawn centred and unscaled in its 88 x 35 area at (341, 190), so its
// 54 x 40 image starts at editor column 358 and row 188, and only its 48 left columns lie inside
// the window. Its face is the image's left 28 columns, ending under the display's right edge,
// with its top level with the value boxes.
const juce::Point<int> bypassImageOrigin (341 + (88 - 54) / 2, 190 + (35 - 40) / 2);
const Rectangle<int> bypassFace (0, valueBoxTop + backgroundTop - bypassImageOrigin.y, displayWell.getRight() - bypassImageOrigin.x, 21);

// Each control's label, centred over it.
const struct
{
    const char* text;
    int centre;
} controlLabels[] = {
    { "FREQUENCY", 125 + 31 },
    { "SLOPE", 190 + 31 },
    { "AMOUNT", 255 + 31 },
    { "BYPASS", bypassImageOrigin.x + bypassFace.getCentreX() },
};

void writeBackground (const juce::File& folder)
{
    Image image (Image::RGB, 406, 214, true);
    Graphics g (image);
    g.setGradientFill (juce::ColourGradient::vertical (colours::graphiteTop, 0.0f, colours::graphiteBottom, 214.0f));
    g.fillAll();

    // The first row continues the toolbar's black; a faint highlight under it separates the two.
    g.setColour (juce::Colours::black);
    g.fillRect (0, 0, 406, 1);
    g.setColour (Colour (0xff2c3035));
    g.fillRect (0, 1, 406, 1);

    // The display's screen: a near-black well with a frame, four pixels round the display.
    g.setColour (Colour (0x40000000));
    g.fillRoundedRectangle (displayWell.toFloat().translated (0.0f, 1.0f).expanded (1.0f), 5.0f);
    g.setColour (colours::screen);
    g.fillPath (pixelRoundedRect (displayWell, 4.0f));
    g.setColour (colours::screenEdge);
    g.strokePath (pixelRoundedRect (displayWell, 4.0f), juce::PathStrokeType (1.0f));
    g.setColour (Colour (0x0dffffff));
    g.fillRect (displayWell.getX() + 4, displayWell.getBottom(), displayWell.getWidth() - 8, 1);

    const auto labelFont = fontWithCapHeight (boldFace(), 7.0f);
    g.setColour (colours::labelText);
    for (const auto& label : controlLabels)
        drawCrispText (g, label.text, labelFont, (float)label.centre, labelBaseline, Align::centre, 0.5f);

    // The product's name at the lower left, its capitals as high as the labels and the boxes.
    const float nameLeft = (float)displayWell.getX() + 4.0f;
    g.setColour (Colour (0xffd5d9de));
    drawCrispText (g, "BREVALON", fontWithCapHeight (boldFace(), 9.0f), nameLeft, labelBaseline + 2, Align::left, 2.0f);
    g.setColour (Colour (0xff6c737c));
    drawCrispText (g, "LINEAR-PHASE FIR", fontWithCapHeight (regularFace(), 6.0f), nameLeft, valueBoxTop + 12, Align::left, 0.8f);
    writePng (image, folder, "background");
}

// Off: a raised graphite key with a dark lamp. On: the key turns amber, its lamp glows and a halo
// surrounds it, so the bypass is obvious even at a glance.
void writeBypassButton (const juce::File& folder, bool on)
{
    Image image = blankImage (54, 40);
    Graphics g (image);
    const FaceColours off{ Colour (0xff30353b), Colour (0xff222529), Colour (0xff454b53), Colour (0x18ffffff) };
    const FaceColours lit{ Colour (0xff6a4914), Colour (0xff47300c), colours::amber, Colour (0x40ffe0a8) };
    if (on)
    {
        g.setColour (colours::amber.withAlpha (0.22f));
        g.fillRoundedRectangle (bypassFace.toFloat().expanded (1.5f), 4.5f);
    }
    drawFace (g, bypassFace, on ? lit : off, 3.0f);
    drawLamp (g, bypassFace.toFloat().getCentre(), 3.5f, colours::amber, on);
    writePng (image, folder, on ? "bypass_button_down" : "bypass_button_up");
}

} // namespace

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf (stderr, "usage: generate_images OUTPUT_FOLDER\n");
        return 2;
    }
    juce::ScopedJuceInitialiser_GUI juce;
    const juce::File folder = juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]);
    if (! folder.createDirectory())
    {
        std::fprintf (stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    writeToolbarIcons (folder);
    writeComparisonButtons (folder);
    writeDarkButtonFaces (folder);
    writeLightButtonFaces (folder);
    writeCheckbox (folder);
    writeLamps (folder);
    writeKnobStrip (folder, "knobmid", 70);
    writeKnobStrip (folder, "knobsmall", 50);
    writeScreens (folder);
    writeWindowBackground (folder);
    writeLogo (folder);
    writeBackground (folder);
    writeBypassButton (folder, false);
    writeBypassButton (folder, true);
    return 0;
}
