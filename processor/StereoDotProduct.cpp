#include "StereoDotProduct.h"

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

__attribute__ ((target ("avx2,fma"))) void filterBlockAvx2 (const FilterBlock& block, const float* inLeft, const float* inRight,
                                                            float* outLeft, float* outRight, int numSamples) noexcept
{
    auto& delay = block.delay;
    int i = 0;
    while (i < numSamples)
    {
        // Two samples at once while both writes fit before the history wraps. All inputs are
        // read before any output is written, since the buffers may alias.
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
            const StereoSum filtered = stereoDotAvx2 (block.taps, delay.samplesFrom (block.readOffset), block.paddedCount);
            outLeft[i] = static_cast<float> (block.wetGain * filtered.left + block.dryGain * dry.left);
            outRight[i] = static_cast<float> (block.wetGain * filtered.right + block.dryGain * dry.right);
            ++i;
        }
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

FilterBlockFunction selectFilterBlock() noexcept
{
    return cpuSupportsAvx2Fma() ? &filterBlockAvx2 : &filterBlockBaseline;
}

} // namespace brevalon
