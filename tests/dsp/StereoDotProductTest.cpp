#include "processor/dsp/StereoDotProduct.h"
#include "processor/dsp/FirDesign.h"
#include "tests/support/StereoSignal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
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
    const auto [left, right] = test::makeStereoNoise (5000, 5);

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

namespace
{
bool sameBits (const StereoSum& a, const StereoSum& b)
{
    return std::memcmp (&a, &b, sizeof (StereoSum)) == 0;
}
} // namespace

// A sample computed alone gets exactly the sum it gets in a pair, for one tap set and for the
// crossfade's two (which fold the symmetric taps); every kernel agrees with the exact sum.
TEST (StereoDotProduct, SingleAndPairKernelsGiveTheSameSums)
{
    std::mt19937 random (13);
    std::uniform_real_distribution<double> value (-1.0, 1.0);
    const bool haveAvx2 = cpuSupportsAvx2Fma();

    for (const int count : { 1, 9, 47, 83, 159, 361 })
    {
        const int padded = paddedTapCount (count);
        std::vector<double> previous ((size_t)padded, 0.0), current ((size_t)padded, 0.0);
        std::vector<double> frames (2 * (size_t)padded + 6);
        for (int trial = 0; trial < 20; ++trial)
        {
            // Symmetric sets, as the crossfade requires.
            for (int k = 0; k <= count / 2; ++k)
            {
                previous[(size_t)k] = previous[(size_t)(count - 1 - k)] = value (random);
                current[(size_t)k] = current[(size_t)(count - 1 - k)] = value (random);
            }
            for (auto& f : frames)
                f = value (random);
            const double* newer = frames.data() + 2 * (trial % 2) + 1;
            const double* older = newer + 2;
            const double tolerance = 1e-12 * count;

            const auto fade = stereoDotFadeBaseline (previous.data(), current.data(), newer, count);
            const auto exactPrevious = naiveDot (previous.data(), newer, count), exactCurrent = naiveDot (current.data(), newer, count);
            EXPECT_NEAR (fade.previous.left, exactPrevious.left, tolerance);
            EXPECT_NEAR (fade.previous.right, exactPrevious.right, tolerance);
            EXPECT_NEAR (fade.current.left, exactCurrent.left, tolerance);
            EXPECT_NEAR (fade.current.right, exactCurrent.right, tolerance);
            if (! haveAvx2)
                continue;

            StereoSum pairOlder{}, pairNewer{};
            stereoDotPairAvx2 (current.data(), older, padded, pairOlder, pairNewer);
            EXPECT_TRUE (sameBits (stereoDotSingleAvx2 (current.data(), older, padded), pairOlder));
            EXPECT_TRUE (sameBits (stereoDotSingleAvx2 (current.data(), newer, padded), pairNewer));
            EXPECT_NEAR (pairNewer.left, exactCurrent.left, tolerance);

            FadeSums fadeOlder{}, fadeNewer{};
            stereoDotFadePairAvx2 (previous.data(), current.data(), older, count, fadeOlder, fadeNewer);
            const auto singleOlder = stereoDotFadeAvx2 (previous.data(), current.data(), older, count);
            const auto singleNewer = stereoDotFadeAvx2 (previous.data(), current.data(), newer, count);
            EXPECT_TRUE (sameBits (fadeOlder.previous, singleOlder.previous) && sameBits (fadeOlder.current, singleOlder.current));
            EXPECT_TRUE (sameBits (fadeNewer.previous, singleNewer.previous) && sameBits (fadeNewer.current, singleNewer.current));
            EXPECT_NEAR (singleNewer.previous.right, exactPrevious.right, tolerance);
            EXPECT_NEAR (singleNewer.current.left, exactCurrent.left, tolerance);
        }
    }
    if (! haveAvx2)
        GTEST_SKIP() << "this processor has no AVX2/FMA; only the baseline crossfade kernel was checked";
}

namespace
{
struct BlockRun
{
    std::vector<float> left, right;
};

// Runs the block functions of one path over a noise stream in blocks of varying size: first a
// steady stretch, then a ramp (with or without a crossfade) split across blocks, then steady again.
BlockRun runBlocks (bool avx2, bool crossfade, int maxBlock)
{
    const auto first = designLowpass (24000, 0.2, 192000);
    const auto second = designLowpass (20500, 1.0, 192000);
    const auto centre = (uint32_t)first.nominalLength >> 1;
    const int extent = std::max (first.count, second.count);
    const auto fadeOffset = centre - (uint32_t)(extent >> 1);

    std::vector<double> previous ((size_t)paddedTapCount (extent), 0.0), current (previous.size(), 0.0);
    for (int k = 0; k < first.count; ++k)
        previous[(size_t)(first.readOffset - (int)fadeOffset + k)] = first.coefficients[(size_t)k];
    for (int k = 0; k < second.count; ++k)
        current[(size_t)(second.readOffset - (int)fadeOffset + k)] = second.coefficients[(size_t)k];

    const size_t length = 6000, rampStart = 1500;
    const int rampLength = 960;
    BlockRun out{ std::vector<float> (length), std::vector<float> (length) };
    const auto [left, right] = test::makeStereoNoise (length, 3);

    StereoDelayLine delay;
    delay.setLength ((uint32_t)first.nominalLength);
    const MixGains from = crossfade ? MixGains{ 1.0, 0.0, 0.2 } : MixGains{ 0.0, 0.8, 0.2 };
    const MixGains to{ 0.0, 0.999, 0.001 };
    const auto& steadyBefore = crossfade ? first : second;
    for (size_t i = 0, n = 1, rampDone = 0; i < length; i += n, n = n % (size_t)maxBlock + 1)
    {
        n = std::min (n, length - i);
        if (i < rampStart)
            n = std::min (n, rampStart - i);
        const bool ramping = i >= rampStart && rampDone < (size_t)rampLength;
        if (ramping)
            n = std::min (n, (size_t)rampLength - rampDone);
        const int count = (int)n;
        if (ramping)
        {
            const RampBlock block{ delay,
                                   second.coefficients.data(),
                                   paddedTapCount (second.count),
                                   (uint32_t)second.readOffset,
                                   crossfade ? previous.data() : nullptr,
                                   current.data(),
                                   extent,
                                   fadeOffset,
                                   centre,
                                   from,
                                   to,
                                   rampLength,
                                   (int)rampDone };
            (avx2 ? rampBlockAvx2 : rampBlockBaseline) (block, &left[i], &right[i], &out.left[i], &out.right[i], count);
            rampDone += n;
        }
        else
        {
            const auto& design = i < rampStart ? steadyBefore : second;
            const double wet = i < rampStart ? from.wet + from.previous : to.wet, dry = i < rampStart ? from.dry : to.dry;
            const FilterBlock block{
                delay, design.coefficients.data(), paddedTapCount (design.count), (uint32_t)design.readOffset, centre, wet, dry
            };
            (avx2 ? filterBlockAvx2 : filterBlockBaseline) (block, &left[i], &right[i], &out.left[i], &out.right[i], count);
        }
    }
    return out;
}
} // namespace

// The ramp block of each path: the two paths agree, and each gives the same stream however the
// ramp is split into blocks (steady stretches around it included).
TEST (StereoDotProduct, RampBlockPathsAgreeAndIgnoreBlockSizes)
{
    const bool haveAvx2 = cpuSupportsAvx2Fma();
    for (const bool crossfade : { false, true })
    {
        SCOPED_TRACE (crossfade ? "crossfade" : "gains only");
        const auto baseline = runBlocks (false, crossfade, 67);
        EXPECT_TRUE (baseline.left == runBlocks (false, crossfade, 1).left);
        if (! haveAvx2)
            continue;
        const auto avx2 = runBlocks (true, crossfade, 67);
        EXPECT_TRUE (avx2.left == runBlocks (true, crossfade, 1).left && avx2.right == runBlocks (true, crossfade, 1).right);
        EXPECT_TRUE (avx2.left == runBlocks (true, crossfade, 512).left);
        for (size_t i = 0; i < avx2.left.size(); ++i)
        {
            ASSERT_NEAR (avx2.left[i], baseline.left[i], 1e-6f) << i;
            ASSERT_NEAR (avx2.right[i], baseline.right[i], 1e-6f) << i;
        }
    }
    if (! haveAvx2)
        GTEST_SKIP() << "this processor has no AVX2/FMA; only the baseline path was checked";
}
