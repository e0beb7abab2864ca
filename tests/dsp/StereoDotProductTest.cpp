#include "StereoDotProduct.h"
#include "FirDesign.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

using namespace brevalon;

namespace
{
StereoSum naiveDot (const double* taps, const double* frames, int count)
{
    long double left = 0, right = 0;
    for (int k = 0; k < count; ++k)
    {
        left += (long double)taps[k] * frames[2 * k];
        right += (long double)taps[k] * frames[2 * k + 1];
    }
    return { (double)left, (double)right };
}
} // namespace

TEST (StereoDotProduct, BaselineAndAvx2AgreeWithExactSum)
{
    std::mt19937 random (11);
    std::uniform_real_distribution<double> value (-1.0, 1.0);
    const bool haveAvx2 = cpuSupportsAvx2Fma();

    for (const int count : { 1, 3, 19, 47, 93, 159, 361 })
    {
        const int padded = paddedTapCount (count);
        std::vector<double> taps ((size_t)padded, 0.0);
        std::vector<double> frames (2 * (size_t)padded + 3);
        for (int trial = 0; trial < 50; ++trial)
        {
            for (int k = 0; k < count; ++k)
                taps[(size_t)k] = value (random);
            for (auto& f : frames)
                f = value (random);
            // Start one double in, so the frames are not 32-byte aligned, as in the delay line.
            const double* unaligned = frames.data() + (trial % 2);
            const auto exact = naiveDot (taps.data(), unaligned, count);

            double magnitude = 0.0;
            for (int k = 0; k < count; ++k)
                magnitude += std::abs (taps[(size_t)k]) * (std::abs (unaligned[2 * k]) + std::abs (unaligned[2 * k + 1]));
            const double tolerance = 1e-12 * magnitude;

            const auto base = stereoDotBaseline (taps.data(), unaligned, padded);
            EXPECT_NEAR (base.left, exact.left, tolerance);
            EXPECT_NEAR (base.right, exact.right, tolerance);
            if (haveAvx2)
            {
                const auto fast = stereoDotAvx2 (taps.data(), unaligned, padded);
                EXPECT_NEAR (fast.left, base.left, tolerance);
                EXPECT_NEAR (fast.right, base.right, tolerance);

                // The pair kernel's newer sample reads one frame earlier.
                StereoSum older{}, newer{};
                stereoDotPairAvx2 (taps.data(), unaligned + 2, padded, older, newer);
                const auto olderBase = stereoDotBaseline (taps.data(), unaligned + 2, padded);
                EXPECT_NEAR (older.left, olderBase.left, 2 * tolerance);
                EXPECT_NEAR (older.right, olderBase.right, 2 * tolerance);
                EXPECT_NEAR (newer.left, base.left, tolerance);
                EXPECT_NEAR (newer.right, base.right, tolerance);
            }
        }
    }
    if (! haveAvx2)
        GTEST_SKIP() << "this processor has no AVX2/FMA; only the baseline path was checked";
}

// The two block loops (baseline, and AVX2 with its two-sample steps and single steps around the
// history wrap) produce the same stream, across blocks of odd and even sizes.
TEST (StereoDotProduct, FilterBlockPathsAgree)
{
    if (! cpuSupportsAvx2Fma())
        GTEST_SKIP() << "this processor has no AVX2/FMA";

    const auto design = designLowpass (21000, 1.0, 192000);
    std::mt19937 random (5);
    std::uniform_real_distribution<float> value (-1.0f, 1.0f);
    std::vector<float> left (5000), right (5000);
    for (size_t i = 0; i < left.size(); ++i)
    {
        left[i] = value (random);
        right[i] = value (random);
    }

    StereoDelayLine baselineDelay, avxDelay;
    baselineDelay.setLength ((uint32_t)design.nominalLength);
    avxDelay.setLength ((uint32_t)design.nominalLength);
    const auto block = [&] (StereoDelayLine& d)
    {
        return FilterBlock{ d,
                            design.coefficients.data(),
                            paddedTapCount (design.count),
                            (uint32_t)design.readOffset,
                            (uint32_t)design.nominalLength >> 1,
                            0.999,
                            0.001 };
    };

    std::vector<float> baseOutL (left.size()), baseOutR (left.size()), avxOutL (left.size()), avxOutR (left.size());
    for (size_t i = 0, n = 1; i < left.size(); i += n, n = n % 67 + 1)
    {
        const int count = (int)std::min (n, left.size() - i);
        filterBlockBaseline (block (baselineDelay), &left[i], &right[i], &baseOutL[i], &baseOutR[i], count);
        filterBlockAvx2 (block (avxDelay), &left[i], &right[i], &avxOutL[i], &avxOutR[i], count);
    }
    for (size_t i = 0; i < left.size(); ++i)
    {
        ASSERT_NEAR (avxOutL[i], baseOutL[i], 1e-6f) << i;
        ASSERT_NEAR (avxOutR[i], baseOutR[i], 1e-6f) << i;
    }
}
