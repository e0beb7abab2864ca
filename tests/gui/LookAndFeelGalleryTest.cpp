#include "Screenshot.h"
#include "lookandfeel/LfTextEditor.h"
#include "lookandfeel/LookAndFeelContextMenu.h"
#include "lookandfeel/LookAndFeelCustom.h"
#include "lookandfeel/LookAndFeelCustom2.h"
#include "lookandfeel/LookAndFeelCustom3.h"
#include "lookandfeel/LookAndFeelOverlay.h"
#include "lookandfeel/LookAndFeelOverlayButton.h"
#include "lookandfeel/LookAndFeelToolbar.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace brevalon
{
namespace
{

// A text button that always draws as hovered or pressed, for the gallery.
class StateButton : public juce::TextButton
{
public:
    StateButton (const juce::String& buttonText, bool overState, bool downState)
        : juce::TextButton (buttonText),
          over (overState),
          down (downState)
    {
    }

    void paintButton (juce::Graphics& g, bool, bool) override { juce::TextButton::paintButton (g, over, down); }

private:
    bool over, down;
};

// A pop-up menu's background and items drawn by the look-and-feel, as an open menu shows them.
class MenuSample : public juce::Component
{
public:
    static constexpr int itemHeight = 22;
    static constexpr int separatorHeight = 8;

    void paint (juce::Graphics& g) override
    {
        auto& drawing = getLookAndFeel();
        drawing.drawPopupMenuBackground (g, getWidth(), getHeight());
        const auto textColour = drawing.findColour (juce::PopupMenu::textColourId);
        int y = 2;
        auto item = [&] (const juce::String& text, bool highlighted, bool ticked, bool active, bool subMenu, const juce::String& shortcut)
        {
            drawing.drawPopupMenuItem (g, { 0, y, getWidth(), itemHeight }, false, active, highlighted, ticked, subMenu, text, shortcut,
                                       nullptr, &textColour);
            y += itemHeight;
        };
        item ("Default", false, true, true, false, {});
        item ("Bright", true, false, true, false, {});
        drawing.drawPopupMenuItem (g, { 0, y, getWidth(), separatorHeight }, true, true, false, false, false, {}, {}, nullptr, nullptr);
        y += separatorHeight;
        item ("Copy state", false, false, true, false, "Ctrl+C");
        item ("User presets", false, false, true, true, {});
        item ("Unavailable", false, false, false, false, {});
    }
};

class TooltipSample : public juce::Component
{
public:
    explicit TooltipSample (const juce::String& tipText)
        : text (tipText)
    {
    }

    void fitToText()
    {
        setSize (getLookAndFeel().getTooltipBounds (text, { 0, 0 }, { 0, 0, 2000, 2000 }).getWidth(),
                 getLookAndFeel().getTooltipBounds (text, { 0, 0 }, { 0, 0, 2000, 2000 }).getHeight());
    }

    void paint (juce::Graphics& g) override { getLookAndFeel().drawTooltip (g, text, getWidth(), getHeight()); }

private:
    juce::String text;
};

// Every control the look-and-feels draw, in all their states, laid out on one panel.
class Gallery : public juce::Component
{
public:
    Gallery (juce::LookAndFeel& drawing, juce::Colour backdropColour)
        : backdrop (backdropColour)
    {
        setLookAndFeel (&drawing);

        const char* const states[] = { "Normal", "Over", "Down", "On", "Disabled" };
        for (int i = 0; i < 5; ++i)
        {
            auto* button = buttons.add (std::make_unique<StateButton> (states[i], i == 1, i == 2));
            button->setClickingTogglesState (false);
            button->setToggleState (i == 3, juce::dontSendNotification);
            button->setEnabled (i != 4);
            addAndMakeVisible (*button);
        }

        const char* const toggleTexts[] = { "Linear mode", "Velocity mode", "Disabled on" };
        for (int i = 0; i < 3; ++i)
        {
            auto* toggle = toggles.add (std::make_unique<juce::ToggleButton> (toggleTexts[i]));
            toggle->setToggleState (i > 0, juce::dontSendNotification);
            toggle->setEnabled (i < 2);
            addAndMakeVisible (*toggle);
        }

        for (const auto* name : { "Default", "Bright", "Warm" })
            combo.addItem (name, combo.getNumItems() + 1);
        combo.setSelectedId (2, juce::dontSendNotification);
        addAndMakeVisible (combo);

        label.setText ("Sensitivity", juce::dontSendNotification);
        addAndMakeVisible (label);
        valueLabel.setText ("21.5 kHz", juce::dontSendNotification);
        valueLabel.setJustificationType (juce::Justification::centred);
        addAndMakeVisible (valueLabel);

        // A text editor colours its text as it is inserted: with the look-and-feel in force.
        addAndMakeVisible (editor);
        editor.setText ("My preset 1");
        addAndMakeVisible (readOnly);
        readOnly.setText ("Version 1.0.0");
        readOnly.setReadOnly (true);

        addAndMakeVisible (menu);
        addAndMakeVisible (shortTip);
        addAndMakeVisible (longTip);

        const double knobValues[] = { 0.0, 0.5, 1.0 };
        for (int i = 0; i < 6; ++i)
        {
            auto* knob = knobs.add (std::make_unique<juce::Slider> (juce::Slider::RotaryHorizontalVerticalDrag, juce::Slider::NoTextBox));
            knob->setRange (0.0, 1.0);
            knob->setValue (knobValues[i % 3], juce::dontSendNotification);
            addAndMakeVisible (*knob);
        }

        for (auto* bar : { &verticalBar, &horizontalBar })
        {
            bar->setRange (20.0, 25.0, 0.1);
            bar->setValue (21.5, juce::dontSendNotification);
            bar->setTextValueSuffix (" kHz");
            addAndMakeVisible (*bar);
        }
        verticalBar.setSliderStyle (juce::Slider::LinearBarVertical);
        horizontalBar.setSliderStyle (juce::Slider::LinearBar);

        setSize (560, 420);
        shortTip.fitToText();
        longTip.fitToText();
    }

    ~Gallery() override { setLookAndFeel (nullptr); }

    void paint (juce::Graphics& g) override { g.fillAll (backdrop); }

    void resized() override
    {
        int x = 10;
        for (auto* button : buttons)
        {
            button->setBounds (x, 10, 96, 26);
            x += 104;
        }
        for (int i = 0; i < toggles.size(); ++i)
            toggles[i]->setBounds (10 + i * 150, 52, 140, 22);
        combo.setBounds (10, 90, 160, 22);
        label.setBounds (180, 90, 100, 22);
        valueLabel.setBounds (290, 91, 50, 20);
        editor.setBounds (350, 88, 100, 24);
        readOnly.setBounds (456, 88, 94, 24);
        menu.setBounds (10, 126, 170, 2 + 5 * MenuSample::itemHeight + MenuSample::separatorHeight + 2);
        shortTip.setTopLeftPosition (200, 126);
        longTip.setTopLeftPosition (200, 160);
        for (int i = 0; i < 3; ++i)
            knobs[i]->setBounds (10 + i * 80, 276, 70, 70);
        for (int i = 3; i < 6; ++i)
            knobs[i]->setBounds (250 + (i - 3) * 60, 286, 50, 50);
        verticalBar.setBounds (440, 276, 55, 70);
        horizontalBar.setBounds (10, 360, 120, 22);
    }

private:
    juce::Colour backdrop;
    juce::OwnedArray<StateButton> buttons;
    juce::OwnedArray<juce::ToggleButton> toggles;
    juce::ComboBox combo;
    juce::Label label, valueLabel;
    juce::TextEditor editor, readOnly;
    MenuSample menu;
    TooltipSample shortTip{ "Undo" };
    TooltipSample longTip{ "Drag to set the corner frequency and the slope; double-click to type a value." };
    juce::OwnedArray<juce::Slider> knobs;
    juce::Slider verticalBar, horizontalBar;
};

// The component painted at `scale` into an image of that many times its size.
juce::Image renderScaled (juce::Component& component, int scale)
{
    juce::Image image (juce::Image::ARGB, component.getWidth() * scale, component.getHeight() * scale, true);
    juce::Graphics g (image);
    g.addTransform (juce::AffineTransform::scale ((float)scale));
    component.paintEntireComponent (g, true);
    return image;
}

TEST (LookAndFeelGallery, RendersEveryLookAndFeelsControlsAtOneAndTwoTimesScale)
{
    struct Entry
    {
        const char* name;
        std::function<std::unique_ptr<juce::LookAndFeel>()> create;
        juce::Colour backdrop;
    };
    const juce::Colour dark (test::screenshotBackdrop), light (0xFFD4D6D8);
    const Entry entries[] = {
        { "custom", [] { return std::make_unique<LookAndFeelCustom>(); }, dark },
        { "custom2", [] { return std::make_unique<LookAndFeelCustom2>(); }, dark },
        { "custom3", [] { return std::make_unique<LookAndFeelCustom3>(); }, dark },
        { "overlay", [] { return std::make_unique<LookAndFeelOverlay>(); }, light },
        { "text-editor", [] { return std::make_unique<LfTextEditor>(); }, light },
        { "context-menu", [] { return std::make_unique<LookAndFeelContextMenu>(); }, dark },
        { "overlay-button", [] { return std::make_unique<LookAndFeelOverlayButton>(); }, light },
        { "toolbar", [] { return std::make_unique<LookAndFeelToolbar>(); }, dark },
    };
    for (const auto& entry : entries)
    {
        const auto lookAndFeel = entry.create();
        Gallery gallery (*lookAndFeel, entry.backdrop);
        const auto single = renderScaled (gallery, 1);
        const auto twice = renderScaled (gallery, 2);
        const auto name = juce::String ("lookandfeel-gallery-") + entry.name;
        EXPECT_TRUE (test::saveImage (single, name).existsAsFile());
        EXPECT_TRUE (test::saveImage (twice, name + "-2x").existsAsFile());

        // The 2x rendering is the same picture: its pixels average to the 1x ones.
        double difference = 0.0;
        for (int y = 0; y < single.getHeight(); ++y)
            for (int x = 0; x < single.getWidth(); ++x)
            {
                const auto a = single.getPixelAt (x, y);
                float brightness = 0.0f;
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx)
                        brightness += twice.getPixelAt (2 * x + dx, 2 * y + dy).getBrightness() / 4.0f;
                difference += std::abs (brightness - a.getBrightness());
            }
        EXPECT_LT (difference / (single.getWidth() * single.getHeight()), 0.05) << entry.name;
    }
}

} // namespace
} // namespace brevalon
