#include "EditorBench.h"

#include "state/ParamManager.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <set>
#include <thread>

namespace brevalon
{
namespace
{
using Clock = std::chrono::steady_clock;

// The host's audio thread: blocks of noise through the processor under its callback lock, as
// the plug-in wrappers run them, timing how long each block waited for the lock.
class AudioThread
{
public:
    AudioThread (QuillfenTemplateAudioProcessor& processorToRun, int blockSizeToUse)
        : processor (processorToRun),
          blockSize (blockSizeToUse),
          thread ([this] { run(); })
    {
    }

    ~AudioThread() { stop(); }

    void stop()
    {
        running = false;
        if (thread.joinable())
            thread.join();
    }

    std::atomic<int> blocks{ 0 };
    std::atomic<long long> longestWaitMicroseconds{ 0 };
    std::atomic<bool> allFinite{ true };

private:
    void run()
    {
        juce::AudioBuffer<float> buffer (2, blockSize);
        juce::MidiBuffer midi;
        juce::Random random (11);
        while (running)
        {
            for (int channel = 0; channel < 2; ++channel)
                for (int i = 0; i < blockSize; ++i)
                    buffer.setSample (channel, i, random.nextFloat() - 0.5f);

            const auto before = Clock::now();
            {
                const juce::ScopedLock lock (processor.getCallbackLock());
                const auto waited = std::chrono::duration_cast<std::chrono::microseconds> (Clock::now() - before).count();
                if (waited > longestWaitMicroseconds)
                    longestWaitMicroseconds = waited;
                processor.processBlock (buffer, midi);
            }
            for (int channel = 0; channel < 2; ++channel)
                if (! std::isfinite (buffer.getMagnitude (channel, 0, blockSize)))
                    allFinite = false;
            ++blocks;
            std::this_thread::sleep_for (std::chrono::microseconds (800));
        }
    }

    QuillfenTemplateAudioProcessor& processor;
    const int blockSize;
    std::atomic<bool> running{ true };
    std::thread thread;
};

// While the audio thread runs, the message thread ticks the editor and drags the display and the
// three sliders; every tick that finds changed parameters redesigns the filter under the callback
// lock. The longest wait of one audio block is reported and kept well below a block's length.
TEST (EditorUnderAudio, AudioBlocksWaitOnlyBrieflyWhileControlsAreDragged)
{
    test::EditorBench bench (96000.0, 256);
    auto& editor = *bench.editor;
    auto& driver = *bench.driver;
    AudioThread audio (*bench.processor, 256);

    const juce::Point<int> sliders[] = { editor.getFrequencySlider().getBounds().getCentre(),
                                         editor.getSlopeSlider().getBounds().getCentre(),
                                         editor.getAmountSlider().getBounds().getCentre() };
    // Each step gives the message loop (and the editor's own timer) a few milliseconds, so the
    // two threads interleave for about two seconds.
    auto& parameters = bench.processor->getParamManager();
    std::set<float> valuesSeen;
    auto step = [&] (juce::Point<int> position) {
        driver.moveTo (position);
        bench.tick();
        for (int i = 0; i < 3; ++i)
            valuesSeen.insert ((float)i * 10.0f + parameters.getParameterAt (i)->getNormalised());
        test::ComponentDriver::runMessageLoopFor (4);
    };
    const auto end = juce::Time::getMillisecondCounter() + 2000;
    for (int round = 0; juce::Time::getMillisecondCounter() < end; ++round)
    {
        const int distance = round % 2 == 0 ? 6 : -6;
        const juce::Point<int> start (150, 100);
        driver.press (start);
        for (int i = 1; i <= 8; ++i)
            step (start + juce::Point<int> (distance * i, -distance * i / 2));
        driver.release();

        for (const auto& centre : sliders)
        {
            driver.press (centre);
            for (int i = 1; i <= 4; ++i)
                step (centre + juce::Point<int> (0, -distance * i));
            driver.release();
        }
    }
    audio.stop();

    const auto longestWait = audio.longestWaitMicroseconds.load();
    std::printf ("[ MEASURED ] %d audio blocks, longest wait for the callback lock %.3f ms\n", audio.blocks.load(), (double)longestWait / 1000.0);
    testing::Test::RecordProperty ("longestAudioWaitMicroseconds", (int)longestWait);
    EXPECT_GT (audio.blocks.load(), 200);
    EXPECT_GT (valuesSeen.size(), 30u) << "the drags moved the parameters";
    EXPECT_TRUE (audio.allFinite.load());
    EXPECT_LT (longestWait, 2000) << "microseconds";
}

} // namespace
} // namespace brevalon
