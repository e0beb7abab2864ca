#pragma once

#include "ComponentDriver.h"
#include "editor/QuillfenTemplateAudioProcessorEditor.h"
#include "processor/QuillfenTemplateAudioProcessor.h"
#include "state/Clipboard.h"
#include "tests/support/RecordingLauncher.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <memory>

namespace brevalon::test
{

// Gestures and value changes the host sees, in order: "begin i", "value i", "end i".
class HostEventRecorder : public juce::AudioProcessorListener
{
public:
    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float) override { events.add ("value " + juce::String (index)); }
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override { events.add ("begin " + juce::String (index)); }
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override { events.add ("end " + juce::String (index)); }
    juce::StringArray events;
};

// A product processor prepared at `sampleRate`, with its own empty shared folder, an in-memory
// clipboard and a recording launcher, and its editor open in a window of its own.
class EditorBench
{
public:
    explicit EditorBench (double sampleRate = 96000.0, int blockSize = 512);
    ~EditorBench();

    // One timer tick, as the 50 ms timer would run it.
    void tick (int ticks = 1);
    // The product processor's audio for one block of silence (the filter design follows the
    // parameters at the start of a block).
    void processBlock();

    juce::TemporaryFile sharedFolder{ juce::String(), juce::File::tempDirectory };
    std::unique_ptr<QuillfenTemplateAudioProcessor> processor;
    MemoryClipboard* clipboard = nullptr;
    RecordingLauncher* launcher = nullptr;
    std::unique_ptr<QuillfenTemplateAudioProcessorEditor> editor;
    std::unique_ptr<ComponentDriver> driver;

private:
    int blockSize;
};

} // namespace brevalon::test
