#pragma once

#include "state/Clipboard.h"
#include "state/GlobalParamList.h"
#include "state/Launcher.h"
#include "state/ParamManager.h"
#include "state/SharedFolder.h"
#include "state/StateEngine.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <functional>
#include <memory>

namespace brevalon
{

// The framework's processor: turns the host's parameter, program and state calls into calls on
// the instance's parameters and state engine. Owns the state engine (and through it the
// parameters), the user-wide settings and the sample rate. Products derive from it, add their
// audio and learn of new parameter values through parameterChanged().
class QuillfenAudioProcessor : public juce::AudioProcessor
{
public:
    static constexpr double defaultSampleRate = 44100.0;

    // `sharedFolder` holds the user presets (tests pass a temporary one). `settings` are the
    // user-wide settings: GlobalParamList::inSharedFile for a plug-in, inMemory for a tool.
    QuillfenAudioProcessor (const BusesProperties& buses, std::unique_ptr<ParamManager> parameters, SharedFolder sharedFolder,
                            std::unique_ptr<GlobalParamList> settings);
    ~QuillfenAudioProcessor() override;

    //==============================================================================
    const juce::String getName() const override;
    void prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override {}
    void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override;
    using juce::AudioProcessor::processBlock;

    const juce::String getInputChannelName (int channelIndex) const override { return juce::String (channelIndex + 1); }
    const juce::String getOutputChannelName (int channelIndex) const override { return juce::String (channelIndex + 1); }
    bool isInputChannelStereoPair (int) const override { return true; }
    bool isOutputChannelStereoPair (int) const override { return true; }
    bool silenceInProducesSilenceOut() const override { return false; }
    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return false; }

    // The editor comes from the factory the plug-in entry installs (the editor library builds on
    // this one); without one, hosts get JUCE's generic editor.
    juce::AudioProcessorEditor* createEditor() override;
    using EditorFactory = std::function<juce::AudioProcessorEditor* (QuillfenAudioProcessor&)>;
    void setEditorFactory (EditorFactory factory) { editorFactory = std::move (factory); }
    bool hasEditor() const override { return true; }

    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override;

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;
    // The document of a host chunk, null when the block holds none or the XML guard rejects it.
    static std::unique_ptr<juce::XmlElement> readChunkDocument (const void* data, int sizeInBytes);

    //==============================================================================
    // The host parameter operations, reached by hosts through the HostParameter objects.
    int getNumHostParameters() const;
    juce::String getHostParameterName (int index) const;
    float getHostParameter (int index) const;
    juce::String getHostParameterText (int index) const;
    int getHostParameterNumSteps (int index) const;
    float getHostParameterDefaultValue (int index) const;
    void setHostParameter (int index, float value);
    bool isHostParameterAutomatable (int index) const;

    //==============================================================================
    // Tells the product that parameter `index` has a new value.
    virtual void parameterChanged (int index) = 0;

    // Applies every parameter whose audio change flag is set. Callers hold the callback lock.
    void applyPendingChanges();

    // The editor's way of writing a parameter: recorded for undo, then told to the host.
    void setParameterFromEditor (int index, float normalised);
    // The host's side of an edit gesture on parameter `index`.
    void beginHostGesture (int index);
    void endHostGesture (int index);

    StateEngine& getStateEngine() noexcept { return *stateEngine; }
    ParamManager& getParamManager() noexcept { return stateEngine->getModel(); }
    const ParamManager& getParamManager() const noexcept { return stateEngine->getModel(); }
    GlobalParamList& getGlobalSettings() noexcept { return *globalSettings; }
    double getCurrentSampleRate() const noexcept { return currentSampleRate; }

    // What the editor uses to reach outside the process: the system clipboard and the desktop's
    // handlers for links and files. Tests replace them before opening an editor.
    Clipboard& getClipboard() noexcept { return *clipboard; }
    Launcher& getLauncher() noexcept { return *launcher; }
    void setDesktopServices (std::unique_ptr<Clipboard> newClipboard, std::unique_ptr<Launcher> newLauncher);

protected:
    // Tells an LV2 host the value of every parameter when due (see announcementsDue); called by
    // the audio path at the start of each block, normal or bypassed.
    void announceValuesWhenDue (int numSamples);

    // Written by prepareToPlay, read by the editor on the message thread.
    std::atomic<double> currentSampleRate{ defaultSampleRate };

private:
    // Tells the host about every parameter whose value differs from `before`.
    void notifyHostOfChanges (const std::vector<float>& before);
    std::vector<float> currentValues() const;

    std::unique_ptr<StateEngine> stateEngine;
    double lastPreparedRate = 0.0;
    // An LV2 host learns the parameter values only from the plug-in's messages: JUCE's wrapper
    // ignores a host's request for them (patch:Get) and sends a value (patch:Set) only when it
    // changes. So after each prepareToPlay the values are announced with the first block and
    // again half a second of audio later, as a host may run the first block just to measure the
    // latency without reading the plug-in's messages. Audio thread only, after preparing.
    int announcementsDue = 0;
    int samplesUntilAnnouncement = 0;
    std::unique_ptr<GlobalParamList> globalSettings;
    std::unique_ptr<Clipboard> clipboard = std::make_unique<SystemClipboard>();
    std::unique_ptr<Launcher> launcher = std::make_unique<SystemLauncher>();
    EditorFactory editorFactory;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QuillfenAudioProcessor)
};

} // namespace brevalon
