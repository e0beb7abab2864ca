#pragma once

#include "processor/dsp/StereoDelayLine.h"

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

// AVX2/FMA, one sample with exactly the arithmetic of each half of stereoDotPairAvx2, so a
// stream comes out the same whether a sample is computed alone or in a pair.
StereoSum stereoDotSingleAvx2 (const double* taps, const double* frames, int paddedCount) noexcept;

// Crossfade sums: two tap sets over the same frames, both symmetric (tap k equals tap
// extent - 1 - k) with an odd extent; the slots from extent up to the next multiple of 4 are 0.
struct FadeSums
{
    StereoSum previous;
    StereoSum current;
};

FadeSums stereoDotFadeBaseline (const double* previousTaps, const double* currentTaps, const double* frames, int extent) noexcept;

// AVX2/FMA. The symmetry halves the work: the two frames that share a tap are added first, and
// each sum is multiplied by both sets' tap. The pair version computes two consecutive samples
// (the newer history one frame earlier, as in stereoDotPairAvx2) with the same arithmetic per
// sample as the single one.
FadeSums stereoDotFadeAvx2 (const double* previousTaps, const double* currentTaps, const double* frames, int extent) noexcept;
void stereoDotFadePairAvx2 (const double* previousTaps, const double* currentTaps, const double* frames, int extent, FadeSums& older,
                            FadeSums& newer) noexcept;

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

// Gains of the three parts of the output while a change is being ramped in: the previous taps'
// filter, the current taps' filter and the delayed dry signal.
struct MixGains
{
    double previous;
    double wet;
    double dry;
};

// The gains `step` samples into a linear ramp of `length` samples: `from` at step 0, exactly
// `to` at step `length`. inverseLength is 1.0 / length, computed once per ramp or block so that
// the loops multiply instead of divide.
inline MixGains rampGains (const MixGains& from, const MixGains& to, int step, int length, double inverseLength) noexcept
{
    const double a = step >= length ? 1.0 : static_cast<double> (step) * inverseLength;
    const double b = 1.0 - a;
    return { b * from.previous + a * to.previous, b * from.wet + a * to.wet, b * from.dry + a * to.dry };
}

inline MixGains rampGains (const MixGains& from, const MixGains& to, int step, int length) noexcept
{
    return rampGains (from, to, step, length, 1.0 / static_cast<double> (length));
}

// One block of a ramp: per sample, write the input frame into the history, then
// output = previous * (previous taps . history) + wet * (current taps . history) + dry * (history
// at the centre), with the gains rampGains (from, to, done + i + 1, length) for sample i.
// Without a crossfade (fadePrevious null, from.previous 0) only `taps` is read; during one, both
// tap sets (see FadeSums) are read from history frame fadeOffset, fadeCurrent holding a copy of
// `taps` placed there. numSamples <= length - done.
struct RampBlock
{
    StereoDelayLine& delay;
    const double* taps;
    int paddedCount;
    uint32_t readOffset;
    const double* fadePrevious;
    const double* fadeCurrent;
    int fadeExtent;
    uint32_t fadeOffset;
    uint32_t centre;
    MixGains from;
    MixGains to;
    int length;
    int done;
};

using RampBlockFunction = void (*) (const RampBlock&, const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                                    int numSamples) noexcept;

void rampBlockBaseline (const RampBlock&, const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                        int numSamples) noexcept;
void rampBlockAvx2 (const RampBlock&, const float* inLeft, const float* inRight, float* outLeft, float* outRight, int numSamples) noexcept;

RampBlockFunction selectRampBlock() noexcept;

} // namespace brevalon
