#include "controls/MagnitudePlot.h"

namespace brevalon
{

namespace
{
const juce::Colour markerColour (0xAAFFFFFF);
// The closing edges of the path lie this far outside the layer, so they are clipped away.
constexpr float outside = 2.0f;

// The Catmull-Rom cubic through p1 (t = 0) and p2 (t = 1) with neighbours p0 and p3.
float catmullRom (float p0, float p1, float p2, float p3, float t) noexcept
{
    const float m1 = (p2 - p0) / 2.0f;
    const float m2 = (p3 - p1) / 2.0f;
    return p1 + m1 * t + (3.0f * (p2 - p1) - 2.0f * m1 - m2) * t * t + (2.0f * (p1 - p2) + m1 + m2) * t * t * t;
}
} // namespace

MagnitudePlot::MagnitudePlot() = default;

void MagnitudePlot::setFillUnderCurve (bool shouldFill)
{
    fillUnderCurve = shouldFill;
    rebuildCurve();
    repaint();
}

bool MagnitudePlot::setMarkerFrequency (double hz)
{
    if (hz == markerFrequency)
        return false;
    markerFrequency = hz;
    repaint();
    return true;
}

void MagnitudePlot::setCurveColour (juce::Colour colour)
{
    curveColour = colour;
    repaint();
}

float MagnitudePlot::getMarkerX() const noexcept
{
    return (float)frequencyToColumn (markerFrequency, getWidth(), nyquist) - 0.5f;
}

float MagnitudePlot::levelToY (double levelDb) const noexcept
{
    return topMargin - (float)levelDb * (float)getHeight() / dbRange;
}

void MagnitudePlot::curveChanged()
{
    rebuildCurve();
}

void MagnitudePlot::resized()
{
    rebuildCurve();
}

void MagnitudePlot::rebuildCurve()
{
    curvePoints.clear();
    curvePath.clear();
    if (levels == nullptr || count == 0)
        return;

    // Column i shows the curve at point position i * (n - 2) / (W + 2): the points are spread
    // by index over the whole width, whatever frequencies they stand for.
    const int width = getWidth();
    const float bottom = topMargin + (float)getHeight();
    for (int column = 0; column <= width + 1; ++column)
    {
        const float position = (float)column * (float)(count - 2) / (float)(width + 2);
        const int k = (int)position;
        if (k + 2 >= count)
            break;
        const float level = catmullRom ((float)levels[k == 0 ? 0 : k - 1], (float)levels[k], (float)levels[k + 1], (float)levels[k + 2],
                                        position - (float)k);
        curvePoints.push_back ({ (float)column + 0.5f, levelToY (level) });
    }

    // With the fill, the outline starts left of the layer at 0 dB and closes along the bottom,
    // outside the layer, so stroking it shows only the curve.
    if (fillUnderCurve)
        curvePath.startNewSubPath (-outside, topMargin);
    for (const auto& point : curvePoints)
    {
        if (! fillUnderCurve && &point == &curvePoints.front())
            curvePath.startNewSubPath (point);
        else
            curvePath.lineTo (point);
    }
    curvePath.lineTo ((float)width + outside, curvePoints.empty() ? 0.0f : curvePoints.back().y);
    if (fillUnderCurve)
    {
        curvePath.lineTo ((float)width + outside, bottom);
        curvePath.lineTo (-outside, bottom);
        curvePath.closeSubPath();
    }
}

void MagnitudePlot::paint (juce::Graphics& g)
{
    if (levels == nullptr || count == 0)
        return;

    const float bottom = topMargin + (float)getHeight();
    const float markerX = getMarkerX();
    const float dashes[] = { 2.0f, 2.0f };
    g.setColour (markerColour);
    g.drawDashedLine ({ markerX, topMargin + 1.0f, markerX, bottom }, dashes, 2, 1.0f);

    if (fillUnderCurve)
    {
        g.setGradientFill (
            juce::ColourGradient (curveColour.withAlpha (0.4f), 0.0f, topMargin, curveColour.withAlpha (0.1f), 0.0f, bottom, false));
        g.fillPath (curvePath);
    }
    g.setColour (curveColour.withAlpha (1.0f));
    g.strokePath (curvePath, juce::PathStrokeType (2.0f));
}

} // namespace brevalon
