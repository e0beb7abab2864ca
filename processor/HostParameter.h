#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

namespace brevalon
{

class QuillfenAudioProcessor;

// How a host sees one parameter of the processor: identifier the decimal index ("0", "1", ...),
// name, value, text and default delegate to the processor's host parameter operations.
class HostParameter final : public juce::AudioProcessorParameterWithID
{
public:
    HostParameter (QuillfenAudioProcessor& owner, int index);

    // The identifier: the decimal index, in LV2 with "_" in front (an LV2 name cannot start with
    // a digit).
    static juce::String idFor (int index, juce::AudioProcessor::WrapperType wrapperType);

    float getValue() const override;
    void setValue (float newValue) override;
    float getDefaultValue() const override;
    juce::String getName (int maximumLength) const override;
    juce::String getLabel() const override { return {}; }
    juce::String getText (float normalisedValue, int maximumLength) const override;
    float getValueForText (const juce::String& text) const override;
    int getNumSteps() const override;
    bool isAutomatable() const override;
    bool isMetaParameter() const override { return false; }

private:
    QuillfenAudioProcessor& owner;
    const int index;
};

} // namespace brevalon
