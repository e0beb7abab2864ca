#include "state/StateXml.h"

#include "params/ParamList.h"
#include "params/Parameter.h"
#include "state/XmlLookup.h"

#include <cmath>
#include <optional>

namespace brevalon::StateXml
{

float sanitised (float value, float fallback) noexcept
{
    if (std::isnan (value))
        return std::isnan (fallback) ? 0.0f : fallback;
    return juce::jlimit (0.0f, 1.0f, value);
}

void writeValues (const ParamList& parameters, juce::XmlElement& element, const PresetRecord& record, bool withLogical)
{
    for (int i = 0; i < parameters.getCount(); ++i)
    {
        const auto* parameter = parameters.getParameterAt (i);
        element.setAttribute (parameter->getId(), parameter->textForNormalised (record.getValue (i)));
    }
    if (! withLogical)
        return;

    auto* logical = element.getChildByName (logicalTag);
    if (logical == nullptr)
        logical = element.createNewChildElement (logicalTag);
    for (int i = 0; i < parameters.getCount(); ++i)
    {
        const auto* parameter = parameters.getParameterAt (i);
        logical->setAttribute (parameter->getId(), parameter->normalisedToPlain (record.getValue (i)));
    }
}

void readValues (const ParamList& parameters, const juce::XmlElement& element, PresetRecord& record)
{
    const auto* logical = XmlLookup::findChild (element, logicalTag);
    for (int i = 0; i < parameters.getCount(); ++i)
    {
        auto* parameter = parameters.getParameterAt (i);
        const auto id = parameter->getId();
        float value = record.getValue (i);

        std::optional<float> fromLogical;
        if (logical != nullptr && XmlLookup::findAttribute (*logical, id) != nullptr)
        {
            const double plain = XmlLookup::getDouble (*logical, id, std::nan (""));
            if (! std::isnan (plain))
                fromLogical = parameter->plainToNormalised (plain);
        }

        if (const auto* text = XmlLookup::findAttribute (element, id))
        {
            float parsed = value;
            const bool understood = parameter->parseNormalised (*text, parsed);
            value = parsed;
            // The text is rounded to the parameter's decimals; when the exact plain value beside
            // it shows the same text, it restores the value without that rounding.
            if (understood && fromLogical && parameter->textForNormalised (*fromLogical) == parameter->textForNormalised (parsed))
                value = *fromLogical;
            else if (! understood && fromLogical)
                value = *fromLogical;
        }
        else if (fromLogical)
        {
            value = *fromLogical;
        }

        record.setValue (i, sanitised (value, record.getValue (i)));
    }
    record.active = true;
}

PresetRecord defaults (const ParamList& parameters)
{
    PresetRecord values (parameters.getCount());
    for (int i = 0; i < parameters.getCount(); ++i)
    {
        const auto* parameter = parameters.getParameterAt (i);
        values.setValue (i, parameter->plainToNormalised (parameter->getDefault()));
    }
    return values;
}

} // namespace brevalon::StateXml
