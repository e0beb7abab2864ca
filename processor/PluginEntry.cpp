#include "processor/QuillfenTemplateAudioProcessor.h"

// The processor factory the plug-in wrappers call, one processor per host instance. The wrappers
// reach it through JUCE's createPluginFilterOfType, which records the wrapper type before the call
// (the new processor's wrapperType names the format) and clears it afterwards.
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new brevalon::QuillfenTemplateAudioProcessor();
}
