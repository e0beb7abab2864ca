#pragma once

#include "overlays/AbstractOverlay.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace brevalon::test
{

// Records what an overlay broadcasts, in the order it arrives: "action <message>" or "change".
class OverlayMessageRecorder : public juce::ActionListener, public juce::ChangeListener
{
public:
    explicit OverlayMessageRecorder (AbstractOverlay& overlay);
    ~OverlayMessageRecorder() override;

    void actionListenerCallback (const juce::String& message) override;
    void changeListenerCallback (juce::ChangeBroadcaster*) override;

    juce::StringArray messages;

private:
    AbstractOverlay& source;
};

// The product window (406 × 242) as an overlay sees it while the editor is not built yet: the
// black toolbar strip with the toolbar images at their places and "background_png" below it.
// The overlay under test covers it as its topmost child.
class StandInEditor : public juce::Component
{
public:
    static constexpr int width = 406;
    static constexpr int height = 242;

    explicit StandInEditor (juce::Component& overlay);
    void paint (juce::Graphics&) override;
};

juce::Image embeddedImage (const char* name);

// Pixel tests: the bounding box of the pixels of `image` that satisfy `matches`.
juce::Rectangle<int> inkBounds (const juce::Image& image, const std::function<bool (juce::Colour)>& matches,
                                juce::Rectangle<int> within = {});
int countPixels (const juce::Image& image, const std::function<bool (juce::Colour)>& matches, juce::Rectangle<int> within);

bool isNearly (juce::Colour actual, juce::Colour expected, int tolerance = 2);

} // namespace brevalon::test
