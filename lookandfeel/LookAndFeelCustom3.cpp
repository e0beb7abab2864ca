#include "lookandfeel/LookAndFeelCustom3.h"

#include "controls/SharedTypefaces.h"

namespace brevalon
{

namespace
{
void drawWholeValueBoxImage (juce::Graphics& g, int width, int height)
{
    const auto image = lookandfeel::embeddedImage ("touch_display_background_png");
    g.drawImage (image, 0, 0, width, height, 0, 0, image.getWidth(), image.getHeight());
}
} // namespace

LookAndFeelCustom3::LookAndFeelCustom3()
{
    applyColourScheme();
}

void LookAndFeelCustom3::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour&,
                                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    drawWholeValueBoxImage (g, button.getWidth(), button.getHeight());
    auto outline = button.findColour (juce::TextButton::textColourOnId);
    if (! shouldDrawButtonAsDown)
        outline = outline.withAlpha (shouldDrawButtonAsHighlighted ? 0.8f : 0.5f);
    g.setColour (outline);
    g.drawRoundedRectangle (0.0f, 0.0f, (float)button.getWidth(), (float)button.getHeight(), 3.0f, 1.0f);
}

void LookAndFeelCustom3::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool, bool)
{
    g.setFont (SharedTypefaces::getRegularFont (12.2f));
    g.setColour (button.findColour (juce::TextButton::textColourOnId));
    const auto height = button.getHeight();
    const auto y = juce::jmin (4, lookandfeel::nearest ((float)height * 0.3f));
    g.drawFittedText (button.getButtonText(), 1, y, button.getWidth() - 2, height - 2 * y, juce::Justification::centred, 2, 0.7f);
}

void LookAndFeelCustom3::drawLabel (juce::Graphics& g, juce::Label& label)
{
    drawWholeValueBoxImage (g, label.getWidth(), label.getHeight());
    const auto font = SharedTypefaces::getRegularFont (12.2f);
    g.setColour (labelTextColour (label));
    g.setFont (font);
    const auto border = label.getBorderSize();
    const auto textArea = juce::Rectangle<int> (border.getLeft(), border.getTop(), label.getWidth() - 2 * border.getLeft(),
                                                label.getHeight() - 2 * border.getTop());
    g.drawFittedText (label.getText(), textArea, label.getJustificationType(),
                      juce::jmax (1, (int)((float)textArea.getHeight() / font.getHeight())), label.getMinimumHorizontalScale());
}

} // namespace brevalon
