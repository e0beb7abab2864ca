#pragma once

#include "controls/DisplayMessage.h"
#include "controls/MagnitudeDisplayBackground.h"
#include "controls/MagnitudePlot.h"
#include "controls/XYSlider.h"

namespace brevalon
{

// The filter's magnitude response above 10 kHz (logarithmic axis up to the Nyquist frequency,
// 0 to -90 dB) with a dashed marker at the corner frequency, and at the same time the x/y drag
// control of corner frequency and slope. Three paint-only layers lie over each other:
// background (labels and grid), plot (curve and marker) and message (shown at rates below
// 88.2 kHz); the display itself paints a small header.
//
// The owner feeds it: setSampleRate then setCurve whenever the filter's response changed. The
// curve arrays stay the owner's and must outlive the display. Nothing here runs a timer or
// repaints unless a value actually changes, so an idle display costs nothing.
//
// Message thread only.
class MagnitudeDisplay : public XYSlider
{
public:
    static constexpr double lowestFilteredRate = 88200.0;
    static constexpr float dimmedAlpha = 0.3f;

    MagnitudeDisplay();
    ~MagnitudeDisplay() override;

    void setSampleRate (double rate);
    void setCurve (const double* frequencies, const double* levels, int count);
    void showBypassed (bool on);
    void setMarkerFrequency (double hz);

    double getSampleRate() const noexcept { return sampleRate; }
    bool isShowingBypassed() const noexcept { return bypassedLook; }
    // The header's opacity: dimmed when bypassed or at rates the filter does not support.
    float getHeaderAlpha() const noexcept;

    const MagnitudeDisplayBackground& getBackground() const noexcept { return background; }
    const MagnitudePlot& getPlot() const noexcept { return plot; }
    const DisplayMessage& getMessage() const noexcept { return message; }

    void paint (juce::Graphics&) override;
    void resized() override;

private:
    MagnitudePlot plot;
    MagnitudeDisplayBackground background;
    DisplayMessage message;
    bool bypassedLook = false;
    double sampleRate = DisplayLayer::initialSampleRate;
    float nyquist = (float)(DisplayLayer::initialSampleRate * 0.5);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MagnitudeDisplay)
};

} // namespace brevalon
