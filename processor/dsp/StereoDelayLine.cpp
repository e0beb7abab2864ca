#include "processor/dsp/StereoDelayLine.h"

#include <algorithm>

namespace brevalon
{

void StereoDelayLine::setLength (uint32_t newLength)
{
    const auto storageFrames = storageFramesFor (newLength);
    auto newFrames = std::make_unique<Frame[]> (storageFrames); // value-initialised: all zero
    frames = std::move (newFrames);
    length = newLength;
    position = newLength;
}

void StereoDelayLine::reset() noexcept
{
    position = length;
    if (frames != nullptr)
        std::fill (frames.get(), frames.get() + 2 * length, Frame{ 0.0, 0.0 });
}

void StereoDelayLine::wrap() noexcept
{
    std::copy (frames.get(), frames.get() + length, frames.get() + length);
    position = length;
}

} // namespace brevalon
