#include "processor/dsp/StereoDotProduct.h"

#include "processor/dsp/FirDesign.h"

#if defined(__x86_64__) || defined(_M_X64)
#    define BREVALON_X86 1
#    include <immintrin.h>
#else
#    define BREVALON_X86 0
#endif

namespace brevalon
{

#if BREVALON_X86

StereoSum stereoDotBaseline (const double* taps, const double* frames, int paddedCount) noexcept
{
    __m128d acc0 = _mm_setzero_pd();
    __m128d acc1 = _mm_setzero_pd();
    __m128d acc2 = _mm_setzero_pd();
    __m128d acc3 = _mm_setzero_pd();
    for (int k = 0; k < paddedCount; k += 4)
    {
        const double* f = frames + 2 * k;
        acc0 = _mm_add_pd (acc0, _mm_mul_pd (_mm_set1_pd (taps[k]), _mm_loadu_pd (f)));
        acc1 = _mm_add_pd (acc1, _mm_mul_pd (_mm_set1_pd (taps[k + 1]), _mm_loadu_pd (f + 2)));
        acc2 = _mm_add_pd (acc2, _mm_mul_pd (_mm_set1_pd (taps[k + 2]), _mm_loadu_pd (f + 4)));
        acc3 = _mm_add_pd (acc3, _mm_mul_pd (_mm_set1_pd (taps[k + 3]), _mm_loadu_pd (f + 6)));
    }
    const __m128d sum = _mm_add_pd (_mm_add_pd (acc0, acc1), _mm_add_pd (acc2, acc3));
    StereoSum result;
    _mm_storel_pd (&result.left, sum);
    _mm_storeh_pd (&result.right, sum);
    return result;
}

FadeSums stereoDotFadeBaseline (const double* previousTaps, const double* currentTaps, const double* frames, int extent) noexcept
{
    // Four accumulators per tap set, as in stereoDotBaseline, each frame loaded once for both;
    // the symmetry is not used.
    const int paddedCount = paddedTapCount (extent);
    __m128d previous[4] = { _mm_setzero_pd(), _mm_setzero_pd(), _mm_setzero_pd(), _mm_setzero_pd() };
    __m128d current[4] = { _mm_setzero_pd(), _mm_setzero_pd(), _mm_setzero_pd(), _mm_setzero_pd() };
    for (int k = 0; k < paddedCount; k += 4)
        for (int j = 0; j < 4; ++j)
        {
            const __m128d f = _mm_loadu_pd (frames + 2 * (k + j));
            previous[j] = _mm_add_pd (previous[j], _mm_mul_pd (_mm_set1_pd (previousTaps[k + j]), f));
            current[j] = _mm_add_pd (current[j], _mm_mul_pd (_mm_set1_pd (currentTaps[k + j]), f));
        }
    const __m128d p = _mm_add_pd (_mm_add_pd (previous[0], previous[1]), _mm_add_pd (previous[2], previous[3]));
    const __m128d c = _mm_add_pd (_mm_add_pd (current[0], current[1]), _mm_add_pd (current[2], current[3]));
    FadeSums sums;
    _mm_storel_pd (&sums.previous.left, p);
    _mm_storeh_pd (&sums.previous.right, p);
    _mm_storel_pd (&sums.current.left, c);
    _mm_storeh_pd (&sums.current.right, c);
    return sums;
}

__attribute__ ((target ("avx2,fma"))) StereoSum stereoDotAvx2 (const double* taps, const double* frames, int paddedCount) noexcept
{
    // A 256-bit register holds two frames (l0, r0, l1, r1); the taps are spread to match
    // (t0, t0, t1, t1). Four accumulators over eight taps per step keep the FMA units busy
    // instead of waiting on one dependency chain.
    __m256d acc0 = _mm256_setzero_pd();
    __m256d acc1 = _mm256_setzero_pd();
    __m256d acc2 = _mm256_setzero_pd();
    __m256d acc3 = _mm256_setzero_pd();
    int k = 0;
    for (; k + 8 <= paddedCount; k += 8)
    {
        const __m256d t0 = _mm256_loadu_pd (taps + k);
        const __m256d t1 = _mm256_loadu_pd (taps + k + 4);
        acc0 = _mm256_fmadd_pd (_mm256_permute4x64_pd (t0, 0x50), _mm256_loadu_pd (frames + 2 * k), acc0);
        acc1 = _mm256_fmadd_pd (_mm256_permute4x64_pd (t0, 0xFA), _mm256_loadu_pd (frames + 2 * k + 4), acc1);
        acc2 = _mm256_fmadd_pd (_mm256_permute4x64_pd (t1, 0x50), _mm256_loadu_pd (frames + 2 * k + 8), acc2);
        acc3 = _mm256_fmadd_pd (_mm256_permute4x64_pd (t1, 0xFA), _mm256_loadu_pd (frames + 2 * k + 12), acc3);
    }
    if (k < paddedCount)
    {
        const __m256d t = _mm256_loadu_pd (taps + k);
        acc0 = _mm256_fmadd_pd (_mm256_permute4x64_pd (t, 0x50), _mm256_loadu_pd (frames + 2 * k), acc0);
        acc1 = _mm256_fmadd_pd (_mm256_permute4x64_pd (t, 0xFA), _mm256_loadu_pd (frames + 2 * k + 4), acc1);
    }
    const __m256d acc = _mm256_add_pd (_mm256_add_pd (acc0, acc1), _mm256_add_pd (acc2, acc3));
    const __m128d sum = _mm_add_pd (_mm256_castpd256_pd128 (acc), _mm256_extractf128_pd (acc, 1));
    StereoSum result;
    _mm_storel_pd (&result.left, sum);
    _mm_storeh_pd (&result.right, sum);
    return result;
}

__attribute__ ((target ("avx2,fma"))) void stereoDotPairAvx2 (const double* taps, const double* frames, int paddedCount, StereoSum& older,
                                                              StereoSum& newer) noexcept
{
    // The loaded and spread taps serve both samples, which saves loads: the loop is bound by
    // memory reads, not arithmetic.
    __m256d older0 = _mm256_setzero_pd();
    __m256d older1 = _mm256_setzero_pd();
    __m256d newer0 = _mm256_setzero_pd();
    __m256d newer1 = _mm256_setzero_pd();
    const double* newerFrames = frames - 2;
    for (int k = 0; k < paddedCount; k += 4)
    {
        const __m256d t = _mm256_loadu_pd (taps + k);
        const __m256d t01 = _mm256_permute4x64_pd (t, 0x50);
        const __m256d t23 = _mm256_permute4x64_pd (t, 0xFA);
        older0 = _mm256_fmadd_pd (t01, _mm256_loadu_pd (frames + 2 * k), older0);
        older1 = _mm256_fmadd_pd (t23, _mm256_loadu_pd (frames + 2 * k + 4), older1);
        newer0 = _mm256_fmadd_pd (t01, _mm256_loadu_pd (newerFrames + 2 * k), newer0);
        newer1 = _mm256_fmadd_pd (t23, _mm256_loadu_pd (newerFrames + 2 * k + 4), newer1);
    }
    const __m256d a = _mm256_add_pd (older0, older1);
    const __m256d b = _mm256_add_pd (newer0, newer1);
    const __m128d sumOlder = _mm_add_pd (_mm256_castpd256_pd128 (a), _mm256_extractf128_pd (a, 1));
    const __m128d sumNewer = _mm_add_pd (_mm256_castpd256_pd128 (b), _mm256_extractf128_pd (b, 1));
    _mm_storel_pd (&older.left, sumOlder);
    _mm_storeh_pd (&older.right, sumOlder);
    _mm_storel_pd (&newer.left, sumNewer);
    _mm_storeh_pd (&newer.right, sumNewer);
}

__attribute__ ((target ("avx2,fma"))) StereoSum stereoDotSingleAvx2 (const double* taps, const double* frames, int paddedCount) noexcept
{
    __m256d acc0 = _mm256_setzero_pd();
    __m256d acc1 = _mm256_setzero_pd();
    for (int k = 0; k < paddedCount; k += 4)
    {
        const __m256d t = _mm256_loadu_pd (taps + k);
        acc0 = _mm256_fmadd_pd (_mm256_permute4x64_pd (t, 0x50), _mm256_loadu_pd (frames + 2 * k), acc0);
        acc1 = _mm256_fmadd_pd (_mm256_permute4x64_pd (t, 0xFA), _mm256_loadu_pd (frames + 2 * k + 4), acc1);
    }
    const __m256d a = _mm256_add_pd (acc0, acc1);
    const __m128d sum = _mm_add_pd (_mm256_castpd256_pd128 (a), _mm256_extractf128_pd (a, 1));
    StereoSum result;
    _mm_storel_pd (&result.left, sum);
    _mm_storeh_pd (&result.right, sum);
    return result;
}

namespace
{
// Sums of the frames that share a tap, for taps k .. k + 3 of a symmetric set of odd extent e:
// (x[k] + x[e-1-k], x[k+1] + x[e-2-k]) and (x[k+2] + x[e-3-k], x[k+3] + x[e-4-k]), each frame
// being a (left, right) pair. The mirrored loads come in reverse frame order, hence the lane swap.
__attribute__ ((target ("avx2,fma"))) inline void foldedFrames (const double* frames, int extent, int k, __m256d& s01,
                                                                __m256d& s23) noexcept
{
    const __m256d mirrored01 = _mm256_loadu_pd (frames + 2 * (extent - 2 - k));
    const __m256d mirrored23 = _mm256_loadu_pd (frames + 2 * (extent - 4 - k));
    s01 = _mm256_add_pd (_mm256_loadu_pd (frames + 2 * k), _mm256_permute2f128_pd (mirrored01, mirrored01, 0x01));
    s23 = _mm256_add_pd (_mm256_loadu_pd (frames + 2 * k + 4), _mm256_permute2f128_pd (mirrored23, mirrored23, 0x01));
}

// The taps left over after the groups of four, then the centre tap, for one sample.
__attribute__ ((target ("avx2,fma"))) inline __m128d foldedTail (const double* taps, const double* frames, int extent, int from) noexcept
{
    const int half = extent >> 1;
    __m128d sum = _mm_setzero_pd();
    for (int k = from; k < half; ++k)
        sum = _mm_fmadd_pd (_mm_set1_pd (taps[k]), _mm_add_pd (_mm_loadu_pd (frames + 2 * k), _mm_loadu_pd (frames + 2 * (extent - 1 - k))),
                            sum);
    return _mm_fmadd_pd (_mm_set1_pd (taps[half]), _mm_loadu_pd (frames + 2 * half), sum);
}

// Stores the sum as two 64-bit values, the width the caller reads them with: a wider store
// that the caller reads in parts stalls on the way from store to load.
__attribute__ ((target ("avx2,fma"))) inline void storeFoldedSum (__m256d acc0, __m256d acc1, __m128d tail, StereoSum& result) noexcept
{
    const __m256d a = _mm256_add_pd (acc0, acc1);
    const __m128d sum = _mm_add_pd (_mm_add_pd (_mm256_castpd256_pd128 (a), _mm256_extractf128_pd (a, 1)), tail);
    _mm_storel_pd (&result.left, sum);
    _mm_storeh_pd (&result.right, sum);
}
} // namespace

__attribute__ ((target ("avx2,fma"))) FadeSums stereoDotFadeAvx2 (const double* previousTaps, const double* currentTaps,
                                                                  const double* frames, int extent) noexcept
{
    const int groups = (extent >> 1) & ~3;
    __m256d previous0 = _mm256_setzero_pd(), previous1 = _mm256_setzero_pd();
    __m256d current0 = _mm256_setzero_pd(), current1 = _mm256_setzero_pd();
    for (int k = 0; k < groups; k += 4)
    {
        __m256d s01, s23;
        foldedFrames (frames, extent, k, s01, s23);
        const __m256d p = _mm256_loadu_pd (previousTaps + k);
        const __m256d c = _mm256_loadu_pd (currentTaps + k);
        previous0 = _mm256_fmadd_pd (_mm256_permute4x64_pd (p, 0x50), s01, previous0);
        previous1 = _mm256_fmadd_pd (_mm256_permute4x64_pd (p, 0xFA), s23, previous1);
        current0 = _mm256_fmadd_pd (_mm256_permute4x64_pd (c, 0x50), s01, current0);
        current1 = _mm256_fmadd_pd (_mm256_permute4x64_pd (c, 0xFA), s23, current1);
    }
    FadeSums sums;
    storeFoldedSum (previous0, previous1, foldedTail (previousTaps, frames, extent, groups), sums.previous);
    storeFoldedSum (current0, current1, foldedTail (currentTaps, frames, extent, groups), sums.current);
    return sums;
}

namespace
{
__attribute__ ((target ("avx2,fma"), always_inline)) inline void fadePairAvx2 (const double* previousTaps, const double* currentTaps,
                                                                               const double* frames, int extent, FadeSums& older,
                                                                               FadeSums& newer) noexcept
{
    // Each spread tap pair serves two samples and each folded frame pair two tap sets.
    const int groups = (extent >> 1) & ~3;
    const double* newerFrames = frames - 2;
    __m256d olderPrevious0 = _mm256_setzero_pd(), olderPrevious1 = _mm256_setzero_pd();
    __m256d olderCurrent0 = _mm256_setzero_pd(), olderCurrent1 = _mm256_setzero_pd();
    __m256d newerPrevious0 = _mm256_setzero_pd(), newerPrevious1 = _mm256_setzero_pd();
    __m256d newerCurrent0 = _mm256_setzero_pd(), newerCurrent1 = _mm256_setzero_pd();
    for (int k = 0; k < groups; k += 4)
    {
        __m256d f01, f23, g01, g23;
        foldedFrames (frames, extent, k, f01, f23);
        foldedFrames (newerFrames, extent, k, g01, g23);
        const __m256d p = _mm256_loadu_pd (previousTaps + k);
        const __m256d c = _mm256_loadu_pd (currentTaps + k);
        const __m256d p01 = _mm256_permute4x64_pd (p, 0x50);
        const __m256d p23 = _mm256_permute4x64_pd (p, 0xFA);
        const __m256d c01 = _mm256_permute4x64_pd (c, 0x50);
        const __m256d c23 = _mm256_permute4x64_pd (c, 0xFA);
        olderPrevious0 = _mm256_fmadd_pd (p01, f01, olderPrevious0);
        olderPrevious1 = _mm256_fmadd_pd (p23, f23, olderPrevious1);
        olderCurrent0 = _mm256_fmadd_pd (c01, f01, olderCurrent0);
        olderCurrent1 = _mm256_fmadd_pd (c23, f23, olderCurrent1);
        newerPrevious0 = _mm256_fmadd_pd (p01, g01, newerPrevious0);
        newerPrevious1 = _mm256_fmadd_pd (p23, g23, newerPrevious1);
        newerCurrent0 = _mm256_fmadd_pd (c01, g01, newerCurrent0);
        newerCurrent1 = _mm256_fmadd_pd (c23, g23, newerCurrent1);
    }
    storeFoldedSum (olderPrevious0, olderPrevious1, foldedTail (previousTaps, frames, extent, groups), older.previous);
    storeFoldedSum (olderCurrent0, olderCurrent1, foldedTail (currentTaps, frames, extent, groups), older.current);
    storeFoldedSum (newerPrevious0, newerPrevious1, foldedTail (previousTaps, newerFrames, extent, groups), newer.previous);
    storeFoldedSum (newerCurrent0, newerCurrent1, foldedTail (currentTaps, newerFrames, extent, groups), newer.current);
}
} // namespace

__attribute__ ((target ("avx2,fma"))) void stereoDotFadePairAvx2 (const double* previousTaps, const double* currentTaps,
                                                                  const double* frames, int extent, FadeSums& older,
                                                                  FadeSums& newer) noexcept
{
    fadePairAvx2 (previousTaps, currentTaps, frames, extent, older, newer);
}

__attribute__ ((target ("avx2,fma"))) void filterBlockAvx2 (const FilterBlock& block, const float* inLeft, const float* inRight,
                                                            float* outLeft, float* outRight, int numSamples) noexcept
{
    auto& delay = block.delay;
    int i = 0;
    while (i < numSamples)
    {
        // Two samples at once while both writes fit before the history wraps. All inputs are
        // read before any output is written, since the buffers may alias. A sample computed
        // alone gets the same sum as in a pair, so the stream does not depend on block sizes.
        if (i + 1 < numSamples && delay.getPosition() >= 2)
        {
            const double l0 = inLeft[i], r0 = inRight[i], l1 = inLeft[i + 1], r1 = inRight[i + 1];
            delay.write (l0, r0);
            delay.write (l1, r1);
            StereoSum older, newer;
            stereoDotPairAvx2 (block.taps, delay.samplesFrom (block.readOffset + 1), block.paddedCount, older, newer);
            const auto& dryOlder = delay.frame (block.centre + 1);
            const auto& dryNewer = delay.frame (block.centre);
            outLeft[i] = static_cast<float> (block.wetGain * older.left + block.dryGain * dryOlder.left);
            outRight[i] = static_cast<float> (block.wetGain * older.right + block.dryGain * dryOlder.right);
            outLeft[i + 1] = static_cast<float> (block.wetGain * newer.left + block.dryGain * dryNewer.left);
            outRight[i + 1] = static_cast<float> (block.wetGain * newer.right + block.dryGain * dryNewer.right);
            i += 2;
        }
        else
        {
            delay.write (static_cast<double> (inLeft[i]), static_cast<double> (inRight[i]));
            const auto& dry = delay.frame (block.centre);
            const StereoSum filtered = stereoDotSingleAvx2 (block.taps, delay.samplesFrom (block.readOffset), block.paddedCount);
            outLeft[i] = static_cast<float> (block.wetGain * filtered.left + block.dryGain * dry.left);
            outRight[i] = static_cast<float> (block.wetGain * filtered.right + block.dryGain * dry.right);
            ++i;
        }
    }
}

__attribute__ ((target ("avx2,fma"))) void rampBlockAvx2 (const RampBlock& block, const float* inLeft, const float* inRight, float* outLeft,
                                                          float* outRight, int numSamples) noexcept
{
    // As filterBlockAvx2, in pairs where possible; every sample's sums and gains are computed
    // the same way alone or in a pair, so the ramp does not depend on block sizes either.
    auto& delay = block.delay;
    const bool crossfade = block.fadePrevious != nullptr;
    const double inverseLength = 1.0 / static_cast<double> (block.length);
    int i = 0;
    while (i < numSamples)
    {
        const bool pair = i + 1 < numSamples && delay.getPosition() >= 2;
        FadeSums sums[2];
        if (pair)
        {
            const double l0 = inLeft[i], r0 = inRight[i], l1 = inLeft[i + 1], r1 = inRight[i + 1];
            delay.write (l0, r0);
            delay.write (l1, r1);
            if (crossfade) // inlined, so the sums need not travel through memory
                fadePairAvx2 (block.fadePrevious, block.fadeCurrent, delay.samplesFrom (block.fadeOffset + 1), block.fadeExtent, sums[0],
                              sums[1]);
            else
            {
                sums[0].previous = sums[1].previous = StereoSum{ 0.0, 0.0 };
                stereoDotPairAvx2 (block.taps, delay.samplesFrom (block.readOffset + 1), block.paddedCount, sums[0].current,
                                   sums[1].current);
            }
        }
        else
        {
            delay.write (static_cast<double> (inLeft[i]), static_cast<double> (inRight[i]));
            if (crossfade)
                sums[0] = stereoDotFadeAvx2 (block.fadePrevious, block.fadeCurrent, delay.samplesFrom (block.fadeOffset), block.fadeExtent);
            else
                sums[0] = { { 0.0, 0.0 }, stereoDotSingleAvx2 (block.taps, delay.samplesFrom (block.readOffset), block.paddedCount) };
        }

        const int n = pair ? 2 : 1;
        for (int j = 0; j < n; ++j)
        {
            const auto& dry = delay.frame (block.centre + static_cast<uint32_t> (n - 1 - j));
            const MixGains g = rampGains (block.from, block.to, block.done + i + j + 1, block.length, inverseLength);
            const FadeSums& s = sums[j];
            outLeft[i + j] = static_cast<float> (g.previous * s.previous.left + g.wet * s.current.left + g.dry * dry.left);
            outRight[i + j] = static_cast<float> (g.previous * s.previous.right + g.wet * s.current.right + g.dry * dry.right);
        }
        i += n;
    }
}

bool cpuSupportsAvx2Fma() noexcept
{
    __builtin_cpu_init();
    return __builtin_cpu_supports ("avx2") && __builtin_cpu_supports ("fma");
}

#else

StereoSum stereoDotBaseline (const double* taps, const double* frames, int paddedCount) noexcept
{
    double left[4]{}, right[4]{};
    for (int k = 0; k < paddedCount; k += 4)
        for (int j = 0; j < 4; ++j)
        {
            left[j] += taps[k + j] * frames[2 * (k + j)];
            right[j] += taps[k + j] * frames[2 * (k + j) + 1];
        }
    return { (left[0] + left[1]) + (left[2] + left[3]), (right[0] + right[1]) + (right[2] + right[3]) };
}

StereoSum stereoDotAvx2 (const double* taps, const double* frames, int paddedCount) noexcept
{
    return stereoDotBaseline (taps, frames, paddedCount);
}

void stereoDotPairAvx2 (const double* taps, const double* frames, int paddedCount, StereoSum& older, StereoSum& newer) noexcept
{
    older = stereoDotBaseline (taps, frames, paddedCount);
    newer = stereoDotBaseline (taps, frames - 2, paddedCount);
}

void filterBlockAvx2 (const FilterBlock& block, const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                      int numSamples) noexcept
{
    filterBlockBaseline (block, inLeft, inRight, outLeft, outRight, numSamples);
}

StereoSum stereoDotSingleAvx2 (const double* taps, const double* frames, int paddedCount) noexcept
{
    return stereoDotBaseline (taps, frames, paddedCount);
}

FadeSums stereoDotFadeBaseline (const double* previousTaps, const double* currentTaps, const double* frames, int extent) noexcept
{
    FadeSums sums{};
    for (int k = 0; k < extent; ++k)
    {
        sums.previous.left += previousTaps[k] * frames[2 * k];
        sums.previous.right += previousTaps[k] * frames[2 * k + 1];
        sums.current.left += currentTaps[k] * frames[2 * k];
        sums.current.right += currentTaps[k] * frames[2 * k + 1];
    }
    return sums;
}

FadeSums stereoDotFadeAvx2 (const double* previousTaps, const double* currentTaps, const double* frames, int extent) noexcept
{
    return stereoDotFadeBaseline (previousTaps, currentTaps, frames, extent);
}

void stereoDotFadePairAvx2 (const double* previousTaps, const double* currentTaps, const double* frames, int extent, FadeSums& older,
                            FadeSums& newer) noexcept
{
    older = stereoDotFadeBaseline (previousTaps, currentTaps, frames, extent);
    newer = stereoDotFadeBaseline (previousTaps, currentTaps, frames - 2, extent);
}

void rampBlockAvx2 (const RampBlock& block, const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                    int numSamples) noexcept
{
    rampBlockBaseline (block, inLeft, inRight, outLeft, outRight, numSamples);
}

bool cpuSupportsAvx2Fma() noexcept
{
    return false;
}

#endif

void filterBlockBaseline (const FilterBlock& block, const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                          int numSamples) noexcept
{
    auto& delay = block.delay;
    for (int i = 0; i < numSamples; ++i)
    {
        delay.write (static_cast<double> (inLeft[i]), static_cast<double> (inRight[i]));
        const auto& dry = delay.frame (block.centre);
        const StereoSum filtered = stereoDotBaseline (block.taps, delay.samplesFrom (block.readOffset), block.paddedCount);
        outLeft[i] = static_cast<float> (block.wetGain * filtered.left + block.dryGain * dry.left);
        outRight[i] = static_cast<float> (block.wetGain * filtered.right + block.dryGain * dry.right);
    }
}

void rampBlockBaseline (const RampBlock& block, const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                        int numSamples) noexcept
{
    auto& delay = block.delay;
    const double inverseLength = 1.0 / static_cast<double> (block.length);
    for (int i = 0; i < numSamples; ++i)
    {
        delay.write (static_cast<double> (inLeft[i]), static_cast<double> (inRight[i]));
        const auto& dry = delay.frame (block.centre);
        FadeSums s;
        if (block.fadePrevious != nullptr)
            s = stereoDotFadeBaseline (block.fadePrevious, block.fadeCurrent, delay.samplesFrom (block.fadeOffset), block.fadeExtent);
        else
            s = { { 0.0, 0.0 }, stereoDotBaseline (block.taps, delay.samplesFrom (block.readOffset), block.paddedCount) };
        const MixGains g = rampGains (block.from, block.to, block.done + i + 1, block.length, inverseLength);
        outLeft[i] = static_cast<float> (g.previous * s.previous.left + g.wet * s.current.left + g.dry * dry.left);
        outRight[i] = static_cast<float> (g.previous * s.previous.right + g.wet * s.current.right + g.dry * dry.right);
    }
}

FilterBlockFunction selectFilterBlock() noexcept
{
    return cpuSupportsAvx2Fma() ? &filterBlockAvx2 : &filterBlockBaseline;
}

RampBlockFunction selectRampBlock() noexcept
{
    return cpuSupportsAvx2Fma() ? &rampBlockAvx2 : &rampBlockBaseline;
}

} // namespace brevalon
