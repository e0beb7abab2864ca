#include "params/LightParamList.h"

namespace brevalon
{

LightParamList::LightParamList (int numSlots)
    : ParamList (numSlots)
{
}

LightParamList::~LightParamList() = default;

} // namespace brevalon
