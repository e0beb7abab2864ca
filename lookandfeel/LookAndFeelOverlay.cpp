#include "lookandfeel/LookAndFeelOverlay.h"

#include "controls/SharedTypefaces.h"

namespace brevalon
{

namespace
{
const lookandfeel::ColourTable overlayColours{
    { juce::TextButton::buttonColourId, 0xFF111111 },
    { juce::TextButton::buttonOnColourId, 0xFF111111 },
    { juce::TextButton::textColourOnId, 0xFF111111 },
    { juce::TextButton::textColourOffId, 0xFF111111 },
    { juce::TextEditor::backgroundColourId, 0xFFF2F2F2 },
    { juce::TextEditor::textColourId, 0xFF222222 },
    { juce::TextEditor::highlightColourId, 0x20000000 },
    { juce::TextEditor::focusedOutlineColourId, 0x00000000 },
    { juce::TextEditor::shadowColourId, 0x30000000 },
    { juce::ScrollBar::thumbColourId, 0xAA222222 },
    { juce::PopupMenu::backgroundColourId, 0xFF383838 },
    { juce::PopupMenu::textColourId, 0xFFFFFFFF },
    { juce::PopupMenu::headerTextColourId, 0x66FFFFFF },
    { juce::PopupMenu::highlightedBackgroundColourId, 0x99222222 },
    { juce::ComboBox::buttonColourId, 0xFFBBBBFF },
    { juce::ComboBox::outlineColourId, 0x00000000 },
    { juce::ComboBox::textColourId, 0xFFFFFFFF },
    { juce::ComboBox::backgroundColourId, 0xFF000000 },
    { juce::TextPropertyComponent::outlineColourId, 0x00000000 },
    { juce::ListBox::outlineColourId, 0x00000000 },
    { juce::Slider::thumbColourId, 0xFF111111 },
    { juce::Slider::trackColourId, 0x7FFFFFFF },
    { juce::Slider::textBoxHighlightColourId, 0x20000000 },
    { juce::Slider::textBoxOutlineColourId, 0x00000000 },
    { juce::TooltipWindow::backgroundColourId, 0xFFFFFFFF },
    { juce::TabbedComponent::outlineColourId, 0xFF777777 },
    { juce::TabbedButtonBar::tabOutlineColourId, 0x80000000 },
    { juce::BubbleComponent::backgroundColourId, 0xEEEEEEBB },
    { juce::DirectoryContentsDisplayComponent::highlightColourId, 0x20000000 },
    { juce::CodeEditorComponent::highlightColourId, 0x20000000 },
    { juce::ColourSelector::labelTextColourId, 0xFFFFFFFF },
};
} // namespace

LookAndFeelOverlay::LookAndFeelOverlay()
{
    lookandfeel::applyColours (*this, overlayColours);
}

lookandfeel::ButtonFace LookAndFeelOverlay::getButtonFace (bool mouseOver, bool pressed)
{
    return lookandfeel::faceForState (mouseOver, pressed);
}

lookandfeel::ButtonFace LookAndFeelOverlay::getComboBoxFace (bool buttonDown)
{
    return buttonDown ? lookandfeel::ButtonFace::pressed : lookandfeel::ButtonFace::normal;
}

std::array<lookandfeel::ImageSlice, 3> LookAndFeelOverlay::getButtonFaceSlices (int imageWidth, int imageHeight, int width, int height)
{
    return lookandfeel::threeSlices (imageWidth, imageHeight, lookandfeel::buttonFaceCap, width, height);
}

juce::Rectangle<int> LookAndFeelOverlay::getTooltipSize (const juce::String& text)
{
    return lookandfeel::tooltipSize (text, SharedTypefaces::getRegularFont (tooltipFontHeight), tooltipMaximumWidth);
}

juce::Typeface::Ptr LookAndFeelOverlay::getTypefaceForFont (const juce::Font&)
{
    return SharedTypefaces::getRegularTypeface();
}

void LookAndFeelOverlay::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour&,
                                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    lookandfeel::drawButtonFace (g, faceImages, getButtonFace (shouldDrawButtonAsHighlighted, shouldDrawButtonAsDown), button.getWidth(),
                                 button.getHeight());
}

juce::Font LookAndFeelOverlay::getTextButtonFont (juce::TextButton&, int)
{
    return SharedTypefaces::getRegularFont (13.0f);
}

void LookAndFeelOverlay::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool, bool shouldDrawButtonAsDown)
{
    const auto width = button.getWidth();
    const auto height = button.getHeight();
    const auto y = juce::jmin (4, lookandfeel::nearest ((float)height * 0.3f));
    const auto down = shouldDrawButtonAsDown ? 1 : 0;
    const auto colour = button.findColour (button.getToggleState() ? juce::TextButton::textColourOnId : juce::TextButton::textColourOffId)
                            .withMultipliedAlpha (button.isEnabled() ? 1.0f : 0.5f);
    // A white copy one pixel below embosses the text; all of it sinks a pixel while pressed.
    lookandfeel::drawTextTwice (g, button.getButtonText(), getTextButtonFont (button, height),
                                { juce::Colours::white, { 1, down + y - 1, width - 2, height - 2 * y } },
                                { colour, { 1, down + y - 2, width - 2, height - 2 * y } }, juce::Justification::centred, 2);
}

void LookAndFeelOverlay::drawToggleButton (juce::Graphics& g, juce::ToggleButton& button, bool shouldDrawButtonAsHighlighted,
                                           bool shouldDrawButtonAsDown)
{
    const auto enabled = button.isEnabled();
    if (! enabled)
        g.beginTransparencyLayer (0.5f);

    drawTickBox (g, button, 2.0f, 7.0f, 16.0f, 16.0f, button.getToggleState(), enabled, shouldDrawButtonAsHighlighted,
                 shouldDrawButtonAsDown);
    const auto width = button.getWidth();
    const auto height = button.getHeight();
    lookandfeel::drawTextTwice (
        g, button.getButtonText(), SharedTypefaces::getRegularFont (12.2f), { juce::Colours::white, { 24, 5, width - 18, height } },
        { button.findColour (juce::ToggleButton::textColourId), { 24, 4, width - 18, height } }, juce::Justification::centredLeft, 10);

    if (! enabled)
        g.endTransparencyLayer();
}

void LookAndFeelOverlay::changeToggleButtonWidthToFitText (juce::ToggleButton& button)
{
    lookandfeel::fitToggleButtonWidth (button);
}

void LookAndFeelOverlay::drawTickBox (juce::Graphics& g, juce::Component&, float x, float y, float, float, bool ticked, bool, bool, bool)
{
    lookandfeel::drawImageTickBox (g, x, y, ticked);
}

void LookAndFeelOverlay::fillTextEditorBackground (juce::Graphics& g, int width, int height, juce::TextEditor& editor)
{
    g.setColour (editor.findColour (juce::TextEditor::backgroundColourId));
    g.fillRect (0, 0, width, height);
}

void LookAndFeelOverlay::drawTextEditorOutline (juce::Graphics& g, int width, int height, juce::TextEditor& editor)
{
    lookandfeel::drawBevelledEditorOutline (g, width, height, editor);
}

void LookAndFeelOverlay::drawPopupMenuBackground (juce::Graphics& g, int, int)
{
    g.fillAll (findColour (juce::PopupMenu::backgroundColourId));
}

juce::Font LookAndFeelOverlay::getPopupMenuFont()
{
    return SharedTypefaces::getRegularFont (12.2f);
}

void LookAndFeelOverlay::drawComboBox (juce::Graphics& g, int width, int height, bool isButtonDown, int, int, int, int, juce::ComboBox&)
{
    lookandfeel::drawButtonFace (g, faceImages, getComboBoxFace (isButtonDown), width, height);
}

juce::Font LookAndFeelOverlay::getComboBoxFont (juce::ComboBox& box)
{
    return SharedTypefaces::getRegularFont (juce::jmin (15.0f, (float)box.getHeight() * 0.85f));
}

void LookAndFeelOverlay::positionComboBoxText (juce::ComboBox& box, juce::Label& label)
{
    label.setBounds (1, 1, box.getWidth() - 2, box.getHeight() - 2);
    label.setFont (getComboBoxFont (box));
}

void LookAndFeelOverlay::drawLabel (juce::Graphics& g, juce::Label& label)
{
    g.fillAll (label.findColour (juce::Label::backgroundColourId));

    if (label.isBeingEdited())
    {
        g.setColour (label.findColour (juce::Label::outlineColourId));
    }
    else
    {
        const auto alpha = label.isEnabled() ? 1.0f : 0.5f;
        const auto font = getLabelFont (label);
        g.setColour (label.findColour (juce::Label::textColourId).withMultipliedAlpha (alpha));
        g.setFont (font);
        const auto textArea = label.getBorderSize().subtractedFrom (label.getLocalBounds());
        g.drawFittedText (label.getText(), textArea, label.getJustificationType(),
                          juce::jmax (1, (int)((float)textArea.getHeight() / font.getHeight())), label.getMinimumHorizontalScale());
        g.setColour (juce::Colours::black);
    }
    g.drawRect (label.getLocalBounds());
}

juce::Font LookAndFeelOverlay::getLabelFont (juce::Label& label)
{
    // The text of a combo box keeps the box's font.
    if (auto* box = dynamic_cast<juce::ComboBox*> (label.getParentComponent()))
        return getComboBoxFont (*box);
    return SharedTypefaces::getRegularFont (12.2f);
}

juce::Rectangle<int> LookAndFeelOverlay::getTooltipBounds (const juce::String& tipText, juce::Point<int> screenPos,
                                                           juce::Rectangle<int> parentArea)
{
    return lookandfeel::placeTooltip (getTooltipSize (tipText), screenPos, parentArea);
}

void LookAndFeelOverlay::drawTooltip (juce::Graphics& g, const juce::String& text, int width, int height)
{
    lookandfeel::drawTooltipBox (*this, g, text, width, height, SharedTypefaces::getRegularFont (tooltipFontHeight), tooltipMaximumWidth);
}

} // namespace brevalon
