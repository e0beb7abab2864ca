#include "controls/MagnitudeDisplay.h"

#include "controls/SharedTypefaces.h"
#include "controls/TextLine.h"

namespace brevalon
{

namespace
{
// Layout: the plot starts right of the level labels and below the header, and leaves room for
// the frequency labels at the bottom.
constexpr int plotLeft = MagnitudeDisplayBackground::plotLeft;
constexpr int plotTop = 19;
constexpr int plotHeightReserve = 35;
constexpr int headerHeight = 18;
const juce::Colour titleColour (0xFF3399FF);
} // namespace

MagnitudeDisplay::MagnitudeDisplay()
{
    plot.setFillUnderCurve (true);
    addAndMakeVisible (background);
    addAndMakeVisible (plot);
    addAndMakeVisible (message);
    setBufferedToImage (true);
    background.setBufferedToImage (true);
}

MagnitudeDisplay::~MagnitudeDisplay() = default;

void MagnitudeDisplay::setSampleRate (double rate)
{
    if (rate == sampleRate)
        return;
    background.setSampleRate (rate);
    plot.setSampleRate (rate);
    sampleRate = rate;
    nyquist = (float)(rate * 0.5);

    const bool supported = rate >= lowestFilteredRate;
    message.setVisible (! supported);
    background.setAlpha (supported ? 1.0f : dimmedAlpha);
    plot.setAlpha (supported ? 1.0f : dimmedAlpha);
    // The header dims with an unsupported rate.
    repaint (0, 0, getWidth(), headerHeight);
}

void MagnitudeDisplay::setCurve (const double* frequencies, const double* levels, int count)
{
    background.setCurve (frequencies, levels, count);
    plot.setCurve (frequencies, levels, count);
}

void MagnitudeDisplay::showBypassed (bool on)
{
    if (on == bypassedLook)
        return;
    bypassedLook = on;
    setAlpha (on ? dimmedAlpha : 1.0f);
    repaint();
}

void MagnitudeDisplay::setMarkerFrequency (double hz)
{
    plot.setMarkerFrequency (hz);
}

float MagnitudeDisplay::getHeaderAlpha() const noexcept
{
    return bypassedLook || sampleRate < lowestFilteredRate ? dimmedAlpha : 1.0f;
}

void MagnitudeDisplay::resized()
{
    const int w = getWidth();
    const int h = getHeight();
    background.setBounds (0, 0, w, h);
    plot.setBounds (plotLeft, plotTop, w - plotLeft, h - plotHeightReserve);
    message.setBounds (0, 0, w, h);
}

void MagnitudeDisplay::paint (juce::Graphics& g)
{
    const float alpha = getHeaderAlpha();
    drawTextLine (g, "dB", SharedTypefaces::getRegularFont (13.0f), juce::Colours::white.withAlpha (alpha), { 0, 0, 19, headerHeight },
                  juce::Justification::centredRight);
    drawTextLine (g, "Frequency response", SharedTypefaces::getBoldFont (13.0f), titleColour.withAlpha (alpha),
                  { 27, 0, getWidth() - 27, headerHeight }, juce::Justification::centredLeft);
}

} // namespace brevalon
