#pragma once

namespace brevalon
{
class QuillfenTemplateAudioProcessor;
}

namespace brevalon::app
{

// The plug-in's four parameters in the units the command line uses.
struct FilterSettings
{
    static constexpr double minFrequencyHz = 20000.0;
    static constexpr double maxFrequencyHz = 25000.0;

    double frequencyHz = 21000.0; // corner, the -0.1 dB point
    double slopePercent = 75.0;   // 0 shallow .. 100 steep
    double mixPercent = 100.0;    // dry/wet amount
    bool bypass = false;

    // Sets the processor's four parameters to these values.
    void applyTo (QuillfenTemplateAudioProcessor& processor) const;
};

} // namespace brevalon::app
