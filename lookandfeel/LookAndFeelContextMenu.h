#pragma once

#include "lookandfeel/Drawing.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace brevalon
{

// The look-and-feel of the right-click menus: white menus with black text and a light grey
// highlight, image-faced buttons with a shadow copy of their text, in the shared regular face.
// Draws only. Message thread only.
class LookAndFeelContextMenu : public juce::LookAndFeel_V3
{
public:
    LookAndFeelContextMenu();

    static constexpr float tooltipFontHeight = 13.0f;
    static constexpr float tooltipMaximumWidth = 200.0f;

    // Combo boxes always show the normal face.
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

    // The face set shared with the toolbar.
    static constexpr lookandfeel::FaceImages faceImages{ "button_png", "button_s2_png", "button_s3_png" };
};

} // namespace brevalon
