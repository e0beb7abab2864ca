#pragma once

#include "lookandfeel/Drawing.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace brevalon
{

// The look-and-feel of the editor, its tooltips and its toolbar: image-faced buttons with a
// shadow copy of their text, a preset box whose face never changes and whose text is bold, a
// dark grey preset list and white tooltips, in the shared regular face. Draws only. Message
// thread only.
class LookAndFeelToolbar : public juce::LookAndFeel_V3
{
public:
    LookAndFeelToolbar();

    static constexpr float tooltipFontHeight = 13.0f;
    static constexpr float tooltipMaximumWidth = 220.0f;

    // The preset box always shows the normal face, under the mouse and while pressed alike.
    static lookandfeel::ButtonFace getComboBoxFace (bool buttonDown);
    // The tooltip window's size for this text (origin 0, 0).
    static juce::Rectangle<int> getTooltipSize (const juce::String& text);

    juce::Typeface::Ptr getTypefaceForFont (const juce::Font& font) override;

    void drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    juce::Font getTextButtonFont (juce::TextButton& button, int buttonHeight) override;
    void drawButtonText (juce::Graphics& g, juce::TextButton& button, bool shouldDrawButtonAsHighlighted,
                         bool shouldDrawButtonAsDown) override;
    void drawToggleButton (juce::Graphics& g, juce::ToggleButton& button, bool shouldDrawButtonAsHighlighted,
                           bool shouldDrawButtonAsDown) override;
    void changeToggleButtonWidthToFitText (juce::ToggleButton& button) override;
    void drawTickBox (juce::Graphics& g, juce::Component& component, float x, float y, float w, float h, bool ticked, bool isEnabled,
                      bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

    void fillTextEditorBackground (juce::Graphics& g, int width, int height, juce::TextEditor& editor) override;
    void drawTextEditorOutline (juce::Graphics& g, int width, int height, juce::TextEditor& editor) override;

    void drawPopupMenuBackground (juce::Graphics& g, int width, int height) override;
    void drawPopupMenuItem (juce::Graphics& g, const juce::Rectangle<int>& area, bool isSeparator, bool isActive, bool isHighlighted,
                            bool isTicked, bool hasSubMenu, const juce::String& text, const juce::String& shortcutKeyText,
                            const juce::Drawable* icon, const juce::Colour* textColour) override;
    juce::Font getPopupMenuFont() override;

    void drawComboBox (juce::Graphics& g, int width, int height, bool isButtonDown, int buttonX, int buttonY, int buttonW, int buttonH,
                       juce::ComboBox& box) override;
    juce::Font getComboBoxFont (juce::ComboBox& box) override;
    void positionComboBoxText (juce::ComboBox& box, juce::Label& label) override;

    void drawLabel (juce::Graphics& g, juce::Label& label) override;
    juce::Font getLabelFont (juce::Label& label) override;

    juce::Rectangle<int> getTooltipBounds (const juce::String& tipText, juce::Point<int> screenPos,
                                           juce::Rectangle<int> parentArea) override;
    void drawTooltip (juce::Graphics& g, const juce::String& text, int width, int height) override;
};

} // namespace brevalon
