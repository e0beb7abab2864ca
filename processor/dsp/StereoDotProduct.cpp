#include "processor/dsp/StereoDotProduct.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

#if defined(__x86_64__) || defined(_M_X64)
#    define BREVALON_X86 1
#    include <immintrin.h>
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

template <class Vector> struct VectorTraits;
template <> struct VectorTraits<Doubles2>
{
    using Floats = Floats2;
};
template <> struct VectorTraits<Doubles4>
{
    using Floats = Floats4;
};
template <> struct VectorTraits<Doubles8>
{
    using Floats = Floats8;
};

template <class Vector> constexpr int lanesOf = static_cast<int> (sizeof (Vector) / sizeof (double));

// The products of a tap and a sample pair are added to the running sums taking the taps in a
// fixed order: k = 0, 8, 16, ..., then 1, 9, 17, ..., up to 7, 15, ...; then the centre tap. A
// pass over the taps k = u (mod 8) moves every window of samples by 8 frames, so a window one
// output vector reads is the one its neighbour reads at the next tap of the pass, and a window
// is loaded once for several vectors instead of once per vector.
constexpr int kTapStride = 8;

// What differs between instruction sets: the vector, how a product joins a sum, how many output
// vectors a chunk computes and whether the two channels pass over the taps together or one
// after the other (enough independent sums to keep the arithmetic units busy, few enough for
// the registers: AVX2 has 16, AVX-512 32; the crossfade keeps two sums per vector and channel).
// The fused multiply-add is the operation the wide sets are fastest with; the baseline rounds
// the product on its own.
struct Baseline
{
    using Vector = Doubles2;
    static constexpr int filterVectors = 2;
    static constexpr int fadeVectors = 2;
    static constexpr int channelsPerPass = 2;
    static void multiplyAdd (double tap, const Vector& samples, Vector& sum) noexcept { sum += samples * tap; }
};

#if BREVALON_X86
struct Avx2
{
    using Vector = Doubles4;
    static constexpr int filterVectors = 5;
    static constexpr int fadeVectors = 2;
    static constexpr int channelsPerPass = 1;
    __attribute__ ((target ("avx2,fma"))) static void multiplyAdd (double tap, const Vector& samples, Vector& sum) noexcept
    {
        sum = reinterpret_cast<Vector> (
            _mm256_fmadd_pd (_mm256_set1_pd (tap), reinterpret_cast<const __m256d&> (samples), reinterpret_cast<__m256d&> (sum)));
    }
};

struct Avx512
{
    using Vector = Doubles8;
    static constexpr int filterVectors = 4;
    static constexpr int fadeVectors = 2;
    static constexpr int channelsPerPass = 2;
    __attribute__ ((target ("avx512f"))) static void multiplyAdd (double tap, const Vector& samples, Vector& sum) noexcept
    {
        sum = reinterpret_cast<Vector> (
            _mm512_fmadd_pd (_mm512_set1_pd (tap), reinterpret_cast<const __m512d&> (samples), reinterpret_cast<__m512d&> (sum)));
    }
};
#    define BREVALON_TARGET(isa) __attribute__ ((target (isa)))
#else
// Elsewhere the wider sets are the baseline under other names, and are never chosen.
using Avx2 = Baseline;
using Avx512 = Baseline;
#    define BREVALON_TARGET(isa)
#endif

template <class Vector> [[gnu::always_inline]] inline Vector load (const double* samples) noexcept
{
    Vector v;
    std::memcpy (&v, samples, sizeof (Vector));
    return v;
}

// Lane j holds first + j. (Scalars enter the vector arithmetic as operands of their own, which
// the compiler broadcasts in the caller's instruction set.)
template <class Vector, size_t... lane> [[gnu::always_inline]] inline Vector ascending (int first, std::index_sequence<lane...>) noexcept
{
    return Vector{ static_cast<double> (lane)... } + static_cast<double> (first);
}

template <class Vector> [[gnu::always_inline]] inline Vector ascending (int first) noexcept
{
    return ascending<Vector> (first, std::make_index_sequence<lanesOf<Vector>>());
}

// Narrows the first `count` lanes to float and stores them.
template <class Vector> [[gnu::always_inline]] inline void store (float* out, const Vector& v, int count) noexcept
{
    if (count == lanesOf<Vector>)
    {
        const auto narrowed = __builtin_convertvector(v, typename VectorTraits<Vector>::Floats);
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
    const double* channel (int c) const noexcept { return c == 0 ? left : right; }
};

// Filter sums of `Vectors` vectors of consecutive output samples per channel for `Sets` tap sets
// over the same history, each set symmetric over `extent` (odd) frames. Lane j of vector v is
// the output sample lanes * v + j of the chunk.
template <class Vector, int Sets, int Vectors> struct FoldedSums
{
    Vector left[Sets][Vectors];
    Vector right[Sets][Vectors];

    Vector& at (int channel, int set, int vector) noexcept { return channel == 0 ? left[set][vector] : right[set][vector]; }
};

template <class Isa, int Sets, int Vectors>
[[gnu::always_inline]] inline void foldedSums (const double* const (&taps)[Sets], int extent, const HistoryView& newest,
                                               FoldedSums<typename Isa::Vector, Sets, Vectors>& sums) noexcept
{
    using Vector = typename Isa::Vector;
    constexpr int lanes = lanesOf<Vector>;
    constexpr int shift = kTapStride / lanes; // vectors a window moves on per step of a pass
    const int half = extent >> 1;
    const HistoryView oldest = newest.from (-(extent - 1));
#pragma GCC unroll 16
    for (int v = 0; v < Vectors; ++v)
#pragma GCC unroll 4
        for (int s = 0; s < Sets; ++s)
            sums.left[s][v] = sums.right[s][v] = Vector{};

    // Tap k multiplies the sample k frames older than `newest` and the one k frames newer than
    // `oldest`. Both channels in one pass, or one after the other where the registers are few.
    constexpr int channels = Isa::channelsPerPass;
#pragma GCC unroll 2
    for (int firstChannel = 0; firstChannel < 2; firstChannel += channels)
        for (int u = 0; u < kTapStride && u < half; ++u)
        {
            const int steps = (half - u + kTapStride - 1) / kTapStride;
            Vector newer[channels][Vectors], older[channels][Vectors];
#pragma GCC unroll 16
            for (int v = 0; v < Vectors; ++v)
#pragma GCC unroll 2
                for (int c = 0; c < channels; ++c)
                {
                    newer[c][v] = load<Vector> (newest.channel (firstChannel + c) - u + lanes * v);
                    older[c][v] = load<Vector> (oldest.channel (firstChannel + c) + u + lanes * v);
                }
            for (int j = 0;;)
            {
                const int k = u + kTapStride * j;
#pragma GCC unroll 16
                for (int v = 0; v < Vectors; ++v)
#pragma GCC unroll 2
                    for (int c = 0; c < channels; ++c)
                    {
                        const Vector pair = newer[c][v] + older[c][v];
#pragma GCC unroll 4
                        for (int s = 0; s < Sets; ++s)
                            Isa::multiplyAdd (taps[s][k], pair, sums.at (firstChannel + c, s, v));
                    }
                if (++j == steps)
                    break;

                // The next tap of the pass reads 8 frames further out at either end: the newer
                // windows move to later vectors, the older ones to earlier vectors; only the
                // windows that enter are loaded.
                const int step = kTapStride * j;
#pragma GCC unroll 16
                for (int v = Vectors - 1; v >= 0; --v)
#pragma GCC unroll 2
                    for (int c = 0; c < channels; ++c)
                        newer[c][v] =
                            v >= shift ? newer[c][v - shift] : load<Vector> (newest.channel (firstChannel + c) - u - step + lanes * v);
#pragma GCC unroll 16
                for (int v = 0; v < Vectors; ++v)
#pragma GCC unroll 2
                    for (int c = 0; c < channels; ++c)
                        older[c][v] = v + shift < Vectors ? older[c][v + shift]
                                                          : load<Vector> (oldest.channel (firstChannel + c) + u + step + lanes * v);
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
            Isa::multiplyAdd (taps[s][half], left, sums.left[s][v]);
            Isa::multiplyAdd (taps[s][half], right, sums.right[s][v]);
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

template <class Isa> struct FilterChunk
{
    using Vector = typename Isa::Vector;

    const FilterBlock& block;
    float* outLeft;
    float* outRight;

    // Output samples i .. i + n - 1, whose input frames start at history index `first`.
    template <int Vectors> [[gnu::always_inline]] inline void run (ptrdiff_t first, int i, int n) noexcept
    {
        constexpr int lanes = lanesOf<Vector>;
        const HistoryView history{ block.delay.left() + first, block.delay.right() + first };
        FoldedSums<Vector, 1, Vectors> sums;
        const double* const taps[1] = { block.taps };
        foldedSums<Isa> (taps, block.count, history.from (-static_cast<ptrdiff_t> (block.readOffset)), sums);

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

template <class Isa>
[[gnu::always_inline]] inline void filterBlockWith (const FilterBlock& block, const float* inLeft, const float* inRight, float* outLeft,
                                                    float* outRight, int numSamples) noexcept
{
    FilterChunk<Isa> chunk{ block, outLeft, outRight };
    forEachChunk<typename Isa::Vector, Isa::filterVectors> (block.delay, inLeft, inRight, numSamples, chunk);
}

template <class Isa, bool crossfade> struct RampChunk
{
    using Vector = typename Isa::Vector;

    const RampBlock& block;
    float* outLeft;
    float* outRight;
    double inverseLength;

    template <int Vectors> [[gnu::always_inline]] inline void run (ptrdiff_t first, int i, int n) noexcept
    {
        constexpr int lanes = lanesOf<Vector>;
        const HistoryView history{ block.delay.left() + first, block.delay.right() + first };

        // Sums of the previous taps (zero without a crossfade) and of the current ones.
        FoldedSums<Vector, 2, Vectors> sums;
        if constexpr (crossfade)
        {
            const double* const taps[2] = { block.fadePrevious, block.fadeCurrent };
            foldedSums<Isa> (taps, block.fadeExtent, history.from (-static_cast<ptrdiff_t> (block.fadeOffset)), sums);
        }
        else
        {
            // The current taps alone, summed exactly as the filter block sums them.
            FoldedSums<Vector, 1, Vectors> current;
            const double* const taps[1] = { block.taps };
            foldedSums<Isa> (taps, block.count, history.from (-static_cast<ptrdiff_t> (block.readOffset)), current);
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

template <class Isa>
[[gnu::always_inline]] inline void rampBlockWith (const RampBlock& block, const float* inLeft, const float* inRight, float* outLeft,
                                                  float* outRight, int numSamples) noexcept
{
    const double inverseLength = 1.0 / static_cast<double> (block.length);
    if (block.fadePrevious != nullptr)
    {
        RampChunk<Isa, true> chunk{ block, outLeft, outRight, inverseLength };
        forEachChunk<typename Isa::Vector, Isa::fadeVectors> (block.delay, inLeft, inRight, numSamples, chunk);
    }
    else
    {
        RampChunk<Isa, false> chunk{ block, outLeft, outRight, inverseLength };
        forEachChunk<typename Isa::Vector, Isa::filterVectors> (block.delay, inLeft, inRight, numSamples, chunk);
    }
}

// The kernel sets, each compiled for its instruction set; reached through filterBlockFor and
// rampBlockFor.
void filterBlockBaseline (const FilterBlock& block, const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                          int numSamples) noexcept
{
    filterBlockWith<Baseline> (block, inLeft, inRight, outLeft, outRight, numSamples);
}

void rampBlockBaseline (const RampBlock& block, const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                        int numSamples) noexcept
{
    rampBlockWith<Baseline> (block, inLeft, inRight, outLeft, outRight, numSamples);
}

BREVALON_TARGET ("avx2,fma")
void filterBlockAvx2 (const FilterBlock& block, const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                      int numSamples) noexcept
{
    filterBlockWith<Avx2> (block, inLeft, inRight, outLeft, outRight, numSamples);
}

BREVALON_TARGET ("avx2,fma")
void rampBlockAvx2 (const RampBlock& block, const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                    int numSamples) noexcept
{
    rampBlockWith<Avx2> (block, inLeft, inRight, outLeft, outRight, numSamples);
}

BREVALON_TARGET ("avx512f")
void filterBlockAvx512 (const FilterBlock& block, const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                        int numSamples) noexcept
{
    filterBlockWith<Avx512> (block, inLeft, inRight, outLeft, outRight, numSamples);
}

BREVALON_TARGET ("avx512f")
void rampBlockAvx512 (const RampBlock& block, const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                      int numSamples) noexcept
{
    rampBlockWith<Avx512> (block, inLeft, inRight, outLeft, outRight, numSamples);
}

} // namespace

#if BREVALON_X86

bool cpuSupports (KernelSet kernels) noexcept
{
    __builtin_cpu_init();
    switch (kernels)
    {
    case KernelSet::avx2:
        return __builtin_cpu_supports ("avx2") && __builtin_cpu_supports ("fma");
    case KernelSet::avx512:
        return __builtin_cpu_supports ("avx512f");
    case KernelSet::baseline:
        break;
    }
    return true;
}

#else

bool cpuSupports (KernelSet kernels) noexcept
{
    return kernels == KernelSet::baseline;
}

#endif

KernelSet fastestKernels() noexcept
{
    for (const auto kernels : { KernelSet::avx512, KernelSet::avx2 })
        if (cpuSupports (kernels))
            return kernels;
    return KernelSet::baseline;
}

namespace
{
template <class Function> Function functionFor (KernelSet kernels, Function baseline, Function avx2, Function avx512) noexcept
{
    return kernels == KernelSet::avx512 ? avx512 : kernels == KernelSet::avx2 ? avx2 : baseline;
}
} // namespace

FilterBlockFunction filterBlockFor (KernelSet kernels) noexcept
{
    return functionFor<FilterBlockFunction> (kernels, &filterBlockBaseline, &filterBlockAvx2, &filterBlockAvx512);
}

RampBlockFunction rampBlockFor (KernelSet kernels) noexcept
{
    return functionFor<RampBlockFunction> (kernels, &rampBlockBaseline, &rampBlockAvx2, &rampBlockAvx512);
}

} // namespace brevalon
