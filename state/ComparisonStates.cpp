#include "state/ComparisonStates.h"

namespace brevalon
{

ComparisonStates::ComparisonStates (int valueCount)
    : stateA (valueCount),
      stateB (valueCount)
{
}

void ComparisonStates::resetTo (const PresetRecord& record)
{
    stateA = record;
    stateB = record;
    linked = true;
}

void ComparisonStates::storeCurrentValues (const ParamList& parameters)
{
    if (linked)
    {
        stateA.storeCurrentValues (parameters);
        stateB.storeCurrentValues (parameters);
    }
    else
    {
        get (isB).storeCurrentValues (parameters);
    }
}

PresetRecord& ComparisonStates::copy (bool fromB)
{
    auto& target = get (! fromB);
    target = get (fromB);
    linked = false;
    return target;
}

} // namespace brevalon
