#pragma once

#include "app/Console.h"
#include "app/FilterSettings.h"
#include "app/Status.h"

#include <vector>

namespace brevalon::app
{

// The filter the plug-in runs for given settings at a sample rate.
struct FilterTaps
{
    int nominalLength = 0;    // N; the latency is N >> 1
    int readOffset = 0;       // (N >> 1) - (M >> 1): the taps' delay inside the nominal length
    std::vector<double> taps; // the M taps
};

// Taken from a prepared processor, so the values pass through the same parameter mapping as in
// the plug-in. Precondition: a rate the filter supports (88200..384000 Hz).
FilterTaps filterTapsFor (const FilterSettings& settings, double sampleRate);

// --print-taps: N, M, readOffset, then the taps, one number per line (17 significant digits).
juce::String formatTaps (const FilterTaps& filter);

// --export-ir: the taps as a mono 64-bit float WAV. A file name with the extension of another
// audio format (.aiff, .flac) is a usage error, as it is for a render's output.
Status exportImpulseResponse (const juce::String& path, const FilterSettings& settings, double sampleRate, Console& console);

} // namespace brevalon::app
