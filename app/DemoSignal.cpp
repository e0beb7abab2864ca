#include "app/DemoSignal.h"

#include <juce_dsp/juce_dsp.h>

#include <array>
#include <cmath>
#include <complex>
#include <random>
#include <vector>

namespace brevalon::app
{

namespace
{

constexpr double twoPi = juce::MathConstants<double>::twoPi;

using Channels = std::array<std::vector<double>, 2>;

// Adds a sine to samples [start, end) of both channels, scaled by `gains` and by a per-sample
// envelope (called with the offset from `start`), using a rotating phasor instead of a sine
// per sample.
template <typename Envelope>
void addPartial (Channels& channels, std::array<double, 2> gains, int start, int end, double frequency, double sampleRate,
                 Envelope envelope)
{
    const std::complex<double> step = std::polar (1.0, twoPi * frequency / sampleRate);
    std::complex<double> phasor = 1.0;
    for (int i = start; i < end; ++i)
    {
        const double value = envelope (i - start) * phasor.imag();
        channels[0][(size_t)i] += gains[0] * value;
        channels[1][(size_t)i] += gains[1] * value;
        phasor *= step;
        if (((i - start) & 1023) == 1023)
            phasor /= std::abs (phasor); // keeps the magnitude at 1 over long runs
    }
}

struct Note
{
    double midiNote;
    double pan; // 0 left .. 1 right
};

double noteFrequency (double midiNote)
{
    return 440.0 * std::pow (2.0, (midiNote - 69.0) / 12.0);
}

// Plucked harmonic tones: fast attack, partial k at 1/k, higher partials decaying faster.
void addChords (Channels& channels, double sampleRate, int length)
{
    const std::array<std::array<Note, 4>, 4> chords = { {
        { { { 45, 0.5 }, { 57, 0.3 }, { 60, 0.6 }, { 64, 0.8 } } }, // A minor
        { { { 41, 0.5 }, { 57, 0.3 }, { 60, 0.7 }, { 65, 0.8 } } }, // F major
        { { { 48, 0.5 }, { 55, 0.2 }, { 64, 0.6 }, { 72, 0.9 } } }, // C major
        { { { 43, 0.5 }, { 59, 0.3 }, { 62, 0.6 }, { 67, 0.8 } } }, // G major
    } };
    constexpr double partialLimitHz = 19000.0;
    constexpr int maxPartials = 40;
    constexpr double noteAmplitude = 0.09;
    constexpr double audibleDecayNepers = 11.5; // a partial stops once 100 dB down
    const int chordLength = length / static_cast<int> (chords.size());
    const int strum = static_cast<int> (0.04 * sampleRate);
    const double attackSamples = 0.004 * sampleRate;

    for (size_t c = 0; c < chords.size(); ++c)
    {
        for (size_t n = 0; n < chords[c].size(); ++n)
        {
            const auto& note = chords[c][n];
            const double angle = note.pan * juce::MathConstants<double>::halfPi;
            const std::array<double, 2> gains = { std::cos (angle), std::sin (angle) };
            const int start = static_cast<int> (c) * chordLength + static_cast<int> (n) * strum;
            const int release = std::min (length, static_cast<int> (c + 1) * chordLength + static_cast<int> (0.3 * sampleRate));
            const double fundamental = noteFrequency (note.midiNote);

            for (int k = 1; k <= maxPartials && k * fundamental < partialLimitHz; ++k)
            {
                const double decayRate = 1.5 + 0.6 * k; // nepers per second
                const int end = std::min (release, start + static_cast<int> (audibleDecayNepers / decayRate * sampleRate));
                const double decayPerSample = std::exp (-decayRate / sampleRate);
                double decay = noteAmplitude / k;
                const auto envelope = [&] (int offset)
                {
                    decay *= decayPerSample;
                    return std::min (1.0, offset / attackSamples) * decay;
                };
                addPartial (channels, gains, start, end, k * fundamental, sampleRate, envelope);
            }
        }
    }
}

void addUltrasonicTones (Channels& channels, double sampleRate, int length)
{
    constexpr double amplitude = 0.03; // about -30 dBFS each
    const auto steady = [] (int) { return amplitude; };
    addPartial (channels, { 1.0, 0.0 }, 0, length, 27500.0, sampleRate, steady);
    addPartial (channels, { 0.0, 1.0 }, 0, length, 32000.0, sampleRate, steady);
    addPartial (channels, { 1.0, 1.0 }, 0, length, 39000.0, sampleRate, steady);
}

// Noise with a flat spectrum from 25.5 to 45 kHz and nothing else: random phases on those
// bins, one inverse FFT, repeated. A period of 2^17 samples repeats without a seam.
void addUltrasonicNoise (std::vector<double>& channel, double sampleRate, int length, unsigned seed)
{
    constexpr int order = 17;
    constexpr int period = 1 << order;
    constexpr double rmsAmplitude = 0.02; // about -34 dBFS

    std::mt19937 random (seed);
    std::uniform_real_distribution<double> phase (0.0, twoPi);
    std::vector<std::complex<float>> spectrum (period);
    const double binWidth = sampleRate / period;
    const int firstBin = static_cast<int> (std::ceil (25500.0 / binWidth));
    const int lastBin = std::min (period / 2 - 1, static_cast<int> (45000.0 / binWidth));
    for (int bin = firstBin; bin <= lastBin; ++bin)
    {
        const auto value = std::polar (1.0, phase (random));
        spectrum[(size_t)bin] = std::complex<float> (static_cast<float> (value.real()), static_cast<float> (value.imag()));
        spectrum[(size_t)(period - bin)] = std::conj (spectrum[(size_t)bin]);
    }

    juce::dsp::FFT fft (order);
    std::vector<std::complex<float>> noise (period);
    fft.perform (spectrum.data(), noise.data(), true);

    double energy = 0.0;
    for (const auto& value : noise)
        energy += static_cast<double> (value.real()) * value.real();
    const double gain = rmsAmplitude / std::sqrt (energy / period);
    for (int i = 0; i < length; ++i)
        channel[(size_t)i] += gain * noise[(size_t)(i % period)].real();
}

} // namespace

juce::AudioBuffer<float> makeDemoSignal (double sampleRate, double seconds)
{
    jassert (sampleRate >= 96000.0);
    const int length = static_cast<int> (std::lround (seconds * sampleRate));

    Channels channels;
    for (auto& channel : channels)
        channel.assign ((size_t)length, 0.0);

    addChords (channels, sampleRate, length);
    addUltrasonicTones (channels, sampleRate, length);
    addUltrasonicNoise (channels[0], sampleRate, length, 1);
    addUltrasonicNoise (channels[1], sampleRate, length, 2);

    // Short fades so the file starts and ends in silence, and a gain that keeps peaks under -1 dBFS.
    const int fade = static_cast<int> (0.02 * sampleRate);
    double peak = 0.0;
    for (auto& channel : channels)
        for (int i = 0; i < length; ++i)
        {
            const int edge = std::min (i, length - 1 - i);
            if (edge < fade)
                channel[(size_t)i] *= 0.5 - 0.5 * std::cos (juce::MathConstants<double>::pi * edge / fade);
            peak = std::max (peak, std::abs (channel[(size_t)i]));
        }
    const double gain = peak > 0.89 ? 0.89 / peak : 1.0;

    juce::AudioBuffer<float> signal (2, length);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < length; ++i)
            signal.setSample (c, i, static_cast<float> (gain * channels[(size_t)c][(size_t)i]));
    return signal;
}

} // namespace brevalon::app
