#pragma once

#include "StereoDelayLine.h"

#include <cstdint>

namespace brevalon
{

struct StereoSum
{
    double left;
    double right;
};

// Sum over k < paddedCount of taps[k] * frame k, where frames are interleaved (left, right)
// doubles. paddedCount is a multiple of 4; the taps beyond the filter length are 0.
//
// Baseline x86-64 (SSE2) version: four accumulators of (left, right) pairs, one per tap of a
// group of four, added together at the end.
StereoSum stereoDotBaseline (const double* taps, const double* frames, int paddedCount) noexcept;

// AVX2/FMA version, two frames per operation. Only call when cpuSupportsAvx2Fma() is true.
StereoSum stereoDotAvx2 (const double* taps, const double* frames, int paddedCount) noexcept;

// AVX2/FMA: the sums for two consecutive output samples in one pass over the taps. `frames`
// is the history of the older sample; the newer one's history starts one frame earlier.
void stereoDotPairAvx2 (const double* taps, const double* frames, int paddedCount, StereoSum& older, StereoSum& newer) noexcept;

bool cpuSupportsAvx2Fma() noexcept;

// One block of filtering: per sample, write the input frame into the history, then
// output = wetGain * (taps . history from readOffset) + dryGain * (history at the centre).
struct FilterBlock
{
    StereoDelayLine& delay;
    const double* taps;
    int paddedCount;
    uint32_t readOffset;
    uint32_t centre;
    double wetGain;
    double dryGain;
};

using FilterBlockFunction = void (*) (const FilterBlock&, const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                                      int numSamples) noexcept;

void filterBlockBaseline (const FilterBlock&, const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                          int numSamples) noexcept;
void filterBlockAvx2 (const FilterBlock&, const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                      int numSamples) noexcept;

// The fastest version this processor runs.
FilterBlockFunction selectFilterBlock() noexcept;

} // namespace brevalon
