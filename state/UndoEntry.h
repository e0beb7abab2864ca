#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>
#include <vector>

namespace brevalon
{

// One step of the undo history: the state of one aspect before a change. Applying it restores
// that state; the state it replaces is captured into an entry of the same kind, so undo and redo
// are the same operation in opposite directions.
struct UndoEntry
{
    enum Kind : int32_t
    {
        purged = 0,
        parameterValue = 1, // parameterIndex, value
        programChange = 2,  // program
        presetValues = 3,   // values, name
        abSwitch = 4,       // isB
        copyAToB = 5,       // linkedAtCopy, values = B's values
        copyBToA = 6,       // linkedAtCopy, values = A's values
        presetName = 7      // name
    };

    static bool isKnownKind (int32_t k) noexcept { return k >= parameterValue && k <= presetName; }

    juce::String name;
    float value = 0.0f;
    int32_t parameterIndex = 0;
    std::vector<float> values;
    int32_t program = 0;
    bool isB = false;
    bool linkedAtCopy = false;
    int32_t valueCount = 0;
    int32_t kind = purged;
    uint32_t time = 0;
};

} // namespace brevalon
