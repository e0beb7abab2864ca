#pragma once

#include "FirLowpassEngine.h"
#include "ParamManager.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <memory>

// The plug-in's audio processor: four parameters (frequency, slope, mix, bypass) mapped onto the
// linear-phase low-pass engine.
//
// The parameters live in the ParamManager. Setting one marks it changed; applyPendingChanges()
// takes the audio change flag of each and applies the changed ones through parameterChanged(index).
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

    static constexpr double minFrequencyHz = 20000.0;
    static constexpr double maxFrequencyHz = 25000.0;

    // The four parameters in index order, holding their table defaults.
    static std::unique_ptr<ParamManager> createParameters();

    ParamManager& getParamManager() noexcept { return *paramManager; }
    const ParamManager& getParamManager() const noexcept { return *paramManager; }

    //==============================================================================
    // Convenience setters over the parameters, callable from any thread. Frequency in Hz
    // (clamped to 20000..25000), slope and mix normalised 0..1 (clamped), bypass on/off. Each
    // marks its parameter as changed.
    void setFrequencyHz (double hz);
    void setSlope (double normalised);
    void setMix (double normalised);
    void setBypass (bool on);

    // The values as processing reads them: the frequency rounded to 0.1 Hz, slope and mix as
    // normalised values widened to double.
    double getFrequencyHz() const noexcept;
    double getSlope() const noexcept;
    double getMix() const noexcept;
    bool getBypass() const noexcept;

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
    Parameter& parameter (int index) const noexcept { return *paramManager->getParameterAt (index); }

    std::unique_ptr<ParamManager> paramManager;
    brevalon::FirLowpassEngine engine;
    std::atomic<bool> hostBypassed{ false };

    double currentSampleRate = defaultSampleRate;
    double lastPreparedRate = 0.0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QuillfenTemplateAudioProcessor)
};
