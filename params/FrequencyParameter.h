#pragma once

#include "params/Parameter.h"

namespace brevalon
{

// The filter frequency: id "freqParam", unit "Hz", 1 decimal, rate-dependent, with a logarithmic
// mapping and texts in Hz or kHz. The range must be positive.
class FrequencyParameter : public Parameter
{
public:
    FrequencyParameter (double minimumHz, double maximumHz, double defaultHz);

    void setRange (double newMinimum, double newMaximum) override;
    double normalisedToPlain (float x) const noexcept override;
    float plainToNormalised (double v) const noexcept override;
    // The value in Hz without unit (21000 Hz: "21000.0").
    juce::String textForPlain (double x) const override;
    // Up to 2500 Hz whole hertz with "Hz", above in kHz with 1 decimal and "kHz" (21000 Hz: "21.0 kHz").
    juce::String textWithUnitForPlain (double x) const override;
    // A number in Hz, or in kHz when the text has a "k" or when only the number times 1000 lies
    // in the range ("21.5", "21,5", "21.5k" and "21500" all read as 21500 Hz).
    bool parsePlain (const juce::String& text, double& value) const override;

    // The text of x in Hz (scaled: in kHz above 2500 Hz), without unit.
    juce::String frequencyText (double x, bool scaled) const;

private:
    double logMinimum;
    double logMaximum;
};

} // namespace brevalon
