#include "HostParameter.h"

#include "QuillfenAudioProcessor.h"

HostParameter::HostParameter (QuillfenAudioProcessor& owner_, int index_)
    : juce::AudioProcessorParameterWithID (juce::String (index_), owner_.getHostParameterName (index_)),
      owner (owner_),
      index (index_)
{
}

float HostParameter::getValue() const
{
    return owner.getHostParameter (index);
}

void HostParameter::setValue (float newValue)
{
    owner.setHostParameter (index, newValue);
}

float HostParameter::getDefaultValue() const
{
    return owner.getHostParameterDefaultValue (index);
}

juce::String HostParameter::getName (int maximumLength) const
{
    return owner.getHostParameterName (index).substring (0, maximumLength);
}

juce::String HostParameter::getText (float normalisedValue, int maximumLength) const
{
    const auto* parameter = owner.getParamManager().getParameterAt (index);
    return parameter->textWithUnitForNormalised (normalisedValue).substring (0, maximumLength);
}

float HostParameter::getValueForText (const juce::String& text) const
{
    const auto* parameter = owner.getParamManager().getParameterAt (index);
    float value = parameter->getNormalised();
    parameter->parseNormalised (text, value);
    return value;
}

int HostParameter::getNumSteps() const
{
    return owner.getHostParameterNumSteps (index);
}

bool HostParameter::isAutomatable() const
{
    return owner.isHostParameterAutomatable (index);
}
