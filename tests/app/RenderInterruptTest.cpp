// brevalon-render stopped by a signal in the middle of a render: the unfinished temporary file
// is deleted, an existing output is kept as it was, and the process exits with 128 + the signal's
// number.

#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

using namespace brevalon::test;

namespace
{

// A WAV long enough to take seconds to render (10 minutes of 384 kHz stereo), written sparse: a
// header and a file length, no data blocks, so it costs neither time nor disk space.
void writeLongSilentWav (const juce::File& file)
{
    constexpr int rate = 384000, channels = 2;
    constexpr juce::int64 frames = juce::int64{ rate } * 600;
    writeWavHeader (file, rate, channels, frames);
    std::filesystem::resize_file (file.getFullPathName().toStdString(), static_cast<std::uintmax_t> (44 + frames * channels * 2));
}

bool waitForTemporaryFile (const TemporaryFolder& folder)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (20);
    while (std::chrono::steady_clock::now() < deadline)
    {
        for (const auto& name : folder.contents())
            if (name.startsWith (".brevalon-"))
                return true;
        std::this_thread::sleep_for (std::chrono::milliseconds (5));
    }
    return false;
}

} // namespace

TEST (RenderInterrupt, SignalRemovesTheUnfinishedOutput)
{
    for (const int signalNumber : { SIGINT, SIGTERM, SIGHUP })
    {
        SCOPED_TRACE (strsignal (signalNumber));
        TemporaryFolder folder;
        const auto input = folder.file ("long.wav");
        const auto output = folder.file ("out.wav");
        writeLongSilentWav (input);
        output.replaceWithText ("previous result");

        RendererProcess renderer ({ "--slope", "100", input.getFullPathName(), output.getFullPathName() });
        ASSERT_TRUE (waitForTemporaryFile (folder)) << "the render never started";
        renderer.sendSignal (signalNumber);
        const auto run = renderer.finish();

        EXPECT_EQ (run.killedBy, 0) << run.output;
        EXPECT_EQ (run.exitCode, 128 + signalNumber) << run.output;
        EXPECT_EQ (folder.contents(), juce::StringArray ({ "long.wav", "out.wav" })) << folder.contents().joinIntoString (" ");
        EXPECT_EQ (output.loadFileAsString(), "previous result");
    }
}
