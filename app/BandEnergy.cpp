#include "app/BandEnergy.h"

#include <juce_dsp/juce_dsp.h>

#include <cmath>
#include <vector>

namespace brevalon::app
{

double bandPowerDb (const juce::AudioBuffer<float>& signal, double sampleRate, double lowHz, double highHz)
{
    constexpr int order = 14;
    constexpr int size = 1 << order;
    constexpr int hop = size / 2;

    juce::dsp::FFT fft (order);
    std::vector<float> window (size);
    double windowEnergy = 0.0;
    for (int i = 0; i < size; ++i)
    {
        window[(size_t)i] = static_cast<float> (0.5 - 0.5 * std::cos (juce::MathConstants<double>::twoPi * i / size));
        windowEnergy += static_cast<double> (window[(size_t)i]) * window[(size_t)i];
    }

    const double binWidth = sampleRate / size;
    const int firstBin = std::max (0, static_cast<int> (std::ceil (lowHz / binWidth)));
    const int endBin = std::min (size / 2 + 1, static_cast<int> (std::ceil (highHz / binWidth)));

    std::vector<float> frame (2 * size);
    const int length = signal.getNumSamples();
    double power = 0.0;
    int frames = 0;
    for (int channel = 0; channel < signal.getNumChannels(); ++channel)
    {
        const float* samples = signal.getReadPointer (channel);
        // At least one frame; a signal shorter than a frame is zero-padded (and reads lower).
        for (int start = 0; start == 0 || start + size <= length; start += hop)
        {
            std::fill (frame.begin(), frame.end(), 0.0f);
            for (int i = 0; i < size && start + i < length; ++i)
                frame[(size_t)i] = samples[start + i] * window[(size_t)i];
            fft.performFrequencyOnlyForwardTransform (frame.data(), true);

            // One-sided spectrum: every bin but DC and Nyquist stands for two.
            double framePower = 0.0;
            for (int bin = firstBin; bin < endBin; ++bin)
            {
                const double magnitude = frame[(size_t)bin];
                framePower += (bin == 0 || bin == size / 2 ? 1.0 : 2.0) * magnitude * magnitude;
            }
            power += framePower / (size * windowEnergy);
            ++frames;
        }
    }

    const double meanPower = frames > 0 ? power / frames : 0.0;
    constexpr double fullScaleSinePower = 0.5;
    constexpr double floorPower = 1.0e-30; // -300 dB instead of minus infinity for silence
    return 10.0 * std::log10 (std::max (meanPower, floorPower) / fullScaleSinePower);
}

} // namespace brevalon::app
