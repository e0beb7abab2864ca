#include "StereoDotProduct.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

#if defined(__x86_64__) || defined(_M_X64)
#    define BREVALON_X86 1
#else
#    define BREVALON_X86 0
#endif

// The kernels are written once, over GCC vector types of 2, 4 and 8 doubles, and always inlined
// into one function per instruction set, which gives them their registers; the ABI of vectors
// passed by value between functions therefore never comes into play.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace brevalon
{
namespace
{

typedef double Doubles2 __attribute__ ((vector_size (16)));
typedef double Doubles4 __attribute__ ((vector_size (32)));
typedef double Doubles8 __attribute__ ((vector_size (64)));
typedef float Floats2 __attribute__ ((vector_size (8)));
typedef float Floats4 __attribute__ ((vector_size (16)));
typedef float Floats8 __attribute__ ((vector_size (32)));

template <class Vector>
struct VectorTraits;
template <>
struct VectorTraits<Doubles2>
{
    using Floats = Floats2;
};
template <>
struct VectorTraits<Doubles4>
{
    using Floats = Floats4;
};
template <>
struct VectorTraits<Doubles8>
{
    using Floats = Floats8;
};

template <class Vector>
constexpr int lanesOf = static_cast<int> (sizeof (Vector) / sizeof (double));

// Output vectors per chunk: enough independent sums to keep the adders busy. The crossfade
// keeps two sums per vector and channel, so it takes fewer vectors to stay within the registers.
constexpr int kFilterVectors = 4;
constexpr int kFadeVectors = 2;

template <class Vector>
[[gnu::always_inline]] inline Vector load (const double* samples) noexcept
{
    Vector v;
    std::memcpy (&v, samples, sizeof (Vector));
    return v;
}

// Lane j holds first + j. (Scalars enter the vector arithmetic as operands of their own, which
// the compiler broadcasts in the caller's instruction set.)
template <class Vector, size_t... lane>
[[gnu::always_inline]] inline Vector ascending (int first, std::index_sequence<lane...>) noexcept
{
    return Vector{ static_cast<double> (lane)... } + static_cast<double> (first);
}

template <class Vector>
[[gnu::always_inline]] inline Vector ascending (int first) noexcept
{
    return ascending<Vector> (first, std::make_index_sequence<lanesOf<Vector>>());
}

// Narrows the first `count` lanes to float and stores them.
template <class Vector>
[[gnu::always_inline]] inline void store (float* out, const Vector& v, int count) noexcept
{
    if (count == lanesOf<Vector>)
    {
        const auto narrowed = __builtin_convertvector (v, typename VectorTraits<Vector>::Floats);
        std::memcpy (out, &narrowed, sizeof (narrowed));
    }
    else
        for (int lane = 0; lane < count; ++lane)
            out[lane] = static_cast<float> (v[lane]);
}

// The history of both channels as seen by lane 0 of a chunk, from the frame multiplied by tap 0.
struct HistoryView
{
    const double* left;
    const double* right;

    HistoryView from (ptrdiff_t offset) const noexcept { return { left + offset, right + offset }; }
};

// Filter sums of `Vectors` vectors of consecutive output samples per channel for `Sets` tap sets
// over the same history, each set symmetric over `extent` (odd) frames. Lane j of vector v is
// the output sample lanes * v + j of the chunk.
template <class Vector, int Sets, int Vectors>
struct FoldedSums
{
    Vector left[Sets][Vectors];
    Vector right[Sets][Vectors];
};

template <class Vector, int Sets, int Vectors>
[[gnu::always_inline]] inline void foldedSums (const double* const (&taps)[Sets], int extent, const HistoryView& newest,
                                               FoldedSums<Vector, Sets, Vectors>& sums) noexcept
{
    constexpr int lanes = lanesOf<Vector>;
    const int half = extent >> 1;
    const HistoryView oldest = newest.from (-(extent - 1));
#pragma GCC unroll 16
    for (int v = 0; v < Vectors; ++v)
#pragma GCC unroll 4
        for (int s = 0; s < Sets; ++s)
            sums.left[s][v] = sums.right[s][v] = Vector{};

    // From the outer taps (the smallest) inwards; the samples k frames in from either end share
    // tap k.
    for (int k = 0; k < half; ++k)
    {
        double tap[Sets];
#pragma GCC unroll 4
        for (int s = 0; s < Sets; ++s)
            tap[s] = taps[s][k];
#pragma GCC unroll 16
        for (int v = 0; v < Vectors; ++v)
        {
            const Vector left = load<Vector> (newest.left - k + lanes * v) + load<Vector> (oldest.left + k + lanes * v);
            const Vector right = load<Vector> (newest.right - k + lanes * v) + load<Vector> (oldest.right + k + lanes * v);
#pragma GCC unroll 4
            for (int s = 0; s < Sets; ++s)
            {
                sums.left[s][v] += tap[s] * left;
                sums.right[s][v] += tap[s] * right;
            }
        }
    }

#pragma GCC unroll 16
    for (int v = 0; v < Vectors; ++v)
    {
        const Vector left = load<Vector> (newest.left - half + lanes * v);
        const Vector right = load<Vector> (newest.right - half + lanes * v);
#pragma GCC unroll 4
        for (int s = 0; s < Sets; ++s)
        {
            const double tap = taps[s][half];
            sums.left[s][v] += tap * left;
            sums.right[s][v] += tap * right;
        }
    }
}

// Runs a block in chunks: appends up to lanes * Vectors input frames, then has `chunk` compute
// that many output samples (in one go when the chunk is full, else a vector at a time). All of a
// chunk's input is read before any of its output is written, so the buffers may alias.
template <class Vector, int Vectors, class Chunk>
[[gnu::always_inline]] inline void forEachChunk (StereoDelayLine& delay, const float* inLeft, const float* inRight, int numSamples,
                                                 Chunk& chunk) noexcept
{
    constexpr int lanes = lanesOf<Vector>;
    constexpr int full = lanes * Vectors;
    static_assert (full <= static_cast<int> (StereoDelayLine::kChunkFrames), "a chunk must fit the history's read-ahead");
    for (int i = 0; i < numSamples;)
    {
        const int n = std::min (numSamples - i, full);
        const auto first = static_cast<ptrdiff_t> (delay.append (inLeft + i, inRight + i, static_cast<uint32_t> (n)));
        if (n == full)
            chunk.template run<Vectors> (first, i, n);
        else
            for (int j = 0; j < n; j += lanes)
                chunk.template run<1> (first + j, i + j, std::min (lanes, n - j));
        i += n;
    }
}

template <class Vector>
struct FilterChunk
{
    const FilterBlock& block;
    float* outLeft;
    float* outRight;

    // Output samples i .. i + n - 1, whose input frames start at history index `first`.
    template <int Vectors>
    [[gnu::always_inline]] inline void run (ptrdiff_t first, int i, int n) noexcept
    {
        constexpr int lanes = lanesOf<Vector>;
        const HistoryView history{ block.delay.left() + first, block.delay.right() + first };
        FoldedSums<Vector, 1, Vectors> sums;
        const double* const taps[1] = { block.taps };
        foldedSums (taps, block.count, history.from (-static_cast<ptrdiff_t> (block.readOffset)), sums);

        const double wet = block.wetGain, dry = block.dryGain;
        const HistoryView centre = history.from (-static_cast<ptrdiff_t> (block.centre));
#pragma GCC unroll 16
        for (int v = 0; v < Vectors; ++v)
        {
            const int count = std::min (lanes, n - lanes * v);
            store (outLeft + i + lanes * v, wet * sums.left[0][v] + dry * load<Vector> (centre.left + lanes * v), count);
            store (outRight + i + lanes * v, wet * sums.right[0][v] + dry * load<Vector> (centre.right + lanes * v), count);
        }
    }
};

template <class Vector>
[[gnu::always_inline]] inline void filterBlockWith (const FilterBlock& block, const float* inLeft, const float* inRight, float* outLeft,
                                                    float* outRight, int numSamples) noexcept
{
    FilterChunk<Vector> chunk{ block, outLeft, outRight };
    forEachChunk<Vector, kFilterVectors> (block.delay, inLeft, inRight, numSamples, chunk);
}

template <class Vector>
struct RampChunk
{
    const RampBlock& block;
    float* outLeft;
    float* outRight;
    double inverseLength;

    template <int Vectors>
    [[gnu::always_inline]] inline void run (ptrdiff_t first, int i, int n) noexcept
    {
        constexpr int lanes = lanesOf<Vector>;
        const HistoryView history{ block.delay.left() + first, block.delay.right() + first };

        // Sums of the previous taps (zero without a crossfade) and of the current ones.
        FoldedSums<Vector, 2, Vectors> sums;
        if (block.fadePrevious != nullptr)
        {
            const double* const taps[2] = { block.fadePrevious, block.fadeCurrent };
            foldedSums (taps, block.fadeExtent, history.from (-static_cast<ptrdiff_t> (block.fadeOffset)), sums);
        }
        else
        {
            // The current taps alone, summed exactly as the filter block sums them.
            FoldedSums<Vector, 1, Vectors> current;
            const double* const taps[1] = { block.taps };
            foldedSums (taps, block.count, history.from (-static_cast<ptrdiff_t> (block.readOffset)), current);
#pragma GCC unroll 16
            for (int v = 0; v < Vectors; ++v)
            {
                sums.left[0][v] = sums.right[0][v] = Vector{};
                sums.left[1][v] = current.left[0][v];
                sums.right[1][v] = current.right[0][v];
            }
        }

        const HistoryView centre = history.from (-static_cast<ptrdiff_t> (block.centre));
#pragma GCC unroll 16
        for (int v = 0; v < Vectors; ++v)
        {
            // rampGains, lane by lane.
            const Vector step = ascending<Vector> (block.done + i + lanes * v + 1);
            const Vector a = step >= static_cast<double> (block.length) ? Vector{} + 1.0 : step * inverseLength;
            const Vector b = 1.0 - a;
            const Vector previous = b * block.from.previous + a * block.to.previous;
            const Vector wet = b * block.from.wet + a * block.to.wet;
            const Vector dry = b * block.from.dry + a * block.to.dry;

            const int count = std::min (lanes, n - lanes * v);
            store (outLeft + i + lanes * v,
                   previous * sums.left[0][v] + wet * sums.left[1][v] + dry * load<Vector> (centre.left + lanes * v), count);
            store (outRight + i + lanes * v,
                   previous * sums.right[0][v] + wet * sums.right[1][v] + dry * load<Vector> (centre.right + lanes * v), count);
        }
    }
};

template <class Vector>
[[gnu::always_inline]] inline void rampBlockWith (const RampBlock& block, const float* inLeft, const float* inRight, float* outLeft,
                                                  float* outRight, int numSamples) noexcept
{
    RampChunk<Vector> chunk{ block, outLeft, outRight, 1.0 / static_cast<double> (block.length) };
    forEachChunk<Vector, kFadeVectors> (block.delay, inLeft, inRight, numSamples, chunk);
}

} // namespace

void filterBlockBaseline (const FilterBlock& block, const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                          int numSamples) noexcept
{
    filterBlockWith<Doubles2> (block, inLeft, inRight, outLeft, outRight, numSamples);
}

void rampBlockBaseline (const RampBlock& block, const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                        int numSamples) noexcept
{
    rampBlockWith<Doubles2> (block, inLeft, inRight, outLeft, outRight, numSamples);
}

#if BREVALON_X86

__attribute__ ((target ("avx"))) void filterBlockAvx (const FilterBlock& block, const float* inLeft, const float* inRight, float* outLeft,
                                                      float* outRight, int numSamples) noexcept
{
    filterBlockWith<Doubles4> (block, inLeft, inRight, outLeft, outRight, numSamples);
}

__attribute__ ((target ("avx"))) void rampBlockAvx (const RampBlock& block, const float* inLeft, const float* inRight, float* outLeft,
                                                    float* outRight, int numSamples) noexcept
{
    rampBlockWith<Doubles4> (block, inLeft, inRight, outLeft, outRight, numSamples);
}

__attribute__ ((target ("avx512f"))) void filterBlockAvx512 (const FilterBlock& block, const float* inLeft, const float* inRight,
                                                             float* outLeft, float* outRight, int numSamples) noexcept
{
    filterBlockWith<Doubles8> (block, inLeft, inRight, outLeft, outRight, numSamples);
}

__attribute__ ((target ("avx512f"))) void rampBlockAvx512 (const RampBlock& block, const float* inLeft, const float* inRight,
                                                           float* outLeft, float* outRight, int numSamples) noexcept
{
    rampBlockWith<Doubles8> (block, inLeft, inRight, outLeft, outRight, numSamples);
}

bool cpuSupports (KernelSet kernels) noexcept
{
    __builtin_cpu_init();
    switch (kernels)
    {
        case KernelSet::avx:
            return __builtin_cpu_supports ("avx");
        case KernelSet::avx512:
            return __builtin_cpu_supports ("avx512f");
        case KernelSet::baseline:
            break;
    }
    return true;
}

#else

// Elsewhere the wider sets run the baseline code and are never chosen.
void filterBlockAvx (const FilterBlock& block, const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                     int numSamples) noexcept
{
    filterBlockBaseline (block, inLeft, inRight, outLeft, outRight, numSamples);
}

void rampBlockAvx (const RampBlock& block, const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                   int numSamples) noexcept
{
    rampBlockBaseline (block, inLeft, inRight, outLeft, outRight, numSamples);
}

void filterBlockAvx512 (const FilterBlock& block, const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                        int numSamples) noexcept
{
    filterBlockBaseline (block, inLeft, inRight, outLeft, outRight, numSamples);
}

void rampBlockAvx512 (const RampBlock& block, const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                      int numSamples) noexcept
{
    rampBlockBaseline (block, inLeft, inRight, outLeft, outRight, numSamples);
}

bool cpuSupports (KernelSet kernels) noexcept
{
    return kernels == KernelSet::baseline;
}

#endif

KernelSet fastestKernels() noexcept
{
    for (const auto kernels : { KernelSet::avx512, KernelSet::avx })
        if (cpuSupports (kernels))
            return kernels;
    return KernelSet::baseline;
}

FilterBlockFunction filterBlockFor (KernelSet kernels) noexcept
{
    switch (kernels)
    {
        case KernelSet::avx512:
            return &filterBlockAvx512;
        case KernelSet::avx:
            return &filterBlockAvx;
        case KernelSet::baseline:
            break;
    }
    return &filterBlockBaseline;
}

RampBlockFunction rampBlockFor (KernelSet kernels) noexcept
{
    switch (kernels)
    {
        case KernelSet::avx512:
            return &rampBlockAvx512;
        case KernelSet::avx:
            return &rampBlockAvx;
        case KernelSet::baseline:
            break;
    }
    return &rampBlockBaseline;
}

} // namespace brevalon
