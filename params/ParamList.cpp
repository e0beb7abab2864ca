#include "params/ParamList.h"

#include "params/InvalidParameter.h"

#include <algorithm>

namespace brevalon
{

ParamList::ParamList (int capacity_)
    : slots (static_cast<size_t> (std::max (0, capacity_))),
      capacity (std::max (0, capacity_))
{
}

ParamList::~ParamList() = default;

bool ParamList::setParameterAt (int index, std::unique_ptr<Parameter>&& parameter)
{
    if (! isValidIndex (index))
        return false;
    slots[static_cast<size_t> (index)] = std::move (parameter);
    return true;
}

Parameter* ParamList::getParameterAt (int index) const noexcept
{
    if (isValidIndex (index))
        if (auto* parameter = slots[static_cast<size_t> (index)].get())
            return parameter;
    return &InvalidParameter::get();
}

void ParamList::checkComplete() noexcept
{
    if (std::all_of (slots.begin(), slots.end(), [] (const auto& slot) { return slot != nullptr; }))
        complete = true;
}

} // namespace brevalon
