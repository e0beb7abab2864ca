#include "state/GlobalParamList.h"

#include "params/DiscreteParameter.h"

namespace brevalon
{

GlobalParamList::GlobalParamList (SharedFolder folder, GlobalSettingsFile::Clock clock)
    : ParamList (numSettings),
      settingsFile (*this, std::move (folder), std::move (clock))
{
    setParameterAt (sliderMode, std::make_unique<DiscreteParameter> ("sliderMode", 0, 1, 0, "velocity|linear"));
    setParameterAt (mouseSensitivity, std::make_unique<DiscreteParameter> ("mouseSensitivity", 1, 200, 100));
    checkComplete();
}

GlobalParamList::~GlobalParamList() = default;

std::unique_ptr<GlobalParamList> GlobalParamList::inSharedFile (SharedFolder folder)
{
    auto settings = std::make_unique<GlobalParamList> (std::move (folder));
    settings->attach (fileName);
    return settings;
}

std::unique_ptr<GlobalParamList> GlobalParamList::inMemory()
{
    return std::make_unique<GlobalParamList>();
}

} // namespace brevalon
