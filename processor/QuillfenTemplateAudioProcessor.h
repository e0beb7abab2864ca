#pragma once

#include "FirLowpassEngine.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>

// The plug-in's audio processor: four parameters (frequency, slope, mix, bypass) mapped onto the
// linear-phase low-pass engine.
//
// The parameter values are held here in plain fields, each with an audio change flag, and are
// consumed by applyPendingChanges(); the typed parameter classes take their place later through
// the same seam (set a value -> mark changed -> parameterChanged(index) on the audio side).
class QuillfenTemplateAudioProcessor : public juce::AudioProcessor
{
public:
    enum ParameterIndex
    {
        freqParam = 0,
        slopeParam = 1,
        mixParam = 2,
        bypassParam = 3,
        numParameters = 4
    };

    static constexpr double defaultSampleRate = 44100.0;

    QuillfenTemplateAudioProcessor();
    ~QuillfenTemplateAudioProcessor() override;

    //==============================================================================
    // Plain values, settable from any thread. Frequency in Hz (20000..25000, kept with one
    // decimal), slope and mix normalised 0..1, bypass on/off. Each setter marks its value as
    // changed for the audio side.
    void setFrequencyHz (double hz);
    void setSlope (double normalised);
    void setMix (double normalised);
    void setBypass (bool on);

    double getFrequencyHz() const noexcept { return values[freqParam].load(); }
    double getSlope() const noexcept { return values[slopeParam].load(); }
    double getMix() const noexcept { return values[mixParam].load(); }
    bool getBypass() const noexcept { return values[bypassParam].load() >= 0.5; }

    // Applies the current value of one parameter to the engine.
    void parameterChanged (int index);

    // Tests and clears the audio change flag of every parameter in index order and applies the
    // ones that were set. Callers hold the callback lock (or are the audio thread in a block).
    void applyPendingChanges();

    //==============================================================================
    // Mapping of plain values onto the engine.
    void applyFilterShape (double cornerHz, double slope);
    void applyAmount (double amount, bool atMaximum);
    void applyBypass (bool on);

    // The amount law: dry gain for a mix value 0..1 (0 dB at 0, -80 dB towards 1, 0 at maximum).
    static double dryGainForAmount (double amount, bool atMaximum) noexcept;

    //==============================================================================
    // Queries for the editor and the magnitude display.
    bool isHostBypassed() const noexcept { return hostBypassed.load(); }
    bool isFilterActive() const noexcept { return engine.isActive(); }
    bool takeResponseChanged() noexcept { return engine.takeResponseChanged(); }
    double responseAt (double frequencyHz) const; // under the callback lock

    double getCurrentSampleRate() const noexcept { return currentSampleRate; }
    const brevalon::FirLowpassEngine& getEngine() const noexcept { return engine; }

    //==============================================================================
    void prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override {}
    void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override;
    void processBlockBypassed (juce::AudioBuffer<float>&, juce::MidiBuffer&) override;
    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;

    double getTailLengthSeconds() const override;

    const juce::String getName() const override { return "Brevalon"; }
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return false; }
    bool isMidiEffect() const override { return false; }

    juce::AudioProcessorEditor* createEditor() override { return nullptr; }
    bool hasEditor() const override { return false; }

    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram (int) override {}
    const juce::String getProgramName (int) override { return "Default"; }
    void changeProgramName (int, const juce::String&) override {}

    void getStateInformation (juce::MemoryBlock&) override {}
    void setStateInformation (const void*, int) override {}

private:
    void processAudio (juce::AudioBuffer<float>& buffer, bool hostBypass);
    void markChanged (int index) noexcept { changed[(size_t)index].store (true); }

    brevalon::FirLowpassEngine engine;
    std::atomic<bool> hostBypassed{ false };

    // Stand-in for the parameter manager: value and audio change flag per parameter.
    std::array<std::atomic<double>, numParameters> values{};
    std::array<std::atomic<bool>, numParameters> changed{};

    double currentSampleRate = defaultSampleRate;
    double lastPreparedRate = 0.0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QuillfenTemplateAudioProcessor)
};
