#include "FuzzSupport.h"
#include "state/StateCode.h"

using namespace brevalon;

// Clipboard text for paste: any text, with or without a state code inside. A paste that applies
// leaves finite normalised values and is undone again as one step.
extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    auto& processor = fuzz::processor();
    auto& engine = processor.getStateEngine();
    if (StateCode::apply (engine, fuzz::toText (data, size)))
    {
        fuzz::requireNormalisedParameters (processor);
        engine.undo();
    }
    fuzz::requireNormalisedParameters (processor);
    return 0;
}
