#include "FuzzSupport.h"
#include "processor/QuillfenTemplateAudioProcessor.h"
#include "state/StateCode.h"

#include <cmath>
#include <memory>

using namespace brevalon;

// Clipboard text for paste: any text, with or without a state code inside. A paste that applies
// leaves finite normalised values and can be undone.
extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    static auto processor = std::make_unique<QuillfenTemplateAudioProcessor> (SharedFolder (fuzz::scratchFolder().getChildFile ("Quillfen")),
                                                                             QuillfenTemplateAudioProcessor::Settings::inMemory);
    auto& engine = processor->getStateEngine();
    if (StateCode::apply (engine, fuzz::toText (data, size)))
        engine.undo();

    for (int i = 0; i < processor->getNumHostParameters(); ++i)
    {
        const float value = processor->getHostParameter (i);
        fuzz::require (std::isfinite (value) && value >= 0.0f && value <= 1.0f, "a parameter outside 0..1");
    }
    return 0;
}
