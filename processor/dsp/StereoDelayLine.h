#pragma once

#include <cstdint>
#include <memory>

namespace brevalon
{

// Stereo input history in double precision. Frames are stored twice over (2N frames plus
// padding) so that the N most recent frames are always contiguous from the write position:
// frame(k) is the input from k samples ago. The position counts down; when it reaches 0 the
// newest N frames are copied to the upper half, one copy of N frames every N samples.
class StereoDelayLine
{
public:
    struct alignas (16) Frame
    {
        double left;
        double right;
    };

    // Allocates zeroed storage for a history of `newLength` frames. Not for the audio thread
    // unless the length is unchanged.
    void setLength (uint32_t newLength);

    // Clears the history: position = length, frames 0 .. 2N-1 zeroed.
    void reset() noexcept;

    uint32_t getLength() const noexcept { return length; }
    uint32_t getPosition() const noexcept { return position; }

    void write (double left, double right) noexcept
    {
        if (position == 0)
            wrap();
        --position;
        frames[position] = { left, right };
    }

    // The frame written k samples ago (k = 0 is the newest); valid for k < length, and beyond
    // that into the zero padding.
    const Frame& frame (uint32_t k) const noexcept { return frames[position + k]; }

    // Interleaved (left, right) doubles starting at frame(k).
    const double* samplesFrom (uint32_t k) const noexcept { return &frames[position + k].left; }

    // Number of frames of storage: 2N rounded up to a multiple of 8.
    static uint32_t storageFramesFor (uint32_t length) noexcept { return (2 * length + 7) & ~7u; }

private:
    void wrap() noexcept;

    std::unique_ptr<Frame[]> frames;
    uint32_t length = 0;
    uint32_t position = 0;
};

} // namespace brevalon
