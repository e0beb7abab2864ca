#pragma once

#include "params/Parameter.h"

namespace brevalon
{

// The on/off bypass switch: id "bypassParam", range 0..1, texts "Off" and "On", no unit.
class BooleanParameter : public Parameter
{
public:
    BooleanParameter();

    // The range of a switch is always 0..1.
    void setRange (double newMinimum, double newMaximum) override;
    // "Off" below 0.5, "On" from 0.5.
    juce::String textForPlain (double x) const override;
};

} // namespace brevalon
