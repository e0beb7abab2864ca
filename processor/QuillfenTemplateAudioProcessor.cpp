#include "QuillfenTemplateAudioProcessor.h"

#include <cmath>

namespace
{
constexpr double minFrequencyHz = 20000.0;
constexpr double maxFrequencyHz = 25000.0;

double clampUnit (double v) noexcept
{
    return v > 1.0 ? 1.0 : (v >= 0.0 ? v : 0.0);
} // NaN -> 0

// Normalised values are 32-bit floats; processing reads them widened to double.
double asNormalised (double v) noexcept
{
    return static_cast<double> (static_cast<float> (clampUnit (v)));
}
} // namespace

QuillfenTemplateAudioProcessor::QuillfenTemplateAudioProcessor()
    : juce::AudioProcessor (BusesProperties()
                                .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                                .withOutput ("Output", juce::AudioChannelSet::stereo(), true))
{
    // The "Default" preset: 21000 Hz, slope 75 %, mix 100 %, bypass off; all marked as changed.
    setFrequencyHz (21000.0);
    setSlope (0.75);
    setMix (1.0);
    setBypass (false);
}

QuillfenTemplateAudioProcessor::~QuillfenTemplateAudioProcessor() = default;

void QuillfenTemplateAudioProcessor::setFrequencyHz (double hz)
{
    const double clamped = hz > maxFrequencyHz ? maxFrequencyHz : (hz >= minFrequencyHz ? hz : minFrequencyHz);
    values[freqParam].store (std::round (clamped * 10.0) / 10.0);
    markChanged (freqParam);
}

void QuillfenTemplateAudioProcessor::setSlope (double normalised)
{
    values[slopeParam].store (asNormalised (normalised));
    markChanged (slopeParam);
}

void QuillfenTemplateAudioProcessor::setMix (double normalised)
{
    values[mixParam].store (asNormalised (normalised));
    markChanged (mixParam);
}

void QuillfenTemplateAudioProcessor::setBypass (bool on)
{
    values[bypassParam].store (on ? 1.0 : 0.0);
    markChanged (bypassParam);
}

void QuillfenTemplateAudioProcessor::parameterChanged (int index)
{
    switch (index)
    {
    case freqParam:
    case slopeParam:
        applyFilterShape (getFrequencyHz(), getSlope());
        break;
    case mixParam:
        applyAmount (getMix(), getMix() * 100.0 >= 100.0);
        break;
    case bypassParam:
        applyBypass (getBypass());
        break;
    default:
        break;
    }
}

void QuillfenTemplateAudioProcessor::applyPendingChanges()
{
    for (int index = 0; index < numParameters; ++index)
        if (changed[(size_t)index].exchange (false))
            parameterChanged (index);
}

void QuillfenTemplateAudioProcessor::applyFilterShape (double cornerHz, double slope)
{
    engine.setFilter (cornerHz, slope, currentSampleRate);
}

void QuillfenTemplateAudioProcessor::applyAmount (double amount, bool atMaximum)
{
    engine.setMixGains (dryGainForAmount (amount, atMaximum));
}

void QuillfenTemplateAudioProcessor::applyBypass (bool on)
{
    engine.setBypassed (on);
}

double QuillfenTemplateAudioProcessor::dryGainForAmount (double amount, bool atMaximum) noexcept
{
    return atMaximum ? 0.0 : std::pow (10.0, (amount * -80.0) / 20.0);
}

double QuillfenTemplateAudioProcessor::responseAt (double frequencyHz) const
{
    const juce::ScopedLock lock (getCallbackLock());
    return engine.magnitudeAt (frequencyHz);
}

void QuillfenTemplateAudioProcessor::prepareToPlay (double sampleRate, int)
{
    // A new rate redesigns the filter through the frequency's change mark.
    currentSampleRate = sampleRate;
    if (sampleRate != lastPreparedRate)
        markChanged (freqParam);
    lastPreparedRate = sampleRate;

    {
        const juce::ScopedLock lock (getCallbackLock());
        applyPendingChanges();
    }

    const int latency = engine.latencySamples();
    if (latency != getLatencySamples())
        setLatencySamples (latency);

    engine.resetDelay();
}

void QuillfenTemplateAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    processAudio (buffer, false);

    // Output channels without an input channel carry silence.
    for (int channel = getTotalNumInputChannels(); channel < getTotalNumOutputChannels() && channel < buffer.getNumChannels(); ++channel)
        buffer.clear (channel, 0, buffer.getNumSamples());
}

void QuillfenTemplateAudioProcessor::processBlockBypassed (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    processAudio (buffer, true);
}

void QuillfenTemplateAudioProcessor::processAudio (juce::AudioBuffer<float>& buffer, bool hostBypass)
{
    const juce::ScopedNoDenormals noDenormals;
    hostBypassed.store (hostBypass);

    // Changes made while the host bypasses stay pending until the next normal block.
    if (! hostBypass)
        applyPendingChanges();

    const int numSamples = buffer.getNumSamples();
    if (buffer.getNumChannels() == 1)
    {
        float* mono = buffer.getWritePointer (0);
        engine.process (mono, mono, mono, mono, numSamples, hostBypass);
    }
    else if (buffer.getNumChannels() >= 2)
    {
        float* left = buffer.getWritePointer (0);
        float* right = buffer.getWritePointer (1);
        engine.process (left, right, left, right, numSamples, hostBypass);
    }
}

bool QuillfenTemplateAudioProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    const auto in = layouts.getMainInputChannelSet();
    const auto out = layouts.getMainOutputChannelSet();
    return in == out && (out == juce::AudioChannelSet::mono() || out == juce::AudioChannelSet::stereo());
}

double QuillfenTemplateAudioProcessor::getTailLengthSeconds() const
{
    return engine.latencySamples() / currentSampleRate;
}
