#include "params/BooleanParameter.h"

namespace brevalon
{

BooleanParameter::BooleanParameter()
    : Parameter ("bypassParam", "Bypass", {}, 0.0, 1.0, 0.0, 0, "Off|On")
{
}

void BooleanParameter::setRange (double, double) {}

juce::String BooleanParameter::textForPlain (double x) const
{
    return x < 0.5 ? minimumText : maximumText;
}

} // namespace brevalon
