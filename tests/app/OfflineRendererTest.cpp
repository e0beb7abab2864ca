// The render loop in-process: what the executable and the benchmark share.

#include "app/OfflineRenderer.h"
#include "tests/support/AllocationCounter.h"
#include "RenderTestSupport.h"

#include <gtest/gtest.h>

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
    for (const int channels : { 1, 2 })
    {
        const auto input = makeNoise (channels, 7777, 8);
        const auto reference = renderBuffer (input, 96000.0, {}, 512);
        EXPECT_EQ (reference.getNumChannels(), channels);
        EXPECT_EQ (reference.getNumSamples(), input.getNumSamples());
        for (const int blockSize : { 1, 64, 1000, 65536 })
            EXPECT_TRUE (identical (renderBuffer (input, 96000.0, {}, blockSize), reference)) << blockSize;
    }
}
