// The render loop in-process: what the executable and the benchmark share.

#include "app/OfflineRenderer.h"
#include "tests/support/AllocationCounter.h"
#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>

using namespace brevalon::app;
using namespace brevalon::test;

// Everything is allocated up front: streaming a whole buffer through the processor, block
// by block, allocates nothing.
TEST (OfflineRenderer, RenderLoopDoesNotAllocate)
{
    for (const int blockSize : { 1, 512, 5000 })
    {
        SCOPED_TRACE (blockSize);
        const auto input = makeNoise (2, 200000, 4);
        juce::AudioBuffer<float> output (2, input.getNumSamples());
        OfflineRenderer renderer ({}, 192000.0, 2, blockSize, true);
        BufferSource source (input);
        BufferSink sink (output);
        double lastProgress = 0.0;
        const std::function<void (double)> progress = [&lastProgress] (double fraction) { lastProgress = fraction; };

        const AllocationScope allocations;
        const auto outcome = renderer.render (source, sink, progress);
        EXPECT_EQ (allocations.count(), 0u);
        EXPECT_EQ (outcome, OfflineRenderer::Outcome::completed);
        EXPECT_EQ (lastProgress, 1.0);
    }
}

// renderBuffer keeps the shape of its input, and the block size changes only where the block
// boundaries fall, never the result of this time-invariant filter.
TEST (OfflineRenderer, RenderBufferKeepsShapeAndIsBlockSizeInvariant)
{
    // Shorter than one chunk, and several chunks long.
    for (const int length : { 7777, 70001 })
        for (const int channels : { 1, 2 })
        {
            const auto input = makeNoise (channels, length, 8);
            const auto reference = renderBuffer (input, 96000.0, {}, 512);
            EXPECT_EQ (reference.getNumChannels(), channels);
            EXPECT_EQ (reference.getNumSamples(), input.getNumSamples());
            for (const int blockSize : { 1, 64, 1000, 65536 })
                EXPECT_TRUE (identical (renderBuffer (input, 96000.0, {}, blockSize), reference)) << length << ", block " << blockSize;
        }
}

namespace
{

// A source and a sink over memory that record the order of the hand-overs and can fail at a
// given chunk (counted from 0; -1 never).
struct Recorder
{
    std::mutex mutex;
    juce::int64 framesWritten = 0;
    juce::int64 furthestReadAhead = 0; // frames read beyond those written, at most
    bool inOrder = true;
};

class RecordingSource : public BufferSource
{
public:
    RecordingSource (const juce::AudioBuffer<float>& input, Recorder& recorderToUse, int failingRead)
        : BufferSource (input),
          recorder (recorderToUse),
          failAt (failingRead)
    {
    }
    bool read (juce::AudioBuffer<float>& destination, juce::int64 position, int numSamples) override
    {
        {
            const std::lock_guard<std::mutex> lock (recorder.mutex);
            recorder.inOrder = recorder.inOrder && position == nextPosition;
            recorder.furthestReadAhead = std::max (recorder.furthestReadAhead, position + numSamples - recorder.framesWritten);
        }
        nextPosition = position + numSamples;
        return reads++ != failAt && BufferSource::read (destination, position, numSamples);
    }

private:
    Recorder& recorder;
    int failAt;
    int reads = 0;
    juce::int64 nextPosition = 0;
};

class RecordingSink : public BufferSink
{
public:
    RecordingSink (juce::AudioBuffer<float>& output, Recorder& recorderToUse, int failingWrite)
        : BufferSink (output),
          recorder (recorderToUse),
          failAt (failingWrite)
    {
    }
    bool write (const juce::AudioBuffer<float>& source, int startSample, int numSamples) override
    {
        if (writes++ == failAt || ! BufferSink::write (source, startSample, numSamples))
            return false;
        const std::lock_guard<std::mutex> lock (recorder.mutex);
        recorder.framesWritten += numSamples;
        return true;
    }

private:
    Recorder& recorder;
    int failAt;
    int writes = 0;
};

} // namespace

// Reading runs ahead of writing by at most the chunks in flight, which bounds the memory
// whatever the stream's length; the source is read in order and the result is the one-thread
// result.
TEST (OfflineRenderer, ReadingStaysWithinTheChunksInFlight)
{
    const int blockSize = 512;
    const auto input = makeNoise (2, 20 * OfflineRenderer::preferredChunkFrames + 123, 3);
    const auto reference = renderBuffer (input, 192000.0, {}, blockSize);

    Recorder recorder;
    juce::AudioBuffer<float> output (2, input.getNumSamples());
    OfflineRenderer renderer ({}, 192000.0, 2, blockSize, true);
    RecordingSource source (input, recorder, -1);
    RecordingSink sink (output, recorder, -1);
    ASSERT_EQ (renderer.render (source, sink), OfflineRenderer::Outcome::completed);

    EXPECT_TRUE (recorder.inOrder);
    // The frames written lag the stream by the dropped latency.
    EXPECT_LE (recorder.furthestReadAhead,
               OfflineRenderer::chunksInFlight * OfflineRenderer::preferredChunkFrames + renderer.getLatencySamples());
    EXPECT_TRUE (identical (output, reference));
}

// A failing read or write stops all three stages and is reported; nothing waits for ever.
TEST (OfflineRenderer, FailuresStopTheRender)
{
    const struct
    {
        int failingRead, failingWrite;
        OfflineRenderer::Outcome outcome;
    } cases[] = {
        { 0, -1, OfflineRenderer::Outcome::readFailed },  { 5, -1, OfflineRenderer::Outcome::readFailed },
        { -1, 0, OfflineRenderer::Outcome::writeFailed }, { -1, 7, OfflineRenderer::Outcome::writeFailed },
        { 6, 2, OfflineRenderer::Outcome::writeFailed }, // the write fails first
    };
    const auto input = makeNoise (2, 10 * OfflineRenderer::preferredChunkFrames, 5);
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "read " << c.failingRead << ", write " << c.failingWrite);
        Recorder recorder;
        juce::AudioBuffer<float> output (2, input.getNumSamples());
        OfflineRenderer renderer ({}, 96000.0, 2, 512, false); // every chunk written whole
        RecordingSource source (input, recorder, c.failingRead);
        RecordingSink sink (output, recorder, c.failingWrite);
        EXPECT_EQ (renderer.render (source, sink), c.outcome);

        // Writes end at the failing one; after a failed read, the chunks before it may or may
        // not have been written when the stages stopped.
        const juce::int64 chunkFrames = OfflineRenderer::preferredChunkFrames;
        if (c.outcome == OfflineRenderer::Outcome::writeFailed)
            EXPECT_EQ (recorder.framesWritten, c.failingWrite * chunkFrames);
        else
            EXPECT_LE (recorder.framesWritten, c.failingRead * chunkFrames);
    }
}
