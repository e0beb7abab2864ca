#pragma once

#include "app/Status.h"

namespace brevalon::app
{

// Writes mono 64-bit IEEE float samples as a RIFF/WAVE file (format tag 3, an 18-byte fmt chunk,
// a fact chunk with the sample count, then the data), which JUCE's WAV writer cannot produce.
// All fields little-endian. The sample rate is stored rounded to whole hertz.
bool writeFloat64Wav (juce::OutputStream& stream, const double* samples, int numSamples, double sampleRate);

// The same into a file, through a temporary file moved into place when complete.
Status writeFloat64WavFile (const juce::File& file, const juce::String& displayName, const double* samples, int numSamples,
                            double sampleRate);

} // namespace brevalon::app
