#include "state/ProgramBank.h"

#include <climits>

namespace brevalon
{

ProgramBank::ProgramBank (int valuesPerRecord, int factoryProgramCount_, int userSlotCount_)
    : live (factoryProgramCount_ + userSlotCount_, valuesPerRecord),
      storedCopies (factoryProgramCount_ + userSlotCount_, valuesPerRecord),
      factoryProgramCount (factoryProgramCount_),
      userSlotCount (userSlotCount_)
{
}

bool ProgramBank::isUserSlot (int index) const noexcept
{
    return index >= factoryProgramCount && index < factoryProgramCount + userSlotCount && isValidIndex (index);
}

bool ProgramBank::isAvailable (int index) const noexcept
{
    if (index >= 0 && index < factoryProgramCount)
        return true;
    const auto* program = at (index);
    return program != nullptr && program->active;
}

int ProgramBank::previousAvailable() const noexcept
{
    for (int p = current - 1; p >= 0; --p)
        if (isAvailable (p))
            return p;
    return -1;
}

int ProgramBank::nextAvailable() const noexcept
{
    for (int p = current + 1; p < getCount(); ++p)
        if (isAvailable (p))
            return p;
    return -1;
}

int ProgramBank::presetNumberFor (int index) const noexcept
{
    return index < factoryProgramCount ? index + 1 : 1000 + (index - factoryProgramCount);
}

int ProgramBank::indexForPresetNumber (int number) const noexcept
{
    // Computed in 64 bits: documents may carry any integer.
    const long long index = number >= 1000 ? (long long)factoryProgramCount + ((long long)number - 1000) : (long long)number - 1;
    return (int)juce::jlimit<long long> (INT_MIN, INT_MAX, index);
}

void ProgramBank::select (int index) noexcept
{
    if (! isValidIndex (index))
        return;
    if (index != current)
        programChanged = true;
    current = index;
    selected = true;
}

bool ProgramBank::rename (int index, const juce::String& name)
{
    auto* program = at (index);
    if (program == nullptr || ! program->setName (name))
        return false;
    presetsChanged = true;
    return true;
}

void ProgramBank::storeAsReference()
{
    for (int p = 0; p < getCount(); ++p)
    {
        live[p].dirty = false;
        storedCopies[p] = live[p];
    }
}

void ProgramBank::revert (int index)
{
    if (! isValidIndex (index))
        return;
    if (live[index].getName() != storedCopies[index].getName())
        presetsChanged = true;
    live[index] = storedCopies[index];
}

void ProgramBank::revertAll()
{
    for (int p = 0; p < getCount(); ++p)
        live[p] = storedCopies[p];
    current = 0;
    programChanged = true;
    presetsChanged = true;
}

} // namespace brevalon
