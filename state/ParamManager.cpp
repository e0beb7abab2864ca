#include "state/ParamManager.h"

namespace brevalon
{

ParamManager::ParamManager (int numSlots)
    : ParamList (numSlots),
      programs (defaultFactoryProgramCount + defaultUserSlotCount, numSlots),
      storedPrograms (defaultFactoryProgramCount + defaultUserSlotCount, numSlots),
      stateA (numSlots),
      stateB (numSlots)
{
}

ParamManager::~ParamManager() = default;

} // namespace brevalon
