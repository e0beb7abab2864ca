#include "state/PresetRecord.h"

#include "params/ParamList.h"
#include "params/Parameter.h"

#include <cmath>

namespace brevalon
{

PresetRecord::PresetRecord (int valueCount)
    : values (static_cast<size_t> (std::max (0, valueCount)), 0.0f)
{
}

bool PresetRecord::setName (const juce::String& newName)
{
    if (name == newName)
        return false;
    name = newName;
    dirty = true;
    return true;
}

float PresetRecord::getValue (int index) const noexcept
{
    return index >= 0 && index < getValueCount() ? values[static_cast<size_t> (index)] : 0.0f;
}

void PresetRecord::setValue (int index, float value) noexcept
{
    if (index < 0 || index >= getValueCount())
        return;
    auto& stored = values[static_cast<size_t> (index)];
    if (! (stored == value)) // also true when either is NaN
    {
        stored = value;
        dirty = true;
    }
}

void PresetRecord::storeCurrentValues (const ParamList& parameters)
{
    for (int i = 0; i < getValueCount(); ++i)
        setValue (i, parameters.getParameterAt (i)->getNormalised());
}

void PresetRecord::applyTo (ParamList& parameters) const
{
    for (int i = 0; i < parameters.getCount(); ++i)
    {
        auto* parameter = parameters.getParameterAt (i);
        if ((parameter->getOptions() & Parameter::notInPresets) == 0)
            parameter->setNormalised (getValue (i));
    }
}

} // namespace brevalon
