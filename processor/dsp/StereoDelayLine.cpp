#include "processor/dsp/StereoDelayLine.h"

#include <algorithm>

namespace brevalon
{

void StereoDelayLine::setLength (uint32_t newLength)
{
    const uint32_t frames = storageFramesFor (newLength);
    storage = std::make_unique<double[]> (2 * static_cast<size_t> (frames)); // value-initialised: all zero
    storageFrames = frames;
    leftSamples = storage.get();
    rightSamples = leftSamples + frames;
    length = newLength;
    end = newLength;
}

void StereoDelayLine::reset() noexcept
{
    if (storage != nullptr)
        std::fill (storage.get(), storage.get() + 2 * static_cast<size_t> (storageFrames), 0.0);
    end = length;
}

void StereoDelayLine::wrap() noexcept
{
    // end > 2N here, so source and destination do not overlap.
    std::copy (leftSamples + (end - length), leftSamples + end, leftSamples);
    std::copy (rightSamples + (end - length), rightSamples + end, rightSamples);
    end = length;
}

} // namespace brevalon
