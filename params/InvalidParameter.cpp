#include "params/InvalidParameter.h"

namespace brevalon
{

InvalidParameter::InvalidParameter()
    : Parameter ("invalid", {}, {}, 0.0, 1.0, 0.0, 0)
{
}

Parameter& InvalidParameter::get() noexcept
{
    static InvalidParameter invalid;
    return invalid;
}

} // namespace brevalon
