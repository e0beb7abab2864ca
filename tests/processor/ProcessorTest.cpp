#include "processor/QuillfenTemplateAudioProcessor.h"
#include "tests/support/AllocationCounter.h"
#include "tests/support/AudioBuffers.h"
#include "tests/support/LockHolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <future>
#include <thread>

using namespace brevalon;

namespace
{

using Processor = QuillfenTemplateAudioProcessor;
using test::identical;
using test::makeNoise;

enum class Path
{
    normal,
    hostBypassed
};

// Runs a copy of `input` through the processor in blocks, as a host would.
juce::AudioBuffer<float> render (Processor& processor, const juce::AudioBuffer<float>& input, int blockSize = 256, Path path = Path::normal)
{
    juce::AudioBuffer<float> output (input);
    juce::MidiBuffer midi;
    for (int start = 0; start < output.getNumSamples(); start += blockSize)
    {
        juce::AudioBuffer<float> block (output.getArrayOfWritePointers(), output.getNumChannels(), start,
                                        std::min (blockSize, output.getNumSamples() - start));
        if (path == Path::normal)
            processor.processBlock (block, midi);
        else
            processor.processBlockBypassed (block, midi);
    }
    return output;
}

bool isDelayedCopy (const juce::AudioBuffer<float>& output, const juce::AudioBuffer<float>& input, int delay)
{
    for (int c = 0; c < input.getNumChannels(); ++c)
        for (int i = 0; i < input.getNumSamples(); ++i)
        {
            const float expected = i >= delay ? input.getSample (c, i - delay) : 0.0f;
            if (std::memcmp (&expected, output.getReadPointer (c) + i, sizeof (float)) != 0)
                return false;
        }
    return true;
}

struct LatencyChangeCounter : juce::AudioProcessorListener
{
    int latencyChanges = 0;
    void audioProcessorParameterChanged (juce::AudioProcessor*, int, float) override {}
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails& details) override
    {
        if (details.latencyChanged)
            ++latencyChanges;
    }
};

} // namespace

TEST (Processor, LatencyAndTailFollowTheRate)
{
    const struct
    {
        double rate;
        int latency;
    } cases[] = {
        { 44100, 0 },   { 48000, 0 },    { 88200, 41 },   { 96000, 45 }, { 176400, 82 },
        { 192000, 90 }, { 352800, 165 }, { 384000, 180 }, { 768000, 0 },
    };
    for (const auto& c : cases)
    {
        Processor processor;
        processor.prepareToPlay (c.rate, 512);
        EXPECT_EQ (processor.getLatencySamples(), c.latency) << c.rate;
        EXPECT_DOUBLE_EQ (processor.getTailLengthSeconds(), c.latency / c.rate) << c.rate;
        EXPECT_EQ (processor.isFilterActive(), c.latency > 0) << c.rate;
    }
}

TEST (Processor, LatencyIsReportedOnlyWhenItChangesAndNeverMovesWithTheShape)
{
    Processor processor;
    LatencyChangeCounter counter;
    processor.addListener (&counter);
    EXPECT_EQ (processor.getLatencySamples(), 0) << "before the first prepare";

    processor.prepareToPlay (96000, 512);
    EXPECT_EQ (counter.latencyChanges, 1);
    processor.prepareToPlay (96000, 1024);
    EXPECT_EQ (counter.latencyChanges, 1);

    const auto input = makeNoise (2, 512, 1, 1.0f);
    for (const double hz : { 20000.0, 22500.0, 25000.0 })
        for (const double slope : { 0.0, 0.5, 1.0 })
        {
            processor.setFrequencyHz (hz);
            processor.setSlope (slope);
            render (processor, input);
            EXPECT_EQ (processor.getLatencySamples(), 45);
            EXPECT_EQ (processor.getEngine().latencySamples(), 45);
        }
    EXPECT_EQ (counter.latencyChanges, 1);

    processor.prepareToPlay (192000, 512);
    EXPECT_EQ (processor.getLatencySamples(), 90);
    processor.prepareToPlay (44100, 512);
    EXPECT_EQ (processor.getLatencySamples(), 0);
    EXPECT_EQ (counter.latencyChanges, 3);
    processor.removeListener (&counter);
}

TEST (Processor, AmountLaw)
{
    const struct
    {
        double mix;
        bool atMaximum;
        double dry;
    } cases[] = {
        { 0.0, false, 1.0 }, { 0.25, false, 0.1 }, { 0.5, false, 0.01 }, { 0.75, false, 0.001 }, { 0.99, false, std::pow (10.0, -3.96) },
        { 1.0, true, 0.0 },
    };
    for (const auto& c : cases)
    {
        EXPECT_NEAR (Processor::dryGainForAmount (c.mix, c.atMaximum), c.dry, c.dry * 1e-12) << c.mix;

        Processor processor;
        processor.prepareToPlay (96000, 64);
        processor.setMix (c.mix);
        render (processor, makeNoise (2, 64, 2, 1.0f));
        EXPECT_NEAR (processor.getEngine().getDryGain(), c.dry, c.dry * 1e-6) << c.mix;
        EXPECT_DOUBLE_EQ (processor.getEngine().getWetGain(), 1.0 - processor.getEngine().getDryGain());
    }
}

TEST (Processor, FullMixHasNoDryPathAndZeroMixIsTheDelayedInput)
{
    const auto input = makeNoise (2, 3000, 3, 1.0f);

    Processor wet;
    wet.prepareToPlay (96000, 256);
    EXPECT_EQ (wet.getEngine().getDryGain(), 0.0);
    EXPECT_EQ (wet.getEngine().getWetGain(), 1.0);

    brevalon::FirLowpassEngine reference;
    reference.setFilter (21000.0, 0.75, 96000.0);
    auto expected = input;
    reference.process (expected.getReadPointer (0), expected.getReadPointer (1), expected.getWritePointer (0), expected.getWritePointer (1),
                       expected.getNumSamples(), false);
    EXPECT_TRUE (identical (render (wet, input), expected));

    Processor dry;
    dry.setMix (0.0);
    dry.prepareToPlay (96000, 256);
    EXPECT_TRUE (isDelayedCopy (render (dry, input), input, 45));
}

// Linear phase in every mode: the input comes out exactly the latency later.
TEST (Processor, BypassDelaysTheInputByTheLatency)
{
    const auto input = makeNoise (2, 2000, 4, 1.0f);
    for (const double rate : { 96000.0, 192000.0 })
    {
        Processor parameterBypass;
        parameterBypass.setBypass (true);
        parameterBypass.prepareToPlay (rate, 128);
        EXPECT_TRUE (isDelayedCopy (render (parameterBypass, input), input, parameterBypass.getLatencySamples())) << rate;
        EXPECT_FALSE (parameterBypass.isHostBypassed());

        Processor hostBypass;
        hostBypass.prepareToPlay (rate, 128);
        EXPECT_TRUE (isDelayedCopy (render (hostBypass, input, 128, Path::hostBypassed), input, hostBypass.getLatencySamples())) << rate;
        EXPECT_TRUE (hostBypass.isHostBypassed());
        render (hostBypass, input, 128);
        EXPECT_FALSE (hostBypass.isHostBypassed());
    }
}

TEST (Processor, ImpulseComesOutAtTheLatencyWhenFiltering)
{
    juce::AudioBuffer<float> impulse (2, 400);
    impulse.clear();
    impulse.setSample (0, 100, 1.0f);

    Processor processor;
    processor.prepareToPlay (96000, 64);
    const auto output = render (processor, impulse, 64);
    int peak = 0;
    for (int i = 0; i < output.getNumSamples(); ++i)
        if (std::abs (output.getSample (0, i)) > std::abs (output.getSample (0, peak)))
            peak = i;
    EXPECT_EQ (peak, 145);
    EXPECT_EQ (output.getMagnitude (1, 0, output.getNumSamples()), 0.0f);
}

TEST (Processor, ChangesWhileHostBypassedApplyOnTheFirstNormalBlock)
{
    Processor processor;
    processor.prepareToPlay (96000, 64);
    const auto block = makeNoise (2, 64, 5, 1.0f);

    processor.setFrequencyHz (24000.0);
    processor.setSlope (0.2);
    processor.setMix (0.5);
    render (processor, block, 64, Path::hostBypassed);
    EXPECT_EQ (processor.getEngine().getDesignCorner(), 21000.0);
    EXPECT_EQ (processor.getEngine().getDryGain(), 0.0);

    render (processor, block, 64);
    EXPECT_EQ (processor.getEngine().getDesignCorner(), 24000.0);
    EXPECT_NEAR (processor.getEngine().getDesignSlope(), 0.2, 1e-7);
    EXPECT_NEAR (processor.getEngine().getDryGain(), 0.01, 1e-8);
}

TEST (Processor, MonoBufferIsFilteredAsOneChannel)
{
    const auto mono = makeNoise (1, 3000, 6, 1.0f);
    juce::AudioBuffer<float> stereo (2, mono.getNumSamples());
    stereo.copyFrom (0, 0, mono, 0, 0, mono.getNumSamples());
    stereo.copyFrom (1, 0, mono, 0, 0, mono.getNumSamples());

    Processor monoProcessor, stereoProcessor;
    monoProcessor.prepareToPlay (96000, 256);
    stereoProcessor.prepareToPlay (96000, 256);
    const auto monoOut = render (monoProcessor, mono);
    const auto stereoOut = render (stereoProcessor, stereo);
    EXPECT_EQ (std::memcmp (monoOut.getReadPointer (0), stereoOut.getReadPointer (0), sizeof (float) * 3000), 0);
    EXPECT_FALSE (identical (monoOut, mono));
}

TEST (Processor, UnsupportedRatePassesAudioThroughUntouched)
{
    const auto input = makeNoise (2, 2000, 7, 1.0f);
    Processor processor;
    processor.prepareToPlay (44100, 256);
    EXPECT_TRUE (identical (render (processor, input), input));
    EXPECT_FALSE (processor.isFilterActive());
    EXPECT_EQ (processor.responseAt (1000.0), -1.0) << "no design has ever been made";

    // Back to a supported rate, the filter works again; leaving it answers a flat response.
    processor.prepareToPlay (96000, 256);
    EXPECT_TRUE (processor.isFilterActive());
    EXPECT_FALSE (identical (render (processor, input), input));
    processor.prepareToPlay (48000, 256);
    EXPECT_EQ (processor.responseAt (1000.0), 1.0);
    EXPECT_TRUE (identical (render (processor, input), input));
}

TEST (Processor, OnlyStereoAndMonoLayoutsAreSupported)
{
    Processor processor;
    using Set = juce::AudioChannelSet;
    const struct
    {
        Set in, out;
        bool supported;
    } cases[] = {
        { Set::stereo(), Set::stereo(), true },
        { Set::mono(), Set::mono(), true },
        { Set::mono(), Set::stereo(), false },
        { Set::stereo(), Set::mono(), false },
        { Set::create5point1(), Set::create5point1(), false },
    };
    for (const auto& c : cases)
    {
        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses.add (c.in);
        layout.outputBuses.add (c.out);
        EXPECT_EQ (processor.checkBusesLayoutSupported (layout), c.supported) << c.in.getDescription() << " -> " << c.out.getDescription();
    }
}

TEST (Processor, ResponseQueryWaitsForTheCallbackLock)
{
    Processor processor;
    processor.prepareToPlay (96000, 256);
    EXPECT_NEAR (processor.responseAt (0.0), 1.0, 1e-12);
    EXPECT_EQ (processor.responseAt (50000.0), -1.0);

    brevalon::test::LockHolder holder (processor.getCallbackLock());
    auto query = std::async (std::launch::async, [&] { return processor.responseAt (21000.0); });
    EXPECT_EQ (query.wait_for (std::chrono::milliseconds (100)), std::future_status::timeout);
    holder.release();
    EXPECT_NEAR (20.0 * std::log10 (query.get()), -0.106, 0.001);
}

// The audio path neither allocates nor takes the callback lock (the host's wrapper holds it).
TEST (Processor, ProcessingNeitherAllocatesNorLocks)
{
    Processor processor;
    processor.prepareToPlay (192000, 512);
    auto buffer = makeNoise (2, 512, 8, 1.0f);
    juce::MidiBuffer midi;

    {
        brevalon::test::AllocationScope scope;
        for (int block = 0; block < 50; ++block)
        {
            processor.setFrequencyHz (20000.0 + 100.0 * block);
            processor.setSlope (block / 50.0);
            processor.setMix (block % 2 == 0 ? 1.0 : 0.3);
            processor.setBypass (block % 7 == 0);
            if (block % 5 == 0)
                processor.processBlockBypassed (buffer, midi);
            else
                processor.processBlock (buffer, midi);
        }
        EXPECT_EQ (scope.count(), 0u);
    }

    brevalon::test::LockHolder holder (processor.getCallbackLock());
    auto processing = std::async (std::launch::async,
                                  [&]
                                  {
                                      processor.setFrequencyHz (22000.0);
                                      processor.processBlock (buffer, midi);
                                      processor.processBlockBypassed (buffer, midi);
                                  });
    EXPECT_EQ (processing.wait_for (std::chrono::seconds (10)), std::future_status::ready);
    holder.release();
    processing.wait();
}
