// brevalon-render with damaged or hostile files in the shared folder, and hostile state codes:
// it stays alive, never writes over the files, and keeps the factory presets its own.

#include "RenderTestSupport.h"
#include "tests/support/HostileXml.h"

#include <gtest/gtest.h>

using namespace brevalon::test;

namespace
{
// The shared folder the renderer reads: the test program's main points XDG_CONFIG_HOME at a
// private temporary folder, which the renderer inherits.
juce::File sharedFile (const juce::String& name)
{
    return juce::File (juce::SystemStats::getEnvironmentVariable ("XDG_CONFIG_HOME", {})).getChildFile ("Quillfen").getChildFile (name);
}

struct SharedFileScope
{
    SharedFileScope (const juce::String& name, const juce::String& content)
        : file (sharedFile (name))
    {
        file.getParentDirectory().createDirectory();
        EXPECT_TRUE (file.replaceWithText (content));
    }
    ~SharedFileScope() { file.deleteFile(); }

    juce::File file;
};
} // namespace

TEST (RenderSharedFiles, HostileDocumentsNeitherCrashNorChangeAnything)
{
    TemporaryFolder folder;
    for (const auto& document : brevalon::test::hostileDocuments())
    {
        SCOPED_TRACE (document.name);
        const bool accepted = document.verdict == brevalon::XmlGuard::Verdict::accepted;

        const auto settingsText = brevalon::test::makeDocument (document, "<Quillfen", "<mouseSensitivity>50</mouseSensitivity>");
        const SharedFileScope settings ("global.conf", settingsText);
        const auto presetsText = brevalon::test::makeDocument (
            document, "<Quillfen", "<presets><preset _No_=\"1000\" _Name_=\"Deep\" mixParam=\"50.0\"/></presets>");
        const SharedFileScope presets ("Brevalon.conf", presetsText);

        const auto taps = runRenderer ({ "--print-taps", "--rate", "96000" });
        EXPECT_EQ (taps.exitCode, 0) << taps.output;
        const auto list = runRenderer ({ "--list-presets" });
        EXPECT_EQ (list.exitCode, 0) << list.output;
        EXPECT_EQ (list.output.contains ("Deep"), accepted) << list.output;

        const auto code = folder.file ("code.txt");
        code.replaceWithText (brevalon::test::makeDocument (document, "<Brevalon mixParam=\"50.0\"") + "<x/>");
        const auto state = runRenderer ({ "--state", "@" + code.getFullPathName(), "--print-taps", "--rate", "96000" });
        EXPECT_EQ (state.exitCode, accepted ? 0 : 2) << state.output;

        EXPECT_TRUE (settings.file.loadFileAsString() == settingsText) << "global.conf was changed";
        EXPECT_TRUE (presets.file.loadFileAsString() == presetsText) << "Brevalon.conf was changed";
    }
}

// Entries that are not user presets (no number, or a factory program's) stay out of the list.
TEST (RenderSharedFiles, TheUserPresetFileCannotReplaceFactoryPresets)
{
    const SharedFileScope presets ("Brevalon.conf",
                                   "<Quillfen><presets>"
                                   "<preset _Name_=\"Mine\" freqParam=\"20000.0\" slopeParam=\"0.0\" mixParam=\"50.0\" bypassParam=\"On\"/>"
                                   "<preset _No_=\"3\" _Name_=\"Also mine\"/>"
                                   "<preset _No_=\"1001\" _Name_=\"Really mine\"/>"
                                   "</presets></Quillfen>");
    const auto list = runRenderer ({ "--list-presets" });
    EXPECT_EQ (list.exitCode, 0);
    juce::StringArray names;
    for (const auto& line : juce::StringArray::fromLines (list.output.trimEnd()))
        names.add (line.substring (0, 28).trimEnd());
    EXPECT_EQ (names.joinIntoString ("|"), "kind     name|factory  Default|factory  Light|factory  Intermediate|factory  Steep and reduced|"
                                           "factory  Hard|user     Really mine");
    EXPECT_EQ (runRenderer ({ "--preset", "Default", "--print-taps", "--rate", "96000" }).exitCode, 0);
}

// A command-line tool creates and changes nothing in the user's configuration folder, whatever
// it does; it only reads the user presets.
TEST (RenderSharedFiles, TheConfigurationFolderStaysUntouched)
{
    TemporaryFolder folder;
    writeAudioFile (folder.file ("in.wav"), makeNoise (2, 4000, 5), 96000.0, "wav", 24);
    const TemporaryFolder configuration;
    const auto previous = juce::SystemStats::getEnvironmentVariable ("XDG_CONFIG_HOME", {});
    setenv ("XDG_CONFIG_HOME", configuration.get().getFullPathName().toRawUTF8(), 1);

    const juce::StringArray runs[] = {
        { "--print-taps", "--rate", "96000" },
        { "--export-ir", folder.file ("ir.wav").getFullPathName(), "--rate", "96000" },
        { "--list-presets" },
        { "--preset", "Light", folder.file ("in.wav").getFullPathName(), folder.file ("out.wav").getFullPathName() },
    };
    for (const auto& arguments : runs)
    {
        const auto run = runRenderer (arguments);
        EXPECT_EQ (run.exitCode, 0) << arguments.joinIntoString (" ") << ": " << run.output;
        EXPECT_TRUE (configuration.contents().isEmpty())
            << arguments.joinIntoString (" ") << ": " << configuration.contents().joinIntoString (" ");
    }
    setenv ("XDG_CONFIG_HOME", previous.toRawUTF8(), 1);
}
