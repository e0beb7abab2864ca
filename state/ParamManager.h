#pragma once

#include "params/ParamList.h"
#include "state/ComparisonStates.h"
#include "state/ProgramBank.h"

#include <vector>

namespace brevalon
{

// The instance's automatable parameters, with the programs and the comparison states that hold
// values for them. A parameter's index here is its identity for hosts, presets, undo entries
// and editor bindings.
class ParamManager : public ParamList
{
public:
    explicit ParamManager (int numSlots);
    ~ParamManager() override;

    ProgramBank programs;
    ComparisonStates states;

    // The current values into the current program and the comparison state(s).
    void sync();
    // Syncs, then applies a program of the table and makes it current.
    void switchToProgram (int index);

    std::vector<float> currentValues() const;
    // Every parameter from `values` (0 beyond them).
    void setAllParameters (const std::vector<float>& values);

    // The current values equal the inactive comparison state's.
    bool currentEqualsInactiveState() const;
    // The current program's name or values differ from its reference copy.
    bool currentProgramDiffersFromReference() const;
};

} // namespace brevalon
