#include "FuzzSupport.h"

using namespace brevalon;

// The host chunk: any bytes a host or a damaged project hands to setStateInformation. Whatever
// they hold, every parameter ends up a finite normalised value and the state saves again.
extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    auto& processor = fuzz::processor();
    processor.setStateInformation (data, static_cast<int> (size));
    fuzz::requireNormalisedParameters (processor);

    juce::MemoryBlock saved;
    processor.getStateInformation (saved);
    fuzz::require (saved.getSize() > 0, "an empty saved state");
    return 0;
}
