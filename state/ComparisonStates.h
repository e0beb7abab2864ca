#pragma once

#include "state/PresetRecord.h"

#include <atomic>

namespace brevalon
{

class ParamList;

// The two comparison states A and B: which one is active, and whether they are still linked
// (not yet separated by a copy), in which case both follow the current values.
//
// Used under the state engine's lock; the two flags are atomic so the editor may read them
// without it.
class ComparisonStates
{
public:
    explicit ComparisonStates (int valueCount);

    PresetRecord& get (bool b) noexcept { return b ? stateB : stateA; }
    const PresetRecord& get (bool b) const noexcept { return b ? stateB : stateA; }
    PresetRecord& a() noexcept { return stateA; }
    PresetRecord& b() noexcept { return stateB; }
    const PresetRecord& a() const noexcept { return stateA; }
    const PresetRecord& b() const noexcept { return stateB; }
    const PresetRecord& inactive() const noexcept { return get (! isB); }

    bool isBActive() const noexcept { return isB.load(); }
    void setBActive (bool b) noexcept { isB = b; }
    bool isLinked() const noexcept { return linked.load(); }
    void setLinked (bool shouldBeLinked) noexcept { linked = shouldBeLinked; }

    // Both states become `record`, linked (a program applied at start-up).
    void resetTo (const PresetRecord& record);
    // The current values into both states while linked, otherwise into the active one.
    void storeCurrentValues (const ParamList& parameters);
    // Copies A into B or B into A, which separates them; returns the overwritten state.
    PresetRecord& copy (bool fromB);

private:
    PresetRecord stateA;
    PresetRecord stateB;
    std::atomic<bool> isB{ false };
    std::atomic<bool> linked{ true };
};

} // namespace brevalon
