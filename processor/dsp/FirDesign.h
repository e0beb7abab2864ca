#pragma once

#include <array>

namespace brevalon
{

// Largest nominal filter length (at 384 kHz) and the tap storage that holds it, padded to a
// multiple of four for the grouped dot product.
constexpr int kMaxNominalLength = 361;
constexpr int kMaxPaddedTaps = 364;

constexpr int paddedTapCount (int count) noexcept
{
    return (count + 3) & ~3;
}

// The result of one low-pass design. Fixed-size storage, so a design never allocates and can run
// on the audio thread. Taps from `count` onwards are 0.0.
struct FirDesign
{
    int nominalLength = 0; // N, odd; the latency is N >> 1
    alignas (32) std::array<double, kMaxPaddedTaps> coefficients{};
    int count = 0;      // M, odd, M <= N
    int readOffset = 0; // (N >> 1) - (M >> 1)
};

// Nominal filter length for a sample rate: depends on the rate only, so the latency never
// changes with frequency or slope.
int nominalLengthFor (double sampleRate) noexcept;

// Kaiser window parameter g for a slope 0..1; the window length is e^g + 1.
double windowParameterFor (double slope, double sampleRate) noexcept;

// Designs the linear-phase low-pass whose magnitude is -0.1 dB at `cornerHz`.
// Precondition: 88200 <= sampleRate <= 384000.
FirDesign designLowpass (double cornerHz, double slope, double sampleRate) noexcept;

// The design with an explicit sinc cutoff (steps after the corner lookup). Used by
// designLowpass and by the generator of the compensation table.
FirDesign designWindowedSinc (double sincCutoffHz, double windowParameter, double sampleRate) noexcept;

// Sinc cutoff (Hz) that puts the -0.1 dB point at `cornerHz`, from the compensation table.
// Rates without a table section give 25000 Hz.
double compensatedCutoff (double cornerHz, double windowParameter, double sampleRate) noexcept;

// Modified Bessel function of the first kind, order 0, by its power series.
double besselI0 (double x) noexcept;

// Linear magnitude of the filter `taps[0..count)` at normalised frequency nu (1 = Nyquist).
double magnitudeAt (const double* taps, int count, double nu) noexcept;

} // namespace brevalon
