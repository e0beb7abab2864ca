#pragma once

// Header-only, so test programs of either JUCE build (brevalon_juce or the hosting build) can use
// it.

#include "tests/support/WhiteNoise.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <cmath>
#include <cstring>

namespace brevalon::test
{

// White noise in -amplitude..amplitude, reproducible from the seed (see WhiteNoise).
inline juce::AudioBuffer<float> makeNoise (int numChannels, int numSamples, unsigned seed, float amplitude = 0.5f)
{
    WhiteNoise noise (seed, amplitude);
    juce::AudioBuffer<float> buffer (numChannels, numSamples);
    for (int channel = 0; channel < numChannels; ++channel)
        noise.fill (buffer.getWritePointer (channel), static_cast<size_t> (numSamples));
    return buffer;
}

// Noise of amplitude 0.5 quantised to `bitsPerSample`, so it survives a round trip through an
// integer file.
inline juce::AudioBuffer<float> makeQuantisedNoise (int numChannels, int numSamples, unsigned seed, int bitsPerSample)
{
    auto noise = makeNoise (numChannels, numSamples, seed);
    const float steps = static_cast<float> (1 << (bitsPerSample - 1));
    for (int channel = 0; channel < numChannels; ++channel)
        for (int i = 0; i < numSamples; ++i)
            noise.setSample (channel, i, std::round (noise.getSample (channel, i) * steps) / steps);
    return noise;
}

// True when both buffers have the same shape and bit-identical samples.
inline bool identical (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
{
    if (a.getNumChannels() != b.getNumChannels() || a.getNumSamples() != b.getNumSamples())
        return false;
    for (int channel = 0; channel < a.getNumChannels(); ++channel)
        if (std::memcmp (a.getReadPointer (channel), b.getReadPointer (channel),
                         sizeof (float) * static_cast<size_t> (a.getNumSamples())) != 0)
            return false;
    return true;
}

} // namespace brevalon::test
