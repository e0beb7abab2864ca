#include "Screenshot.h"

namespace brevalon::test
{

juce::Image renderComponent (juce::Component& component)
{
    return component.createComponentSnapshot (component.getLocalBounds(), true, 1.0f);
}

juce::File saveScreenshot (juce::Component& component, const juce::String& name, juce::Colour backdrop)
{
    juce::Image image (juce::Image::ARGB, component.getWidth(), component.getHeight(), true);
    {
        juce::Graphics g (image);
        g.fillAll (backdrop);
        g.drawImageAt (renderComponent (component), 0, 0);
    }

    return saveImage (image, name);
}

void saveAtBothScales (juce::Component& component, const juce::String& name)
{
    for (const int percent : { 100, 200 })
        saveImage (component.createComponentSnapshot (component.getLocalBounds(), true, (float)percent / 100.0f),
                   name + "-" + juce::String (percent));
}

juce::File saveImage (const juce::Image& image, const juce::String& name)
{
    const juce::File folder (BREVALON_SCREENSHOT_FOLDER);
    folder.createDirectory();
    const auto file = folder.getChildFile (name + ".png");
    file.deleteFile();
    juce::FileOutputStream stream (file);
    juce::PNGImageFormat().writeImageToStream (image, stream);
    return file;
}

} // namespace brevalon::test
