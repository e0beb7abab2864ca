#include "overlays/WindowOverlay.h"

#include "lookandfeel/Drawing.h"

#include <array>

namespace brevalon
{

namespace
{
// The panel's frame inside the overlay: content inset and top, and the close button.
constexpr int contentInset = 14;
constexpr int contentTop = 22;
constexpr int contentBottomInset = 6;
constexpr int closeButtonRightInset = 29;
constexpr int closeButtonTop = 9;
constexpr int closeButtonWidth = 24;
constexpr int closeButtonHeight = 18;
// The gap kept between the title and the close button's reserve.
constexpr int titleGap = 14;
constexpr int titleRowHeight = 22;

// The frame image "window_background_png" (61 × 93): a column or a row of its slices, given
// by where it starts in the panel and its size there, and where it is taken from in the image.
struct SliceBand
{
    int panelStart, panelSize, imageStart, imageSize;
};

// Left corner, stretched one-pixel middle, right corner; `size` is the panel's width.
std::array<SliceBand, 3> sliceColumns (int size)
{
    return { { { 0, 29, 0, 29 }, { 29, size - 58, 29, 1 }, { size - 29, 29, 32, 29 } } };
}

// Top (with the title row), stretched one-pixel middle, bottom; `size` is the panel's height.
std::array<SliceBand, 3> sliceRows (int size)
{
    return { { { 0, 46, 0, 46 }, { 46, size - 78, 46, 1 }, { size - 32, 32, 61, 32 } } };
}

juce::Image frameImage()
{
    return lookandfeel::embeddedImage ("window_background_png");
}
} // namespace

WindowOverlay::WindowOverlay (const juce::String& titleText)
    : title (titleText)
{
    closeButton.setButtonText ("X");
    closeButton.setTooltip ({});
    closeButton.setLookAndFeel (&closeButtonLookAndFeel);
    closeButton.addListener (this);
    addAndMakeVisible (closeButton);
}

WindowOverlay::~WindowOverlay()
{
    closeButton.removeListener (this);
    closeButton.setLookAndFeel (nullptr);
}

std::vector<WindowOverlay::ImageSlice> WindowOverlay::panelSlices (juce::Rectangle<int> panel)
{
    std::vector<ImageSlice> slices;
    for (const auto& row : sliceRows (panel.getHeight()))
        for (const auto& column : sliceColumns (panel.getWidth()))
            slices.push_back ({ { column.imageStart, row.imageStart, column.imageSize, row.imageSize },
                                { panel.getX() + column.panelStart, panel.getY() + row.panelStart, column.panelSize, row.panelSize } });
    return slices;
}

void WindowOverlay::resized()
{
    const int x0 = (getWidth() - panelWidth) / 2;
    const int y0 = (getHeight() - panelHeight) / 2;
    panelBounds = { x0, y0, panelWidth + 2, panelHeight };
    contentBounds = { x0 + contentInset, y0 + contentTop, panelWidth - 2 * contentInset, panelHeight - contentTop - contentBottomInset };
    closeButton.setBounds (getWidth() - x0 - closeButtonRightInset, y0 + closeButtonTop, closeButtonWidth, closeButtonHeight);
}

void WindowOverlay::paint (juce::Graphics& g)
{
    drawWindow (g, title);
}

void WindowOverlay::drawWindow (juce::Graphics& g, const juce::String& titleText)
{
    g.fillAll (juce::Colour (veilColour));

    // Nearest-neighbour stretching keeps the one-pixel strips crisp.
    const auto frame = frameImage();
    g.setImageResamplingQuality (juce::Graphics::lowResamplingQuality);
    for (const auto& slice : panelSlices (panelBounds))
        if (! slice.destination.isEmpty())
            g.drawImage (frame, slice.destination.getX(), slice.destination.getY(), slice.destination.getWidth(),
                         slice.destination.getHeight(), slice.source.getX(), slice.source.getY(), slice.source.getWidth(),
                         slice.source.getHeight());

    // The white copy lands on the title row's top edge, the dark text one pixel above it.
    drawHighlightedText (g, titleText, contentBounds.getX(), contentBounds.getY() - titleHeight - 1,
                         contentBounds.getWidth() - closeButtonReserve - titleGap, titleRowHeight, true, juce::Justification::centredLeft,
                         true, juce::Colour (titleColour), titleFontHeight);
}

bool WindowOverlay::isOnPanel (juce::Point<int> position) const noexcept
{
    const int x0 = panelBounds.getX();
    const int y0 = panelBounds.getY();
    return x0 <= position.x && position.x <= getWidth() - x0 && y0 <= position.y && position.y <= getHeight() - y0;
}

void WindowOverlay::mouseDown (const juce::MouseEvent& event)
{
    if (! isOnPanel (event.getPosition()))
        sendChangeMessage();
}

void WindowOverlay::buttonClicked (juce::Button* button)
{
    if (button == &closeButton)
        sendChangeMessage();
}

} // namespace brevalon
