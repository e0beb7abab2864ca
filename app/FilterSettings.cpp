#include "app/FilterSettings.h"

#include "processor/QuillfenTemplateAudioProcessor.h"

namespace brevalon::app
{

void FilterSettings::applyTo (QuillfenTemplateAudioProcessor& processor) const
{
    processor.setFrequencyHz (frequencyHz);
    processor.setSlope (slopePercent / 100.0);
    processor.setMix (mixPercent / 100.0);
    processor.setBypass (bypass);
}

} // namespace brevalon::app
