#pragma once

#include <juce_gui_basics/juce_gui_basics.h>
#include <juce_gui_extra/juce_gui_extra.h>

#include <array>
#include <initializer_list>
#include <utility>

// Drawing pieces the look-and-feels share: embedded images, three-slice faces, the image tick
// box, the menu item recipe, tooltip layout and colour tables. Message thread only.
namespace brevalon::lookandfeel
{

// One part of a sliced image: where it comes from in the image and where it goes.
struct ImageSlice
{
    juce::Rectangle<int> source;
    juce::Rectangle<int> destination;
};

// Left cap, stretched one-column middle, right cap: the image's `cap` columns on either side are
// drawn unscaled in width, the column at x = cap fills the rest; the image height is scaled to
// `height`. `imageWidth` places the right cap.
std::array<ImageSlice, 3> threeSlices (int imageWidth, int imageHeight, int cap, int width, int height);

void drawSlices (juce::Graphics& g, const juce::Image& image, const std::array<ImageSlice, 3>& slices);

// The three faces of an image-drawn button.
enum class ButtonFace
{
    normal,
    over,
    pressed
};

// Pressed wins over mouse-over.
ButtonFace faceForState (bool mouseOver, bool pressed);

// An embedded image, decoded once through the image cache; invalid (draws nothing) when absent.
juce::Image embeddedImage (const char* resourceName);

// The 16 x 16 square of "checkbox_png" (unticked left, ticked right), unscaled at (x, y).
void drawImageTickBox (juce::Graphics& g, float x, float y, bool ticked);

// The font asked for, in the shared regular face at the same height and horizontal scale; fonts
// already made from one of the shared faces (regular or bold) are kept.
juce::Font inSharedFace (const juce::Font& font);

// Closest integer, halves to even.
int nearest (float value);

// The framework's pop-up menu item (highlight, opacity when inactive, icon or tick, sub-menu
// arrow, text and shortcut), in `font` reduced to area height / 1.3 when taller; separators are
// two 1-pixel lines, dark then light, in the area reduced by `separatorInset` horizontally.
struct MenuItemStyle
{
    juce::Font font;
    int separatorInset;
    juce::Colour separatorDark;
    juce::Colour separatorLight;
};
void drawMenuItem (juce::LookAndFeel& lookAndFeel, juce::Graphics& g, const juce::Rectangle<int>& area, bool isSeparator, bool isActive,
                   bool isHighlighted, bool isTicked, bool hasSubMenu, const juce::String& text, const juce::String& shortcutKeyText,
                   const juce::Drawable* icon, const juce::Colour* textColour, const MenuItemStyle& style);

// Tooltip text centred with balanced line lengths within `maximumWidth`.
juce::TextLayout layoutTooltip (const juce::String& text, const juce::Font& font, float maximumWidth, juce::Colour colour);
// The tooltip's size: the layout plus 14 across and 6 down, truncated.
juce::Rectangle<int> tooltipSize (const juce::String& text, const juce::Font& font, float maximumWidth);
// Where the framework puts a tooltip of this size near the pointer.
juce::Rectangle<int> placeTooltip (juce::Rectangle<int> size, juce::Point<int> screenPosition, juce::Rectangle<int> parentArea);
// Background, 1-pixel outline and the laid-out text over the whole area.
void drawTooltipBox (juce::LookAndFeel& lookAndFeel, juce::Graphics& g, const juce::String& text, int width, int height,
                     const juce::Font& font, float maximumWidth);

// Text drawn twice: a shadow or highlight copy, then the text itself, each fitted into its own
// rectangle (centred or as given, at most `lines` lines, horizontal scale down to 0.7).
struct TextCopy
{
    juce::Colour colour;
    juce::Rectangle<int> area;
};
void drawTextTwice (juce::Graphics& g, const juce::String& text, const juce::Font& font, const TextCopy& under, const TextCopy& over,
                    juce::Justification justification, int lines);

// Sets each (colour id, ARGB) pair on the look-and-feel.
using ColourTable = std::initializer_list<std::pair<int, juce::uint32>>;
void applyColours (juce::LookAndFeel& lookAndFeel, ColourTable table);

} // namespace brevalon::lookandfeel

namespace brevalon::lookandfeel
{

// A three-state image set: normal, mouse-over, pressed.
struct FaceImages
{
    const char* normal;
    const char* over;
    const char* pressed;
};

// Columns of a button face image drawn unstretched at either end.
constexpr int buttonFaceCap = 6;

// Draws the chosen face sliced across (0, 0, width, height); the right cap is placed by the
// normal image's width.
void drawButtonFace (juce::Graphics& g, const FaceImages& images, ButtonFace face, int width, int height);

// The framework's rule for a toggle button's width, with the font height capped at 13.
void fitToggleButtonWidth (juce::ToggleButton& button);

// The framework's text-editor outline with its bevel: 2 pixels in the focused colour while
// focused and editable, else 1 pixel in the outline colour.
void drawBevelledEditorOutline (juce::Graphics& g, int width, int height, juce::TextEditor& editor);

} // namespace brevalon::lookandfeel

namespace brevalon::lookandfeel
{

// The framework's label drawing in `font` with a 0x55000000 shadow copy of the text one pixel
// right and down; the shadow takes the label's alpha when `shadowFollowsAlpha` is set.
void drawShadowedLabel (juce::Graphics& g, juce::Label& label, const juce::Font& font, bool shadowFollowsAlpha);

// The toggle button of the context-menu and toolbar look-and-feels: half opacity when disabled,
// image tick box at (4, 4), text in `font` over its shadow copy.
void drawShadowedToggle (juce::LookAndFeel& lookAndFeel, juce::Graphics& g, juce::ToggleButton& button, const juce::Font& font,
                         juce::Rectangle<int> shadowArea, TextCopy text, bool highlighted, bool down);

} // namespace brevalon::lookandfeel
