#include "lookandfeel/LookAndFeelToolbar.h"

#include "controls/SharedTypefaces.h"
#include "lookandfeel/LookAndFeelContextMenu.h"

namespace brevalon
{

namespace
{
const lookandfeel::ColourTable toolbarColours{
    { juce::TextButton::buttonColourId, 0xFFFFFFFF },
    { juce::TextButton::buttonOnColourId, 0xFFFFFFFF },
    { juce::TextButton::textColourOnId, 0xFFFFFFFF },
    { juce::TextButton::textColourOffId, 0xFFFFFFFF },
    { juce::ToggleButton::textColourId, 0xFFFFFFFF },
    { juce::TextEditor::highlightColourId, 0xFF000000 },
    { juce::TextEditor::highlightedTextColourId, 0xFFFFFFFF },
    { juce::TextEditor::focusedOutlineColourId, 0xFFFFFFFF },
    { juce::Label::textColourId, 0xFFFFFFFF },
    { juce::ScrollBar::thumbColourId, 0xFFFFFFFF },
    { juce::PopupMenu::backgroundColourId, 0xFF323232 },
    { juce::PopupMenu::textColourId, 0xFFFFFFFF },
    { juce::PopupMenu::headerTextColourId, 0x66FFFFFF },
    { juce::PopupMenu::highlightedBackgroundColourId, 0x99222222 },
    { juce::ComboBox::buttonColourId, 0xFFBBBBFF },
    { juce::ComboBox::outlineColourId, 0x99808080 },
    { juce::ComboBox::textColourId, 0xFFFFFFFF },
    { juce::ComboBox::backgroundColourId, 0xFF000000 },
    { juce::TextPropertyComponent::outlineColourId, 0x99808080 },
    { juce::ListBox::outlineColourId, 0x99808080 },
    { juce::Slider::thumbColourId, 0xFFFFFFFF },
    { juce::Slider::trackColourId, 0x7FFFFFFF },
    { juce::Slider::textBoxHighlightColourId, 0xFF000000 },
    { juce::Slider::textBoxOutlineColourId, 0x99808080 },
    { juce::TooltipWindow::backgroundColourId, 0xFFFFFFFF },
    { juce::TabbedComponent::outlineColourId, 0xFF777777 },
    { juce::TabbedButtonBar::tabOutlineColourId, 0x80000000 },
    { juce::Toolbar::separatorColourId, 0x20000000 },
    { juce::BubbleComponent::backgroundColourId, 0xEEEEEEBB },
    { juce::DirectoryContentsDisplayComponent::highlightColourId, 0xFF000000 },
    { juce::CodeEditorComponent::highlightColourId, 0xFF000000 },
    { juce::ColourSelector::labelTextColourId, 0xFFFFFFFF },
};
} // namespace

LookAndFeelToolbar::LookAndFeelToolbar()
{
    lookandfeel::applyColours (*this, toolbarColours);
}

lookandfeel::ButtonFace LookAndFeelToolbar::getComboBoxFace (bool)
{
    return lookandfeel::ButtonFace::normal;
}

juce::Rectangle<int> LookAndFeelToolbar::getTooltipSize (const juce::String& text)
{
    return lookandfeel::tooltipSize (text, SharedTypefaces::getRegularFont (tooltipFontHeight), tooltipMaximumWidth);
}

juce::Typeface::Ptr LookAndFeelToolbar::getTypefaceForFont (const juce::Font&)
{
    return SharedTypefaces::getRegularTypeface();
}

void LookAndFeelToolbar::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour&,
                                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    lookandfeel::drawButtonFace (g, LookAndFeelContextMenu::faceImages,
                                 lookandfeel::faceForState (shouldDrawButtonAsHighlighted, shouldDrawButtonAsDown), button.getWidth(),
                                 button.getHeight());
}

juce::Font LookAndFeelToolbar::getTextButtonFont (juce::TextButton&, int)
{
    return SharedTypefaces::getRegularFont (12.2f);
}

void LookAndFeelToolbar::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool, bool)
{
    const auto width = button.getWidth();
    const auto height = button.getHeight();
    const auto y = juce::jmin (4, lookandfeel::nearest ((float)height * 0.3f));
    const auto colour = button.findColour (button.getToggleState() ? juce::TextButton::textColourOnId : juce::TextButton::textColourOffId)
                            .withMultipliedAlpha (button.isEnabled() ? 1.0f : 0.5f);
    lookandfeel::drawTextTwice (g, button.getButtonText(), getTextButtonFont (button, height).withHeight (13.0f),
                                { juce::Colour (0x55000000), { 2, y + 1, width - 2, height - 2 * y } },
                                { colour, { 1, y, width - 2, height - 2 * y } }, juce::Justification::centred, 2);
}

void LookAndFeelToolbar::drawToggleButton (juce::Graphics& g, juce::ToggleButton& button, bool shouldDrawButtonAsHighlighted,
                                           bool shouldDrawButtonAsDown)
{
    const auto width = button.getWidth();
    const auto height = button.getHeight();
    lookandfeel::drawShadowedToggle (*this, g, button, SharedTypefaces::getRegularFont (13.0f), { 27, 1, width - 26, height },
                                     { juce::Colours::black, { 26, 0, width - 27, height } }, shouldDrawButtonAsHighlighted,
                                     shouldDrawButtonAsDown);
}

void LookAndFeelToolbar::changeToggleButtonWidthToFitText (juce::ToggleButton& button)
{
    lookandfeel::fitToggleButtonWidth (button);
}

void LookAndFeelToolbar::drawTickBox (juce::Graphics& g, juce::Component&, float x, float y, float, float, bool ticked, bool, bool, bool)
{
    lookandfeel::drawImageTickBox (g, x, y, ticked);
}

void LookAndFeelToolbar::fillTextEditorBackground (juce::Graphics& g, int width, int height, juce::TextEditor& editor)
{
    g.setColour (editor.findColour (juce::TextEditor::backgroundColourId));
    g.fillRoundedRectangle (0.0f, 0.0f, (float)width, (float)height, 2.0f);
}

void LookAndFeelToolbar::drawTextEditorOutline (juce::Graphics& g, int width, int height, juce::TextEditor& editor)
{
    lookandfeel::drawBevelledEditorOutline (g, width, height, editor);
}

void LookAndFeelToolbar::drawPopupMenuBackground (juce::Graphics& g, int width, int height)
{
    g.setColour (findColour (juce::PopupMenu::backgroundColourId));
    g.fillRect (0, 0, width, height);
    g.setColour (juce::Colours::black.withAlpha (0.2f));
    g.drawRect (0, 0, width, height);
    g.setColour (juce::Colours::white.withAlpha (0.2f));
    g.fillRect (0, 0, width, 1);
    g.fillRect (0, 1, 1, height - 2);
}

void LookAndFeelToolbar::drawPopupMenuItem (juce::Graphics& g, const juce::Rectangle<int>& area, bool isSeparator, bool isActive,
                                            bool isHighlighted, bool isTicked, bool hasSubMenu, const juce::String& text,
                                            const juce::String& shortcutKeyText, const juce::Drawable* icon, const juce::Colour* textColour)
{
    lookandfeel::drawMenuItem (*this, g, area, isSeparator, isActive, isHighlighted, isTicked, hasSubMenu, text, shortcutKeyText, icon,
                               textColour, { getPopupMenuFont(), 5, juce::Colour (0x22000000), juce::Colour (0x10FFFFFF) });
}

juce::Font LookAndFeelToolbar::getPopupMenuFont()
{
    return SharedTypefaces::getRegularFont (12.2f);
}

void LookAndFeelToolbar::drawComboBox (juce::Graphics& g, int width, int height, bool isButtonDown, int, int, int, int, juce::ComboBox&)
{
    lookandfeel::drawButtonFace (g, LookAndFeelContextMenu::faceImages, getComboBoxFace (isButtonDown), width, height);
}

juce::Font LookAndFeelToolbar::getComboBoxFont (juce::ComboBox&)
{
    return SharedTypefaces::getBoldFont (12.2f);
}

void LookAndFeelToolbar::positionComboBoxText (juce::ComboBox& box, juce::Label& label)
{
    label.setBounds (1, 1, box.getWidth() - 2, box.getHeight() - 2);
    label.setFont (getComboBoxFont (box));
}

void LookAndFeelToolbar::drawLabel (juce::Graphics& g, juce::Label& label)
{
    lookandfeel::drawShadowedLabel (g, label, getLabelFont (label), true);
}

juce::Font LookAndFeelToolbar::getLabelFont (juce::Label& label)
{
    // The preset box's text keeps the box's bold font.
    if (auto* box = dynamic_cast<juce::ComboBox*> (label.getParentComponent()))
        return getComboBoxFont (*box);
    return SharedTypefaces::getRegularFont (12.2f);
}

juce::Rectangle<int> LookAndFeelToolbar::getTooltipBounds (const juce::String& tipText, juce::Point<int> screenPos,
                                                           juce::Rectangle<int> parentArea)
{
    return lookandfeel::placeTooltip (getTooltipSize (tipText), screenPos, parentArea);
}

void LookAndFeelToolbar::drawTooltip (juce::Graphics& g, const juce::String& text, int width, int height)
{
    lookandfeel::drawTooltipBox (*this, g, text, width, height, SharedTypefaces::getRegularFont (tooltipFontHeight), tooltipMaximumWidth);
}

} // namespace brevalon
