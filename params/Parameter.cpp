#include "params/Parameter.h"

#include "params/NumberText.h"

#include <cmath>

namespace brevalon
{

Parameter::Parameter (const juce::String& id_, const juce::String& name_, const juce::String& unit_, double minimum_, double maximum_,
                      double defaultValue_, int decimals_, const juce::String& textSpecification, std::uint32_t options_)
    : id (id_),
      name (name_.isNotEmpty() ? name_ : id_),
      unit (unit_),
      minimum (minimum_),
      maximum (maximum_),
      middle ((minimum_ + maximum_) / 2.0),
      defaultValue (defaultValue_),
      decimals (decimals_),
      options (options_)
{
    texts.addTokens (textSpecification, "|", "\"");
    switch (texts.size())
    {
    case 1:
        minimumText = texts[0];
        break;
    case 2:
        minimumText = texts[0];
        maximumText = texts[1];
        break;
    case 3:
        minimumText = texts[0];
        middleText = texts[1];
        maximumText = texts[2];
        break;
    default:
        break;
    }

    resetToDefaultWithoutMarking();
}

Parameter::~Parameter() = default;

void Parameter::resetToDefaultWithoutMarking() noexcept
{
    normalisedValue.store (plainToNormalised (clampToRange (defaultValue)));
}

void Parameter::setNormalised (float x) noexcept
{
    normalisedValue.store (x > 1.0f ? 1.0f : (x >= 0.0f ? x : 0.0f));
    markChanged();
}

float Parameter::getNormalisedStep() const noexcept
{
    const double range = std::abs (maximum - minimum);
    if (! (range > 0.0) || ! std::isfinite (range))
        return 1.0f; // an empty range has one position: any step covers it

    // The number of smallest steps across the range, brought down to at most 100.
    double b = std::pow (10.0, decimals) * range;
    if (! (b > 0.0) || ! std::isfinite (b))
        return 1.0f;
    while (b > 100.0)
        b *= 0.5;

    if ((options & plainStep) != 0)
        return static_cast<float> (1.0 / b);

    // The step in the unit, snapped to 1, 2 or 5 times a power of ten.
    double e = range / b;
    int exponent = 0;
    while (e >= 10.0)
    {
        e /= 10.0;
        ++exponent;
    }
    while (e < 1.0)
    {
        e *= 10.0;
        --exponent;
    }

    double mantissa = 1.0;
    for (const double candidate : { 2.0, 5.0, 10.0 })
        if (std::abs (candidate - e) < std::abs (mantissa - e))
            mantissa = candidate;

    return static_cast<float> (mantissa * std::pow (10.0, exponent) / range);
}

void Parameter::setRangeKeepingPosition (double newMinimum, double newMaximum, int newDecimals)
{
    const float position = getNormalised();
    setRange (newMinimum, newMaximum);
    decimals = newDecimals;
    setNormalised (position);
}

double Parameter::roundToDecimals (double x, int numDecimals) const noexcept
{
    if ((options & noRounding) != 0)
        return x;
    const double scale = std::pow (10.0, numDecimals);
    return std::floor (x * scale + 0.5) / scale;
}

void Parameter::setRange (double newMinimum, double newMaximum)
{
    minimum = newMinimum;
    maximum = newMaximum;
}

int Parameter::getIntValue() const noexcept
{
    return NumberText::roundHalfUp (getValue());
}

int Parameter::getMinimumInt() const noexcept
{
    return NumberText::roundHalfUp (minimum);
}

int Parameter::getMaximumInt() const noexcept
{
    return NumberText::roundHalfUp (maximum);
}

int Parameter::getDefaultInt() const noexcept
{
    return NumberText::roundHalfUp (defaultValue);
}

double Parameter::normalisedToPlain (float x) const noexcept
{
    if ((options & inverted) != 0)
        x = 1.0f - x;
    if (x <= 0.0f)
        return minimum;
    if (x >= 1.0f)
        return maximum;
    return minimum + (maximum - minimum) * static_cast<double> (x);
}

float Parameter::plainToNormalised (double v) const noexcept
{
    const double span = maximum - minimum;
    const double n = span != 0.0 ? (clampToRange (v) - minimum) / span : 0.0;
    return static_cast<float> ((options & inverted) != 0 ? 1.0 - n : n);
}

juce::String Parameter::textForPlain (double x) const
{
    if (x <= minimum && minimumText.isNotEmpty())
        return minimumText;
    if (x >= maximum && maximumText.isNotEmpty())
        return maximumText;
    if (x == middle && middleText.isNotEmpty())
        return middleText;
    if (decimals > 0)
        return NumberText::formatFixed (roundValue (x), decimals);
    return NumberText::formatInteger (NumberText::roundHalfUp (x));
}

juce::String Parameter::textWithUnitForPlain (double x) const
{
    const bool special = (x <= minimum && minimumText.isNotEmpty()) || (x >= maximum && maximumText.isNotEmpty());
    if (unit.isEmpty() || special)
        return textForPlain (x);
    return textForPlain (x) + " " + unit;
}

bool Parameter::parsePlain (const juce::String& text, double& value) const
{
    double number = 0.0;
    if (NumberText::readNumber (text.replaceCharacter (',', '.'), number))
    {
        value = clampToRange (number);
        return true;
    }
    return parseSpecialText (text, true, value);
}

bool Parameter::parseSpecialText (const juce::String& text, bool withMiddle, double& value) const
{
    if (matchesText (text, minimumText))
        value = minimum;
    else if (matchesText (text, maximumText))
        value = maximum;
    else if (withMiddle && matchesText (text, middleText))
        value = middle;
    else
    {
        value = getRawValue();
        return false;
    }
    return true;
}

bool Parameter::parseNormalised (const juce::String& text, float& value) const
{
    double plain = 0.0;
    const bool understood = parsePlain (text, plain);
    value = plainToNormalised (plain);
    return understood;
}

float Parameter::nearestSnapPoint (float x) const noexcept
{
    float best = 0.0f;
    float bestDistance = std::abs (x);
    for (const double point : snapPoints)
    {
        const float candidate = plainToNormalised (point);
        const float distance = std::abs (x - candidate);
        if (distance < bestDistance)
        {
            best = candidate;
            bestDistance = distance;
        }
    }
    if (std::abs (x - 1.0f) < bestDistance)
        best = 1.0f;
    return best;
}

double Parameter::clampToRange (double v) const noexcept
{
    if (std::isnan (v) || v < minimum)
        return minimum;
    return v > maximum ? maximum : v;
}

bool Parameter::matchesText (const juce::String& text, const juce::String& special)
{
    return special.isNotEmpty() && text.equalsIgnoreCase (special);
}

} // namespace brevalon
