#include "lookandfeel/LookAndFeelCustom.h"

#include "controls/SharedTypefaces.h"

#include <cmath>

namespace brevalon
{

namespace
{
const lookandfeel::ColourTable customColours{
    { juce::TextButton::buttonColourId, 0xFFFFFFFF },
    { juce::TextButton::buttonOnColourId, 0xFFFFFFFF },
    { juce::TextButton::textColourOffId, 0xFFFFFFFF },
    { juce::TextButton::textColourOnId, 0xFFFFFFFF },
    { juce::ToggleButton::textColourId, 0xFFFFFFFF },
    { juce::Label::textColourId, 0xFFFFFFFF },
    { juce::PopupMenu::textColourId, 0xFFFFFFFF },
    { juce::ComboBox::textColourId, 0xFFFFFFFF },
    { juce::Slider::thumbColourId, 0xFFFFFFFF },
    { juce::ScrollBar::thumbColourId, 0xFFFFFFFF },
    { juce::TooltipWindow::backgroundColourId, 0xFFFFFFFF },
    { juce::TextEditor::backgroundColourId, 0xFFE0E0E0 },
    { juce::TextEditor::highlightColourId, 0xFFAAAAAA },
    { juce::Slider::textBoxHighlightColourId, 0xFFAAAAAA },
    { juce::TextEditor::focusedOutlineColourId, 0x00000000 },
    { juce::PopupMenu::backgroundColourId, 0xFF151515 },
    { juce::PopupMenu::headerTextColourId, 0x66FFFFFF },
    { juce::PopupMenu::highlightedBackgroundColourId, 0xFF323232 },
    { juce::ComboBox::backgroundColourId, 0xFF000000 },
    { juce::ComboBox::buttonColourId, 0xFFBBBBFF },
    { juce::Slider::trackColourId, 0x7FFFFFFF },
    { juce::BubbleComponent::backgroundColourId, 0xEEEEEEBB },
    { juce::TabbedComponent::outlineColourId, 0xFF777777 },
    { juce::TabbedButtonBar::tabOutlineColourId, 0x80000000 },
    { juce::ColourSelector::labelTextColourId, 0xFFFFFFFF },
    { juce::DirectoryContentsDisplayComponent::highlightColourId, 0xFFAAAAAA },
    { juce::CodeEditorComponent::highlightColourId, 0xFFAAAAAA },
};

bool isBarStyle (juce::Slider::SliderStyle style)
{
    return style == juce::Slider::LinearBar || style == juce::Slider::LinearBarVertical;
}
} // namespace

LookAndFeelCustom::LookAndFeelCustom()
{
    applyColourScheme();
}

void LookAndFeelCustom::applyColourScheme()
{
    lookandfeel::applyColours (*this, customColours);
}

int LookAndFeelCustom::getKnobFrameIndex (double value, double minimum, double maximum, int frameCount)
{
    if (frameCount <= 1 || maximum <= minimum)
        return 0;
    const auto proportion = (value - minimum) / (maximum - minimum);
    const auto frame = (int)std::ceil ((double)(frameCount - 1) * proportion);
    return juce::jlimit (0, frameCount - 1, frame);
}

std::array<lookandfeel::ImageSlice, 3> LookAndFeelCustom::getValueBoxSlices (int imageWidth, int imageHeight, int width, int height)
{
    return lookandfeel::threeSlices (imageWidth, imageHeight, valueBoxCap, width, height);
}

void LookAndFeelCustom::drawValueBoxImage (juce::Graphics& g, int width, int height)
{
    const auto image = lookandfeel::embeddedImage ("touch_display_background_png");
    lookandfeel::drawSlices (g, image, getValueBoxSlices (image.getWidth(), image.getHeight(), width, height));
}

juce::Typeface::Ptr LookAndFeelCustom::getTypefaceForFont (const juce::Font&)
{
    return SharedTypefaces::getRegularTypeface();
}

std::unique_ptr<juce::DropShadower> LookAndFeelCustom::createDropShadowerForComponent (juce::Component&)
{
    return nullptr;
}

void LookAndFeelCustom::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                                              bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    const auto width = button.getWidth();
    const auto height = button.getHeight();
    const auto corner = (float)juce::jmin (lookandfeel::nearest ((float)height * 0.4f), lookandfeel::nearest ((float)width * 0.4f));

    auto fill = backgroundColour.withMultipliedSaturation (0.3f);
    if (shouldDrawButtonAsHighlighted)
    {
        if (shouldDrawButtonAsDown)
            fill = fill.brighter (0.4f);
        else
            fill = fill.getBrightness() > 0.5f ? fill.darker (0.1f) : fill.brighter (0.1f);
    }

    juce::Path outline;
    outline.addRoundedRectangle (2.0f, 2.0f, (float)width - 4.0f, (float)height - 4.0f, corner);
    g.setColour (fill);
    g.fillPath (outline);
    g.setColour (fill.contrasting (1.0f).withAlpha (shouldDrawButtonAsHighlighted ? 0.6f : 0.4f));
    g.strokePath (outline, juce::PathStrokeType (shouldDrawButtonAsHighlighted ? 2.0f : 1.4f));
}

void LookAndFeelCustom::drawToggleButton (juce::Graphics& g, juce::ToggleButton& button, bool shouldDrawButtonAsHighlighted,
                                          bool shouldDrawButtonAsDown)
{
    const auto height = button.getHeight();
    const auto tick = (float)juce::jmin (20, height - 4);
    drawTickBox (g, button, 4.0f, ((float)height - tick) / 2.0f, tick, tick, button.getToggleState(), button.isEnabled(),
                 shouldDrawButtonAsHighlighted, shouldDrawButtonAsDown);

    // The framework's typeface lookup decides which face "Arial" becomes.
    g.setFont (juce::Font ("Arial", "Regular", 12.0f));
    g.setColour (button.findColour (juce::ToggleButton::textColourId).withMultipliedAlpha (button.isEnabled() ? 1.0f : 0.5f));
    const auto textX = (int)tick + 5;
    g.drawFittedText (button.getButtonText(), textX, 4, button.getWidth() - textX - 2, height - 8, juce::Justification::centredLeft, 10,
                      0.7f);
}

void LookAndFeelCustom::drawTickBox (juce::Graphics& g, juce::Component&, float x, float y, float w, float h, bool ticked, bool isEnabled,
                                     bool, bool)
{
    const auto toBox = juce::AffineTransform::scale (w / 9.0f, h / 9.0f).translated (x, y);

    juce::Path box;
    box.addRoundedRectangle (0.0f, 2.0f, 6.0f, 6.0f, 1.0f);
    g.setColour (isEnabled ? juce::Colour (0xFF555555) : juce::Colour (0xFFD3D3D3).withAlpha (0.1f));
    g.fillPath (box, toBox);
    g.setColour (juce::Colours::black.withAlpha (0.6f));
    g.strokePath (box, juce::PathStrokeType (0.9f), toBox);

    if (ticked)
    {
        juce::Path tick;
        tick.startNewSubPath (1.5f, 3.0f);
        tick.lineTo (3.0f, 6.0f);
        tick.lineTo (6.0f, 0.0f);
        g.setColour (isEnabled ? juce::Colours::white : juce::Colour (0xFF808080));
        g.strokePath (tick, juce::PathStrokeType (2.5f), toBox);
    }
}

void LookAndFeelCustom::drawTextEditorOutline (juce::Graphics& g, int width, int height, juce::TextEditor& editor)
{
    if (! editor.isEnabled())
        return;
    g.setColour (editor.findColour (juce::TextEditor::outlineColourId));
    g.drawRect (0, 0, width, height);
}

void LookAndFeelCustom::drawPopupMenuBackground (juce::Graphics& g, int width, int height)
{
    g.fillAll (findColour (juce::PopupMenu::backgroundColourId));
    g.setColour (juce::Colours::black.withAlpha (0.2f));
    g.drawRect (0, 0, width, height);
    g.setColour (juce::Colours::white.withAlpha (0.1f));
    g.fillRect (0, 0, width, 1);
    g.fillRect (0, 1, 1, height - 2);
}

void LookAndFeelCustom::drawPopupMenuItem (juce::Graphics& g, const juce::Rectangle<int>& area, bool isSeparator, bool isActive,
                                           bool isHighlighted, bool isTicked, bool hasSubMenu, const juce::String& text,
                                           const juce::String& shortcutKeyText, const juce::Drawable* icon, const juce::Colour* textColour)
{
    lookandfeel::drawMenuItem (*this, g, area, isSeparator, isActive, isHighlighted, isTicked, hasSubMenu, text, shortcutKeyText, icon,
                               textColour,
                               { SharedTypefaces::getRegularFont (12.2f), 5, juce::Colour (0x22000000), juce::Colour (0x10FFFFFF) });
}

void LookAndFeelCustom::drawComboBox (juce::Graphics& g, int width, int height, bool, int, int, int, int, juce::ComboBox&)
{
    drawValueBoxImage (g, width, height);
}

juce::Font LookAndFeelCustom::getComboBoxFont (juce::ComboBox&)
{
    return SharedTypefaces::getRegularFont (12.2f);
}

void LookAndFeelCustom::positionComboBoxText (juce::ComboBox& box, juce::Label& label)
{
    label.setBounds (1, 1, box.getWidth() - 2, box.getHeight() - 2);
    label.setFont (getComboBoxFont (box));
}

juce::Colour LookAndFeelCustom::labelTextColour (const juce::Label& label)
{
    return label.findColour (juce::Label::textColourId).withMultipliedAlpha (label.isEnabled() ? 1.0f : 0.5f);
}

void LookAndFeelCustom::drawLabel (juce::Graphics& g, juce::Label& label)
{
    // A value display of the product's width sits on its own background image.
    constexpr int valueDisplayWidth = 50;
    if (label.getWidth() == valueDisplayWidth)
    {
        const auto image = lookandfeel::embeddedImage ("display_background_png");
        g.drawImage (image, 0, 1, 50, 18, 0, 0, image.getWidth(), image.getHeight());
    }

    const auto font = lookandfeel::inSharedFace (label.getFont());
    g.setColour (labelTextColour (label));
    g.setFont (font);
    const auto border = label.getBorderSize();
    const auto height = label.getHeight();
    g.drawFittedText (label.getText(), border.getLeft(), 0, label.getWidth() - 2 * border.getLeft(), height - 2 * border.getTop(),
                      label.getJustificationType(), juce::jmax (1, (int)((float)height / font.getHeight())),
                      label.getMinimumHorizontalScale());
}

void LookAndFeelCustom::drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos, float minSliderPos,
                                          float maxSliderPos, juce::Slider::SliderStyle style, juce::Slider& slider)
{
    g.fillAll (slider.findColour (juce::Slider::backgroundColourId));
    if (isBarStyle (style))
    {
        // The value box covering a bar slider shows the value; the bar itself is only the box.
        drawValueBoxImage (g, slider.getWidth(), slider.getHeight());
        return;
    }
    drawLinearSliderBackground (g, x, y, width, height, sliderPos, minSliderPos, maxSliderPos, style, slider);
    drawLinearSliderThumb (g, x, y, width, height, sliderPos, minSliderPos, maxSliderPos, style, slider);
}

int LookAndFeelCustom::getSliderThumbRadius (juce::Slider&)
{
    return 8;
}

void LookAndFeelCustom::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float, float, float, juce::Slider& slider)
{
    constexpr int midKnobSize = 70;
    const auto strip = lookandfeel::embeddedImage (width == midKnobSize ? "knobmid_png" : "knobsmall_png");
    if (! strip.isValid())
        return;
    const auto frameSize = strip.getWidth();
    const auto frames = strip.getHeight() / frameSize;
    const auto frame = getKnobFrameIndex (slider.getValue(), slider.getMinimum(), slider.getMaximum(), frames);
    const auto radius = (float)juce::jmin (width / 2, height / 2);
    g.drawImage (strip, (int)((float)x + (float)width / 2.0f - radius - 1.0f), (int)((float)y + (float)height / 2.0f - radius), frameSize,
                 frameSize, 0, frameSize * frame, frameSize, frameSize);
}

juce::Label* LookAndFeelCustom::createSliderTextBox (juce::Slider& slider)
{
    const auto horizontalBar = slider.getSliderStyle() == juce::Slider::LinearBar;
    auto* label = new juce::Label();
    label->setFont (SharedTypefaces::getRegularFont (11.8f));
    label->setJustificationType (juce::Justification::centred);
    label->setKeyboardType (juce::TextInputTarget::decimalKeyboard);
    label->setSize (50, 20);
    label->setColour (juce::Label::textColourId, slider.findColour (juce::Label::textColourId));
    label->setColour (juce::Label::backgroundColourId,
                      horizontalBar ? juce::Colours::transparentBlack : slider.findColour (juce::Slider::textBoxBackgroundColourId));
    label->setColour (juce::Label::outlineColourId, slider.findColour (juce::Slider::textBoxOutlineColourId));
    label->setColour (juce::TextEditor::textColourId, slider.findColour (juce::Slider::textBoxTextColourId));
    label->setColour (juce::TextEditor::backgroundColourId,
                      slider.findColour (juce::Slider::textBoxBackgroundColourId).withAlpha (horizontalBar ? 0.7f : 1.0f));
    label->setColour (juce::TextEditor::outlineColourId, slider.findColour (juce::Slider::textBoxOutlineColourId));
    return label;
}

} // namespace brevalon
