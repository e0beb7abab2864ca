#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace brevalon::test
{

// The editor's panel colour, behind screenshots of controls that paint no background of their own.
const juce::Colour screenshotBackdrop (0xFF2B2F33);

// Renders the component with its children over the backdrop into `name`.png in the build
// tree's screenshot folder and returns the file.
juce::File saveScreenshot (juce::Component& component, const juce::String& name, juce::Colour backdrop = screenshotBackdrop);

// The component with its children rendered at 100 % and at 200 % (text and vector drawing
// sharp, images resampled), saved as `name`-100.png and `name`-200.png.
void saveAtBothScales (juce::Component& component, const juce::String& name);
// Writes `image` as `name`.png into the screenshot folder and returns the file.
juce::File saveImage (const juce::Image& image, const juce::String& name);
// The component with its children rendered into an image (transparent where nothing is drawn).
juce::Image renderComponent (juce::Component& component);

} // namespace brevalon::test
