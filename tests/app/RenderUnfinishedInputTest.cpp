// Audio files that end before the length their header claims, as an unfinished recording or a
// copy cut short does: brevalon-render renders the frames present, adds no silence after them,
// and warns with both lengths.

#include "RenderTestSupport.h"

#include <gtest/gtest.h>

using namespace brevalon::test;

namespace
{

// Writes `frames` frames of `noise` as a complete file.
juce::File writeComplete (const TemporaryFolder& folder, const juce::String& name, const juce::AudioBuffer<float>& noise, int frames,
                          const juce::String& format, int bits)
{
    const auto file = folder.file (name + "." + format);
    juce::AudioBuffer<float> start (noise.getNumChannels(), frames);
    for (int channel = 0; channel < noise.getNumChannels(); ++channel)
        start.copyFrom (channel, 0, noise, channel, 0, frames);
    writeAudioFile (file, start, 96000.0, format, bits);
    return file;
}

} // namespace

TEST (RenderUnfinishedInput, RendersOnlyTheFramesPresent)
{
    constexpr int claimed = 3000;
    const struct
    {
        const char* format;
        int channels, bits;
        int present;    // whole frames left in the file
        int extraBytes; // and this much of the next frame
    } cases[] = {
        { "wav", 2, 16, 1560, 0 },  { "wav", 1, 24, 700, 2 },   { "wav", 2, 32, 1, 7 },
        { "aiff", 2, 24, 2999, 5 }, { "aiff", 1, 16, 1200, 0 }, { "wav", 2, 24, claimed, 0 }, // complete
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << c.format << ", " << c.channels << " channel(s), " << c.bits << " bits, " << c.present
                                         << " frames and " << c.extraBytes << " bytes present");
        TemporaryFolder folder;
        const auto noise = makeNoise (c.channels, claimed, 21);
        const auto cut = writeComplete (folder, "cut", noise, claimed, c.format, c.bits);
        const auto whole = writeComplete (folder, "whole", noise, c.present, c.format, c.bits);

        // The readers' files end with the audio data, so cutting the file cuts the data.
        const int bytesPerFrame = c.channels * c.bits / 8;
        const auto headerBytes = cut.getSize() - juce::int64{ claimed } * bytesPerFrame;
        ASSERT_EQ (headerBytes, whole.getSize() - juce::int64{ c.present } * bytesPerFrame) << "the data is not at the end";
        {
            juce::FileOutputStream stream (cut);
            stream.setPosition (headerBytes + juce::int64{ c.present } * bytesPerFrame + c.extraBytes);
            ASSERT_TRUE (stream.truncate().wasOk());
        }

        const auto fromCut = folder.file ("from-cut." + juce::String (c.format));
        const auto fromWhole = folder.file ("from-whole." + juce::String (c.format));
        const auto run = runRenderer ({ cut.getFullPathName(), fromCut.getFullPathName() });
        ASSERT_EQ (run.exitCode, 0) << run.output;
        ASSERT_EQ (runRenderer ({ whole.getFullPathName(), fromWhole.getFullPathName(), "--quiet" }).exitCode, 0);

        if (c.present < claimed)
        {
            EXPECT_TRUE (run.output.contains ("cut." + juce::String (c.format) + ": the file ends early: its header claims " +
                                              juce::String (claimed) + " frames"))
                << run.output;
            EXPECT_TRUE (run.output.contains ("it holds " + juce::String (c.present) + " frames")) << run.output;
        }
        else
        {
            EXPECT_FALSE (run.output.contains ("ends early")) << run.output;
        }
        const auto rendered = readAudioFile (fromCut).samples;
        EXPECT_EQ (rendered.getNumSamples(), c.present);
        EXPECT_TRUE (identical (rendered, readAudioFile (fromWhole).samples));
    }
}
