#pragma once

#include "controls/DisplayLayer.h"

#include <vector>

namespace brevalon
{

// The magnitude display's curve layer: the response curve, placed by point index over the whole
// width (0 dB at y = 5, -90 dB at the bottom), optionally filled, and a dashed marker at the
// corner frequency. The curve is built when the curve or the size changes; paint only draws it.
class MagnitudePlot : public DisplayLayer
{
public:
    static constexpr float topMargin = 5.0f;
    static constexpr float dbRange = 90.0f;

    MagnitudePlot();

    void setFillUnderCurve (bool shouldFill);
    // Stores the marker's frequency (Hz) and repaints; false (and nothing done) when unchanged.
    bool setMarkerFrequency (double hz);
    double getMarkerFrequency() const noexcept { return markerFrequency; }
    void setCurveColour (juce::Colour colour);

    // One point per drawn column (x at the column's centre), in drawing order.
    const std::vector<juce::Point<float>>& getCurvePoints() const noexcept { return curvePoints; }
    // The marker's x within this layer.
    float getMarkerX() const noexcept;
    // The y of a level (dB) at this layer's height.
    float levelToY (double levelDb) const noexcept;

    void paint (juce::Graphics&) override;
    void resized() override;

private:
    void curveChanged() override;
    void rebuildCurve();

    bool fillUnderCurve = false;
    double markerFrequency = 30000.0;
    juce::Colour curveColour{ 0xFF3399FF };

    std::vector<juce::Point<float>> curvePoints;
    juce::Path curvePath;
};

} // namespace brevalon
