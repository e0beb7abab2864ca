#pragma once

#include "overlays/AbstractOverlay.h"
#include "overlays/HelpBubble.h"

#include <memory>
#include <vector>

namespace brevalon
{

// The help mode: a transparent overlay over the whole editor. Resting the mouse on a declared
// help area for four ticks of 50 ms shows a speech bubble with that area's headline and
// paragraph from the embedded help documents; the help button stays highlighted meanwhile. A
// press is swallowed and the release anywhere sends the change message that ends help mode.
//
// The documents are parsed once, at construction; a bubble's text is laid out once, when it is
// shown. The timer runs only while the mouse has moved to another area and its bubble is not
// shown yet. Message thread only.
class DynamicHelpOverlay : public AbstractOverlay, public juce::Timer
{
public:
    // One declared area, in editor coordinates, with the help id of its texts and the side its
    // bubble opens on (a HelpBubble::Placement).
    struct HelpArea
    {
        juce::Rectangle<int> bounds;
        juce::String helpId;
        int placement = HelpBubble::automatic;
    };

    // The headline and paragraph of a help id.
    struct HelpText
    {
        juce::String headline, text;
    };

    // Reads "help_xml" (the product's controls) and "defaultHelp_xml" (the toolbar).
    DynamicHelpOverlay();
    // The same with the two documents given as text.
    DynamicHelpOverlay (const juce::String& productHelpDocument, const juce::String& frameworkHelpDocument);
    ~DynamicHelpOverlay() override;

    void addArea (juce::Rectangle<int> bounds, const juce::String& helpId, int placement = HelpBubble::automatic);
    // Highlights the help button at `bounds` while help mode is on.
    void setHelpButtonArea (juce::Rectangle<int> bounds);

    // The texts of `helpId`, matched against the documents' tags ignoring case, the framework's
    // document before the product's; empty when neither has it. A missing title reads
    // "Warning: Missing headline".
    HelpText findHelp (const juce::String& helpId) const;
    // Index of the first area containing `position`, or -1.
    int findAreaAt (juce::Point<int> position) const;

    void paint (juce::Graphics&) override;
    void resized() override;
    // Entering the overlay (it may open under a resting pointer) counts as a move.
    void mouseEnter (const juce::MouseEvent&) override;
    void mouseMove (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;
    void timerCallback() override;

    const std::vector<HelpArea>& getAreas() const noexcept { return areas; }
    juce::Rectangle<int> getHelpButtonArea() const noexcept { return helpButtonArea; }
    int getMaxBubbleWidth() const noexcept { return maxBubbleWidth; }
    int getHoveredArea() const noexcept { return hoveredArea; }
    int getShownArea() const noexcept { return shownArea; }
    int getCountdown() const noexcept { return countdown; }
    const juce::String& getHeadline() const noexcept { return headline; }
    const juce::TextLayout& getTextLayout() const noexcept { return textLayout; }
    // The bubble on show, when there is one with a text.
    bool isShowingBubble() const noexcept { return shownArea >= 0 && headline.isNotEmpty(); }
    const HelpBubble& getBubble() const noexcept { return bubble; }

    static constexpr int ticksBeforeBubble = 3;
    static constexpr int tickMilliseconds = 50;
    static constexpr juce::uint32 helpButtonHighlight = 0x80ffff00;
    static constexpr juce::uint32 shadowColour = 0x19000000;
    static constexpr float bubbleFontHeight = 13.0f;
    static constexpr float headlineFontHeight = 14.0f;

private:
    // A new area under the mouse hides the bubble and starts the countdown for it.
    void hoverAt (juce::Point<int> position);
    void showHelp (int areaIndex);
    // The bubble, its pointer and their shadow, for repainting only what they cover.
    juce::Rectangle<int> bubbleRegion() const;
    void paintBubble (juce::Graphics&) const;

    std::unique_ptr<juce::XmlElement> productHelp, frameworkHelp;
    int maxBubbleWidth = 0;
    std::vector<HelpArea> areas;
    juce::Rectangle<int> helpButtonArea;
    juce::TextLayout textLayout;
    juce::String headline;
    int hoveredArea = -1;
    int shownArea = -1;
    int countdown = ticksBeforeBubble;
    HelpBubble bubble;

    JUCE_DECLARE_NON_COPYABLE (DynamicHelpOverlay)
};

} // namespace brevalon
