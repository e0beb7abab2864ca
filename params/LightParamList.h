#pragma once

#include "params/ParamList.h"

namespace brevalon
{

// A parameter list with a lock of its own, for owners whose parameters change together under it.
class LightParamList : public ParamList
{
public:
    explicit LightParamList (int numSlots);
    ~LightParamList() override;

    const juce::CriticalSection& getLock() const noexcept { return lock; }

private:
    juce::CriticalSection lock;
};

} // namespace brevalon
