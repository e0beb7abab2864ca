#pragma once

#include "processor/QuillfenAudioProcessor.h"
#include "processor/dsp/FirLowpassEngine.h"

#include <atomic>
#include <memory>

namespace brevalon
{

// The plug-in's audio processor: four parameters (frequency, slope, mix, bypass) mapped onto the
// linear-phase low-pass engine. Parameter changes reach the engine at the start of the next
// block (or at the editor's pending-change pass) through parameterChanged(index).
class QuillfenTemplateAudioProcessor : public QuillfenAudioProcessor
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

    static constexpr double minFrequencyHz = 20000.0;
    static constexpr double maxFrequencyHz = 25000.0;

    // Where the user-wide settings live.
    enum class Settings
    {
        sharedFile, // "global.conf" in the shared folder, as every plug-in instance keeps them
        inMemory    // defaults, never written: command-line tools leave the user's files alone
    };

    // `sharedFolder` holds the user presets and global settings (tests pass a temporary one).
    explicit QuillfenTemplateAudioProcessor (SharedFolder sharedFolder = {}, Settings settings = Settings::sharedFile);
    ~QuillfenTemplateAudioProcessor() override;

    // The four parameters in index order with the program list: placeholders, then the
    // factory presets, the first of which ("Default") is applied.
    static std::unique_ptr<ParamManager> createParameters();

    //==============================================================================
    // Convenience setters over the parameters (no undo), callable from any thread. Frequency
    // in Hz (clamped to 20000..25000), slope and mix normalised 0..1 (clamped), bypass on/off.
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

    void parameterChanged (int index) override;

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

    const brevalon::FirLowpassEngine& getEngine() const noexcept { return engine; }

    //==============================================================================
    void prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override;
    void processBlockBypassed (juce::AudioBuffer<float>&, juce::MidiBuffer&) override;
    using QuillfenAudioProcessor::processBlock;
    using QuillfenAudioProcessor::processBlockBypassed;
    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;
    double getTailLengthSeconds() const override;

private:
    void processAudio (juce::AudioBuffer<float>& buffer, bool hostBypass);
    Parameter& parameter (int index) const noexcept { return *getParamManager().getParameterAt (index); }

    brevalon::FirLowpassEngine engine;
    std::atomic<bool> hostBypassed{ false };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QuillfenTemplateAudioProcessor)
};

} // namespace brevalon
