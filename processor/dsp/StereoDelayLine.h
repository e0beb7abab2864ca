#pragma once

#include <cstdint>
#include <memory>

namespace brevalon
{

// Stereo input history in double precision: one array per channel, in time order (oldest
// first), so that a run of consecutive samples of any age is one contiguous read and the
// block kernels can compute several output samples side by side in one vector.
//
// Frames are appended in chunks of at most kChunkFrames. The newest `length` frames always lie
// just below the write index, and at least kChunkFrames readable frames lie above it (zero or
// older input), so a kernel may read a whole vector of samples even when a chunk fills only part
// of it. When the storage runs out the newest `length` frames are copied back to the start: one
// copy of N frames about every N + kChunkFrames samples.
class StereoDelayLine
{
public:
    static constexpr uint32_t kChunkFrames = 32;

    // Allocates zeroed storage for a history of `newLength` frames. Not for the audio thread
    // unless the length is unchanged.
    void setLength (uint32_t newLength);

    // Clears the history: every frame 0, as after setLength.
    void reset() noexcept;

    uint32_t getLength() const noexcept { return length; }

    // Appends `count` (1 .. kChunkFrames) frames, widened from float, and returns the index of
    // the first; index i of left() and right() then holds that frame, i - k the one k samples
    // older. Indexes stay valid until the next append.
    uint32_t append (const float* inLeft, const float* inRight, uint32_t count) noexcept
    {
        if (end + kChunkFrames > storageFrames)
            wrap();
        const uint32_t first = end;
        for (uint32_t i = 0; i < count; ++i)
        {
            leftSamples[first + i] = static_cast<double> (inLeft[i]);
            rightSamples[first + i] = static_cast<double> (inRight[i]);
        }
        end += count;
        return first;
    }

    const double* left() const noexcept { return leftSamples; }
    const double* right() const noexcept { return rightSamples; }

    // Frames of storage per channel for a history of `length` frames: 2N plus two chunks.
    static uint32_t storageFramesFor (uint32_t length) noexcept { return 2 * length + 2 * kChunkFrames; }

private:
    void wrap() noexcept;

    std::unique_ptr<double[]> storage;
    double* leftSamples = nullptr;
    double* rightSamples = nullptr;
    uint32_t storageFrames = 0;
    uint32_t length = 0;
    uint32_t end = 0; // the write index: one past the newest frame
};

} // namespace brevalon
