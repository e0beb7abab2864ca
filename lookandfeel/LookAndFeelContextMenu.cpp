#include "lookandfeel/LookAndFeelContextMenu.h"

#include "controls/SharedTypefaces.h"

namespace brevalon
{

namespace
{
const lookandfeel::ColourTable contextMenuColours{
    { juce::TextButton::buttonColourId, 0xFFFFFFFF },
    { juce::TextButton::buttonOnColourId, 0xFFFFFFFF },
    { juce::TextButton::textColourOnId, 0xFFFFFFFF },
    { juce::TextButton::textColourOffId, 0xFFFFFFFF },
    { juce::ToggleButton::textColourId, 0xFFFFFFFF },
    { juce::TextEditor::backgroundColourId, 0xFFE0E0E0 },
    { juce::TextEditor::highlightColourId, 0xFFAAAAAA },
    { juce::TextEditor::focusedOutlineColourId, 0x00000000 },
    { juce::Label::textColourId, 0xFFFFFFFF },
    { juce::ScrollBar::thumbColourId, 0xFFFFFFFF },
    { juce::PopupMenu::highlightedTextColourId, 0xFF000000 },
    { juce::PopupMenu::highlightedBackgroundColourId, 0xFFE0E0E0 },
    { juce::ComboBox::buttonColourId, 0xFFBBBBFF },
    { juce::ComboBox::textColourId, 0xFFFFFFFF },
    { juce::ComboBox::backgroundColourId, 0xFF000000 },
    { juce::Slider::thumbColourId, 0xFFFFFFFF },
    { juce::Slider::trackColourId, 0x7FFFFFFF },
    { juce::Slider::textBoxHighlightColourId, 0xFFAAAAAA },
    { juce::TooltipWindow::backgroundColourId, 0xFFFFFFFF },
    { juce::TabbedComponent::outlineColourId, 0xFF777777 },
    { juce::TabbedButtonBar::tabOutlineColourId, 0x80000000 },
    { juce::BubbleComponent::backgroundColourId, 0xEEEEEEBB },
    { juce::DirectoryContentsDisplayComponent::highlightColourId, 0xFFAAAAAA },
    { juce::CodeEditorComponent::highlightColourId, 0xFFAAAAAA },
    { juce::ColourSelector::labelTextColourId, 0xFFFFFFFF },
};
} // namespace

LookAndFeelContextMenu::LookAndFeelContextMenu()
{
    lookandfeel::applyColours (*this, contextMenuColours);
}

lookandfeel::ButtonFace LookAndFeelContextMenu::getComboBoxFace (bool)
{
    return lookandfeel::ButtonFace::normal;
}

juce::Rectangle<int> LookAndFeelContextMenu::getTooltipSize (const juce::String& text)
{
    return lookandfeel::tooltipSize (text, SharedTypefaces::getRegularFont (tooltipFontHeight), tooltipMaximumWidth);
}

juce::Typeface::Ptr LookAndFeelContextMenu::getTypefaceForFont (const juce::Font&)
{
    return SharedTypefaces::getRegularTypeface();
}

void LookAndFeelContextMenu::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour&,
                                                   bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    lookandfeel::drawButtonFace (g, faceImages, lookandfeel::faceForState (shouldDrawButtonAsHighlighted, shouldDrawButtonAsDown),
                                 button.getWidth(), button.getHeight());
}

juce::Font LookAndFeelContextMenu::getTextButtonFont (juce::TextButton&, int)
{
    return SharedTypefaces::getRegularFont (13.0f);
}

void LookAndFeelContextMenu::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool, bool)
{
    const auto font = getTextButtonFont (button, button.getHeight()).withHeight (13.0f);
    const auto width = button.getWidth();
    const auto height = button.getHeight();
    const auto y = juce::jmin (4, lookandfeel::nearest ((float)height * 0.3f));
    const auto corner = juce::jmin (width, height) / 2;
    const auto fontLimit = lookandfeel::nearest (font.getHeight() * 0.6f);
    const auto leftIndent = juce::jmin (fontLimit, 2 + corner / (button.isConnectedOnLeft() ? 4 : 2));
    const auto rightIndent = juce::jmin (fontLimit, 2 + corner / (button.isConnectedOnRight() ? 4 : 2));
    const auto textWidth = width - leftIndent - rightIndent;
    const auto colour = button.findColour (button.getToggleState() ? juce::TextButton::textColourOnId : juce::TextButton::textColourOffId)
                            .withMultipliedAlpha (button.isEnabled() ? 1.0f : 0.5f);
    lookandfeel::drawTextTwice (g, button.getButtonText(), font,
                                { juce::Colour (0x55000000), { leftIndent + 1, y + 1, textWidth, height - 2 * y } },
                                { colour, { leftIndent, y, textWidth, height - 2 * y } }, juce::Justification::centred, 2);
}

void LookAndFeelContextMenu::drawToggleButton (juce::Graphics& g, juce::ToggleButton& button, bool shouldDrawButtonAsHighlighted,
                                               bool shouldDrawButtonAsDown)
{
    const auto width = button.getWidth();
    const auto height = button.getHeight();
    lookandfeel::drawShadowedToggle (*this, g, button, SharedTypefaces::getRegularFont (13.0f), { 27, 1, width - 28, height },
                                     { button.findColour (juce::ToggleButton::textColourId), { 26, 0, width - 28, height } },
                                     shouldDrawButtonAsHighlighted, shouldDrawButtonAsDown);
}

void LookAndFeelContextMenu::changeToggleButtonWidthToFitText (juce::ToggleButton& button)
{
    lookandfeel::fitToggleButtonWidth (button);
}

void LookAndFeelContextMenu::drawTickBox (juce::Graphics& g, juce::Component&, float x, float y, float, float, bool ticked, bool, bool,
                                          bool)
{
    lookandfeel::drawImageTickBox (g, x, y, ticked);
}

void LookAndFeelContextMenu::drawPopupMenuBackground (juce::Graphics& g, int, int)
{
    g.fillAll (findColour (juce::PopupMenu::backgroundColourId));
}

void LookAndFeelContextMenu::drawPopupMenuItem (juce::Graphics& g, const juce::Rectangle<int>& area, bool isSeparator, bool isActive,
                                                bool isHighlighted, bool isTicked, bool hasSubMenu, const juce::String& text,
                                                const juce::String& shortcutKeyText, const juce::Drawable* icon,
                                                const juce::Colour* textColour)
{
    lookandfeel::drawMenuItem (*this, g, area, isSeparator, isActive, isHighlighted, isTicked, hasSubMenu, text, shortcutKeyText, icon,
                               textColour, { getPopupMenuFont(), 4, juce::Colour (0x20000000), juce::Colour (0x10FFFFFF) });
}

juce::Font LookAndFeelContextMenu::getPopupMenuFont()
{
    return SharedTypefaces::getRegularFont (13.0f);
}

void LookAndFeelContextMenu::drawComboBox (juce::Graphics& g, int width, int height, bool isButtonDown, int, int, int, int, juce::ComboBox&)
{
    lookandfeel::drawButtonFace (g, faceImages, getComboBoxFace (isButtonDown), width, height);
}

juce::Font LookAndFeelContextMenu::getComboBoxFont (juce::ComboBox& box)
{
    return SharedTypefaces::getRegularFont (juce::jmin (15.0f, (float)box.getHeight() * 0.85f));
}

void LookAndFeelContextMenu::positionComboBoxText (juce::ComboBox& box, juce::Label& label)
{
    label.setBounds (1, 1, box.getWidth() - 2, box.getHeight() - 2);
    label.setFont (getComboBoxFont (box));
}

void LookAndFeelContextMenu::drawLabel (juce::Graphics& g, juce::Label& label)
{
    lookandfeel::drawShadowedLabel (g, label, getLabelFont (label), false);
}

juce::Font LookAndFeelContextMenu::getLabelFont (juce::Label& label)
{
    // The text of a combo box keeps the box's font.
    if (auto* box = dynamic_cast<juce::ComboBox*> (label.getParentComponent()))
        return getComboBoxFont (*box);
    return SharedTypefaces::getRegularFont (13.0f);
}

juce::Rectangle<int> LookAndFeelContextMenu::getTooltipBounds (const juce::String& tipText, juce::Point<int> screenPos,
                                                               juce::Rectangle<int> parentArea)
{
    return lookandfeel::placeTooltip (getTooltipSize (tipText), screenPos, parentArea);
}

void LookAndFeelContextMenu::drawTooltip (juce::Graphics& g, const juce::String& text, int width, int height)
{
    lookandfeel::drawTooltipBox (*this, g, text, width, height, SharedTypefaces::getRegularFont (tooltipFontHeight), tooltipMaximumWidth);
}

} // namespace brevalon
