#include "lookandfeel/LookAndFeelOverlayButton.h"

#include "controls/SharedTypefaces.h"
#include "lookandfeel/Drawing.h"

namespace brevalon
{

namespace
{
const lookandfeel::ColourTable overlayButtonColours{
    { juce::TextButton::buttonColourId, 0xFFFFFFFF },
    { juce::TextButton::buttonOnColourId, 0xFFFFFFFF },
    { juce::TextButton::textColourOnId, 0xFFFFFFFF },
    { juce::TextButton::textColourOffId, 0xFFFFFFFF },
    { juce::TextEditor::highlightColourId, 0xFF000000 },
    { juce::TextEditor::highlightedTextColourId, 0xFFFFFFFF },
    { juce::TextEditor::focusedOutlineColourId, 0xFFFFFFFF },
    { juce::ScrollBar::thumbColourId, 0xFFFFFFFF },
    { juce::PopupMenu::backgroundColourId, 0xFF383838 },
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
    { juce::BubbleComponent::backgroundColourId, 0xEEEEEEBB },
    { juce::DirectoryContentsDisplayComponent::highlightColourId, 0xFF000000 },
    { juce::CodeEditorComponent::highlightColourId, 0xFF000000 },
    { juce::ColourSelector::labelTextColourId, 0xFFFFFFFF },
};
} // namespace

LookAndFeelOverlayButton::LookAndFeelOverlayButton()
{
    lookandfeel::applyColours (*this, overlayButtonColours);
}

void LookAndFeelOverlayButton::drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour&, bool, bool) {}

juce::Font LookAndFeelOverlayButton::getTextButtonFont (juce::TextButton&, int)
{
    return SharedTypefaces::getBoldFont (fontHeight);
}

void LookAndFeelOverlayButton::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool, bool)
{
    const auto width = button.getWidth();
    const auto height = button.getHeight();
    const auto y = juce::jmin (4, lookandfeel::nearest ((float)height * 0.3f));
    lookandfeel::drawTextTwice (g, button.getButtonText(), SharedTypefaces::getBoldFont (fontHeight),
                                { juce::Colours::white, { 1, y + 1, width - 2, height - 2 * y } },
                                { juce::Colour (0xFF111111), { 1, y, width - 2, height - 2 * y } }, juce::Justification::centred, 2);
}

} // namespace brevalon
