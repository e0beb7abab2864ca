#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace brevalon
{

// The column of `frequency` on a logarithmic axis from 10 kHz (column 0) to `nyquist` (column
// `width`), truncated; the logarithms are taken in single precision.
int frequencyToColumn (double frequency, int width, float nyquist) noexcept;

// What the background and the plot layers of the magnitude display share: a paint-only
// component that ignores the mouse and the keyboard, the sample rate whose half ends its
// frequency axis, and a view of the response-curve arrays, which its owner keeps alive.
class DisplayLayer : public juce::Component
{
public:
    static constexpr double initialSampleRate = 44000.0;
    static constexpr int curveCapacity = 180;

    DisplayLayer();
    ~DisplayLayer() override;

    // Stores a new rate and repaints; false (and nothing done) when the rate is the same.
    bool setSampleRate (double rate);
    // Views the two arrays (frequencies in Hz, levels in dB) with `count` valid points, repaints.
    void setCurve (const double* frequencies, const double* levels, int count);

    double getSampleRate() const noexcept { return sampleRate; }
    float getNyquist() const noexcept { return nyquist; }
    int getCount() const noexcept { return count; }
    bool hasCurve() const noexcept { return levels != nullptr; }

protected:
    // Called after the curve view changed, before the repaint.
    virtual void curveChanged() {}

    double sampleRate = initialSampleRate;
    float nyquist = (float)(initialSampleRate * 0.5);
    const double* levels = nullptr;
    const double* frequencies = nullptr;
    int count = 0;
    int capacity = 0;

private:
    JUCE_DECLARE_NON_COPYABLE (DisplayLayer)
};

} // namespace brevalon
