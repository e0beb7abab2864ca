#include "EditorBench.h"

#include "state/ParamManager.h"
#include "state/StateCode.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

namespace brevalon
{
namespace
{
using Clock = std::chrono::steady_clock;

// How long the stress runs: a few seconds in the test suite, longer when
// BREVALON_STRESS_SECONDS says so (tools/tsan-stress.sh).
double stressSeconds()
{
    if (const char* text = std::getenv ("BREVALON_STRESS_SECONDS"))
        return juce::jmax (1.0, std::atof (text));
    return 3.0;
}

// Three threads on one processor with its editor open:
// - a host automating all four parameters at a high rate;
// - the host's audio thread: prepare at changing rates, blocks of random sizes, the host's bypass
//   switched on and off;
// - the message thread: editor ticks, undo/redo, program changes, A/B, user-preset save and
//   delete, state save and load, paste.
// No output sample may be NaN or infinite; the longest wait of one audio block for the callback
// lock is reported. Run under ThreadSanitizer by tools/tsan-stress.sh, which also finds data
// races and lock-order inversions.
TEST (ThreadStress, AutomationAudioAndEditorTogether)
{
    test::EditorBench bench (96000.0, 512);
    auto& processor = *bench.processor;
    auto& engine = processor.getStateEngine();
    const auto duration = std::chrono::duration<double> (stressSeconds());
    const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration> (duration);

    std::atomic<bool> allFinite{ true };
    std::atomic<long long> longestWaitMicroseconds{ 0 };
    std::atomic<int> blocks{ 0 }, automations{ 0 };

    std::thread automation ([&] {
        juce::Random random (1);
        const auto& parameters = processor.getParameters();
        while (Clock::now() < end)
        {
            auto* parameter = parameters[random.nextInt (4)];
            parameter->beginChangeGesture();
            parameter->setValueNotifyingHost (random.nextFloat());
            parameter->endChangeGesture();
            ++automations;
            std::this_thread::sleep_for (std::chrono::microseconds (200));
        }
    });

    std::thread audio ([&] {
        juce::Random random (2);
        const double rates[] = { 44100.0, 88200.0, 96000.0, 192000.0, 384000.0 };
        juce::AudioBuffer<float> buffer (2, 2048);
        juce::MidiBuffer midi;
        while (Clock::now() < end)
        {
            const double rate = rates[random.nextInt (5)];
            processor.prepareToPlay (rate, 2048);
            for (int block = 0; block < 40 && Clock::now() < end; ++block)
            {
                const int size = 1 + random.nextInt (2048);
                for (int channel = 0; channel < 2; ++channel)
                    for (int i = 0; i < size; ++i)
                        buffer.setSample (channel, i, random.nextFloat() - 0.5f);
                juce::AudioBuffer<float> view (buffer.getArrayOfWritePointers(), 2, size);

                const auto before = Clock::now();
                const juce::ScopedLock lock (processor.getCallbackLock());
                const auto waited = std::chrono::duration_cast<std::chrono::microseconds> (Clock::now() - before).count();
                if (waited > longestWaitMicroseconds)
                    longestWaitMicroseconds = waited;
                if (random.nextInt (8) == 0)
                    processor.processBlockBypassed (view, midi);
                else
                    processor.processBlock (view, midi);
                for (int channel = 0; channel < 2; ++channel)
                    for (int i = 0; i < size; ++i)
                        if (! std::isfinite (view.getSample (channel, i)))
                            allFinite = false;
                ++blocks;
            }
            processor.releaseResources();
        }
    });

    // The message thread: this one.
    juce::Random random (3);
    juce::MemoryBlock chunk;
    int operations = 0;
    while (Clock::now() < end)
    {
        switch (random.nextInt (10))
        {
            case 0: engine.undo(); break;
            case 1: engine.redo(); break;
            case 2: engine.selectProgram (random.nextInt (5)); break;
            case 3: random.nextBool() ? engine.selectB() : engine.selectA(); break;
            case 4: random.nextBool() ? engine.copyAToB() : engine.copyBToA(); break;
            case 5:
            {
                const int slot = engine.firstFreeSlot();
                if (slot >= 0)
                    engine.saveAsNewUserPreset (slot, "Stress " + juce::String (operations));
                else if (engine.isUserSlot (engine.getCurrentProgram()))
                    engine.deleteCurrentUserPreset();
                else
                    engine.selectProgram (5 + random.nextInt (5));
                break;
            }
            case 6: processor.getStateInformation (chunk); break;
            case 7:
                if (chunk.getSize() > 0)
                    processor.setStateInformation (chunk.getData(), (int)chunk.getSize());
                break;
            case 8: StateCode::apply (engine, StateCode::make (engine)); break;
            default: processor.setParameterFromEditor (random.nextInt (3), random.nextFloat()); break;
        }
        ++operations;
        bench.tick();
        test::ComponentDriver::runMessageLoopFor (1);
    }

    automation.join();
    audio.join();

    const auto longestWait = longestWaitMicroseconds.load();
    std::printf ("[ MEASURED ] %d audio blocks, %d automations, %d editor operations; longest audio wait %.3f ms\n", blocks.load(),
                 automations.load(), operations, (double)longestWait / 1000.0);
    testing::Test::RecordProperty ("longestAudioWaitMicroseconds", (int)longestWait);
    EXPECT_TRUE (allFinite.load());
    EXPECT_GT (blocks.load(), 10);
    EXPECT_GT (operations, 100);
}

} // namespace
} // namespace brevalon
