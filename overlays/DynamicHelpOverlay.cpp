#include "overlays/DynamicHelpOverlay.h"

#include "controls/SharedTypefaces.h"
#include "controls/TextLine.h"
#include "resources/NamedResources.h"
#include "state/XmlGuard.h"
#include "state/XmlLookup.h"

#include <algorithm>

namespace brevalon
{

namespace
{
// A bubble is at most this share of the window wide, and never wider than the cap.
constexpr double windowWidthsPerBubble = 2.3;
constexpr int bubbleWidthCap = 320;
constexpr float bubbleCorner = 4.0f;
constexpr float helpButtonCorner = 2.0f;

juce::String embeddedDocument (const char* name)
{
    int size = 0;
    const auto* data = resources::getNamedResource (name, size);
    return juce::String::fromUTF8 (data, size);
}

// The first child with this tag (any case), or null; null documents have none.
const juce::XmlElement* findEntry (const juce::XmlElement* document, const juce::String& tag)
{
    return document != nullptr ? XmlLookup::findChild (*document, tag) : nullptr;
}

// The soft shadow under bubble and pointer: faint copies, each offset a little further down and
// right, that add up towards the lower right edge.
struct ShadowCopy
{
    bool isPointer;
    int grow;
    juce::Point<int> offset;
};
constexpr ShadowCopy shadowCopies[] = {
    { true, 0, { 1, 1 } }, { false, 1, { -1, 1 } }, { false, 0, { 1, 1 } },
    { true, 0, { 2, 2 } }, { false, 1, { 0, 2 } },  { false, 0, { 2, 2 } },
};
constexpr int shadowReach = 3;
} // namespace

DynamicHelpOverlay::DynamicHelpOverlay()
    : DynamicHelpOverlay (embeddedDocument ("help_xml"), embeddedDocument ("defaultHelp_xml"))
{
}

DynamicHelpOverlay::DynamicHelpOverlay (const juce::String& productHelpDocument, const juce::String& frameworkHelpDocument)
    : productHelp (XmlGuard::parse (productHelpDocument)),
      frameworkHelp (XmlGuard::parse (frameworkHelpDocument))
{
}

DynamicHelpOverlay::~DynamicHelpOverlay()
{
    stopTimer();
}

void DynamicHelpOverlay::addArea (juce::Rectangle<int> bounds, const juce::String& helpId, int placement)
{
    areas.push_back ({ bounds, helpId, placement });
}

void DynamicHelpOverlay::setHelpButtonArea (juce::Rectangle<int> bounds)
{
    helpButtonArea = bounds.reduced (1).translated (0, 1);
    repaint();
}

DynamicHelpOverlay::HelpText DynamicHelpOverlay::findHelp (const juce::String& helpId) const
{
    const auto* entry = findEntry (frameworkHelp.get(), helpId);
    if (entry == nullptr)
        entry = findEntry (productHelp.get(), helpId);
    if (entry == nullptr)
        return {};
    return { entry->getStringAttribute ("title", "Warning: Missing headline"), entry->getAllSubText() };
}

int DynamicHelpOverlay::findAreaAt (juce::Point<int> position) const
{
    const auto found =
        std::find_if (areas.begin(), areas.end(), [position] (const HelpArea& area) { return area.bounds.contains (position); });
    return found == areas.end() ? -1 : (int)std::distance (areas.begin(), found);
}

void DynamicHelpOverlay::resized()
{
    maxBubbleWidth = std::min ((int)(getWidth() / windowWidthsPerBubble), bubbleWidthCap);
}

void DynamicHelpOverlay::mouseEnter (const juce::MouseEvent& event)
{
    hoverAt (event.getPosition());
}

void DynamicHelpOverlay::mouseMove (const juce::MouseEvent& event)
{
    hoverAt (event.getPosition());
}

void DynamicHelpOverlay::hoverAt (juce::Point<int> position)
{
    const int area = findAreaAt (position);
    if (area == hoveredArea)
        return;
    if (isShowingBubble())
        repaint (bubbleRegion());
    shownArea = -1;
    startTimer (tickMilliseconds);
    hoveredArea = area;
}

void DynamicHelpOverlay::mouseUp (const juce::MouseEvent&)
{
    sendChangeMessage();
}

void DynamicHelpOverlay::timerCallback()
{
    if (hoveredArea == shownArea)
    {
        countdown = ticksBeforeBubble;
        stopTimer();
    }
    else if (countdown <= 0)
    {
        shownArea = hoveredArea;
        countdown = ticksBeforeBubble;
        showHelp (shownArea);
    }
    else
    {
        --countdown;
    }
}

void DynamicHelpOverlay::showHelp (int areaIndex)
{
    stopTimer();
    if (! juce::isPositiveAndBelow (areaIndex, (int)areas.size()))
        return;
    const auto& area = areas[(size_t)areaIndex];
    const auto help = findHelp (area.helpId);
    headline = help.headline;
    textLayout = {};
    // An id that neither document knows shows no bubble.
    if (headline.isEmpty())
        return;

    juce::AttributedString paragraph (help.text);
    paragraph.setFont (SharedTypefaces::getRegularFont (bubbleFontHeight));
    paragraph.setColour (juce::Colours::black);
    paragraph.setJustification (juce::Justification::left);
    paragraph.setWordWrap (juce::AttributedString::byWord);
    textLayout.createLayout (paragraph, (float)(maxBubbleWidth - 2 * HelpBubble::textMargin));

    const float textBottom =
        textLayout.getNumLines() > 0 ? textLayout.getLine (textLayout.getNumLines() - 1).getLineBoundsY().getEnd() : 0.0f;
    bubble =
        HelpBubble::place (area.bounds, area.placement, textLayout.getWidth(), textBottom, maxBubbleWidth, { getWidth(), getHeight() });
    repaint (bubbleRegion());
}

juce::Rectangle<int> DynamicHelpOverlay::bubbleRegion() const
{
    return bubble.bounds.getUnion (bubble.pointerPath().getBounds().getSmallestIntegerContainer()).expanded (shadowReach);
}

void DynamicHelpOverlay::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::transparentBlack);
    g.setColour (juce::Colour (helpButtonHighlight));
    g.fillRoundedRectangle (helpButtonArea.toFloat(), helpButtonCorner);
    if (isShowingBubble())
        paintBubble (g);
}

void DynamicHelpOverlay::paintBubble (juce::Graphics& g) const
{
    const auto pointer = bubble.pointerPath();
    const auto body = bubble.bounds.toFloat();

    g.setColour (juce::Colour (shadowColour));
    for (const auto& copy : shadowCopies)
    {
        const auto offset = copy.offset.toFloat();
        if (copy.isPointer)
            g.fillPath (pointer, juce::AffineTransform::translation (offset));
        else
            g.fillRoundedRectangle (body.expanded ((float)copy.grow) + offset, bubbleCorner);
    }

    g.setColour (juce::Colours::white);
    g.fillPath (pointer);
    g.fillRoundedRectangle (body, bubbleCorner);

    textLayout.draw (g, bubble.textArea().toFloat());
    drawTextLine (g, headline, SharedTypefaces::getBoldFont (headlineFontHeight), juce::Colours::black, bubble.headlineArea(),
                  juce::Justification::centredLeft);
}

} // namespace brevalon
