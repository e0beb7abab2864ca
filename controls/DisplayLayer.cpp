#include "controls/DisplayLayer.h"

#include <cmath>

namespace brevalon
{

namespace
{
float log10SinglePrecision (double v) noexcept
{
    return std::log ((float)v) / std::log (10.0f);
}
} // namespace

int frequencyToColumn (double frequency, int width, float nyquist) noexcept
{
    const float axisStart = log10SinglePrecision (10000.0);
    return (int)((float)width * (log10SinglePrecision (frequency) - axisStart) / (log10SinglePrecision (nyquist) - axisStart));
}

DisplayLayer::DisplayLayer()
{
    setInterceptsMouseClicks (false, false);
    setWantsKeyboardFocus (false);
}

DisplayLayer::~DisplayLayer() = default;

bool DisplayLayer::setSampleRate (double rate)
{
    if (rate == sampleRate)
        return false;
    sampleRate = rate;
    nyquist = (float)(rate * 0.5);
    repaint();
    return true;
}

void DisplayLayer::setCurve (const double* newFrequencies, const double* newLevels, int newCount)
{
    frequencies = newFrequencies;
    levels = newLevels;
    count = newCount;
    capacity = curveCapacity;
    curveChanged();
    repaint();
}

} // namespace brevalon
