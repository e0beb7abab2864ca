#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

namespace brevalon::app
{

// Mean power of a signal between two frequencies, averaged over its channels, in dB relative
// to a full-scale sine (a full-scale sine inside the band reads 0 dB). Measured with
// Hann-windowed FFT frames of 16384 samples at 50 % overlap; bins whose centre lies in
// [lowHz, highHz) count.
double bandPowerDb (const juce::AudioBuffer<float>& signal, double sampleRate, double lowHz, double highHz);

} // namespace brevalon::app
