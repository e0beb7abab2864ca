#include "HostedPlugin.h"

#include <cmath>

using namespace brevalon::host;

namespace
{
class HostAutomation : public testing::TestWithParam<Format>
{
};

double decibels (double ratio)
{
    return 20.0 * std::log10 (ratio);
}
} // namespace

// The host sets the steepest slope, then moves the corner frequency (parameter 0) between its
// ends while a 24 kHz sine plays at 96 kHz: with the corner at 25 kHz the tone passes, at 20 kHz
// the filter attenuates it by about 16 dB.
TEST_P (HostAutomation, FrequencyParameterMovesTheFilter)
{
    constexpr double rate = 96000.0;
    constexpr int blockSize = 256;
    constexpr int segment = 28800; // 0.3 s per setting; measured over its last 0.1 s
    constexpr int measured = 9600;
    auto hosted = load (GetParam(), rate, blockSize);
    ASSERT_NE (hosted.instance, nullptr);
    auto& instance = *hosted.instance;
    instance.prepareToPlay (rate, blockSize);
    auto* frequency = pluginParameter (instance, GetParam(), 0);
    pluginParameter (instance, GetParam(), 1)->setValue (1.0f);

    const float amplitude = 0.5f;
    auto signal = makeSine (24000.0, rate, 2 * segment, amplitude);
    const double inputLevel = rmsOf (signal, 0, measured);
    juce::AudioBuffer<float> first (signal.getArrayOfWritePointers(), 2, 0, segment);
    juce::AudioBuffer<float> second (signal.getArrayOfWritePointers(), 2, segment, segment);

    frequency->setValue (1.0f);
    process (instance, first, blockSize);
    EXPECT_FLOAT_EQ (frequency->getValue(), 1.0f);
    if (traitsOf (GetParam()).reportsValueTexts)
    {
        EXPECT_EQ (frequency->getCurrentValueAsText(), "25.0 kHz");
    }
    const double passed = rmsOf (first, segment - measured, measured);

    frequency->setValue (0.0f);
    process (instance, second, blockSize);
    EXPECT_FLOAT_EQ (frequency->getValue(), 0.0f);
    if (traitsOf (GetParam()).reportsValueTexts)
    {
        EXPECT_EQ (frequency->getCurrentValueAsText(), "20.0 kHz");
    }
    const double stopped = rmsOf (second, segment - measured, measured);

    EXPECT_NEAR (decibels (passed / inputLevel), 0.0, 0.2);
    EXPECT_LT (decibels (stopped / inputLevel), -12.0);
}

INSTANTIATE_TEST_SUITE_P (Formats, HostAutomation, testing::ValuesIn (allFormats()), formatTestName);
