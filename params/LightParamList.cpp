#include "LightParamList.h"

LightParamList::LightParamList (int numSlots)
    : ParamList (numSlots)
{
}

LightParamList::~LightParamList() = default;
