#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

// Linked into JUCE's LV2 manifest helper: before its main() runs, points XDG_CONFIG_HOME (the
// folder that holds the plug-in's settings) at a new, empty temporary folder, and removes that
// folder when the helper exits. Without such a folder the helper stops before loading anything.
namespace
{
class TemporarySettingsFolder
{
public:
    TemporarySettingsFolder()
    {
        std::error_code error;
        const auto base = std::filesystem::temp_directory_path (error);
        std::string pattern = (base / "brevalon-lv2-manifest-XXXXXX").string();
        if (error || mkdtemp (pattern.data()) == nullptr)
        {
            std::fputs ("juce_lv2_helper: cannot create a temporary settings folder\n", stderr);
            std::_Exit (1);
        }
        folder = pattern;
        setenv ("XDG_CONFIG_HOME", folder.c_str(), 1);
    }

    ~TemporarySettingsFolder()
    {
        std::error_code error;
        std::filesystem::remove_all (folder, error);
    }

    TemporarySettingsFolder (const TemporarySettingsFolder&) = delete;
    TemporarySettingsFolder& operator= (const TemporarySettingsFolder&) = delete;

private:
    std::string folder;
};

const TemporarySettingsFolder temporarySettingsFolder;
} // namespace
