#include "editor/QuillfenTemplateAudioProcessorEditor.h"
#include "processor/QuillfenTemplateAudioProcessor.h"

// The processor factory the plug-in wrappers call, one processor per host instance. The wrappers
// reach it through JUCE's createPluginFilterOfType, which records the wrapper type before the call
// (the new processor's wrapperType names the format) and clears it afterwards.
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    auto* processor = new brevalon::QuillfenTemplateAudioProcessor();
    processor->setEditorFactory ([] (brevalon::QuillfenAudioProcessor& owner) -> juce::AudioProcessorEditor* {
        return new brevalon::QuillfenTemplateAudioProcessorEditor (static_cast<brevalon::QuillfenTemplateAudioProcessor&> (owner));
    });
    return processor;
}
