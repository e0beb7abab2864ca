#include "ComponentDriver.h"
#include "Screenshot.h"
#include "lookandfeel/LookAndFeelContextMenu.h"
#include "lookandfeel/LookAndFeelCustom.h"
#include "lookandfeel/LookAndFeelOverlay.h"
#include "lookandfeel/LookAndFeelToolbar.h"

#include "tests/support/SamePixels.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <typeinfo>

namespace brevalon
{
namespace
{

using test::ComponentDriver;

// Lets timers and posted messages run for a while (menus open and lay out asynchronously).
void runMessagesFor (int milliseconds)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32)milliseconds;
    while (juce::Time::getMillisecondCounter() < end)
    {
        ComponentDriver::deliverPendingMessages();
        juce::Thread::sleep (5);
    }
}

// The open pop-up menu's window, or null.
juce::Component* findMenuWindow()
{
    auto& desktop = juce::Desktop::getInstance();
    for (int i = 0; i < desktop.getNumComponents(); ++i)
        if (auto* window = desktop.getComponent (i); window->isShowing() && juce::String (typeid (*window).name()).contains ("MenuWindow"))
            return window;
    return nullptr;
}

void closeMenus()
{
    juce::PopupMenu::dismissAllActiveMenus();
    runMessagesFor (100);
}

// The pixels of the snapshot in `area` whose colour is exactly `colour`, as a share of the area.
float shareOfColour (const juce::Image& image, juce::Rectangle<int> area, juce::Colour colour)
{
    int matching = 0;
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            matching += image.getPixelAt (x, y) == colour ? 1 : 0;
    return (float)matching / (float)(area.getWidth() * area.getHeight());
}

// The darkest and brightest brightness in `area`.
juce::Range<float> brightnessRange (const juce::Image& image, juce::Rectangle<int> area)
{
    auto range = juce::Range<float>::emptyRange (image.getPixelAt (area.getX(), area.getY()).getBrightness());
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            range = range.getUnionWith (image.getPixelAt (x, y).getBrightness());
    return range;
}

// The face an overlay button should show, drawn alone.
juce::Image expectedFace (lookandfeel::ButtonFace face, int width, int height)
{
    juce::Image image (juce::Image::ARGB, width, height, true);
    juce::Graphics g (image);
    lookandfeel::drawButtonFace (g, LookAndFeelOverlay::faceImages, face, width, height);
    return image;
}

// The left cap column of the button, where no text lies.
bool capMatches (const juce::Image& rendered, const juce::Image& face)
{
    for (int y = 0; y < face.getHeight(); ++y)
        for (int x = 0; x < lookandfeel::buttonFaceCap; ++x)
            if (rendered.getPixelAt (x, y) != face.getPixelAt (x, y))
                return false;
    return true;
}

TEST (LookAndFeelOverlay, ATextButtonShowsTheFaceOfItsStateAndItsTextSinksWhilePressed)
{
    LookAndFeelOverlay lookAndFeel;
    juce::TextButton button ("Save");
    button.setLookAndFeel (&lookAndFeel);
    button.setSize (83, 26);
    ComponentDriver driver (button);

    const auto normal = test::renderComponent (button);
    driver.moveTo ({ 40, 13 });
    const auto over = test::renderComponent (button);
    driver.press ({ 40, 13 });
    const auto pressed = test::renderComponent (button);
    driver.release();
    button.setLookAndFeel (nullptr);

    struct Case
    {
        const char* state;
        const juce::Image& rendered;
        lookandfeel::ButtonFace face;
    };
    const Case cases[] = { { "normal", normal, lookandfeel::ButtonFace::normal },
                           { "over", over, lookandfeel::ButtonFace::over },
                           { "pressed", pressed, lookandfeel::ButtonFace::pressed } };
    for (const auto& c : cases)
    {
        EXPECT_TRUE (capMatches (c.rendered, expectedFace (c.face, 83, 26))) << c.state;
        for (const auto& other : cases)
        {
            if (other.face != c.face)
            {
                EXPECT_FALSE (capMatches (c.rendered, expectedFace (other.face, 83, 26))) << c.state << " looks " << other.state;
            }
        }
    }

    // The darkest row of the text moves one pixel down while pressed.
    auto darkestRow = [] (const juce::Image& image)
    {
        int row = 0;
        float darkest = 2.0f;
        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 20; x < 63; ++x)
                if (const auto b = image.getPixelAt (x, y).getBrightness(); b < darkest)
                {
                    darkest = b;
                    row = y;
                }
        return row;
    };
    EXPECT_EQ (darkestRow (pressed), darkestRow (over) + 1);
}

TEST (LookAndFeelToolbar, ThePresetBoxNeverChangesItsFaceAndItsTextIsBold)
{
    LookAndFeelToolbar lookAndFeel;
    juce::ComboBox box;
    box.setLookAndFeel (&lookAndFeel);
    box.addItem ("Default", 1);
    box.addItem ("Bright", 2);
    box.setSelectedId (1, juce::dontSendNotification);
    box.setSize (160, 22);
    ComponentDriver driver (box);

    const auto normal = test::renderComponent (box);
    driver.moveTo ({ 80, 11 });
    const auto over = test::renderComponent (box);
    driver.press ({ 80, 11 });
    runMessagesFor (100);
    const auto pressed = test::renderComponent (box);
    driver.release();
    closeMenus();

    EXPECT_TRUE (test::samePixels (normal, over));
    EXPECT_TRUE (test::samePixels (normal, pressed));

    auto* label = dynamic_cast<juce::Label*> (box.getChildComponent (0));
    ASSERT_NE (label, nullptr);
    EXPECT_TRUE (lookAndFeel.getLabelFont (*label).isBold());
    EXPECT_TRUE (label->getFont().isBold());
    box.setLookAndFeel (nullptr);
}

TEST (LookAndFeelToolbar, ThePresetListIsDarkGreyWithWhiteText)
{
    LookAndFeelToolbar lookAndFeel;
    juce::ComboBox box;
    box.setLookAndFeel (&lookAndFeel);
    for (const auto* name : { "Default", "Bright", "Warm", "Gentle" })
        box.addItem (name, box.getNumItems() + 1);
    box.setSelectedId (1, juce::dontSendNotification);
    box.setSize (160, 22);
    ComponentDriver driver (box);

    driver.click ({ 80, 11 });
    runMessagesFor (200);
    auto* menu = findMenuWindow();
    ASSERT_NE (menu, nullptr) << "the list opens on a click";
    const auto image = menu->createComponentSnapshot (menu->getLocalBounds(), true, 1.0f);
    test::saveScreenshot (*menu, "lookandfeel-toolbar-preset-list");
    closeMenus();
    box.setLookAndFeel (nullptr);

    // The last item is not the selected one: its row is the list's own background and white text.
    const auto lastRow = image.getBounds().reduced (4).removeFromBottom (image.getHeight() / 4 - 2);
    EXPECT_GT (shareOfColour (image, lastRow, juce::Colour (0xFF323232)), 0.6f);
    const auto range = brightnessRange (image, lastRow);
    EXPECT_GT (range.getEnd(), 0.95f) << "white text";
    EXPECT_LT (range.getStart(), 0.25f);
}

TEST (LookAndFeelContextMenu, IsWhiteWithBlackTextAndALightGreyHighlight)
{
    LookAndFeelContextMenu lookAndFeel;
    juce::PopupMenu menu;
    menu.setLookAndFeel (&lookAndFeel);
    menu.addItem (1, "Copy state");
    menu.addItem (2, "Paste state");
    menu.addSeparator();
    menu.addItem (3, "Share preset");

    // Opened from a focused component on screen, as from the preset box: a menu closes itself
    // when no component of the program has the focus.
    juce::Component anchor;
    anchor.setSize (160, 22);
    anchor.setWantsKeyboardFocus (true);
    ComponentDriver driver (anchor);
    anchor.grabKeyboardFocus();
    menu.showMenuAsync (juce::PopupMenu::Options().withTargetComponent (&anchor).withInitiallySelectedItem (2));
    runMessagesFor (200);
    auto* window = findMenuWindow();
    ASSERT_NE (window, nullptr);
    const auto image = window->createComponentSnapshot (window->getLocalBounds(), true, 1.0f);
    test::saveScreenshot (*window, "lookandfeel-context-menu");

    // Rows: the menu's items are its children, the separator among them.
    std::vector<juce::Rectangle<int>> rows;
    for (auto* child : window->getChildren())
        if (child->isVisible() && child->getHeight() > 12)
            rows.push_back (child->getBoundsInParent());
    closeMenus();
    ASSERT_EQ (rows.size(), 3u) << "three items besides the separator";

    const auto plain = rows[0].reduced (2);
    const auto highlighted = rows[1].reduced (2);
    EXPECT_GT (shareOfColour (image, plain, juce::Colours::white), 0.6f);
    EXPECT_LT (brightnessRange (image, plain).getStart(), 0.2f) << "black text";
    EXPECT_GT (shareOfColour (image, highlighted, juce::Colour (0xFFE0E0E0)), 0.6f);
    EXPECT_LT (brightnessRange (image, highlighted).getStart(), 0.2f) << "black highlighted text";
}

TEST (LookAndFeelToolbar, TooltipsAreWhiteBoxesWithBlackTextOfTheirComputedSize)
{
    LookAndFeelToolbar lookAndFeel;
    juce::Component anchor;
    anchor.setSize (200, 40);
    ComponentDriver driver (anchor);
    juce::TooltipWindow tooltip (nullptr, 0);
    tooltip.setLookAndFeel (&lookAndFeel);

    const juce::String text ("Undo: Change \"Frequency\" parameter value back to 21.50 kHz");
    tooltip.displayTip (anchor.localPointToGlobal (juce::Point<int> (20, 20)), text);
    runMessagesFor (50);
    ASSERT_TRUE (tooltip.isVisible());
    EXPECT_EQ (tooltip.getLocalBounds(), LookAndFeelToolbar::getTooltipSize (text));
    EXPECT_LE (tooltip.getWidth(), 220 + 14);
    const auto image = tooltip.createComponentSnapshot (tooltip.getLocalBounds(), true, 1.0f);
    test::saveScreenshot (tooltip, "lookandfeel-toolbar-tooltip");
    tooltip.hideTip();
    tooltip.setLookAndFeel (nullptr);

    const auto inside = image.getBounds().reduced (2);
    EXPECT_GT (shareOfColour (image, inside, juce::Colours::white), 0.6f);
    EXPECT_LT (brightnessRange (image, inside).getStart(), 0.2f) << "black text";
}

// Equal pixels in the given columns.
bool sameColumns (const juce::Image& a, const juce::Image& b, juce::Range<int> columns)
{
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = columns.getStart(); x < columns.getEnd(); ++x)
            if (a.getPixelAt (x, y) != b.getPixelAt (x, y))
                return false;
    return true;
}

TEST (LookAndFeelCustom, ABarSliderShowsOnlyTheStretchedValueBoxAndItsValue)
{
    LookAndFeelCustom lookAndFeel;
    for (const auto style : { juce::Slider::LinearBarVertical, juce::Slider::LinearBar })
    {
        juce::Slider slider (style, juce::Slider::TextBoxBelow);
        slider.setLookAndFeel (&lookAndFeel);
        slider.setRange (20.0, 25.0, 0.1);
        slider.setValue (21.5, juce::dontSendNotification);
        slider.setSize (64, 21);
        const auto rendered = test::renderComponent (slider);
        slider.setLookAndFeel (nullptr);

        juce::Image box (juce::Image::ARGB, 64, 21, true);
        {
            juce::Graphics g (box);
            LookAndFeelCustom::drawValueBoxImage (g, 64, 21);
        }
        // Outside the centred text only the box shows; inside it the value is drawn.
        EXPECT_TRUE (sameColumns (rendered, box, { 0, 8 })) << style;
        EXPECT_TRUE (sameColumns (rendered, box, { 56, 64 })) << style;
        EXPECT_FALSE (sameColumns (rendered, box, { 8, 56 })) << style << ": the value is shown";
    }
}

TEST (LookAndFeelCustom, OnlyAValueDisplayOfFiftyPixelsShowsTheDisplayImage)
{
    LookAndFeelCustom lookAndFeel;
    juce::Image display (juce::Image::ARGB, 50, 20, true);
    {
        juce::Graphics g (display);
        const auto image = lookandfeel::embeddedImage ("display_background_png");
        g.drawImage (image, 0, 1, 50, 18, 0, 0, image.getWidth(), image.getHeight());
    }
    for (const int width : { 50, 51, 49 })
    {
        juce::Label label;
        label.setLookAndFeel (&lookAndFeel);
        label.setSize (width, 20);
        const auto rendered = test::renderComponent (label);
        label.setLookAndFeel (nullptr);
        if (width == 50)
        {
            EXPECT_TRUE (test::samePixels (rendered, display));
        }
        else
        {
            EXPECT_TRUE (test::samePixels (rendered, juce::Image (juce::Image::ARGB, width, 20, true))) << width << " draws nothing";
        }
    }
}

// Toggle buttons with image tick boxes, disabled: the whole drawing, tick box included, at half
// the alpha it has when enabled.
TEST (ImageTickBoxes, ADisabledToggleIsDrawnAtHalfOpacity)
{
    struct Case
    {
        const char* name;
        std::function<std::unique_ptr<juce::LookAndFeel>()> create;
    };
    const Case cases[] = {
        { "overlay", [] { return std::make_unique<LookAndFeelOverlay>(); } },
        { "context menu", [] { return std::make_unique<LookAndFeelContextMenu>(); } },
        { "toolbar", [] { return std::make_unique<LookAndFeelToolbar>(); } },
    };
    for (const auto& c : cases)
    {
        const auto lookAndFeel = c.create();
        juce::ToggleButton toggle ("Velocity mode");
        toggle.setLookAndFeel (lookAndFeel.get());
        toggle.setToggleState (true, juce::dontSendNotification);
        toggle.setSize (150, 30);

        const auto enabled = test::renderComponent (toggle);
        toggle.setEnabled (false);
        const auto disabled = test::renderComponent (toggle);
        toggle.setLookAndFeel (nullptr);

        int opaque = 0, halved = 0, tickBoxPixels = 0;
        for (int y = 0; y < enabled.getHeight(); ++y)
            for (int x = 0; x < enabled.getWidth(); ++x)
            {
                const auto alpha = enabled.getPixelAt (x, y).getAlpha();
                if (alpha < 250)
                    continue;
                ++opaque;
                tickBoxPixels += x < 22 ? 1 : 0;
                halved += std::abs ((int)disabled.getPixelAt (x, y).getAlpha() - alpha / 2) <= 2 ? 1 : 0;
            }
        EXPECT_GT (tickBoxPixels, 50) << c.name << ": the tick box is drawn";
        EXPECT_EQ (halved, opaque) << c.name;
    }
}

} // namespace
} // namespace brevalon
