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

// The plug-in's editor opened in a window of its own and closed again, 20 times, while another
// thread plays the host's audio thread: no crash, audio keeps flowing the whole time (blocks are
// processed during every opening), and every output sample is finite. tools/asan-stress.sh runs
// this under AddressSanitizer as well.
TEST_P (HostEditor, OpensAndClosesTwentyTimesWhileAudioRuns)
{
    constexpr double rate = 96000.0;
    constexpr int blockSize = 256;
    auto hosted = load (GetParam(), rate, blockSize);
    ASSERT_NE (hosted.instance, nullptr);
    auto& instance = *hosted.instance;
    ASSERT_TRUE (instance.hasEditor());
    instance.prepareToPlay (rate, blockSize);

    std::atomic<bool> running{ true };
    std::atomic<int> blocks{ 0 };
    std::atomic<bool> allFinite{ true };
    std::thread audio ([&] {
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
    });

    for (int opening = 0; opening < 20; ++opening)
    {
        SCOPED_TRACE (opening);
        std::unique_ptr<juce::AudioProcessorEditor> editor (instance.createEditorIfNeeded());
        ASSERT_NE (editor, nullptr);
        EXPECT_EQ (editor->getWidth(), 406) << "the product editor, not the generic one";
        EXPECT_EQ (editor->getHeight(), 242);
        juce::Component window;
        window.setBounds (100, 100, editor->getWidth(), editor->getHeight());
        window.addAndMakeVisible (*editor);
        window.addToDesktop (0);
        window.setVisible (true);

        // Long enough for a few of the editor's 50 ms timer ticks.
        const int blocksBefore = blocks.load();
        const auto until = juce::Time::getMillisecondCounter() + 160;
        pumpMessagesUntil ([&] { return juce::Time::getMillisecondCounter() >= until; });
        EXPECT_GT (blocks.load(), blocksBefore) << "audio kept flowing";

        window.removeChildComponent (editor.get());
        editor.reset();
        window.removeFromDesktop();
    }

    running = false;
    audio.join();
    EXPECT_TRUE (allFinite.load());
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
