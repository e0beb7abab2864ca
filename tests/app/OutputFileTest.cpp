// The temporary file an output is written to: hidden, short-named and beside its target, moved
// into place on commit and gone when the output is abandoned.

#include "app/OutputFile.h"
#include "RenderTestSupport.h"

#include <gtest/gtest.h>

using brevalon::app::OutputFile;
using brevalon::app::Status;
using namespace brevalon::test;

namespace
{

bool isTemporaryName (const juce::String& name)
{
    return name.length() == 20 && name.startsWith (".brevalon-") && name.endsWith (".tmp") &&
           name.substring (10, 16).containsOnly ("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
}

} // namespace

// Target names up to the 255 bytes a folder entry may have, in plain and multi-byte characters:
// while writing, the folder holds one hidden temporary file; after commit, only the target.
TEST (OutputFile, CommitsTargetsOfEveryNameLength)
{
    const struct
    {
        const char* description;
        juce::String name;
    } cases[] = {
        { "short", "out.wav" },
        { "255 bytes", juce::String::repeatedString ("x", 251) + ".wav" },
        { "255 bytes of two-byte characters", juce::String::repeatedString (juce::String::fromUTF8 ("\xc3\xa9"), 125) + "x.wav" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.description);
        ASSERT_LE (strlen (c.name.toRawUTF8()), 255u);
        TemporaryFolder folder;
        const auto target = folder.file (c.name);
        OutputFile output (target, c.name);
        Status status;
        auto stream = output.openStream (status);
        ASSERT_NE (stream, nullptr) << status.message;
        ASSERT_TRUE (stream->writeText ("audio", false, false, nullptr));
        stream.reset();

        const auto whileWriting = folder.contents();
        ASSERT_EQ (whileWriting.size(), 1) << whileWriting.joinIntoString (" ");
        EXPECT_TRUE (isTemporaryName (whileWriting[0])) << whileWriting[0];
        EXPECT_EQ (output.getTemporaryFile().getParentDirectory(), folder.get());

        const auto committed = output.commit();
        EXPECT_TRUE (committed.ok()) << committed.message;
        EXPECT_EQ (folder.contents(), juce::StringArray (c.name));
        EXPECT_EQ (target.loadFileAsString(), "audio");
    }
}

// An output abandoned before commit, as after an error, leaves the folder as it was.
TEST (OutputFile, AbandonedOutputLeavesNothing)
{
    TemporaryFolder folder;
    const auto target = folder.file ("out.wav");
    target.replaceWithText ("previous result");
    {
        OutputFile output (target, "out.wav");
        Status status;
        auto stream = output.openStream (status);
        ASSERT_NE (stream, nullptr) << status.message;
        stream->writeText ("half an output", false, false, nullptr);
    }
    EXPECT_EQ (folder.contents(), juce::StringArray ("out.wav"));
    EXPECT_EQ (target.loadFileAsString(), "previous result");
}
