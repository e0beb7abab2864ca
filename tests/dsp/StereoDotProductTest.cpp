// The block kernels of every instruction set against a direct-form reference in long double, and
// against each other: on random signals and random symmetric taps of every length in use, for
// steady filtering, a gain ramp and a crossfade, in blocks of varying size.

#include "processor/dsp/StereoDotProduct.h"
#include "processor/dsp/FirDesign.h"
#include "tests/support/WhiteNoise.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace brevalon;

namespace
{

const KernelSet kAllKernels[] = { KernelSet::baseline, KernelSet::avx2, KernelSet::avx512 };

std::string nameOf (KernelSet kernels)
{
    return kernels == KernelSet::avx512 ? "avx512" : kernels == KernelSet::avx2 ? "avx2" : "baseline";
}

enum class Mode
{
    steady,
    gainRamp,
    crossfade
};

const Mode kAllModes[] = { Mode::steady, Mode::gainRamp, Mode::crossfade };

std::string nameOf (Mode mode)
{
    return mode == Mode::steady ? "steady" : mode == Mode::gainRamp ? "gain ramp" : "crossfade";
}

struct Stream
{
    std::vector<float> left, right;
};

Stream noise (size_t n, unsigned seed)
{
    test::WhiteNoise generator (seed, 1.0f);
    Stream s{ std::vector<float> (n), std::vector<float> (n) };
    generator.fill (s.left.data(), n);
    generator.fill (s.right.data(), n);
    return s;
}

// A symmetric set of `count` random taps (odd count), zero-padded to the largest filter.
std::vector<double> symmetricTaps (int count, std::mt19937& random)
{
    std::uniform_real_distribution<double> value (-1.0, 1.0);
    std::vector<double> taps (kMaxPaddedTaps, 0.0);
    for (int k = 0; k <= count / 2; ++k)
        taps[(size_t)k] = taps[(size_t)(count - 1 - k)] = value (random);
    return taps;
}

// History of length `nominal`, current taps of `count` centred on the dry sample; for a crossfade
// the previous taps (another length) and the current ones are both placed over `extent` frames.
struct Setup
{
    int nominal;
    int count;
    std::vector<double> taps;
    int extent;
    std::vector<double> fadePrevious, fadeCurrent;
    MixGains from, to;

    int centre() const { return nominal >> 1; }
    int readOffset() const { return centre() - (count >> 1); }
    int fadeOffset() const { return centre() - (extent >> 1); }
};

Setup makeSetup (int nominal, int count, Mode mode, unsigned seed)
{
    std::mt19937 random (seed);
    Setup s{ nominal, count, symmetricTaps (count, random), count, {}, {}, {}, {} };
    const int previousCount = std::max (1, (count / 3) | 1);
    const auto previous = symmetricTaps (previousCount, random);
    s.extent = std::max (count, previousCount);
    s.fadePrevious.assign (kMaxPaddedTaps, 0.0);
    s.fadeCurrent.assign (kMaxPaddedTaps, 0.0);
    std::copy (previous.begin(), previous.begin() + previousCount, s.fadePrevious.begin() + (s.extent - previousCount) / 2);
    std::copy (s.taps.begin(), s.taps.begin() + count, s.fadeCurrent.begin() + (s.extent - count) / 2);
    s.to = { 0.0, 0.999, 0.001 };
    s.from = mode == Mode::crossfade ? MixGains{ 1.0, 0.0, 0.2 } : MixGains{ 0.0, 0.3, 0.7 };
    return s;
}

constexpr size_t kRampStart = 700;
constexpr int kRampLength = 960;

bool ramping (Mode mode, size_t i)
{
    return mode != Mode::steady && i >= kRampStart && i < kRampStart + kRampLength;
}

// Runs `input` through one kernel set's block functions in blocks of 1, 2, ... maxBlock samples
// (cut where the ramp starts and ends): steady filtering at the `to` gains, with the ramp of
// `mode` from kRampStart on.
Stream runKernels (KernelSet kernels, const Setup& s, Mode mode, const Stream& input, int maxBlock)
{
    StereoDelayLine delay;
    delay.setLength ((uint32_t)s.nominal);
    const auto filter = filterBlockFor (kernels);
    const auto ramp = rampBlockFor (kernels);
    Stream out{ std::vector<float> (input.left.size()), std::vector<float> (input.left.size()) };
    const size_t length = input.left.size();
    for (size_t i = 0, n = 1; i < length; i += n, n = n % (size_t)maxBlock + 1)
    {
        n = std::min (n, length - i);
        const bool inRamp = ramping (mode, i);
        if (mode != Mode::steady)
            n = std::min (n, inRamp ? kRampStart + kRampLength - i : (i < kRampStart ? kRampStart - i : n));
        const int count = (int)n;
        if (inRamp)
            ramp ({ delay, s.taps.data(), s.count, (uint32_t)s.readOffset(), mode == Mode::crossfade ? s.fadePrevious.data() : nullptr,
                    s.fadeCurrent.data(), s.extent, (uint32_t)s.fadeOffset(), (uint32_t)s.centre(), s.from, s.to, kRampLength,
                    (int)(i - kRampStart) },
                  &input.left[i], &input.right[i], &out.left[i], &out.right[i], count);
        else
            filter ({ delay, s.taps.data(), s.count, (uint32_t)s.readOffset(), (uint32_t)s.centre(), s.to.wet, s.to.dry }, &input.left[i],
                    &input.right[i], &out.left[i], &out.right[i], count);
    }
    return out;
}

// The reference for one channel: the direct form in long double, and the sum of the magnitudes
// of its terms, which bounds the rounding error of any order of summation.
struct Reference
{
    long double value = 0;
    long double magnitude = 0;

    void add (long double term)
    {
        value += term;
        magnitude += std::fabs (term);
    }
};

Reference reference (const Setup& s, Mode mode, const std::vector<float>& x, size_t i)
{
    const auto at = [&] (long age) { return age <= (long)i ? (long double)x[i - (size_t)age] : 0.0L; };
    const auto filtered = [&] (Reference& r, long double gain, const double* taps, int count, int offset)
    {
        for (int k = 0; k < count; ++k)
            r.add (gain * taps[k] * at (offset + k));
    };
    Reference r;
    if (ramping (mode, i))
    {
        const MixGains g = rampGains (s.from, s.to, (int)(i - kRampStart) + 1, kRampLength);
        if (mode == Mode::crossfade)
        {
            filtered (r, g.previous, s.fadePrevious.data(), s.extent, s.fadeOffset());
            filtered (r, g.wet, s.fadeCurrent.data(), s.extent, s.fadeOffset());
        }
        else
            filtered (r, g.wet, s.taps.data(), s.count, s.readOffset());
        r.add (g.dry * at (s.centre()));
    }
    else
    {
        filtered (r, s.to.wet, s.taps.data(), s.count, s.readOffset());
        r.add (s.to.dry * at (s.centre()));
    }
    return r;
}

// Nominal lengths of the supported rates, and tap counts from the shortest to the longest.
struct Lengths
{
    int nominal, count;
};

const Lengths kLengths[] = { { 83, 1 },   { 83, 3 },    { 91, 9 },   { 91, 47 },   { 83, 77 },  { 181, 19 },
                             { 181, 93 }, { 181, 159 }, { 361, 35 }, { 361, 303 }, { 361, 361 } };

} // namespace

// Each output sample is the float nearest to a sum within 1e-12 of the exact one, relative to the
// magnitudes summed: it lies between the floats nearest to the reference minus and plus that
// bound. Long streams cross the history's wrap many times.
TEST (BlockKernels, AgreeWithTheDirectFormForEveryLength)
{
    bool allSets = true;
    for (const auto kernels : kAllKernels)
    {
        if (! cpuSupports (kernels))
        {
            allSets = false;
            continue;
        }
        for (const auto& lengths : kLengths)
            for (const auto mode : kAllModes)
            {
                SCOPED_TRACE (nameOf (kernels) + ", " + nameOf (mode) + ", N=" + std::to_string (lengths.nominal) +
                              ", M=" + std::to_string (lengths.count));
                const auto setup = makeSetup (lengths.nominal, lengths.count, mode, (unsigned)lengths.count);
                const auto input = noise (2500, (unsigned)lengths.nominal);
                const auto output = runKernels (kernels, setup, mode, input, 67);
                for (size_t i = 0; i < input.left.size(); ++i)
                    for (const bool left : { true, false })
                    {
                        const auto r = reference (setup, mode, left ? input.left : input.right, i);
                        const long double bound = 1e-12L * r.magnitude;
                        const float got = (left ? output.left : output.right)[i];
                        ASSERT_GE (got, (float)(r.value - bound)) << "sample " << i << (left ? " left" : " right");
                        ASSERT_LE (got, (float)(r.value + bound)) << "sample " << i << (left ? " left" : " right");
                    }
            }
    }
    if (! allSets)
        GTEST_SKIP() << "this processor lacks AVX2/FMA or AVX-512; only the sets it runs were checked";
}

// Every lane does the same arithmetic, so each kernel set's stream is the same bit for bit
// whatever the block sizes (a sample computed alone, or in a vector of 2, 4 or 8 with others),
// and the two sets with fused multiply-adds (AVX2 and AVX-512) give the same stream.
TEST (BlockKernels, SameStreamForEveryBlockSizeAndBetweenTheFusedSets)
{
    bool allSets = true;
    for (const auto& lengths : { kLengths[3], kLengths[6], kLengths[9] })
        for (const auto mode : kAllModes)
        {
            SCOPED_TRACE (nameOf (mode) + ", M=" + std::to_string (lengths.count));
            const auto setup = makeSetup (lengths.nominal, lengths.count, mode, 7);
            const auto input = noise (3000, 9);
            std::vector<Stream> fused;
            for (const auto kernels : kAllKernels)
            {
                if (! cpuSupports (kernels))
                {
                    allSets = false;
                    continue;
                }
                const auto reference = runKernels (kernels, setup, mode, input, 512);
                for (const int maxBlock : { 1, 7, 67 })
                {
                    const auto output = runKernels (kernels, setup, mode, input, maxBlock);
                    EXPECT_TRUE (output.left == reference.left && output.right == reference.right)
                        << nameOf (kernels) << ", blocks up to " << maxBlock;
                }
                if (kernels != KernelSet::baseline)
                    fused.push_back (reference);
            }
            if (fused.size() == 2)
            {
                EXPECT_TRUE (fused[0].left == fused[1].left && fused[0].right == fused[1].right) << "AVX2 against AVX-512";
            }
        }
    if (! allSets)
        GTEST_SKIP() << "this processor lacks AVX2/FMA or AVX-512; only the sets it runs were compared";
}

// The dispatch picks the widest set the processor runs, and each set's functions are its own.
TEST (BlockKernels, FastestSetIsTheWidestSupported)
{
    const auto fastest = fastestKernels();
    EXPECT_TRUE (cpuSupports (fastest));
    EXPECT_TRUE (cpuSupports (KernelSet::baseline));
    EXPECT_EQ (cpuSupports (KernelSet::avx2), fastest != KernelSet::baseline);
    EXPECT_EQ (cpuSupports (KernelSet::avx512), fastest == KernelSet::avx512);
}
