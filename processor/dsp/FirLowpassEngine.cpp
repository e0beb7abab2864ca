#include "processor/dsp/FirLowpassEngine.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace brevalon
{

namespace
{
constexpr double kRampSeconds = 0.005;

int rampLengthFor (double sampleRate) noexcept
{
    return std::max (1, static_cast<int> (std::lround (kRampSeconds * sampleRate)));
}

bool sameTaps (const FirDesign& design, const double* taps, int count, int readOffset) noexcept
{
    return design.count == count && design.readOffset == readOffset &&
           std::memcmp (design.coefficients.data(), taps, sizeof (double) * static_cast<size_t> (paddedTapCount (count))) == 0;
}
} // namespace

FirLowpassEngine::FirLowpassEngine (Kernels kernels) noexcept
    : filterBlock (filterBlockFor (kernels == Kernels::fastest ? fastestKernels() : KernelSet::baseline)),
      rampBlock (rampBlockFor (kernels == Kernels::fastest ? fastestKernels() : KernelSet::baseline))
{
}

void FirLowpassEngine::setFilter (double cornerHz, double slope, double sampleRate)
{
    if (active && cornerHz == designCorner && slope == designSlope && sampleRate == designRate)
        return;

    // Written so that a NaN rate also counts as unsupported.
    if (! (sampleRate >= minSampleRate && sampleRate <= maxSampleRate))
    {
        active = false;
        return;
    }

    const bool sameStream = active && sampleRate == designRate;
    designCorner = cornerHz;
    designSlope = slope;
    designRate = sampleRate;
    responseChanged = true;

    const FirDesign design = designLowpass (cornerHz, slope, sampleRate);

    // A new nominal length means a new rate: the history starts afresh. The same length keeps
    // history and position, so a corner or slope change causes no gap.
    if (static_cast<uint32_t> (design.nominalLength) != delay.getLength())
        delay.setLength (static_cast<uint32_t> (design.nominalLength));

    // A new rate, or leaving the inactive state, starts a new stream: no ramp. At the same
    // rate, new taps are crossfaded in while the stream runs.
    if (! sameStream)
    {
        rampLength = rampLengthFor (sampleRate);
        endRamps();
    }
    else if (streaming && ! sameTaps (design, taps.data(), count, readOffset))
        beginCrossfade (design);

    // The storage holds the largest filter, so a new design only overwrites it; the slots
    // beyond M come from the design as zeros.
    taps = design.coefficients;
    count = design.count;
    readOffset = design.readOffset;
    active = true;
}

void FirLowpassEngine::setMixGains (double dry) noexcept
{
    dryGain = dry;
    wetGain = 1.0 - dry;
    responseChanged = true;
}

void FirLowpassEngine::resetDelay() noexcept
{
    delay.reset();
    endRamps();
}

void FirLowpassEngine::endRamps() noexcept
{
    streaming = false;
    rampLeft = 0;
    rampDone = 0;
    rampFrom = rampTo;
}

MixGains FirLowpassEngine::heardGains() const noexcept
{
    if (rampLeft == 0)
        return { 0.0, rampTo.wet, rampTo.dry };
    return rampGains (rampFrom, rampTo, rampDone, rampLength);
}

void FirLowpassEngine::startRamp (const MixGains& target) noexcept
{
    rampFrom = heardGains();
    rampTo = target;
    rampDone = 0;
    rampLeft = rampLength;
}

void FirLowpassEngine::beginCrossfade (const FirDesign& design) noexcept
{
    const MixGains heard = heardGains();
    if (heard.previous == 0.0 && heard.wet == 0.0)
        return; // no filter is heard (bypassed or dry only): the new taps can take over at once

    // The filter heard now, previous and current taps at their gains, as one tap set spanning
    // the frames of all three sets (all are centred on the dry sample).
    const bool fading = rampLeft > 0 && rampFrom.previous != 0.0;
    const int centre = static_cast<int> (delay.getLength() >> 1);
    int extent = std::max (count, design.count);
    if (fading)
        extent = std::max (extent, fadeExtent);
    const int offset = centre - (extent >> 1);

    std::array<double, kMaxPaddedTaps> heardTaps{};
    if (fading)
        for (int k = 0, shift = static_cast<int> (fadeOffset) - offset; k < fadeExtent; ++k)
            heardTaps[static_cast<size_t> (shift + k)] = heard.previous * fadePrevious[static_cast<size_t> (k)];
    for (int k = 0, shift = readOffset - offset; k < count; ++k)
        heardTaps[static_cast<size_t> (shift + k)] += heard.wet * taps[static_cast<size_t> (k)];

    fadePrevious = heardTaps;
    fadeCurrent.fill (0.0);
    std::copy (design.coefficients.begin(), design.coefficients.begin() + design.count, fadeCurrent.begin() + (design.readOffset - offset));
    fadeOffset = static_cast<uint32_t> (offset);
    fadeExtent = extent;

    // The folded filter fades out at full gain while the new taps fade in towards the wet
    // gain; the dry part carries on from where it is.
    rampFrom = { 1.0, 0.0, heard.dry };
    rampDone = 0;
    rampLeft = rampLength;
}

double FirLowpassEngine::magnitudeAt (double frequencyHz) const noexcept
{
    if (frequencyHz > designRate * 0.5)
        return -1.0;
    if (! active)
        return 1.0;
    return brevalon::magnitudeAt (taps.data(), count, frequencyHz / designRate * 2.0) * wetGain + dryGain;
}

void FirLowpassEngine::process (const float* inLeft, const float* inRight, float* outLeft, float* outRight, int numSamples,
                                bool hostBypassed) noexcept
{
    if (numSamples <= 0)
        return;

    if (! active)
    {
        for (int i = 0; i < numSamples; ++i)
        {
            const float left = inLeft[i];
            const float right = inRight[i];
            outLeft[i] = left;
            outRight[i] = right;
        }
        return;
    }

    const uint32_t centre = delay.getLength() >> 1;
    const bool bypass = bypassed || hostBypassed;
    const MixGains target = bypass ? MixGains{ 0.0, 0.0, 1.0 } : MixGains{ 0.0, wetGain, dryGain };

    if (! streaming)
    {
        rampTo = target;
        rampFrom = target;
        streaming = true;
    }
    else if (target.wet != rampTo.wet || target.dry != rampTo.dry)
        startRamp (target);

    // A running ramp takes its samples first; the steady loops below are left untouched.
    if (rampLeft > 0)
    {
        const int n = std::min (rampLeft, numSamples);
        const bool crossfade = rampFrom.previous != 0.0;
        rampBlock ({ delay, taps.data(), count, static_cast<uint32_t> (readOffset), crossfade ? fadePrevious.data() : nullptr,
                     fadeCurrent.data(), fadeExtent, fadeOffset, centre, rampFrom, rampTo, rampLength, rampDone },
                   inLeft, inRight, outLeft, outRight, n);
        rampDone += n;
        rampLeft -= n;
        if (rampLeft == 0)
            rampFrom = rampTo;
        if (n == numSamples)
            return;
        inLeft += n;
        inRight += n;
        outLeft += n;
        outRight += n;
        numSamples -= n;
    }

    if (bypass)
    {
        // A chunk's input goes into the history before any of its output is written, since the
        // buffers may alias.
        for (int i = 0; i < numSamples;)
        {
            const auto n = std::min (static_cast<uint32_t> (numSamples - i), StereoDelayLine::kChunkFrames);
            const uint32_t first = delay.append (inLeft + i, inRight + i, n) - centre;
            for (uint32_t j = 0; j < n; ++j, ++i)
            {
                outLeft[i] = static_cast<float> (delay.left()[first + j]);
                outRight[i] = static_cast<float> (delay.right()[first + j]);
            }
        }
        return;
    }

    filterBlock ({ delay, taps.data(), count, static_cast<uint32_t> (readOffset), centre, wetGain, dryGain }, inLeft, inRight, outLeft,
                 outRight, numSamples);
}

} // namespace brevalon
