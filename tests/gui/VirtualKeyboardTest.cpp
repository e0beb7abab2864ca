#include "ComponentDriver.h"
#include "Screenshot.h"

#include "controls/BetterTextEditor.h"
#include "controls/VirtualKeyboard.h"

#include <gtest/gtest.h>

namespace brevalon
{
namespace
{
using test::ComponentDriver;

// A name field restricted as the user-preset dialogs restrict it, with the keyboard below.
struct KeyboardBench : public juce::Component
{
    KeyboardBench()
    {
        field.setInputRestrictions (32, "1234567890abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ ()-+,");
        addAndMakeVisible (field);
        addAndMakeVisible (keyboard);
        // Somewhere else for the focus to be.
        setWantsKeyboardFocus (true);
        setSize (320, 120);
        field.setBounds (10, 5, 180, 20);
        keyboard.setBounds (10, 30, VirtualKeyboard::totalWidth, VirtualKeyboard::totalHeight);
    }

    juce::Point<int> centreOf (juce::Button& button) const { return keyboard.getPosition() + button.getBounds().getCentre(); }
    juce::Point<int> keyCentre (juce::juce_wchar c) const
    {
        auto* key = keyboard.findKey (c);
        EXPECT_NE (key, nullptr) << juce::String::charToString (c);
        return key != nullptr ? centreOf (*key) : juce::Point<int>();
    }

    BetterTextEditor field{ "presetNameEditor" };
    VirtualKeyboard keyboard{ &field };
};

// One click on the keyboard: a character key, or one of the function keys.
enum : juce::juce_wchar
{
    shift = 1,
    space = 2,
    back = 3
};

struct TypingCase
{
    const char* description;
    const char* initialText;
    juce::Range<int> initialSelection; // caret at its end
    std::vector<juce::juce_wchar> clicks;
    const char* expectedText;
    bool shiftOnAfterwards;
};

TEST (VirtualKeyboard, TypesAtTheCaretWithAOneShotShift)
{
    const juce::String thirtyTwo ("abcdefghijklmnopqrstuvwxyzABCDEF");
    const TypingCase cases[] = {
        { "shift starts on, one letter turns it off", "", {}, { 'a', 'a' }, "Aa", false },
        { "shift twice before a letter leaves it off", "", {}, { 'a', shift, shift, 'b' }, "Ab", false },
        { "shift once at the start gives lower case", "", {}, { shift, 'q' }, "q", false },
        { "shift after a letter gives one capital", "", {}, { 'm', shift, 'y', 'x' }, "MYx", false },
        { "digits and signs ignore case and still end shift", "", {}, { '7', ',', '(', 'k' }, "7,(k", false },
        { "space between letters", "", {}, { 'a', space, 'b' }, "A b", false },
        { "space leaves shift as it is", "", {}, { space, 'z' }, " Z", false },
        { "back deletes the character before the caret", "abc", { 2, 2 }, { back }, "ac", true },
        { "back at position 0 does nothing", "Name", { 0, 0 }, { back }, "Name", true },
        { "back with a selection deletes only the one before the caret", "abcdef", { 1, 4 }, { back }, "abcef", true },
        { "keys insert over a selection", "abcdef", { 1, 4 }, { 'x' }, "aXef", false },
        { "at the length limit the key is dropped, shift ends all the same",
          thirtyTwo.toRawUTF8(),
          { 32, 32 },
          { 'a' },
          thirtyTwo.toRawUTF8(),
          false },
    };
    for (const auto& c : cases)
    {
        KeyboardBench bench;
        ComponentDriver driver (bench);
        bench.field.setText (c.initialText, false);
        bench.field.setHighlightedRegion (c.initialSelection);
        for (const auto click : c.clicks)
        {
            if (click == shift)
                driver.click (bench.centreOf (bench.keyboard.getShiftButton()));
            else if (click == space)
                driver.click (bench.centreOf (bench.keyboard.getSpaceButton()));
            else if (click == back)
                driver.click (bench.centreOf (bench.keyboard.getBackButton()));
            else
                driver.click (bench.keyCentre (click));
        }
        ComponentDriver::deliverPendingMessages();

        EXPECT_EQ (bench.field.getText(), c.expectedText) << c.description;
        EXPECT_EQ (bench.keyboard.getShiftButton().getToggleState(), c.shiftOnAfterwards) << c.description;
        // The letter keys show the case that the next click types.
        const auto* letter = bench.keyboard.findKey ('g');
        ASSERT_NE (letter, nullptr);
        EXPECT_EQ (letter->getButtonText(), c.shiftOnAfterwards ? "G" : "g") << c.description;
        EXPECT_EQ (bench.keyboard.findKey ('+')->getButtonText(), "+");
    }
}

TEST (VirtualKeyboard, TheFieldHasTheFocusAfterEveryKeyWithoutItsTextSelected)
{
    KeyboardBench bench;
    ComponentDriver driver (bench);
    bench.field.setText ("Sound", false);

    for (auto* button : { bench.keyboard.findKey ('q'), &bench.keyboard.getShiftButton(), &bench.keyboard.getSpaceButton(),
                          &bench.keyboard.getBackButton(), bench.keyboard.findKey ('5') })
    {
        // Somewhere else first, so the key has to hand the focus back.
        bench.grabKeyboardFocus();
        ASSERT_FALSE (bench.field.hasKeyboardFocus (false));

        driver.click (bench.centreOf (*button));
        ComponentDriver::deliverPendingMessages();

        EXPECT_TRUE (bench.field.hasKeyboardFocus (false)) << button->getButtonText();
        EXPECT_TRUE (bench.field.getHighlightedRegion().isEmpty()) << button->getButtonText();
        EXPECT_FALSE (button->hasKeyboardFocus (false));
    }

    // A real keyboard types on where the keys left off.
    const auto before = bench.field.getText();
    driver.typeText ("x");
    EXPECT_EQ (bench.field.getText(), before + "x");
}

TEST (VirtualKeyboard, GivingTheFieldFocusNeverSelectsItsText)
{
    KeyboardBench bench;
    ComponentDriver driver (bench);
    bench.field.setText ("Warm Master", false);
    bench.field.setCaretPosition (4);

    bench.field.grabKeyboardFocus();
    ComponentDriver::deliverPendingMessages();
    EXPECT_TRUE (bench.field.hasKeyboardFocus (false));
    EXPECT_TRUE (bench.field.getHighlightedRegion().isEmpty());
    EXPECT_EQ (bench.field.getCaretPosition(), 4);
    EXPECT_FALSE (bench.field.isTextInputActive()) << "no input method or touch keyboard";

    // A click into the field places the caret instead of selecting.
    bench.grabKeyboardFocus();
    driver.click (bench.field.getBounds().getTopLeft() + juce::Point<int> (3, 10));
    EXPECT_TRUE (bench.field.hasKeyboardFocus (false));
    EXPECT_TRUE (bench.field.getHighlightedRegion().isEmpty());
}

TEST (VirtualKeyboard, LaysOutThreeRowsADigitBlockAndTheBottomRow)
{
    KeyboardBench bench;
    auto& keyboard = bench.keyboard;
    const std::pair<juce::juce_wchar, juce::Rectangle<int>> keys[] = {
        { 'q', { 0, 0, 20, 20 } },    { 'w', { 21, 0, 20, 20 } },   { '+', { 210, 0, 20, 20 } },  { 'a', { 10, 21, 20, 20 } },
        { '-', { 199, 21, 20, 20 } }, { 'z', { 21, 42, 20, 20 } },  { ')', { 189, 42, 20, 20 } }, { '7', { 240, 0, 20, 20 } },
        { '9', { 282, 0, 20, 20 } },  { '4', { 240, 21, 20, 20 } }, { '3', { 282, 42, 20, 20 } }, { '0', { 240, 63, 41, 20 } },
        { ',', { 282, 63, 20, 20 } },
    };
    for (const auto& [character, bounds] : keys)
    {
        auto* key = keyboard.findKey (character);
        ASSERT_NE (key, nullptr) << juce::String::charToString (character);
        EXPECT_EQ (key->getBounds(), bounds) << juce::String::charToString (character);
        EXPECT_TRUE (key->getTooltip().isEmpty());
        EXPECT_FALSE (key->getWantsKeyboardFocus());
    }
    EXPECT_EQ (keyboard.getShiftButton().getBounds(), juce::Rectangle<int> (0, 63, 41, 20));
    EXPECT_EQ (keyboard.getSpaceButton().getBounds(), juce::Rectangle<int> (42, 63, 146, 20));
    EXPECT_EQ (keyboard.getBackButton().getBounds(), juce::Rectangle<int> (189, 63, 41, 20));

    // Every key lies inside 302 × 83, and no two overlap.
    juce::Array<juce::Rectangle<int>> all;
    for (auto* child : keyboard.getChildren())
    {
        const auto bounds = child->getBounds();
        EXPECT_TRUE (juce::Rectangle<int> (302, 83).contains (bounds)) << bounds.toString();
        for (const auto& other : all)
            EXPECT_FALSE (other.intersects (bounds)) << bounds.toString() << " and " << other.toString();
        all.add (bounds);
    }
    EXPECT_EQ (all.size(), 11 + 10 + 9 + 11 + 3);
}

TEST (VirtualKeyboard, Screenshot)
{
    KeyboardBench bench;
    bench.field.setText ("Warm Master", false);
    const auto file = test::saveScreenshot (bench, "virtual_keyboard");
    EXPECT_TRUE (file.existsAsFile());
}

} // namespace
} // namespace brevalon
