#pragma once

#include "params/ParamList.h"
#include "state/PresetRecord.h"
#include "state/PresetTable.h"

#include <atomic>

namespace brevalon
{

// The instance's automatable parameters. A parameter's index here is its identity for hosts,
// presets, undo entries and editor bindings.
class ParamManager : public ParamList
{
public:
    explicit ParamManager (int numSlots);
    ~ParamManager() override;

    static constexpr int defaultFactoryProgramCount = 5;
    static constexpr int defaultUserSlotCount = 5;

    // Programs: live contents and the reference copies taken at start-up (factory programs
    // first, then the user-preset slots).
    PresetTable programs;
    PresetTable storedPrograms;
    int factoryProgramCount = defaultFactoryProgramCount;
    int userSlotCount = defaultUserSlotCount;

    // Read by the editor without the state engine's lock, hence atomic.
    std::atomic<int> currentProgram{ 0 };
    bool programSelected = false;

    // Comparison states.
    PresetRecord stateA;
    PresetRecord stateB;
    std::atomic<bool> isB{ false };
    std::atomic<bool> linked{ true };

    // Taken and cleared by the editor in one atomic step.
    std::atomic<bool> presetsChanged{ false };
    std::atomic<bool> programChanged{ true };
};

} // namespace brevalon
