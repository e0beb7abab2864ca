#pragma once

#include "params/Parameter.h"

namespace brevalon
{

// An integer setting whose values may carry names: with a text specification of several tokens,
// token i names the value minimum + i ("velocity|linear" names 0 and 1).
class DiscreteParameter : public Parameter
{
public:
    DiscreteParameter (const juce::String& id, int minimum, int maximum, int defaultValue, const juce::String& textSpecification = {});

    // The plain value as it is: a setting between two integers reads as such.
    double getValue() const noexcept override { return getRawValue(); }
    // The name of the nearest value (empty outside the names), or the whole number.
    juce::String textForPlain (double x) const override;
    // A number (no decimal comma), the minimum or maximum text, or a value name, in any case.
    bool parsePlain (const juce::String& text, double& value) const override;
};

} // namespace brevalon
