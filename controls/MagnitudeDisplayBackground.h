#pragma once

#include "controls/DisplayLayer.h"

namespace brevalon
{

// The magnitude display's bottom layer: frequency labels along the bottom, level labels (0 to
// -80 dB) along the left and the vertical grid. It draws only once it has been given the curve
// arrays.
class MagnitudeDisplayBackground : public DisplayLayer
{
public:
    // Left of the plot area: the level labels' column.
    static constexpr int plotLeft = 22;

    MagnitudeDisplayBackground() = default;

    void paint (juce::Graphics&) override;

    // The frequencies labelled at this layer's rate, in order.
    juce::Array<double> getLabelledFrequencies() const;
    static juce::String labelFor (double frequency);
};

} // namespace brevalon
