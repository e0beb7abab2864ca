#include "HostedPlugin.h"

using namespace brevalon::host;

namespace
{
class HostState : public testing::TestWithParam<Format>
{
};

constexpr double rate = 96000.0;
constexpr int blockSize = 512;

void runBlock (juce::AudioPluginInstance& instance)
{
    juce::AudioBuffer<float> buffer (2, blockSize);
    buffer.clear();
    process (instance, buffer, blockSize);
}
} // namespace

// The host saves an instance whose state it has changed (two program changes, which the undo
// history records, then two parameters, which modify the program) and loads the state into a
// fresh instance: that instance saves the same state, with the same parameters and program.
TEST_P (HostState, SavedStateRestoresIntoAFreshInstance)
{
    auto first = load (GetParam(), rate, blockSize);
    ASSERT_NE (first.instance, nullptr);
    auto& original = *first.instance;
    original.prepareToPlay (rate, blockSize);
    juce::MemoryBlock defaults;
    original.getStateInformation (defaults);

    for (const int program : { 3, 2 })
    {
        original.setCurrentProgram (program);
        runBlock (original);
    }
    pluginParameter (original, GetParam(), 0)->setValue (0.6f);
    pluginParameter (original, GetParam(), 1)->setValue (0.3f);
    runBlock (original);
    if (traitsOf (GetParam()).reportsCurrentProgram)
    {
        EXPECT_EQ (original.getCurrentProgram(), 2);
    }
    juce::MemoryBlock saved;
    original.getStateInformation (saved);
    EXPECT_NE (saved, defaults);

    auto second = load (GetParam(), rate, blockSize);
    ASSERT_NE (second.instance, nullptr);
    auto& restored = *second.instance;
    restored.prepareToPlay (rate, blockSize);
    restored.setStateInformation (saved.getData(), (int)saved.getSize());
    runBlock (restored);
    juce::MemoryBlock resaved;
    restored.getStateInformation (resaved);

    EXPECT_EQ (resaved, saved) << "restored state:\n" << resaved.toString() << "\nsaved state:\n" << saved.toString();
    for (int i = 0; i < 4; ++i)
        EXPECT_FLOAT_EQ (pluginParameter (restored, GetParam(), i)->getValue(), pluginParameter (original, GetParam(), i)->getValue()) << i;
    EXPECT_FLOAT_EQ (pluginParameter (restored, GetParam(), 0)->getValue(), 0.6f);
    EXPECT_FLOAT_EQ (pluginParameter (restored, GetParam(), 1)->getValue(), 0.3f);
    if (traitsOf (GetParam()).reportsCurrentProgram)
    {
        EXPECT_EQ (restored.getCurrentProgram(), 2);
    }
}

INSTANTIATE_TEST_SUITE_P (Formats, HostState, testing::ValuesIn (allFormats()), formatTestName);
