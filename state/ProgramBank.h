#pragma once

#include "state/PresetTable.h"

#include <juce_core/juce_core.h>

#include <atomic>

namespace brevalon
{

class ParamList;

// The instance's programs: the factory programs first, then the user-preset slots, each with its
// live record and the reference copy taken at start-up; which one is current; and the two flags
// the editor takes when names or the current program changed. It keeps its invariants: the
// current program is always a program of the table, and every change of the current program or
// of a name raises its flag.
//
// Used under the state engine's lock; the current index and the two flags are atomic so the
// editor may read and take them without it.
class ProgramBank
{
public:
    static constexpr int defaultFactoryProgramCount = 5;
    static constexpr int defaultUserSlotCount = 5;

    explicit ProgramBank (int valuesPerRecord, int factoryProgramCount = defaultFactoryProgramCount,
                          int userSlotCount = defaultUserSlotCount);

    int getCount() const noexcept { return live.getCount(); }
    bool isValidIndex (int index) const noexcept { return live.isValidIndex (index); }
    PresetRecord& operator[] (int index) noexcept { return live[index]; }
    const PresetRecord& operator[] (int index) const noexcept { return live[index]; }
    PresetRecord* at (int index) noexcept { return live.at (index); }
    const PresetRecord* at (int index) const noexcept { return live.at (index); }
    // The reference copy of a program.
    const PresetRecord& stored (int index) const noexcept { return storedCopies[index]; }

    int getFactoryProgramCount() const noexcept { return factoryProgramCount; }
    int getUserSlotCount() const noexcept { return userSlotCount; }
    bool isUserSlot (int index) const noexcept;
    // Factory programs always; a user slot while it holds a preset.
    bool isAvailable (int index) const noexcept;
    // The nearest available program below / above the current one, or -1.
    int previousAvailable() const noexcept;
    int nextAvailable() const noexcept;

    // Preset numbers in documents: factory programs 1..5, user slots 1000..1004; any other
    // number maps outside the table (computed without overflow).
    int presetNumberFor (int index) const noexcept;
    int indexForPresetNumber (int number) const noexcept;

    int getCurrentIndex() const noexcept { return current.load(); }
    PresetRecord& getCurrent() noexcept { return live[current.load()]; }
    const PresetRecord& getCurrent() const noexcept { return live[current.load()]; }
    // Makes a program of the table current (others are ignored) and marks it selected; the
    // program-changed flag rises when the index differs.
    void select (int index) noexcept;
    // Set once a program was selected or a state document read; until then program 0 keeps
    // its name against renames from the history.
    bool wasSelected() const noexcept { return selected; }

    // Renames a program; the presets-changed flag rises when the name changes.
    bool rename (int index, const juce::String& name);
    // Marks that a user slot was filled or emptied.
    void markPresetsChanged() noexcept { presetsChanged = true; }

    // Takes the live records as the reference copies, with their dirty flags cleared (start-up).
    void storeAsReference();
    // A program back to its reference copy.
    void revert (int index);
    // Every program back to its reference copy, program 0 current.
    void revertAll();

    bool takePresetsChanged() noexcept { return presetsChanged.exchange (false); }
    bool takeProgramChanged() noexcept { return programChanged.exchange (false); }

private:
    PresetTable live;
    PresetTable storedCopies;
    int factoryProgramCount;
    int userSlotCount;
    std::atomic<int> current{ 0 };
    bool selected = false;
    std::atomic<bool> presetsChanged{ false };
    std::atomic<bool> programChanged{ true };
};

} // namespace brevalon
