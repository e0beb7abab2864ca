#include "FirLowpassEngine.h"

namespace brevalon
{

FirLowpassEngine::FirLowpassEngine() noexcept : filterBlock (selectFilterBlock()) {}

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

    designCorner = cornerHz;
    designSlope = slope;
    designRate = sampleRate;
    responseChanged = true;

    const FirDesign design = designLowpass (cornerHz, slope, sampleRate);

    // The storage holds the largest filter, so a new design only overwrites it; the slots
    // beyond M come from the design as zeros.
    taps = design.coefficients;
    count = design.count;

    // A new nominal length means a new rate: the history starts afresh. The same length keeps
    // history and position, so a corner or slope change causes no gap.
    if (static_cast<uint32_t> (design.nominalLength) != delay.getLength())
        delay.setLength (static_cast<uint32_t> (design.nominalLength));

    readOffset = design.readOffset;
    active = true;
}

void FirLowpassEngine::setMixGains (double dry) noexcept
{
    dryGain = dry;
    wetGain = 1.0 - dry;
    responseChanged = true;
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

    if (bypassed || hostBypassed)
    {
        for (int i = 0; i < numSamples; ++i)
        {
            delay.write (static_cast<double> (inLeft[i]), static_cast<double> (inRight[i]));
            const auto& dry = delay.frame (centre);
            outLeft[i] = static_cast<float> (dry.left);
            outRight[i] = static_cast<float> (dry.right);
        }
        return;
    }

    filterBlock ({ delay, taps.data(), paddedTapCount (count), static_cast<uint32_t> (readOffset), centre, wetGain, dryGain }, inLeft,
                 inRight, outLeft, outRight, numSamples);
}

} // namespace brevalon
