#pragma once

#include "params/ParamList.h"
#include "state/GlobalSettingsFile.h"

namespace brevalon
{

// The user-wide settings, shared by every instance through a settings file of the shared folder:
// 0 "sliderMode" (0 "velocity", 1 "linear"; default velocity) and 1 "mouseSensitivity" (1..200,
// default 100). They hold their defaults until the list is attached to its file; a list never
// attached lives in memory only (command-line tools must not create or change the user's files).
class GlobalParamList : public ParamList
{
public:
    enum Setting
    {
        sliderMode = 0,
        mouseSensitivity = 1,
        numSettings = 2
    };

    static constexpr const char* fileName = "global.conf";

    // folder and clock replace the user's shared folder and the wall clock (tests).
    explicit GlobalParamList (SharedFolder folder = {}, GlobalSettingsFile::Clock clock = {});
    ~GlobalParamList() override;

    // The settings every plug-in instance shares: attached to "global.conf" in the folder,
    // which is read, and created when it is missing.
    static std::unique_ptr<GlobalParamList> inSharedFile (SharedFolder folder);
    // The defaults, in memory only: nothing is read or written.
    static std::unique_ptr<GlobalParamList> inMemory();

    // See GlobalSettingsFile.
    void attach (const juce::String& name) { settingsFile.attach (name); }
    void load() { settingsFile.load(); }
    bool save() { return settingsFile.save(); }
    bool saveAndRemember() { return settingsFile.saveAndRemember(); }
    void poll() { settingsFile.poll(); }

    const juce::File& getFile() const noexcept { return settingsFile.getFile(); }

private:
    GlobalSettingsFile settingsFile;
};

} // namespace brevalon
