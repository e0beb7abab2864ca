#include "HostedPlugin.h"

#include <atomic>
#include <cmath>
#include <thread>

using namespace brevalon::host;

namespace
{
class HostEditor : public testing::TestWithParam<Format>
{
};

// The host's audio thread: processes noise in 256-sample blocks until destroyed, checking that
// every output sample is finite.
class AudioThread
{
public:
    static constexpr int blockSize = 256;

    explicit AudioThread (juce::AudioPluginInstance& instance)
        : thread ([this, &instance] {
              auto noise = makeNoise (2, blockSize, 7u, 0.5f);
              juce::AudioBuffer<float> block (2, blockSize);
              juce::MidiBuffer midi;
              while (running)
              {
                  block.makeCopyOf (noise, true);
                  instance.processBlock (block, midi);
                  for (int channel = 0; channel < 2; ++channel)
                      for (int i = 0; i < blockSize; ++i)
                          if (! std::isfinite (block.getSample (channel, i)))
                              allFinite = false;
                  ++blocks;
                  std::this_thread::sleep_for (std::chrono::microseconds (500));
              }
          })
    {
    }

    ~AudioThread()
    {
        running = false;
        thread.join();
    }

    int getBlocks() const { return blocks.load(); }
    bool wasEveryOutputFinite() const { return allFinite.load(); }

private:
    std::atomic<bool> running{ true };
    std::atomic<int> blocks{ 0 };
    std::atomic<bool> allFinite{ true };
    std::thread thread;
};

// The plug-in's editor on the desktop in a window of its own, as a host shows it.
class EditorWindow
{
public:
    explicit EditorWindow (juce::AudioPluginInstance& instance)
        : editor (instance.createEditorIfNeeded())
    {
        if (editor == nullptr)
            return;
        window.setBounds (100, 100, editor->getWidth(), editor->getHeight());
        window.addAndMakeVisible (*editor);
        window.addToDesktop (0);
        window.setVisible (true);
    }

    ~EditorWindow()
    {
        if (editor != nullptr)
            window.removeChildComponent (editor.get());
        editor.reset();
        window.removeFromDesktop();
    }

    juce::AudioProcessorEditor* get() const { return editor.get(); }

private:
    juce::Component window;
    std::unique_ptr<juce::AudioProcessorEditor> editor;
};

// The plug-in's editor opened in a window of its own and closed again, 20 times, while another
// thread plays the host's audio thread: no crash, audio keeps flowing the whole time (blocks are
// processed during every opening), and every output sample is finite. tools/asan-stress.sh runs
// this under AddressSanitizer as well.
TEST_P (HostEditor, OpensAndClosesTwentyTimesWhileAudioRuns)
{
    constexpr double rate = 96000.0;
    auto hosted = load (GetParam(), rate, AudioThread::blockSize);
    ASSERT_NE (hosted.instance, nullptr);
    auto& instance = *hosted.instance;
    ASSERT_TRUE (instance.hasEditor());
    instance.prepareToPlay (rate, AudioThread::blockSize);
    {
        AudioThread audio (instance);
        for (int opening = 0; opening < 20; ++opening)
        {
            SCOPED_TRACE (opening);
            EditorWindow editor (instance);
            ASSERT_NE (editor.get(), nullptr);
            EXPECT_EQ (editor.get()->getWidth(), 406) << "the product editor, not the generic one";
            EXPECT_EQ (editor.get()->getHeight(), 242);

            // Long enough for a few of the editor's 50 ms timer ticks.
            const int blocksBefore = audio.getBlocks();
            const auto until = juce::Time::getMillisecondCounter() + 160;
            pumpMessagesUntil ([&] { return juce::Time::getMillisecondCounter() >= until; });
            EXPECT_GT (audio.getBlocks(), blocksBefore) << "audio kept flowing";
        }
        EXPECT_TRUE (audio.wasEveryOutputFinite());
    }
    instance.releaseResources();
}

// A host may restore the state from a thread of its own (a loading or undo thread) while the
// editor is open and audio runs. Two states with different values are set in turn 150 times from
// a background thread while the message thread runs the editor; afterwards the last one holds:
// the host reads its values and gets its chunk back byte for byte.
TEST_P (HostEditor, StateSetFromABackgroundThreadWhileTheEditorIsOpen)
{
    const auto format = GetParam();
    constexpr double rate = 96000.0;
    auto hosted = load (format, rate, AudioThread::blockSize);
    ASSERT_NE (hosted.instance, nullptr);
    auto& instance = *hosted.instance;
    instance.prepareToPlay (rate, AudioThread::blockSize);

    const auto stateWith = [&] (std::vector<float> values) {
        for (int index = 0; index < 4; ++index)
            pluginParameter (instance, format, index)->setValueNotifyingHost (values[(size_t) index]);
        // LV2 hands the values to the plug-in with the next block.
        juce::AudioBuffer<float> block (2, AudioThread::blockSize);
        block.clear();
        process (instance, block, AudioThread::blockSize);
        juce::MemoryBlock chunk;
        instance.getStateInformation (chunk);
        return chunk;
    };
    const auto first = stateWith ({ 0.2f, 0.9f, 0.5f, 0.0f });
    const auto last = stateWith ({ 0.8f, 0.1f, 1.0f, 1.0f });
    ASSERT_NE (first, last);
    // The values as the plug-in keeps them (it may round them to its steps).
    std::vector<float> lastValues;
    for (int index = 0; index < 4; ++index)
        lastValues.push_back (pluginParameter (instance, format, index)->getValue());
    instance.setStateInformation (first.getData(), static_cast<int> (first.getSize()));

    {
        AudioThread audio (instance);
        EditorWindow editor (instance);
        ASSERT_NE (editor.get(), nullptr);

        std::atomic<bool> done{ false };
        std::thread restorer ([&] {
            juce::MemoryBlock readBack;
            for (int round = 0; round < 150; ++round)
            {
                const auto& chunk = round % 2 == 0 ? first : last;
                instance.setStateInformation (chunk.getData(), static_cast<int> (chunk.getSize()));
                instance.getStateInformation (readBack);
                std::this_thread::sleep_for (std::chrono::milliseconds (1));
            }
            done = true;
        });
        EXPECT_TRUE (pumpMessagesUntil ([&] { return done.load(); }, 30000));
        restorer.join();

        // A few editor ticks after the last restore.
        const auto until = juce::Time::getMillisecondCounter() + 160;
        pumpMessagesUntil ([&] { return juce::Time::getMillisecondCounter() >= until; });
        EXPECT_TRUE (audio.wasEveryOutputFinite());
    }

    for (int index = 0; index < 4; ++index)
        EXPECT_NEAR (pluginParameter (instance, format, index)->getValue(), lastValues[(size_t) index], 1.0e-6f) << "parameter " << index;
    juce::MemoryBlock now;
    instance.getStateInformation (now);
    EXPECT_EQ (now, last);
    instance.releaseResources();
}

// A VST3 host's content scale factor reaches the editor: the plug-in's view grows by the factor.
TEST (HostEditorScale, Vst3ContentScaleFactorScalesTheView)
{
    auto hosted = load (Format::vst3, 96000.0, 256);
    ASSERT_NE (hosted.instance, nullptr);
    std::unique_ptr<juce::AudioProcessorEditor> editor (hosted.instance->createEditorIfNeeded());
    ASSERT_NE (editor, nullptr);
    juce::Component window;
    window.setBounds (100, 100, 900, 600);
    window.addAndMakeVisible (*editor);
    window.addToDesktop (0);
    window.setVisible (true);
    pumpMessagesUntil ([] { return false; }, 200);
    const auto before = editor->getBounds();

    editor->setScaleFactor (2.0f);
    pumpMessagesUntil ([&] { return editor->getWidth() != before.getWidth(); }, 2000);
    std::printf ("[ MEASURED ] VST3 view %s at 1.0, %s at 2.0\n", before.toString().toRawUTF8(), editor->getBounds().toString().toRawUTF8());
    EXPECT_EQ (editor->getWidth(), 812);
    EXPECT_EQ (editor->getHeight(), 484);
    window.removeChildComponent (editor.get());
    editor.reset();
    window.removeFromDesktop();
}

INSTANTIATE_TEST_SUITE_P (Formats, HostEditor, testing::ValuesIn (allFormats()), formatTestName);
} // namespace
