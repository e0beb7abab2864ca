#include "processor/QuillfenTemplateAudioProcessor.h"

#include "params/BooleanParameter.h"
#include "params/FrequencyParameter.h"
#include "resources/NamedResources.h"
#include "state/StateEngine.h"
#include "state/XmlGuard.h"

#include <cmath>

namespace brevalon
{

namespace
{
// 0..1 (NaN -> 0) as a normalised float; clamping first keeps huge values out of the conversion.
float asNormalised (double v) noexcept
{
    return static_cast<float> (v > 1.0 ? 1.0 : (v >= 0.0 ? v : 0.0));
}
} // namespace

std::unique_ptr<ParamManager> QuillfenTemplateAudioProcessor::createParameters()
{
    auto manager = std::make_unique<ParamManager> (numParameters);
    manager->setParameterAt (freqParam, std::make_unique<FrequencyParameter> (minFrequencyHz, maxFrequencyHz, 21000.0));
    manager->setParameterAt (slopeParam, std::make_unique<Parameter> ("slopeParam", "Slope", "%", 0.0, 100.0, 100.0, 1));
    manager->setParameterAt (mixParam, std::make_unique<Parameter> ("mixParam", "Mix", "%", 0.0, 100.0, 100.0, 1));
    manager->setParameterAt (bypassParam, std::make_unique<BooleanParameter>());
    manager->checkComplete();

    StateEngine::initialisePrograms (*manager);
    int size = 0;
    const char* presets = brevalon::resources::getNamedResource ("presets_xml", size);
    if (const auto document = brevalon::XmlGuard::parse (juce::String::fromUTF8 (presets, size)))
        StateEngine::loadFactoryPresets (*manager, *document);
    return manager;
}

QuillfenTemplateAudioProcessor::QuillfenTemplateAudioProcessor (SharedFolder sharedFolder, Settings settings)
    // Short bus names: the VST 2.4 wrapper copies "<bus> <channel>" into an 8-character pin
    // label with its terminator, one byte too many for names like "Output L".
    : QuillfenAudioProcessor (BusesProperties()
                                  .withInput ("In", juce::AudioChannelSet::stereo(), true)
                                  .withOutput ("Out", juce::AudioChannelSet::stereo(), true),
                              createParameters(), sharedFolder,
                              settings == Settings::sharedFile ? GlobalParamList::inSharedFile (sharedFolder) : GlobalParamList::inMemory())
{
}

QuillfenTemplateAudioProcessor::~QuillfenTemplateAudioProcessor() = default;

void QuillfenTemplateAudioProcessor::setFrequencyHz (double hz)
{
    auto& frequency = parameter (freqParam);
    frequency.setNormalised (frequency.plainToNormalised (hz));
}

void QuillfenTemplateAudioProcessor::setSlope (double normalised)
{
    parameter (slopeParam).setNormalised (asNormalised (normalised));
}

void QuillfenTemplateAudioProcessor::setMix (double normalised)
{
    parameter (mixParam).setNormalised (asNormalised (normalised));
}

void QuillfenTemplateAudioProcessor::setBypass (bool on)
{
    parameter (bypassParam).setNormalised (on ? 1.0f : 0.0f);
}

double QuillfenTemplateAudioProcessor::getFrequencyHz() const noexcept
{
    return parameter (freqParam).getValue();
}

double QuillfenTemplateAudioProcessor::getSlope() const noexcept
{
    return static_cast<double> (parameter (slopeParam).getNormalised());
}

double QuillfenTemplateAudioProcessor::getMix() const noexcept
{
    return static_cast<double> (parameter (mixParam).getNormalised());
}

bool QuillfenTemplateAudioProcessor::getBypass() const noexcept
{
    return parameter (bypassParam).getBoolValue();
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
        applyAmount (getMix(), parameter (mixParam).isAtMaximum());
        break;
    case bypassParam:
        applyBypass (getBypass());
        break;
    default:
        break;
    }
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

void QuillfenTemplateAudioProcessor::prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock)
{
    // A new rate marks the rate-dependent frequency, which redesigns the filter.
    QuillfenAudioProcessor::prepareToPlay (sampleRate, maximumExpectedSamplesPerBlock);

    // Under the callback lock: the editor's pending-change pass may redesign the filter on the
    // message thread at the same time.
    int latency = 0;
    {
        const juce::ScopedLock lock (getCallbackLock());
        applyPendingChanges();
        latency = engine.latencySamples();
        engine.resetDelay();
    }

    if (latency != getLatencySamples())
        setLatencySamples (latency);
}

void QuillfenTemplateAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
{
    processAudio (buffer, false);
    QuillfenAudioProcessor::processBlock (buffer, midi);
}

void QuillfenTemplateAudioProcessor::processBlockBypassed (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    processAudio (buffer, true);
    announceValuesWhenDue (buffer.getNumSamples());
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

} // namespace brevalon
