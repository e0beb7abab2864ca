#include "FuzzSupport.h"
#include "processor/QuillfenTemplateAudioProcessor.h"

#include <cmath>
#include <memory>

using namespace brevalon;

// The host chunk: any bytes a host or a damaged project hands to setStateInformation. Whatever
// they hold, every parameter ends up a finite normalised value and the state saves again.
extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    static auto processor = std::make_unique<QuillfenTemplateAudioProcessor> (SharedFolder (fuzz::scratchFolder().getChildFile ("Quillfen")),
                                                                             QuillfenTemplateAudioProcessor::Settings::inMemory);
    processor->setStateInformation (data, static_cast<int> (size));

    for (int i = 0; i < processor->getNumHostParameters(); ++i)
    {
        const float value = processor->getHostParameter (i);
        fuzz::require (std::isfinite (value) && value >= 0.0f && value <= 1.0f, "a parameter outside 0..1");
    }
    juce::MemoryBlock saved;
    processor->getStateInformation (saved);
    fuzz::require (saved.getSize() > 0, "an empty saved state");
    return 0;
}
