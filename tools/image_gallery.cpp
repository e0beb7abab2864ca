// Composes the editor's images into one sheet for looking at them together: a mock-up of the
// product window (toolbar, background, value boxes, bypass button) at 1:1 and enlarged, the same
// window with an overlay panel open, and every image on its own, small ones enlarged with whole
// pixels kept square.
//
// Usage: image_gallery IMAGE_FOLDER OUTPUT.png

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdio>

namespace
{

using juce::Graphics;
using juce::Image;
using juce::Rectangle;

juce::File imageFolder;

Image load (const juce::String& name)
{
    const auto image = juce::ImageFileFormat::loadFrom (imageFolder.getChildFile (name + ".png"));
    if (! image.isValid())
    {
        std::fprintf (stderr, "missing image %s\n", name.toRawUTF8());
        std::exit (1);
    }
    return image;
}

// Draws the image at (x, y), enlarged by a whole factor without smoothing.
void drawEnlarged (Graphics& g, const Image& image, int x, int y, int scale)
{
    Graphics::ScopedSaveState state (g);
    g.setImageResamplingQuality (Graphics::lowResamplingQuality);
    g.drawImageTransformed (image, juce::AffineTransform::scale ((float)scale).translated ((float)x, (float)y));
}

// Three-slice stretch of a face image across an area, caps of the given width kept.
void drawThreeSlice (Graphics& g, const Image& image, Rectangle<int> area, int cap)
{
    const int w = image.getWidth(), h = image.getHeight();
    g.drawImage (image, area.getX(), area.getY(), cap, area.getHeight(), 0, 0, cap, h);
    g.drawImage (image, area.getX() + cap, area.getY(), area.getWidth() - 2 * cap, area.getHeight(), cap, 0, 1, h);
    g.drawImage (image, area.getRight() - cap, area.getY(), cap, area.getHeight(), w - cap, 0, cap, h);
}

// The faces the editor's texts are set in where Verdana is missing.
juce::Font uiFont (float height, bool bold)
{
    static const auto loadFace = [] (const char* path)
    {
        juce::MemoryBlock data;
        juce::File (path).loadFileAsData (data);
        return juce::Typeface::createSystemTypefaceFor (data.getData(), data.getSize());
    };
    static const auto regular = loadFace ("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    static const auto boldFace = loadFace ("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf");
    return juce::Font (bold ? boldFace : regular).withHeight (height);
}

// The product window as the editor lays it out, optionally with the bypass on and a panel open.
Image mockWindow (bool bypassed, bool withPanel)
{
    Image window (Image::ARGB, 406, 242, true);
    Graphics g (window);
    g.fillAll (juce::Colours::black);
    g.drawImageAt (load ("background"), 0, 27);

    // The toolbar at its layout positions, a few buttons shown under the mouse or pressed.
    const struct
    {
        const char* stem;
        int x, y;
        const char* state;
    } buttons[] = {
        { "undo", 3, 3, "" },     { "redo", 28, 3, "_s2" },  { "prev", 203, 3, "" },     { "next", 203, 14, "_s3" }, { "ab", 241, 3, "" },
        { "acopyb", 278, 3, "" }, { "help", 329, 3, "_s2" }, { "settings", 354, 3, "" }, { "info", 379, 3, "_s3" },
    };
    for (const auto& b : buttons)
        g.drawImageAt (load (juce::String (b.stem) + b.state), b.x, b.y);
    drawThreeSlice (g, load ("button"), { 66, 3, 136, 22 }, 6);
    g.setFont (uiFont (12.2f, true));
    g.setColour (juce::Colours::white);
    g.drawText ("Mastering 96k", 70, 3, 128, 22, juce::Justification::centredLeft);

    // Display header and a response curve, as the display draws them over the background.
    g.setFont (uiFont (13.0f, true));
    g.setColour (juce::Colour (0xff3399ff));
    g.drawText ("Frequency response", 16 + 27, 38, 300, 18, juce::Justification::centredLeft);
    g.setFont (uiFont (13.0f, false));
    g.setColour (juce::Colours::white);
    g.drawText ("dB", 16, 38, 19, 18, juce::Justification::centredRight);
    juce::Path curve;
    curve.startNewSubPath (38.0f, 62.0f);
    curve.lineTo (240.0f, 62.0f);
    curve.cubicTo (270.0f, 62.0f, 280.0f, 120.0f, 300.0f, 175.0f);
    g.setColour (juce::Colour (0xff3399ff));
    g.strokePath (curve, juce::PathStrokeType (2.0f));

    const char* values[] = { "22.0 kHz", "50.0 %", "100 %" };
    for (int i = 0; i < 3; ++i)
    {
        const Rectangle<int> box (125 + 65 * i, 207, 62, 24);
        drawThreeSlice (g, load ("touch_display_background"), box, 10);
        g.setColour (juce::Colours::white);
        g.setFont (uiFont (11.8f, false));
        g.drawText (values[i], box, juce::Justification::centred);
    }
    g.drawImageAt (load (bypassed ? "bypass_button_down" : "bypass_button_up"), 341 + (88 - 54) / 2, 190 + (35 - 40) / 2);

    if (withPanel)
    {
        g.fillAll (juce::Colour (0x99111111));
        const Image frame = load ("window_background");
        const int x0 = 53, y0 = 28, pw = 302, ph = 186;
        // Nine slices around the pixel (29, 46).
        const int columns[][3] = { { 0, 0, 29 }, { 29, 29, pw - 58 }, { pw - 29, 32, 29 } };
        const int rows[][3] = { { 0, 0, 46 }, { 46, 46, ph - 78 }, { ph - 32, 61, 32 } };
        for (const auto& c : columns)
            for (const auto& r : rows)
                g.drawImage (frame, x0 + c[0], y0 + r[0], c[2], r[2], c[1], r[1], c[0] == 29 ? 1 : 29, r[0] == 46 ? 1 : r[2]);
        g.setFont (uiFont (14.0f, true));
        g.setColour (juce::Colours::white);
        g.drawText ("SETTINGS", x0 + 14, y0 + 9, 200, 22, juce::Justification::centredLeft);
        g.setColour (juce::Colour (0xff111111));
        g.drawText ("SETTINGS", x0 + 14, y0 + 8, 200, 22, juce::Justification::centredLeft);
        g.drawText ("X", x0 + pw - 31, y0 + 9, 24, 18, juce::Justification::centred);
        g.setFont (uiFont (13.0f, false));
        g.drawText ("Linear slider mode", x0 + 38, y0 + 44, 200, 16, juce::Justification::centredLeft);
        g.drawText ("Latency: 4095 samples", x0 + 14, y0 + 70, 250, 16, juce::Justification::centredLeft);
        g.drawImage (load ("checkbox"), x0 + 16, y0 + 44, 16, 16, 16, 0, 16, 16);
        drawThreeSlice (g, load ("button_up"), { x0 + 14, y0 + 140, 90, 26 }, 6);
        drawThreeSlice (g, load ("button_over"), { x0 + 112, y0 + 140, 90, 26 }, 6);
        g.drawText ("OK", x0 + 14, y0 + 145, 90, 16, juce::Justification::centred);
        g.drawText ("Cancel", x0 + 112, y0 + 145, 90, 16, juce::Justification::centred);
    }
    return window;
}

} // namespace

int main (int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf (stderr, "usage: image_gallery IMAGE_FOLDER OUTPUT.png\n");
        return 2;
    }
    juce::ScopedJuceInitialiser_GUI juce;
    imageFolder = juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]);

    Image sheet (Image::RGB, 1700, 1940, true);
    Graphics g (sheet);
    g.fillAll (juce::Colour (0xff5a5f66));

    // Mock-ups: 1:1 and 2x.
    const Image plain = mockWindow (false, false);
    g.drawImageAt (plain, 10, 10);
    g.drawImageAt (mockWindow (true, false), 10, 262);
    g.drawImageAt (mockWindow (false, true), 10, 514);
    drawEnlarged (g, plain, 430, 10, 2);
    drawEnlarged (g, mockWindow (true, true).getClippedImage ({ 0, 0, 406, 242 }), 430, 500, 2);

    // Toolbar images at 4x on black, each with its 1:1 copy below: one column per stem, one row
    // per state (normal, mouse-over, pressed).
    g.setColour (juce::Colours::black);
    g.fillRect (0, 1000, 1700, 400);
    int x = 10;
    for (const char* stem : { "undo", "redo", "help", "info", "settings", "prev", "next", "ab", "ba", "acopyb", "bcopya" })
    {
        int y = 1010;
        for (const char* suffix : { "", "_s2", "_s3" })
        {
            const Image image = load (juce::String (stem) + suffix);
            drawEnlarged (g, image, x, y, 4);
            g.drawImageAt (image, x, y + image.getHeight() * 4 + 4);
            y += 126;
        }
        x += load (stem).getWidth() * 4 + 10;
    }

    // Faces, screens, checkbox, lamps, panel frame, bypass and logo at 2x to 4x.
    x = 10;
    for (const char* name : { "button", "button_s2", "button_s3", "button_up", "button_over", "button_down", "display_background",
                              "touch_display_background", "touch_display_wide_background" })
    {
        const Image image = load (name);
        drawEnlarged (g, image, x, 1410, 2);
        x += image.getWidth() * 2 + 10;
    }
    x = 10;
    for (const char* name : { "checkbox", "logo", "LED_blue", "LED_green", "LED_orange", "LED_red", "LED_white", "bypass_button_up",
                              "bypass_button_down", "window_background" })
    {
        const Image image = load (name);
        drawEnlarged (g, image, x, 1480, 3);
        x += image.getWidth() * 3 + 14;
    }

    // Knob frames at the start, quarter points and end of both strips, and one frame at 2x.
    g.setColour (juce::Colour (0xff1a1c1f));
    g.fillRect (0, 1770, 1700, 160);
    x = 10;
    for (const char* strip : { "knobmid", "knobsmall" })
    {
        const Image image = load (strip);
        const int f = image.getWidth();
        for (int frame : { 0, 1, 37, 74, 112, 148, 149 })
        {
            g.drawImageAt (image.getClippedImage ({ 0, frame * f, f, f }), x, 1780);
            x += f + 6;
        }
        x += 20;
    }
    drawEnlarged (g, load ("knobmid").getClippedImage ({ 0, 100 * 70, 70, 70 }), 1000, 1780, 2);
    drawEnlarged (g, load ("knobsmall").getClippedImage ({ 0, 40 * 50, 50, 50 }), 1160, 1780, 2);

    const juce::File out = juce::File::getCurrentWorkingDirectory().getChildFile (argv[2]);
    out.deleteFile();
    juce::FileOutputStream stream (out);
    if (! stream.openedOk() || ! juce::PNGImageFormat().writeImageToStream (sheet, stream))
    {
        std::fprintf (stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf ("%s\n", out.getFullPathName().toRawUTF8());
    return 0;
}
