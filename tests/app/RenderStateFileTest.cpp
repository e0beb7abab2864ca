// --state @FILE read from files and streams: anything up to 1 MiB, standard input and pipes
// included; more is a usage error, an unreadable file a file error.

#include "app/CommandLine.h"
#include "app/PresetSettings.h"
#include "RenderTestSupport.h"

#include <gtest/gtest.h>

using namespace brevalon::app;
using namespace brevalon::test;

namespace
{

const std::string stateCode = "<Brevalon freqParam=\"22500.0\" slopeParam=\"40.0\"/>";
constexpr size_t mebibyte = 1 << 20;

// A text of `size` bytes that ends with the state code.
std::string paddedStateCode (size_t size)
{
    return std::string (size - stateCode.size(), ' ') + stateCode;
}

// Parses and applies `--state @path` the way brevalon-render does.
Status applyStateFile (const juce::String& path, FilterSettings& settings)
{
    auto parsed = parseCommandLine ({ "--print-taps", "--rate", "96000", "--state", "@" + path.toStdString() });
    EXPECT_TRUE (parsed.status.ok()) << parsed.status.message;
    const auto status = applyPresetOrState (parsed.command);
    settings = parsed.command.filter;
    return status;
}

} // namespace

TEST (RenderStateFile, ReadsUpToOneMebibyteFromAnyFile)
{
    TemporaryFolder folder;
    const struct
    {
        const char* description;
        std::function<juce::String()> makeFile; // returns the path for @
        int exitCode;
        const char* messagePart;
    } cases[] = {
        { "a short file", [&] { return folder.file ("short.txt").getFullPathName(); }, 0, "" },
        { "exactly 1 MiB",
          [&]
          {
              folder.file ("limit.txt").replaceWithText (paddedStateCode (mebibyte));
              return folder.file ("limit.txt").getFullPathName();
          },
          0, "" },
        { "1 MiB and a byte",
          [&]
          {
              folder.file ("over.txt").replaceWithText (paddedStateCode (mebibyte + 1));
              return folder.file ("over.txt").getFullPathName();
          },
          2, "longer than 1 MiB" },
        { "an endless stream", [] { return juce::String ("/dev/zero"); }, 2, "--state @/dev/zero: longer than 1 MiB" },
        { "a folder", [&] { return folder.get().getFullPathName(); }, 1, "cannot be read" },
        { "a missing file", [&] { return folder.file ("missing.txt").getFullPathName(); }, 1, "missing.txt: no such file" },
    };
    folder.file ("short.txt").replaceWithText (stateCode);

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.description);
        FilterSettings settings;
        const auto status = applyStateFile (c.makeFile(), settings);
        EXPECT_EQ (status.exitCode, c.exitCode) << status.message;
        EXPECT_TRUE (status.message.contains (c.messagePart)) << status.message;
        if (status.ok())
        {
            EXPECT_EQ (settings.frequencyHz, 22500.0);
            EXPECT_NEAR (settings.slopePercent, 40.0, 1e-4); // stored in single precision
        }
    }
}

// Standard input through a pipe, as `--state @/dev/stdin` and a shell's process substitution
// (`--state @<(...)`, a /dev/fd path on a pipe) give it.
TEST (RenderStateFile, ReadsStandardInputThroughAPipe)
{
    TemporaryFolder folder;
    const auto input = folder.file ("in.wav");
    writeAudioFile (input, makeNoise (2, 4000, 13), 96000.0, "wav", 32);
    const auto expected = folder.file ("expected.wav");
    ASSERT_EQ (runRenderer ({ "--frequency", "22500", "--slope", "40", input.getFullPathName(), expected.getFullPathName() }).exitCode, 0);

    for (const char* path : { "/dev/stdin", "/dev/fd/0" })
    {
        SCOPED_TRACE (path);
        const auto output = folder.file ("from-stdin.wav");
        const auto run = runRenderer ({ "--state", juce::String ("@") + path, input.getFullPathName(), output.getFullPathName() },
                                      "Hi,\n" + stateCode + "\n");
        ASSERT_EQ (run.exitCode, 0) << run.output;
        EXPECT_TRUE (identical (readAudioFile (output).samples, readAudioFile (expected).samples));
    }
}
