#include "HostedPlugin.h"

#include "tests/support/AllocationCounter.h"

#include <cmath>
#include <limits>

using namespace brevalon::host;

// What a plug-in validator checks, in each hosting format: every standard rate, block sizes from
// 1 to 8192 and larger than prepared, a rate change without a release, state that reads back
// byte for byte, and parameter values at and beyond the edges. Short signals keep it quick.
namespace
{
class HostSweep : public testing::TestWithParam<Format>
{
};

// Every sample finite and, if not zero, normal: a subnormal output means the filter's history
// decays without being flushed (and costs time in the next plug-in).
::testing::AssertionResult allSamplesNormal (const juce::AudioBuffer<float>& buffer)
{
    for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
        {
            const float sample = buffer.getSample (channel, i);
            const int kind = std::fpclassify (sample);
            if (kind != FP_NORMAL && kind != FP_ZERO)
                return ::testing::AssertionFailure() << "channel " << channel << ", sample " << i << ": " << sample;
        }
    return ::testing::AssertionSuccess();
}

// Noise, then silence sprinkled with the tiniest normal values a fade-out leaves: filtered, they
// become subnormal unless processing flushes them to zero. (Below 88.2 kHz they pass unchanged.)
juce::AudioBuffer<float> noiseThenSilence (int numSamples, unsigned seed)
{
    auto buffer = makeNoise (2, numSamples, seed, 0.5f);
    buffer.clear (numSamples / 2, numSamples - numSamples / 2);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = numSamples / 2; i < numSamples; i += 7)
            buffer.setSample (channel, i, 2.0e-38f);
    return buffer;
}

// The number of heap allocations the calling (audio) thread makes while `instance` processes
// `buffer` in blocks of `blockSize`, not counting the first block (a host or wrapper may set itself
// up there).
size_t allocationsWhileProcessing (juce::AudioPluginInstance& instance, juce::AudioBuffer<float>& buffer, int blockSize)
{
    juce::MidiBuffer midi;
    size_t allocations = 0;
    for (int start = 0; start < buffer.getNumSamples(); start += blockSize)
    {
        const int count = juce::jmin (blockSize, buffer.getNumSamples() - start);
        juce::AudioBuffer<float> block (buffer.getArrayOfWritePointers(), 2, start, count);
        const brevalon::test::ThreadAllocationScope scope;
        instance.processBlock (block, midi);
        if (start > 0)
            allocations += scope.count();
        midi.clear();
    }
    return allocations;
}
// Whether a block processed in this format can be free of allocations. Debian's JUCE 7.0.5 VST3
// wrapper copies each input bus's channel mapping (a std::vector) by value in every process call
// (ClientBufferMapperData::setUpInputChannels), one allocation per block that no plug-in can
// avoid; the VST 2.4 and LV2 wrappers run the same processor without allocating.
bool wrapperProcessesWithoutAllocating (Format format)
{
    return format != Format::vst3;
}

// Whether the format lets a host send a block larger than the size it prepared. VST3 forbids it
// (a block never exceeds the maximum of setupProcessing), and JUCE's VST3 wrapper copies the
// input into a scratch buffer of that size; VST 2.4 and LV2 hosts are known to do it.
bool formatAllowsLargerBlocks (Format format)
{
    return format != Format::vst3;
}

// Whether a host may give the format a new rate while it is running. VST 2.4 sets the rate only
// while the plug-in is suspended (JUCE's VST 2.4 wrapper applies it at the next resume), but
// JUCE's VST host, prepared a second time, sends it without suspending: there the test suspends
// first (releaseResources), as a VST 2.4 host does.
bool formatTakesRateWhileRunning (Format format)
{
    return format != Format::vst2;
}

// Whether the host's parameter reads ask the plug-in. JUCE's VST3 and LV2 hosts answer from the
// value they last sent or received.
bool hostReadsValueFromPlugin (Format format)
{
    return format == Format::vst2;
}

void expectNoAllocations (Format format, size_t allocations)
{
    if (wrapperProcessesWithoutAllocating (format))
    {
        EXPECT_EQ (allocations, 0u);
    }
}
} // namespace

// Each standard rate: prepared, run over 0.6 s of noise then silence in blocks of 512, without
// allocating on the audio thread, with every output sample finite and normal (or zero).
TEST_P (HostSweep, EveryStandardSampleRate)
{
    for (const double rate : { 44100.0, 48000.0, 88200.0, 96000.0, 176400.0, 192000.0, 352800.0, 384000.0 })
    {
        SCOPED_TRACE (testing::Message() << rate << " Hz");
        auto hosted = load (GetParam(), rate, 512);
        ASSERT_NE (hosted.instance, nullptr);
        auto& instance = *hosted.instance;
        instance.prepareToPlay (rate, 512);

        // Over half a second, so the blocks counted include an LV2 plug-in's second announcement
        // of its parameter values.
        auto buffer = noiseThenSilence (juce::roundToInt (rate * 0.6), static_cast<unsigned> (rate));
        expectNoAllocations (GetParam(), allocationsWhileProcessing (instance, buffer, 512));
        EXPECT_TRUE (allSamplesNormal (buffer));
        instance.releaseResources();
    }
}

// Block sizes from 1 to 8192, each prepared as the maximum and then run in blocks of that size
// and in blocks of random sizes up to it; then blocks larger than prepared, which some hosts send.
TEST_P (HostSweep, BlockSizesAndBlocksLargerThanPrepared)
{
    constexpr double rate = 96000.0;
    juce::Random random (7021);
    for (const int blockSize : { 1, 2, 3, 17, 64, 500, 1024, 4096, 8192 })
    {
        SCOPED_TRACE (testing::Message() << "blocks of " << blockSize);
        auto hosted = load (GetParam(), rate, blockSize);
        ASSERT_NE (hosted.instance, nullptr);
        auto& instance = *hosted.instance;
        instance.prepareToPlay (rate, blockSize);

        // Tiny blocks are slow through a host: a few hundred of them are enough.
        const int numSamples = juce::jmax (2 * blockSize, juce::jmin (256 * blockSize, 8192));
        auto buffer = noiseThenSilence (numSamples, static_cast<unsigned> (blockSize));
        expectNoAllocations (GetParam(), allocationsWhileProcessing (instance, buffer, blockSize));
        EXPECT_TRUE (allSamplesNormal (buffer));

        auto mixed = noiseThenSilence (numSamples, static_cast<unsigned> (blockSize) + 1);
        processInRandomBlocks (instance, mixed, blockSize, random);
        EXPECT_TRUE (allSamplesNormal (mixed));

        // Four times the prepared size: no crash, and the output stays clean.
        if (formatAllowsLargerBlocks (GetParam()))
        {
            auto larger = noiseThenSilence (4 * blockSize, static_cast<unsigned> (blockSize) + 2);
            process (instance, larger, larger.getNumSamples());
            EXPECT_TRUE (allSamplesNormal (larger));
        }
        instance.releaseResources();
    }
}

// prepareToPlay at a new rate without releaseResources in between: the plug-in follows the new
// rate (the filter's delay and its effect at that rate) and the output stays clean.
TEST_P (HostSweep, SampleRateChangeWithoutRelease)
{
    const auto format = GetParam();
    auto hosted = load (format, 48000.0, 512);
    ASSERT_NE (hosted.instance, nullptr);
    auto& instance = *hosted.instance;

    struct Step
    {
        double rate;
        int latency; // 0 below 88.2 kHz, where audio passes through untouched
    };
    for (const Step step : { Step{ 48000.0, 0 }, Step{ 96000.0, 45 }, Step{ 192000.0, 90 }, Step{ 44100.0, 0 }, Step{ 96000.0, 45 } })
    {
        SCOPED_TRACE (testing::Message() << step.rate << " Hz");
        if (! formatTakesRateWhileRunning (format))
            instance.releaseResources();
        instance.prepareToPlay (step.rate, 512);

        // An ultrasonic tone (40 kHz) where the rate allows one, else an audible one: filtered
        // away when the filter is active, passed through otherwise.
        const bool filtering = step.latency > 0;
        auto tone = makeSine (filtering ? 40000.0 : 1000.0, step.rate, 16384, 0.5f);
        process (instance, tone, 512);
        EXPECT_TRUE (allSamplesNormal (tone));
        const double level = rmsOf (tone, 8192, 8192);
        if (filtering)
            EXPECT_LT (level, 0.5 / std::sqrt (2.0) * 1.0e-3);
        else
            EXPECT_NEAR (level, 0.5 / std::sqrt (2.0), 1.0e-3);

        pumpMessagesUntil ([&] { return instance.getLatencySamples() == step.latency; });
        EXPECT_EQ (instance.getLatencySamples(), step.latency);
    }
}

// Random parameter values: the state read back after restoring it is the same chunk, byte for
// byte, and restoring it into a fresh instance gives the same chunk again.
TEST_P (HostSweep, StateRoundTripIsByteIdentical)
{
    const auto format = GetParam();
    constexpr double rate = 96000.0;
    juce::Random random (4242);
    for (int round = 0; round < 8; ++round)
    {
        SCOPED_TRACE (testing::Message() << "round " << round);
        auto hosted = load (format, rate, 512);
        ASSERT_NE (hosted.instance, nullptr);
        auto& instance = *hosted.instance;
        instance.prepareToPlay (rate, 512);
        for (int index = 0; index < 4; ++index)
            pluginParameter (instance, format, index)->setValueNotifyingHost (random.nextFloat());
        auto silence = noiseThenSilence (1024, static_cast<unsigned> (round));
        process (instance, silence, 512);

        juce::MemoryBlock first, second, third;
        instance.getStateInformation (first);
        instance.setStateInformation (first.getData(), static_cast<int> (first.getSize()));
        instance.getStateInformation (second);
        EXPECT_EQ (first, second);

        auto fresh = load (format, rate, 512);
        ASSERT_NE (fresh.instance, nullptr);
        fresh.instance->setStateInformation (first.getData(), static_cast<int> (first.getSize()));
        fresh.instance->getStateInformation (third);
        EXPECT_EQ (first, third);
    }
}

// Values set through the host's parameter API, edges and beyond included, between blocks: the
// plug-in processes cleanly, keeps every value within 0..1 (where the host reads it from the
// plug-in) and a value set again reads back the same; and its state afterwards restores into a
// fresh instance byte for byte.
TEST_P (HostSweep, ParameterFuzzing)
{
    const auto format = GetParam();
    constexpr double rate = 96000.0;
    auto hosted = load (format, rate, 256);
    ASSERT_NE (hosted.instance, nullptr);
    auto& instance = *hosted.instance;
    instance.prepareToPlay (rate, 256);

    const float edges[] = { 0.0f,
                            1.0f,
                            -1.0f,
                            2.0f,
                            -1.0e30f,
                            1.0e30f,
                            std::numeric_limits<float>::denorm_min(),
                            1.0f - 1.0e-7f,
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity() };
    juce::Random random (99);
    juce::MidiBuffer midi;
    for (int step = 0; step < 120; ++step)
    {
        const int index = random.nextInt (4);
        const float value = step < 40 ? edges[step % (int)std::size (edges)] : random.nextFloat() * 3.0f - 1.0f;
        SCOPED_TRACE (testing::Message() << "step " << step << ": parameter " << index << " set to " << value);
        auto* parameter = pluginParameter (instance, format, index);
        parameter->setValue (value);

        auto block = noiseThenSilence (256, static_cast<unsigned> (step));
        instance.processBlock (block, midi);
        ASSERT_TRUE (allSamplesNormal (block));

        if (hostReadsValueFromPlugin (format))
        {
            for (int other = 0; other < 4; ++other)
            {
                const float now = pluginParameter (instance, format, other)->getValue();
                ASSERT_TRUE (now >= 0.0f && now <= 1.0f) << "parameter " << other << " reads " << now;
            }
            const float read = parameter->getValue();
            parameter->setValue (read);
            EXPECT_EQ (parameter->getValue(), read);
        }
    }

    juce::MemoryBlock state, restored;
    instance.getStateInformation (state);
    auto fresh = load (format, rate, 256);
    ASSERT_NE (fresh.instance, nullptr);
    fresh.instance->setStateInformation (state.getData(), static_cast<int> (state.getSize()));
    fresh.instance->getStateInformation (restored);
    EXPECT_EQ (state, restored);
}

INSTANTIATE_TEST_SUITE_P (Formats, HostSweep, testing::ValuesIn (allFormats()), formatTestName);
