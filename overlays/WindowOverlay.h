#pragma once

#include "lookandfeel/LookAndFeelOverlayButton.h"
#include "overlays/AbstractOverlay.h"

#include <vector>

namespace brevalon
{

// The dialog-like overlay: a dimmed veil over the editor with a framed, titled panel in its
// centre and a close button "X". A press on the veil or a click on the close button sends the
// change message that closes it; a press inside the panel does nothing.
//
// Derived overlays set `panelWidth` and `panelHeight` in their constructors, override `paint`
// (calling `drawWindow` first), `resized` (calling this layout first) and `buttonClicked`
// (passing the close button on). Message thread only.
class WindowOverlay : public AbstractOverlay
{
public:
    explicit WindowOverlay (const juce::String& title);
    ~WindowOverlay() override;

    void mouseDown (const juce::MouseEvent&) override;
    void paint (juce::Graphics&) override;
    void resized() override;
    void buttonClicked (juce::Button*) override;

    // The veil, the panel frame and the title.
    virtual void drawWindow (juce::Graphics& g, const juce::String& titleText);

    juce::Rectangle<int> getPanelBounds() const noexcept { return panelBounds; }
    juce::Rectangle<int> getContentBounds() const noexcept { return contentBounds; }
    const juce::String& getTitle() const noexcept { return title; }
    juce::Button& getCloseButton() noexcept { return closeButton; }

    // One piece of the frame image and where it is drawn.
    struct ImageSlice
    {
        juce::Rectangle<int> source, destination;
    };

    // The nine slices of "window_background_png" that frame `panel`: fixed corners, edges
    // stretched from one-pixel strips, and a stretched centre pixel.
    static std::vector<ImageSlice> panelSlices (juce::Rectangle<int> panel);

    static constexpr juce::uint32 veilColour = 0x99111111;
    static constexpr juce::uint32 titleColour = 0xff111111;
    static constexpr float titleFontHeight = 14.0f;

protected:
    juce::TextButton closeButton;
    juce::String title;
    LookAndFeelOverlayButton closeButtonLookAndFeel;
    int panelWidth = 0, panelHeight = 0;
    int closeButtonReserve = 24;
    juce::Rectangle<int> panelBounds;
    int titleHeight = 14;
    juce::Rectangle<int> contentBounds;

private:
    // True for a point on the panel's column and row (edges included), measured from the veil.
    bool isOnPanel (juce::Point<int> position) const noexcept;

    JUCE_DECLARE_NON_COPYABLE (WindowOverlay)
};

} // namespace brevalon
