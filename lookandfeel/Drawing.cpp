#include "lookandfeel/Drawing.h"

#include "controls/SharedTypefaces.h"
#include "resources/NamedResources.h"

#include <cmath>

namespace brevalon::lookandfeel
{

std::array<ImageSlice, 3> threeSlices (int imageWidth, int imageHeight, int cap, int width, int height)
{
    return { { { { 0, 0, cap, imageHeight }, { 0, 0, cap, height } },
               { { cap, 0, 1, imageHeight }, { cap, 0, width - 2 * cap, height } },
               { { imageWidth - cap, 0, cap, imageHeight }, { width - cap, 0, cap, height } } } };
}

void drawSlices (juce::Graphics& g, const juce::Image& image, const std::array<ImageSlice, 3>& slices)
{
    if (! image.isValid())
        return;
    for (const auto& slice : slices)
    {
        if (slice.destination.isEmpty())
            continue;
        g.drawImage (image, slice.destination.getX(), slice.destination.getY(), slice.destination.getWidth(), slice.destination.getHeight(),
                     slice.source.getX(), slice.source.getY(), slice.source.getWidth(), slice.source.getHeight());
    }
}

ButtonFace faceForState (bool mouseOver, bool pressed)
{
    if (pressed)
        return ButtonFace::pressed;
    return mouseOver ? ButtonFace::over : ButtonFace::normal;
}

juce::Image embeddedImage (const char* resourceName)
{
    int size = 0;
    const auto* data = resources::getNamedResource (resourceName, size);
    if (data == nullptr || size <= 0)
        return {};
    return juce::ImageCache::getFromMemory (data, size);
}

void drawImageTickBox (juce::Graphics& g, float x, float y, bool ticked)
{
    constexpr int square = 16;
    g.drawImage (embeddedImage ("checkbox_png"), (int)x, (int)y, square, square, ticked ? square : 0, 0, square, square);
}

juce::Font inSharedFace (const juce::Font& font)
{
    if (font.getTypefaceName() == SharedTypefaces::getRegularTypeface()->getName())
        return font;
    return SharedTypefaces::getRegularFont (font.getHeight()).withHorizontalScale (font.getHorizontalScale());
}

int nearest (float value)
{
    // The default rounding mode rounds halves to even.
    return (int)std::nearbyint (value);
}

void drawMenuItem (juce::LookAndFeel& lookAndFeel, juce::Graphics& g, const juce::Rectangle<int>& area, bool isSeparator, bool isActive,
                   bool isHighlighted, bool isTicked, bool hasSubMenu, const juce::String& text, const juce::String& shortcutKeyText,
                   const juce::Drawable* icon, const juce::Colour* textColour, const MenuItemStyle& style)
{
    if (isSeparator)
    {
        auto r = area.reduced (style.separatorInset, 0);
        r.removeFromTop (r.getHeight() / 2 - 1);
        g.setColour (style.separatorDark);
        g.fillRect (r.removeFromTop (1));
        g.setColour (style.separatorLight);
        g.fillRect (r.removeFromTop (1));
        return;
    }

    auto r = area.reduced (1);
    if (isHighlighted)
    {
        g.setColour (lookAndFeel.findColour (juce::PopupMenu::highlightedBackgroundColourId));
        g.fillRect (r);
        g.setColour (lookAndFeel.findColour (juce::PopupMenu::highlightedTextColourId));
    }
    else
    {
        g.setColour (textColour != nullptr ? *textColour : lookAndFeel.findColour (juce::PopupMenu::textColourId));
    }

    if (! isActive)
        g.setOpacity (0.3f);

    auto font = style.font;
    const auto maximumHeight = (float)area.getHeight() / 1.3f;
    if (font.getHeight() > maximumHeight)
        font.setHeight (maximumHeight);
    g.setFont (font);

    const auto iconArea = r.removeFromLeft ((r.getHeight() * 5) / 4).reduced (3).toFloat();
    if (icon != nullptr)
    {
        icon->drawWithin (g, iconArea, juce::RectanglePlacement::centred | juce::RectanglePlacement::onlyReduceInSize, 1.0f);
    }
    else if (isTicked)
    {
        const auto tick = lookAndFeel.getTickShape (1.0f);
        g.fillPath (tick, tick.getTransformToScaleToFit (iconArea, true));
    }

    if (hasSubMenu)
    {
        const auto arrowHeight = 0.6f * style.font.getAscent();
        const auto x = (float)r.removeFromRight ((int)arrowHeight).getX();
        const auto halfHeight = (float)r.getCentreY();
        juce::Path arrow;
        arrow.addTriangle (x, halfHeight - arrowHeight * 0.5f, x, halfHeight + arrowHeight * 0.5f, x + arrowHeight * 0.6f, halfHeight);
        g.fillPath (arrow);
    }

    r.removeFromRight (3);
    g.drawFittedText (text, r, juce::Justification::centredLeft, 1);

    if (shortcutKeyText.isNotEmpty())
    {
        auto shortcutFont = font;
        shortcutFont.setHeight (shortcutFont.getHeight() * 0.75f);
        shortcutFont.setHorizontalScale (0.95f);
        g.setFont (shortcutFont);
        g.drawText (shortcutKeyText, r, juce::Justification::centredRight, true);
    }
}

juce::TextLayout layoutTooltip (const juce::String& text, const juce::Font& font, float maximumWidth, juce::Colour colour)
{
    juce::AttributedString string;
    string.setJustification (juce::Justification::centred);
    string.append (text, font, colour);
    juce::TextLayout layout;
    layout.createLayoutWithBalancedLineLengths (string, maximumWidth);
    return layout;
}

juce::Rectangle<int> tooltipSize (const juce::String& text, const juce::Font& font, float maximumWidth)
{
    const auto layout = layoutTooltip (text, font, maximumWidth, juce::Colours::black);
    return { (int)(layout.getWidth() + 14.0f), (int)(layout.getHeight() + 6.0f) };
}

juce::Rectangle<int> placeTooltip (juce::Rectangle<int> size, juce::Point<int> screenPosition, juce::Rectangle<int> parentArea)
{
    const auto w = size.getWidth();
    const auto h = size.getHeight();
    return juce::Rectangle<int> (screenPosition.x > parentArea.getCentreX() ? screenPosition.x - (w + 12) : screenPosition.x + 24,
                                 screenPosition.y > parentArea.getCentreY() ? screenPosition.y - (h + 6) : screenPosition.y + 6, w, h)
        .constrainedWithin (parentArea);
}

void drawTooltipBox (juce::LookAndFeel& lookAndFeel, juce::Graphics& g, const juce::String& text, int width, int height,
                     const juce::Font& font, float maximumWidth)
{
    g.fillAll (lookAndFeel.findColour (juce::TooltipWindow::backgroundColourId));
    g.setColour (lookAndFeel.findColour (juce::TooltipWindow::outlineColourId));
    g.drawRect (0, 0, width, height, 1);
    layoutTooltip (text, font, maximumWidth, lookAndFeel.findColour (juce::TooltipWindow::textColourId))
        .draw (g, juce::Rectangle<float> ((float)width, (float)height));
}

void drawTextTwice (juce::Graphics& g, const juce::String& text, const juce::Font& font, const TextCopy& under, const TextCopy& over,
                    juce::Justification justification, int lines)
{
    g.setFont (font);
    for (const auto* copy : { &under, &over })
    {
        if (copy->area.getWidth() <= 0 || copy->area.getHeight() <= 0)
            continue;
        g.setColour (copy->colour);
        g.drawFittedText (text, copy->area, justification, lines, 0.7f);
    }
}

void applyColours (juce::LookAndFeel& lookAndFeel, ColourTable table)
{
    for (const auto& [id, argb] : table)
        lookAndFeel.setColour (id, juce::Colour (argb));
}

} // namespace brevalon::lookandfeel

namespace brevalon::lookandfeel
{

void drawButtonFace (juce::Graphics& g, const FaceImages& images, ButtonFace face, int width, int height)
{
    const auto normal = embeddedImage (images.normal);
    const auto image = face == ButtonFace::pressed ? embeddedImage (images.pressed)
                       : face == ButtonFace::over  ? embeddedImage (images.over)
                                                   : normal;
    drawSlices (g, image, threeSlices (normal.getWidth(), image.getHeight(), buttonFaceCap, width, height));
}

void fitToggleButtonWidth (juce::ToggleButton& button)
{
    const auto fontSize = juce::jmin (13.0f, (float)button.getHeight() * 0.75f);
    const auto tickWidth = fontSize * 1.1f;
    const auto font = SharedTypefaces::getRegularFont (fontSize);
    button.setSize (font.getStringWidth (button.getButtonText()) + juce::roundToInt (tickWidth) + 9, button.getHeight());
}

void drawBevelledEditorOutline (juce::Graphics& g, int width, int height, juce::TextEditor& editor)
{
    if (! editor.isEnabled())
        return;
    if (editor.hasKeyboardFocus (true) && ! editor.isReadOnly())
    {
        g.setColour (editor.findColour (juce::TextEditor::focusedOutlineColourId));
        g.drawRect (0, 0, width, height, 2);
        g.setOpacity (1.0f);
        const auto shadow = editor.findColour (juce::TextEditor::shadowColourId).withMultipliedAlpha (0.75f);
        juce::LookAndFeel_V2::drawBevel (g, 0, 0, width, height + 2, 4, shadow, shadow);
    }
    else
    {
        g.setColour (editor.findColour (juce::TextEditor::outlineColourId));
        g.drawRect (0, 0, width, height);
        g.setOpacity (1.0f);
        const auto shadow = editor.findColour (juce::TextEditor::shadowColourId);
        juce::LookAndFeel_V2::drawBevel (g, 0, 0, width, height + 2, 3, shadow, shadow);
    }
}

} // namespace brevalon::lookandfeel

namespace brevalon::lookandfeel
{

void drawShadowedLabel (juce::Graphics& g, juce::Label& label, const juce::Font& font, bool shadowFollowsAlpha)
{
    g.fillAll (label.findColour (juce::Label::backgroundColourId));
    const auto alpha = label.isEnabled() ? 1.0f : 0.5f;

    if (! label.isBeingEdited())
    {
        const juce::Colour shadow (0x55000000);
        const auto textArea = label.getBorderSize().subtractedFrom (label.getLocalBounds());
        const auto lines = juce::jmax (1, (int)((float)textArea.getHeight() / font.getHeight()));
        g.setFont (font);
        g.setColour (shadowFollowsAlpha ? shadow.withMultipliedAlpha (alpha) : shadow);
        g.drawFittedText (label.getText(), textArea.translated (1, 1), label.getJustificationType(), lines,
                          label.getMinimumHorizontalScale());
        g.setColour (label.findColour (juce::Label::textColourId).withMultipliedAlpha (alpha));
        g.drawFittedText (label.getText(), textArea, label.getJustificationType(), lines, label.getMinimumHorizontalScale());
        g.setColour (label.findColour (juce::Label::outlineColourId).withMultipliedAlpha (alpha));
    }
    else
    {
        g.setColour (label.findColour (juce::Label::outlineColourId));
    }
    g.drawRect (label.getLocalBounds());
}

void drawShadowedToggle (juce::LookAndFeel& lookAndFeel, juce::Graphics& g, juce::ToggleButton& button, const juce::Font& font,
                         juce::Rectangle<int> shadowArea, TextCopy text, bool highlighted, bool down)
{
    const auto enabled = button.isEnabled();
    if (! enabled)
        g.beginTransparencyLayer (0.5f);

    lookAndFeel.drawTickBox (g, button, 4.0f, 4.0f, 16.0f, 16.0f, button.getToggleState(), enabled, highlighted, down);
    drawTextTwice (g, button.getButtonText(), font, { juce::Colour (0x55000000), shadowArea }, text, juce::Justification::centredLeft, 10);

    if (! enabled)
        g.endTransparencyLayer();
}

} // namespace brevalon::lookandfeel
