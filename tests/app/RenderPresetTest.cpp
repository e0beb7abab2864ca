// brevalon-render starting from presets and state codes: the same output as the equivalent
// filter options, options overriding, and clear errors for names and codes it cannot use.

#include "RenderTestSupport.h"

#include <gtest/gtest.h>

using namespace brevalon::test;

namespace
{

// The shared folder the renderer reads: the test program's main points XDG_CONFIG_HOME at a
// private temporary folder, which the renderer inherits.
juce::File userPresetFile()
{
    return juce::File (juce::SystemStats::getEnvironmentVariable ("XDG_CONFIG_HOME", {}))
        .getChildFile ("Quillfen")
        .getChildFile ("Brevalon.conf");
}

struct PresetFileScope
{
    explicit PresetFileScope (const juce::String& content)
    {
        userPresetFile().getParentDirectory().createDirectory();
        userPresetFile().replaceWithText (content);
    }
    ~PresetFileScope() { userPresetFile().deleteFile(); }
};

juce::AudioBuffer<float> render (const TemporaryFolder& folder, const juce::String& name, juce::StringArray options)
{
    const auto output = folder.file (name + ".wav");
    options.addArray ({ folder.file ("in.wav").getFullPathName(), output.getFullPathName() });
    const auto result = runRenderer (options);
    EXPECT_EQ (result.exitCode, 0) << name << ": " << result.output;
    return readAudioFile (output).samples;
}

} // namespace

TEST (RenderPresets, PresetsAndCodesEqualTheirFilterOptions)
{
    TemporaryFolder folder;
    writeAudioFile (folder.file ("in.wav"), makeNoise (2, 20000, 11), 96000.0, "wav", 32);
    folder.file ("mail.txt")
        .replaceWithText ("Hi,\n\nthis is my setting:\n\n<Brevalon freqParam=\"22500.0\" slopeParam=\"40.0\" "
                          "mixParam=\"80.0\" bypassParam=\"Off\"/>\n\nCheers\n");
    const PresetFileScope userPresets (
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Quillfen><presets><preset _No_=\"1000\" _Name_=\"My Master\" freqParam=\"24000.0\" "
        "slopeParam=\"10.0\" mixParam=\"90.0\" bypassParam=\"Off\"/></presets></Quillfen>");

    const struct
    {
        const char* name;
        juce::StringArray preset, equivalent;
    } cases[] = {
        { "hard", { "--preset", "hARD" }, { "--frequency", "20000", "--slope", "100", "--mix", "100" } },
        { "light-overridden", { "--preset", "Light", "--mix", "50" }, { "--frequency", "23000", "--slope", "30", "--mix", "50" } },
        { "steep", { "--preset", "Steep and reduced" }, { "--frequency", "21000", "--slope", "100", "--mix", "60" } },
        { "user", { "--preset", "my master" }, { "--frequency", "24000", "--slope", "10", "--mix", "90" } },
        { "code",
          { "--state", "<brevalon freqParam=\"20500.0\" slopeParam=\"55.5\"/>" },
          { "--frequency", "20500", "--slope", "55.5", "--mix", "100" } },
        { "code-file",
          { "--state", "@" + folder.file ("mail.txt").getFullPathName() },
          { "--frequency", "22500", "--slope", "40", "--mix", "80" } },
    };
    for (const auto& c : cases)
    {
        const auto fromPreset = render (folder, juce::String (c.name) + "-preset", c.preset);
        const auto fromOptions = render (folder, juce::String (c.name) + "-options", c.equivalent);
        EXPECT_TRUE (identical (fromPreset, fromOptions)) << c.name;
    }
    EXPECT_FALSE (identical (render (folder, "light", { "--preset", "light" }), render (folder, "hard-again", { "--preset", "hard" })));
}

TEST (RenderPresets, ListShowsFactoryAndUserPresets)
{
    const PresetFileScope userPresets (
        "<Quillfen><presets><preset _No_=\"1001\" _Name_=\"Second slot\" freqParam=\"24000.0\" slopeParam=\"12.5\" "
        "mixParam=\"40.0\" bypassParam=\"On\"/>"
        "<preset _No_=\"1000\" _Name_=\"Gone\" _Deleted_=\"1\"/></presets></Quillfen>");
    const auto result = runRenderer ({ "--list-presets" });
    EXPECT_EQ (result.exitCode, 0);
    EXPECT_EQ (result.output, "kind     name                frequency   slope     mix  bypass\n"
                              "factory  Default              21000 Hz    75 %   100 %  off\n"
                              "factory  Light                23000 Hz    30 %   100 %  off\n"
                              "factory  Intermediate         22000 Hz    50 %   100 %  off\n"
                              "factory  Steep and reduced    21000 Hz   100 %    60 %  off\n"
                              "factory  Hard                 20000 Hz   100 %   100 %  off\n"
                              "user     Second slot          24000 Hz  12.5 %    40 %  on\n");
}

TEST (RenderPresets, UnusablePresetsAndCodesAreErrors)
{
    TemporaryFolder folder;
    writeAudioFile (folder.file ("in.wav"), makeNoise (2, 1000, 12), 96000.0, "wav", 24);
    folder.file ("plain.txt").replaceWithText ("no code in here");
    const struct
    {
        juce::StringArray options;
        int exitCode;
        const char* message;
    } cases[] = {
        { { "--preset", "Unknown" }, 2, "no such preset" },
        { { "--preset", "USER001" }, 2, "no such preset" }, // an empty user slot
        { { "--state", "just words" }, 2, "no state code" },
        { { "--state", "<Other freqParam=\"22000\"/>" }, 2, "no state code" },
        { { "--state", "@" + folder.file ("plain.txt").getFullPathName() }, 2, "no state code" },
        { { "--state", "@" + folder.file ("missing.txt").getFullPathName() }, 1, "missing.txt" },
        { { "--preset", "Light", "--state", "<Brevalon/>" }, 2, "cannot be combined" },
    };
    for (const auto& c : cases)
    {
        auto arguments = c.options;
        arguments.addArray ({ folder.file ("in.wav").getFullPathName(), folder.file ("out.wav").getFullPathName() });
        const auto result = runRenderer (arguments);
        EXPECT_EQ (result.exitCode, c.exitCode) << arguments.joinIntoString (" ");
        EXPECT_TRUE (result.output.contains (c.message)) << result.output;
        EXPECT_EQ (result.output.trim().indexOfChar ('\n'), -1) << "one line: " << result.output;
        EXPECT_FALSE (folder.file ("out.wav").exists());
    }
}
