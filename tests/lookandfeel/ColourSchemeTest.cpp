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

struct Scheme
{
    const char* name;
    std::function<std::unique_ptr<juce::LookAndFeel>()> create;
};

template <typename LookAndFeelType> Scheme scheme (const char* name)
{
    return { name, [] { return std::make_unique<LookAndFeelType>(); } };
}

const Scheme schemes[] = {
    scheme<LookAndFeelCustom> ("custom"),
    scheme<LookAndFeelCustom2> ("custom2"),
    scheme<LookAndFeelCustom3> ("custom3"),
    scheme<LookAndFeelOverlay> ("overlay"),
    scheme<LfTextEditor> ("text editor"),
    scheme<LookAndFeelContextMenu> ("context menu"),
    scheme<LookAndFeelOverlayButton> ("overlay button"),
    scheme<LookAndFeelToolbar> ("toolbar"),
};

// The colours the drawing relies on and every scheme leaves as the framework sets them.
TEST (ColourScheme, ColoursTheDrawingReadsKeepTheFrameworkValues)
{
    const juce::LookAndFeel_V3 framework;
    const int kept[] = { juce::Slider::backgroundColourId,  juce::Slider::textBoxTextColourId, juce::Slider::textBoxBackgroundColourId,
                         juce::TextEditor::outlineColourId, juce::TooltipWindow::textColourId, juce::TooltipWindow::outlineColourId,
                         juce::Label::backgroundColourId,   juce::Label::outlineColourId,      juce::ToggleButton::tickColourId };
    for (const auto& s : schemes)
    {
        const auto lookAndFeel = s.create();
        for (const auto id : kept)
        {
            EXPECT_EQ (lookAndFeel->findColour (id), framework.findColour (id)) << s.name << " id 0x" << std::hex << id;
        }
    }
}

// Each scheme's distinctive colours: the menus, text fields and buttons.
TEST (ColourScheme, MenusFieldsAndButtonsTakeEachSchemesValues)
{
    struct Expected
    {
        const char* scheme;
        int id;
        juce::uint32 argb;
    };
    const Expected table[] = {
        { "custom", juce::PopupMenu::backgroundColourId, 0xFF151515 },
        { "custom", juce::PopupMenu::highlightedBackgroundColourId, 0xFF323232 },
        { "custom", juce::TextEditor::backgroundColourId, 0xFFE0E0E0 },
        { "custom", juce::TooltipWindow::backgroundColourId, 0xFFFFFFFF },
        { "custom2", juce::PopupMenu::backgroundColourId, 0xFF151515 },
        { "custom3", juce::Slider::trackColourId, 0x7FFFFFFF },
        { "overlay", juce::TextButton::textColourOffId, 0xFF111111 },
        { "overlay", juce::TextEditor::backgroundColourId, 0xFFF2F2F2 },
        { "overlay", juce::PopupMenu::backgroundColourId, 0xFF383838 },
        { "overlay", juce::ToggleButton::textColourId, 0xFF000000 },
        { "text editor", juce::TextEditor::backgroundColourId, 0xFFE3E3E3 },
        { "text editor", juce::TextEditor::shadowColourId, 0x50000000 },
        { "text editor", juce::PopupMenu::backgroundColourId, 0xFF383838 }, // the overlay's, kept
        { "text editor", juce::TextButton::buttonColourId, 0xFFFFFFFF },
        { "context menu", juce::PopupMenu::backgroundColourId, 0xFFFFFFFF },
        { "context menu", juce::PopupMenu::textColourId, 0xFF000000 },
        { "context menu", juce::PopupMenu::highlightedBackgroundColourId, 0xFFE0E0E0 },
        { "context menu", juce::PopupMenu::highlightedTextColourId, 0xFF000000 },
        { "overlay button", juce::TextEditor::focusedOutlineColourId, 0xFFFFFFFF },
        { "overlay button", juce::ComboBox::outlineColourId, 0x99808080 },
        { "toolbar", juce::PopupMenu::backgroundColourId, 0xFF323232 },
        { "toolbar", juce::PopupMenu::textColourId, 0xFFFFFFFF },
        { "toolbar", juce::Toolbar::separatorColourId, 0x20000000 },
        { "toolbar", juce::ToggleButton::textColourId, 0xFFFFFFFF },
    };
    for (const auto& s : schemes)
    {
        const auto lookAndFeel = s.create();
        for (const auto& e : table)
        {
            if (juce::String (e.scheme) == s.name)
            {
                EXPECT_EQ (lookAndFeel->findColour (e.id).getARGB(), e.argb) << s.name << " id 0x" << std::hex << e.id;
            }
        }
    }
}

// The three custom look-and-feels share one colour table.
TEST (ColourScheme, TheCustomVariantsAreColouredAlike)
{
    const LookAndFeelCustom custom;
    const LookAndFeelCustom2 custom2;
    const LookAndFeelCustom3 custom3;
    const int ids[] = { juce::TextButton::buttonColourId, juce::PopupMenu::backgroundColourId, juce::ComboBox::buttonColourId,
                        juce::Slider::textBoxHighlightColourId, juce::BubbleComponent::backgroundColourId };
    for (const auto id : ids)
    {
        EXPECT_EQ (custom2.findColour (id), custom.findColour (id));
        EXPECT_EQ (custom3.findColour (id), custom.findColour (id));
    }
}

} // namespace
} // namespace brevalon
