#pragma once

#include "lookandfeel/Drawing.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>

namespace brevalon
{

// The look-and-feel of the product editor's parameter controls: value boxes drawn from a
// stretched image, film-strip knobs, a dark pop-up menu and the shared regular face for all
// text. Draws only; holds no state beyond its colours. Message thread only.
class LookAndFeelCustom : public juce::LookAndFeel_V3
{
public:
    LookAndFeelCustom();

    // Frames in a knob strip (both strips hold 150).
    static constexpr int knobFrameCount = 150;
    // Columns of the value-box image drawn unstretched at either end.
    static constexpr int valueBoxCap = 10;

    // The film-strip frame for `value` in minimum..maximum: ceiling((frames - 1) x proportion),
    // so any value above the minimum leaves frame 0 and only the maximum reaches the last frame.
    static int getKnobFrameIndex (double value, double minimum, double maximum, int frameCount = knobFrameCount);

    // The value-box image of `imageWidth` x `imageHeight` sliced across a width x height area.
    static std::array<lookandfeel::ImageSlice, 3> getValueBoxSlices (int imageWidth, int imageHeight, int width, int height);

    // Draws "touch_display_background_png" sliced across (0, 0, width, height).
    static void drawValueBoxImage (juce::Graphics& g, int width, int height);

    juce::Typeface::Ptr getTypefaceForFont (const juce::Font& font) override;
    std::unique_ptr<juce::DropShadower> createDropShadowerForComponent (juce::Component& component) override;

    void drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    void drawToggleButton (juce::Graphics& g, juce::ToggleButton& button, bool shouldDrawButtonAsHighlighted,
                           bool shouldDrawButtonAsDown) override;
    void drawTickBox (juce::Graphics& g, juce::Component& component, float x, float y, float w, float h, bool ticked, bool isEnabled,
                      bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

    void drawTextEditorOutline (juce::Graphics& g, int width, int height, juce::TextEditor& editor) override;

    void drawPopupMenuBackground (juce::Graphics& g, int width, int height) override;
    void drawPopupMenuItem (juce::Graphics& g, const juce::Rectangle<int>& area, bool isSeparator, bool isActive, bool isHighlighted,
                            bool isTicked, bool hasSubMenu, const juce::String& text, const juce::String& shortcutKeyText,
                            const juce::Drawable* icon, const juce::Colour* textColour) override;

    void drawComboBox (juce::Graphics& g, int width, int height, bool isButtonDown, int buttonX, int buttonY, int buttonW, int buttonH,
                       juce::ComboBox& box) override;
    juce::Font getComboBoxFont (juce::ComboBox& box) override;
    void positionComboBoxText (juce::ComboBox& box, juce::Label& label) override;

    void drawLabel (juce::Graphics& g, juce::Label& label) override;

    void drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos, float minSliderPos, float maxSliderPos,
                           juce::Slider::SliderStyle style, juce::Slider& slider) override;
    int getSliderThumbRadius (juce::Slider& slider) override;
    void drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPosProportional, float rotaryStartAngle,
                           float rotaryEndAngle, juce::Slider& slider) override;
    juce::Label* createSliderTextBox (juce::Slider& slider) override;

protected:
    // The colours shared by the custom look-and-feels.
    void applyColourScheme();
    // The label's text colour, at half alpha when it is disabled.
    static juce::Colour labelTextColour (const juce::Label& label);
};

} // namespace brevalon
