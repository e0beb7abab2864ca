#include "OverlayTestBench.h"

#include "controls/TextLine.h"
#include "resources/NamedResources.h"

#include <cstdlib>

namespace brevalon::test
{

OverlayMessageRecorder::OverlayMessageRecorder (AbstractOverlay& overlay)
    : source (overlay)
{
    source.addActionListener (this);
    source.addChangeListener (this);
}

OverlayMessageRecorder::~OverlayMessageRecorder()
{
    source.removeActionListener (this);
    source.removeChangeListener (this);
}

void OverlayMessageRecorder::actionListenerCallback (const juce::String& message)
{
    messages.add ("action " + message);
}

void OverlayMessageRecorder::changeListenerCallback (juce::ChangeBroadcaster*)
{
    messages.add ("change");
}

juce::Image embeddedImage (const char* name)
{
    int size = 0;
    const auto* data = resources::getNamedResource (name, size);
    return juce::ImageCache::getFromMemory (data, size);
}

StandInEditor::StandInEditor (juce::Component& overlay)
{
    setSize (width, height);
    overlay.setBounds (getLocalBounds());
    addAndMakeVisible (overlay);
}

void StandInEditor::paint (juce::Graphics& g)
{
    // The toolbar strip, its buttons at the product layout's places, and the background.
    struct ToolbarImage
    {
        const char* name;
        int x, y;
    };
    static constexpr ToolbarImage toolbar[] = {
        { "undo_png", 3, 3 },     { "redo_png", 28, 3 },  { "prev_png", 203, 3 },     { "next_png", 203, 14 }, { "ab_png", 241, 3 },
        { "acopyb_png", 278, 3 }, { "help_png", 329, 3 }, { "settings_png", 354, 3 }, { "info_png", 379, 3 },
    };
    g.fillAll (juce::Colours::black);
    g.drawImageAt (embeddedImage ("background_png"), 0, 27);
    for (const auto& image : toolbar)
        g.drawImageAt (embeddedImage (image.name), image.x, image.y);
    g.setColour (juce::Colour (0xff2b2f33));
    g.fillRect (66, 3, 136, 22);
    drawRegularText (g, "Default", 13.0f, juce::Colours::white, 72, 4, 120, juce::Justification::centredLeft);
}

juce::Rectangle<int> inkBounds (const juce::Image& image, const std::function<bool (juce::Colour)>& matches, juce::Rectangle<int> within)
{
    const auto area = within.isEmpty() ? image.getBounds() : within.getIntersection (image.getBounds());
    juce::Rectangle<int> ink;
    bool found = false;
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            if (matches (image.getPixelAt (x, y)))
            {
                const juce::Rectangle<int> pixel (x, y, 1, 1);
                ink = found ? ink.getUnion (pixel) : pixel;
                found = true;
            }
    return ink;
}

int countPixels (const juce::Image& image, const std::function<bool (juce::Colour)>& matches, juce::Rectangle<int> within)
{
    int count = 0;
    const auto area = within.getIntersection (image.getBounds());
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            count += matches (image.getPixelAt (x, y)) ? 1 : 0;
    return count;
}

bool isNearly (juce::Colour actual, juce::Colour expected, int tolerance)
{
    return std::abs (actual.getAlpha() - expected.getAlpha()) <= tolerance && std::abs (actual.getRed() - expected.getRed()) <= tolerance &&
           std::abs (actual.getGreen() - expected.getGreen()) <= tolerance && std::abs (actual.getBlue() - expected.getBlue()) <= tolerance;
}

} // namespace brevalon::test
