// The band measurement against signals whose power is known, and the demo end to end.

#include "app/BandEnergy.h"
#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace brevalon::app;
using namespace brevalon::test;

namespace
{

juce::AudioBuffer<float> sine (double frequency, double amplitude, double rate, int length)
{
    juce::AudioBuffer<float> buffer (1, length);
    for (int i = 0; i < length; ++i)
        buffer.setSample (0, i, static_cast<float> (amplitude * std::sin (juce::MathConstants<double>::twoPi * frequency * i / rate)));
    return buffer;
}

} // namespace

// A sine of amplitude A reads 20 log10 A in its band and nothing elsewhere; uniform noise of
// amplitude a (power a^2 / 3) splits its power in proportion to the bandwidth.
TEST (BandEnergy, MeasuresKnownPowers)
{
    constexpr double rate = 96000.0;
    const auto tone = sine (1000.0, 0.5, rate, 2 * 96000);
    EXPECT_NEAR (bandPowerDb (tone, rate, 20.0, 18000.0), 20.0 * std::log10 (0.5), 0.05);
    EXPECT_LT (bandPowerDb (tone, rate, 24000.0, 48000.0), -120.0);

    const auto noise = makeNoise (2, 4 * 96000, 9, 0.5f);
    const double totalPower = 0.25 / 3.0;
    for (const auto& [low, high] : { std::pair{ 24000.0, 48000.0 }, std::pair{ 20.0, 18000.0 } })
        EXPECT_NEAR (bandPowerDb (noise, rate, low, high), 10.0 * std::log10 (totalPower * (high - low) / 48000.0 / 0.5), 0.2) << low;
}

// --demo creates the folder, writes both files (96 kHz stereo, 10 s) and reports; the output
// lost its ultrasonic content and kept the audible band.
TEST (RenderDemo, WritesBothFilesAndFiltersTheUltrasonicBand)
{
    TemporaryFolder folder;
    const auto demoFolder = folder.file ("demo/nested");
    const auto run = runRenderer ({ "--demo", demoFolder.getFullPathName() });
    ASSERT_EQ (run.exitCode, 0) << run.output;
    EXPECT_TRUE (run.output.contains ("Latency: 45 samples")) << run.output;
    EXPECT_TRUE (run.output.contains ("above 24 kHz")) << run.output;
    EXPECT_TRUE (run.output.contains ("below 18 kHz")) << run.output;

    const auto input = readAudioFile (demoFolder.getChildFile ("demo-in.wav"));
    const auto output = readAudioFile (demoFolder.getChildFile ("demo-out.wav"));
    for (const auto* file : { &input, &output })
    {
        EXPECT_EQ (file->sampleRate, 96000.0);
        EXPECT_EQ (file->samples.getNumChannels(), 2);
        EXPECT_EQ (file->samples.getNumSamples(), 960000);
    }

    constexpr double rate = 96000.0;
    EXPECT_GT (bandPowerDb (input.samples, rate, 25000.0, 48000.0), -40.0) << "the signal has ultrasonic content";
    EXPECT_GT (bandPowerDb (input.samples, rate, 20.0, 18000.0), -40.0) << "the signal has audible content";
    EXPECT_LT (bandPowerDb (input.samples, rate, 19500.0, 25000.0), -60.0) << "nothing between the two";

    EXPECT_LT (bandPowerDb (output.samples, rate, 30000.0, 48000.0) - bandPowerDb (input.samples, rate, 30000.0, 48000.0), -40.0);
    EXPECT_NEAR (bandPowerDb (output.samples, rate, 20.0, 18000.0), bandPowerDb (input.samples, rate, 20.0, 18000.0), 0.01);
}
