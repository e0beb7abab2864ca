#include "state/ParamManager.h"

#include "params/Parameter.h"

namespace brevalon
{

ParamManager::ParamManager (int numSlots)
    : ParamList (numSlots),
      programs (numSlots),
      states (numSlots)
{
}

ParamManager::~ParamManager() = default;

void ParamManager::sync()
{
    programs.getCurrent().storeCurrentValues (*this);
    states.storeCurrentValues (*this);
}

void ParamManager::switchToProgram (int index)
{
    if (! programs.isValidIndex (index))
        return;
    sync();
    programs[index].applyTo (*this);
    programs.select (index);
}

std::vector<float> ParamManager::currentValues() const
{
    std::vector<float> values;
    for (int i = 0; i < getCount(); ++i)
        values.push_back (getParameterAt (i)->getNormalised());
    return values;
}

void ParamManager::setAllParameters (const std::vector<float>& values)
{
    for (int i = 0; i < getCount(); ++i)
        getParameterAt (i)->setNormalised (i < (int)values.size() ? values[(size_t)i] : 0.0f);
}

bool ParamManager::currentEqualsInactiveState() const
{
    const auto& inactive = states.inactive();
    for (int i = 0; i < getCount(); ++i)
        if (! (getParameterAt (i)->getNormalised() == inactive.getValue (i)))
            return false;
    return true;
}

bool ParamManager::currentProgramDiffersFromReference() const
{
    const int current = programs.getCurrentIndex();
    const auto& program = programs[current];
    const auto& stored = programs.stored (current);
    if (program.getName() != stored.getName())
        return true;
    for (int i = 0; i < program.getValueCount(); ++i)
        if (! (program.getValue (i) == stored.getValue (i)))
            return true;
    return false;
}

} // namespace brevalon
