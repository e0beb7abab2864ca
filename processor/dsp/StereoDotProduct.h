#pragma once

#include "processor/dsp/StereoDelayLine.h"

#include <cstdint>

namespace brevalon
{

// The block loops of the filter engine. Each appends the input to the history a chunk at a time
// and computes the chunk's output samples side by side, one vector lane per sample, with the
// symmetry of the taps: tap k equals tap M-1-k, so the two samples that share a tap are added
// first and multiplied once, y = sum over k < M/2 of t_k (x_k + x_(M-1-k)) + t_c x_c.
//
// Every lane does the same operations in the same order, so the output does not depend on the
// block sizes. The AVX2/FMA (four lanes) and AVX-512 (eight lanes) versions add the products
// with fused multiply-adds and give the same output bit for bit; the SSE2 baseline (two lanes)
// rounds each product on its own.

enum class KernelSet
{
    baseline,
    avx2,
    avx512
};

bool cpuSupports (KernelSet kernels) noexcept;

// The fastest set this processor runs.
KernelSet fastestKernels() noexcept;

// One block of filtering: output = wetGain * (taps . history from readOffset) + dryGain *
// (history at the centre). The taps are symmetric with an odd count.
struct FilterBlock
{
    StereoDelayLine& delay;
    const double* taps;
    int count;
    uint32_t readOffset;
    uint32_t centre;
    double wetGain;
    double dryGain;
};

using FilterBlockFunction = void (*) (const FilterBlock&, const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                                      int numSamples) noexcept;

FilterBlockFunction filterBlockFor (KernelSet kernels) noexcept;

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
// the loops multiply instead of divide. The block loops compute the same per lane.
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

// One block of a ramp: per sample,
// output = previous * (previous taps . history) + wet * (current taps . history) + dry * (history
// at the centre), with the gains rampGains (from, to, done + i + 1, length) for sample i.
// Without a crossfade (fadePrevious null, from.previous 0) only `taps` is read, exactly as the
// filter block reads it; during one, both tap sets are read from history frame fadeOffset,
// fadeCurrent holding a copy of `taps` placed there. Both are symmetric over fadeExtent (odd)
// frames. numSamples <= length - done.
struct RampBlock
{
    StereoDelayLine& delay;
    const double* taps;
    int count;
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

RampBlockFunction rampBlockFor (KernelSet kernels) noexcept;

} // namespace brevalon
