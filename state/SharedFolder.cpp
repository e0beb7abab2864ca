#include "state/SharedFolder.h"

#include "state/StateXml.h"

namespace brevalon
{

namespace
{
juce::File userApplicationDataDirectory()
{
#if JUCE_LINUX || JUCE_BSD
    const auto configHome = juce::SystemStats::getEnvironmentVariable ("XDG_CONFIG_HOME", {});
    if (juce::File::isAbsolutePath (configHome))
        return juce::File (configHome);
#endif
    return juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory);
}
} // namespace

SharedFolder::SharedFolder()
    : folder (getUserFolder())
{
}

SharedFolder::SharedFolder (const juce::File& folder_)
    : folder (folder_)
{
}

juce::File SharedFolder::getUserFolder()
{
    return userApplicationDataDirectory().getChildFile (StateXml::makerName);
}

juce::File SharedFolder::getFile (const juce::String& name) const
{
    return name.isEmpty() ? folder : folder.getChildFile (name);
}

bool SharedFolder::createIfMissing() const
{
    return folder.isDirectory() || (folder.createDirectory().wasOk() && folder.isDirectory());
}

} // namespace brevalon
