#include "processor/HostParameter.h"

#include "processor/QuillfenAudioProcessor.h"

namespace brevalon
{

juce::String HostParameter::idFor (int index, juce::AudioProcessor::WrapperType wrapperType)
{
    // JUCE's LV2 wrapper turns an id into a Turtle name and replaces a leading digit with "_",
    // which would give every parameter the same name.
    return (wrapperType == juce::AudioProcessor::wrapperType_LV2 ? "_" : "") + juce::String (index);
}

HostParameter::HostParameter (QuillfenAudioProcessor& owner_, int index_)
    : juce::AudioProcessorParameterWithID (idFor (index_, owner_.wrapperType), owner_.getHostParameterName (index_)),
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

} // namespace brevalon
