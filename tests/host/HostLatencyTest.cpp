#include "HostedPlugin.h"

#include <cmath>

using namespace brevalon::host;

namespace
{
class HostLatency : public testing::TestWithParam<Format>
{
};

constexpr int blockSize = 512;
constexpr int impulseAt = 1000;

// The latency the host reports once it can know it: after prepareToPlay (waiting for the message
// loop to deliver the plug-in's announcement) or after the first block, by format.
int reportedLatency (juce::AudioPluginInstance& instance, const FormatTraits& traits, int expected)
{
    if (traits.latencyReport == LatencyReport::afterPrepare)
        pumpMessagesUntil ([&] { return instance.getLatencySamples() == expected; });
    return instance.getLatencySamples();
}

int peakIndex (const juce::AudioBuffer<float>& buffer, int channel)
{
    int peak = 0;
    for (int i = 1; i < buffer.getNumSamples(); ++i)
        if (std::abs (buffer.getSample (channel, i)) > std::abs (buffer.getSample (channel, peak)))
            peak = i;
    return peak;
}
} // namespace

// From 88.2 kHz the filter delays by half its nominal length and the host is told so after
// prepareToPlay; below, audio passes untouched with latency 0. Before the first prepareToPlay
// the latency is 0.
TEST_P (HostLatency, ReportedAfterPrepareAndAnImpulseComesOutThatLate)
{
    const auto& traits = traitsOf (GetParam());
    const struct
    {
        double rate;
        int latency;
    } table[] = { { 96000.0, 45 }, { 192000.0, 90 }, { 44100.0, 0 } };

    for (const auto& row : table)
    {
        SCOPED_TRACE (row.rate);
        auto hosted = load (GetParam(), row.rate, blockSize);
        ASSERT_NE (hosted.instance, nullptr);
        auto& instance = *hosted.instance;
        EXPECT_EQ (instance.getLatencySamples(), 0);

        instance.prepareToPlay (row.rate, blockSize);
        if (traits.latencyReport == LatencyReport::afterPrepare)
        {
            EXPECT_EQ (reportedLatency (instance, traits, row.latency), row.latency);
        }

        juce::AudioBuffer<float> input (2, 4096);
        input.clear();
        input.setSample (0, impulseAt, 1.0f);
        input.setSample (1, impulseAt, -0.5f);
        auto output = input;
        process (instance, output, blockSize);
        EXPECT_EQ (reportedLatency (instance, traits, row.latency), row.latency);

        if (row.latency == 0)
        {
            for (int channel = 0; channel < 2; ++channel)
                for (int i = 0; i < input.getNumSamples(); ++i)
                    ASSERT_EQ (output.getSample (channel, i), input.getSample (channel, i)) << channel << " " << i;
            continue;
        }

        for (int channel = 0; channel < 2; ++channel)
        {
            const int peak = peakIndex (output, channel);
            EXPECT_EQ (peak, impulseAt + row.latency) << channel;
            // Linear phase: the response is symmetric about its peak.
            for (int k = 1; k <= row.latency; ++k)
                ASSERT_NEAR (output.getSample (channel, peak - k), output.getSample (channel, peak + k), 1e-6f) << channel << " " << k;
        }
    }
}

// One instance prepared again at other rates: the host learns each new latency.
TEST_P (HostLatency, FollowsTheRateOfEachPrepare)
{
    const auto& traits = traitsOf (GetParam());
    auto hosted = load (GetParam(), 96000.0, blockSize);
    ASSERT_NE (hosted.instance, nullptr);
    auto& instance = *hosted.instance;

    const struct
    {
        double rate;
        int latency;
    } table[] = { { 96000.0, 45 }, { 192000.0, 90 }, { 44100.0, 0 }, { 384000.0, 180 }, { 88200.0, 41 } };
    for (const auto& row : table)
    {
        instance.releaseResources();
        instance.prepareToPlay (row.rate, blockSize);
        juce::AudioBuffer<float> silence (2, blockSize);
        silence.clear();
        process (instance, silence, blockSize);
        EXPECT_EQ (reportedLatency (instance, traits, row.latency), row.latency) << row.rate;
    }
}

// The host's bypass (its bypass parameter and processBlockBypassed) keeps the delay, so the
// bypassed output lines up with the processed one.
TEST_P (HostLatency, HostBypassDelaysTheInputByTheLatency)
{
    const auto& traits = traitsOf (GetParam());
    constexpr int latency = 45;
    auto hosted = load (GetParam(), 96000.0, blockSize);
    ASSERT_NE (hosted.instance, nullptr);
    auto& instance = *hosted.instance;

    instance.prepareToPlay (96000.0, blockSize);
    setHostBypass (instance, true);
    const auto input = makeNoise (2, 8192, 17, 0.5f);
    auto output = input;
    process (instance, output, blockSize, true);
    EXPECT_EQ (reportedLatency (instance, traits, latency), latency);

    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < input.getNumSamples(); ++i)
            ASSERT_EQ (output.getSample (channel, i), i < latency ? 0.0f : input.getSample (channel, i - latency)) << channel << " " << i;
}

INSTANTIATE_TEST_SUITE_P (Formats, HostLatency, testing::ValuesIn (allFormats()), formatTestName);
