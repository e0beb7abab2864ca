#include "FuzzSupport.h"
#include "processor/QuillfenTemplateAudioProcessor.h"
#include "state/ParamManager.h"

#include <cmath>

using namespace brevalon;

// Parameter text typed by the user or sent by a host: every parameter of the product parses it,
// and a text it takes is a finite normalised value that sets the parameter and prints again.
extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    static const auto model = QuillfenTemplateAudioProcessor::createParameters();
    const auto text = fuzz::toText (data, size);

    for (int i = 0; i < model->getCount(); ++i)
    {
        auto* parameter = model->getParameterAt (i);
        float value = -1.0f;
        if (parameter->parseNormalised (text, value))
        {
            fuzz::require (std::isfinite (value) && value >= 0.0f && value <= 1.0f, "a parsed value outside 0..1");
            parameter->setNormalised (value);
            fuzz::require (parameter->getText().isNotEmpty(), "an empty text for a parsed value");
        }
    }
    return 0;
}
