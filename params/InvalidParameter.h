#pragma once

#include "params/Parameter.h"

namespace brevalon
{

// The one parameter that every lookup by an index outside a list returns, so lookups never fail:
// id "invalid", range 0..1, value 0. It is shared by every list and every thread, so it ignores
// writes: it keeps the value 0 and never reports a change.
class InvalidParameter : public Parameter
{
public:
    static Parameter& get() noexcept;

    void setNormalised (float) noexcept override {}
    void setRangeKeepingPosition (double, double, int) override {}
    void setRange (double, double) override {}
    bool testAndClearChangeFlags (std::uint32_t) noexcept override { return false; }
    void markChanged() noexcept override {}

private:
    InvalidParameter();
};

} // namespace brevalon
