#pragma once

#include <juce_core/juce_core.h>

namespace brevalon
{

// The folder holding the files that all instances of the maker's plug-ins share: the user's
// application-data directory joined with "Quillfen".
class SharedFolder
{
public:
    // The user's shared folder.
    SharedFolder();
    // Another folder in its place (tests).
    explicit SharedFolder (const juce::File& folder);

    // The user's application-data directory joined with "Quillfen". On Linux $XDG_CONFIG_HOME,
    // when set to an absolute path, is the application-data directory (JUCE 7 reads only
    // ~/.config/user-dirs.dirs), otherwise ~/.config.
    static juce::File getUserFolder();

    const juce::File& getFolder() const noexcept { return folder; }
    // The file of that name in the folder; an empty name gives the folder itself.
    juce::File getFile (const juce::String& name) const;
    // Creates the folder when it is missing; true when it exists afterwards.
    bool createIfMissing() const;

private:
    juce::File folder;
};

} // namespace brevalon
