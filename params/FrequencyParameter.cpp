#include "params/FrequencyParameter.h"

#include "params/NumberText.h"

#include <cmath>

namespace brevalon
{

FrequencyParameter::FrequencyParameter (double minimumHz, double maximumHz, double defaultHz)
    : Parameter ("freqParam", "Frequency", "Hz", minimumHz, maximumHz, defaultHz, 1, {}, rateDependent),
      logMinimum (std::log (minimumHz)),
      logMaximum (std::log (maximumHz))
{
    jassert (minimumHz > 0.0 && maximumHz > 0.0);
    // The base constructor could only use the linear mapping.
    resetToDefaultWithoutMarking();
}

void FrequencyParameter::setRange (double newMinimum, double newMaximum)
{
    Parameter::setRange (newMinimum, newMaximum);
    logMinimum = std::log (newMinimum);
    logMaximum = std::log (newMaximum);
}

double FrequencyParameter::normalisedToPlain (float x) const noexcept
{
    if (x <= 0.0f)
        return minimum;
    if (x >= 1.0f)
        return maximum;
    return std::exp (logMinimum + (logMaximum - logMinimum) * static_cast<double> (x));
}

float FrequencyParameter::plainToNormalised (double v) const noexcept
{
    const double span = logMaximum - logMinimum;
    if (! (span != 0.0) || ! std::isfinite (span))
        return 0.0f;
    return static_cast<float> ((std::log (clampToRange (v)) - logMinimum) / span);
}

juce::String FrequencyParameter::textForPlain (double x) const
{
    return frequencyText (x, false);
}

juce::String FrequencyParameter::textWithUnitForPlain (double x) const
{
    const bool special = (x <= minimum && minimumText.isNotEmpty()) || (x >= maximum && maximumText.isNotEmpty());
    if (unit.isEmpty() || special)
        return frequencyText (x, true);
    return frequencyText (x, true) + (x <= 2500.0 ? " Hz" : " kHz");
}

bool FrequencyParameter::parsePlain (const juce::String& text, double& value) const
{
    double number = 0.0;
    if (NumberText::readNumber (text.replaceCharacter (',', '.'), number))
    {
        const bool inKilohertz = text.containsIgnoreCase ("k");
        const bool onlyKilohertzFits = number < minimum && number * 1000.0 >= minimum && number * 1000.0 <= maximum;
        value = clampToRange (inKilohertz || onlyKilohertzFits ? number * 1000.0 : number);
        return true;
    }
    return parseSpecialText (text, false, value);
}

juce::String FrequencyParameter::frequencyText (double x, bool scaled) const
{
    if (x <= minimum && minimumText.isNotEmpty())
        return minimumText;
    if (x >= maximum && maximumText.isNotEmpty())
        return maximumText;
    if (scaled)
        return x <= 2500.0 ? NumberText::formatInteger (NumberText::roundHalfUp (x))
                           : NumberText::formatFixed (roundToDecimals (x / 1000.0, 1), 1);
    if (decimals > 0)
        return NumberText::formatFixed (roundToDecimals (x, decimals), decimals);
    return NumberText::formatInteger (NumberText::roundHalfUp (x));
}

} // namespace brevalon
