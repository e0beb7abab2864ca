#pragma once

#include "lookandfeel/Drawing.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>

namespace brevalon
{

// The look-and-feel of overlay panels and their controls: image-faced buttons with a highlight
// copy of their text, image tick boxes, framed text fields and labels, dark menus and white
// tooltips, all in the shared regular face. Draws only. Message thread only.
class LookAndFeelOverlay : public juce::LookAndFeel_V3
{
public:
    LookAndFeelOverlay();

    static constexpr float tooltipFontHeight = 15.5f;
    static constexpr float tooltipMaximumWidth = 220.0f;

    // The face of a text button: pressed, else mouse-over, else normal.
    static lookandfeel::ButtonFace getButtonFace (bool mouseOver, bool pressed);
    // The face of a combo box: pressed while the button is down, else normal (never mouse-over).
    static lookandfeel::ButtonFace getComboBoxFace (bool buttonDown);
    // A button face image of `imageWidth` x `imageHeight` sliced across a width x height area.
    static std::array<lookandfeel::ImageSlice, 3> getButtonFaceSlices (int imageWidth, int imageHeight, int width, int height);
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

    // The overlay button faces.
    static constexpr lookandfeel::FaceImages faceImages{ "button_up_png", "button_over_png", "button_down_png" };
};

} // namespace brevalon
