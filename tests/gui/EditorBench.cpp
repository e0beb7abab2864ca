#include "EditorBench.h"

#include "state/SharedFolder.h"

namespace brevalon::test
{

EditorBench::EditorBench (double sampleRate, int blockSizeToUse)
    : blockSize (blockSizeToUse)
{
    sharedFolder.getFile().createDirectory();
    processor = std::make_unique<QuillfenTemplateAudioProcessor> (SharedFolder (sharedFolder.getFile()));
    auto memoryClipboard = std::make_unique<MemoryClipboard>();
    auto recordingLauncher = std::make_unique<RecordingLauncher>();
    clipboard = memoryClipboard.get();
    launcher = recordingLauncher.get();
    processor->setDesktopServices (std::move (memoryClipboard), std::move (recordingLauncher));
    processor->setPlayConfigDetails (2, 2, sampleRate, blockSize);
    processor->prepareToPlay (sampleRate, blockSize);
    editor = std::make_unique<QuillfenTemplateAudioProcessorEditor> (*processor);
    driver = std::make_unique<ComponentDriver> (*editor);
}

EditorBench::~EditorBench()
{
    driver.reset();
    editor.reset();
    processor.reset();
    sharedFolder.getFile().deleteRecursively();
}

void EditorBench::tick (int ticks)
{
    for (int i = 0; i < ticks; ++i)
        editor->timerCallback();
}

void EditorBench::processBlock()
{
    juce::AudioBuffer<float> buffer (2, blockSize);
    buffer.clear();
    juce::MidiBuffer midi;
    const juce::ScopedLock lock (processor->getCallbackLock());
    processor->processBlock (buffer, midi);
}

} // namespace brevalon::test
