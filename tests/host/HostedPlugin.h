#pragma once

#include "tests/support/AudioBuffers.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <vector>

// Loading the built plug-in through JUCE's plug-in hosting, as a host does, and running audio
// through the hosted instance. Everything here runs on the test's main thread, which is the host's
// message thread.
namespace brevalon::host
{
enum class Format
{
    vst3,
    vst2,
    lv2
};

// When the host learns the latency: VST3 and VST 2.4 are told after prepareToPlay (through the
// message loop), LV2 reads the plug-in's latency port after each block.
enum class LatencyReport
{
    afterPrepare,
    afterFirstBlock
};

// What differs between the formats, as the host sees the same plug-in.
struct FormatTraits
{
    Format format;
    const char* name;      // the hosting format's name, also used in test names
    juce::String location; // what findAllTypesForFile is given: a file or, for LV2, the URI
    // The version and category as the host's description gives them (LV2 has no version, and
    // JUCE's LV2 wrapper declares every effect a plain lv2:Plugin).
    juce::String version;
    juce::String category;
    bool reportsValueTexts; // parameter texts come from the plug-in (LV2 has no such call)
    // Every parameter the host lists, in its order: the plug-in's four and the format's own
    // (the host bypass, the program switch).
    std::vector<juce::String> parameterNames;
    int firstPluginParameter; // where the plug-in's four start in that list
    // The identifiers of the plug-in's four parameters as the host reports them.
    std::vector<juce::String> parameterIds;
    bool programsInOrder; // LV2 presets are a set, listed in no particular order
    LatencyReport latencyReport;
    bool reportsCurrentProgram; // getCurrentProgram asks the plug-in (LV2: the last preset the host applied)
};

const FormatTraits& traitsOf (Format format);
const std::vector<Format>& allFormats();

// For messages, and as the names of tests that run once per format ("VST3", "VST", "LV2").
std::ostream& operator<< (std::ostream& stream, Format format);
std::string formatTestName (const testing::TestParamInfo<Format>& info);

struct Hosted
{
    juce::PluginDescription description;
    std::unique_ptr<juce::AudioPluginInstance> instance;
};

// The plug-in's parameter `index` (0..3) as the host lists it.
juce::AudioProcessorParameter* pluginParameter (juce::AudioPluginInstance& instance, Format format, int index);

// Loads the built plug-in in that format. On failure the test fails and the instance is null.
Hosted load (Format format, double sampleRate, int blockSize);

// Runs the host's message loop until `condition` holds or the time limit has passed (a guard,
// not a measurement); returns the condition's last value.
bool pumpMessagesUntil (const std::function<bool()>& condition, int timeLimitMs = 10000);

// Processes `buffer` in place, in consecutive blocks of at most `blockSize` samples, through the
// plug-in's normal path or the host's bypass.
void process (juce::AudioPluginInstance& instance, juce::AudioBuffer<float>& buffer, int blockSize, bool hostBypassed = false);
// The same in consecutive blocks of random sizes from 1 to `maximumBlock` samples, as hosts that
// follow the timeline's events call it.
void processInRandomBlocks (juce::AudioPluginInstance& instance, juce::AudioBuffer<float>& buffer, int maximumBlock, juce::Random& random);

// Switches the host's bypass for the format (its bypass parameter, where it has one).
void setHostBypass (juce::AudioPluginInstance& instance, bool bypassed);

// White noise for the hosted instance, from the generator all tests share.
using test::makeNoise;
// A stereo sine of that frequency and peak amplitude.
juce::AudioBuffer<float> makeSine (double frequencyHz, double sampleRate, int numSamples, float amplitude);
// Root-mean-square level of both channels over [start, start + count).
double rmsOf (const juce::AudioBuffer<float>& buffer, int start, int count);
} // namespace brevalon::host
