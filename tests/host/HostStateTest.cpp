#include "HostedPlugin.h"

#include <cmath>

using namespace brevalon::host;

namespace
{
class HostState : public testing::TestWithParam<Format>
{
};

// The formats whose host state carries the plug-in's chunk in a form a test can replace.
class HostHostileState : public HostState
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

// A chunk as the plug-in writes one: magic number, length, UTF-8 text.
juce::MemoryBlock chunkOf (const juce::String& text)
{
    const auto utf8 = text.toStdString();
    juce::MemoryOutputStream block;
    block.writeInt (0x21324356);
    block.writeInt (static_cast<int> (utf8.size() + 1));
    block.write (utf8.c_str(), utf8.size() + 1);
    return block.getMemoryBlock();
}

// A document nested 100,000 levels deep, as a damaged or hostile project file may hold it.
juce::MemoryBlock deeplyNestedChunk()
{
    return chunkOf ("<Brevalon freqParam=\"23000.0\">" + juce::String::repeatedString ("<a>", 100000));
}

// The host's saved state of the instance with the plug-in's own chunk replaced by `chunk`.
juce::MemoryBlock withPluginChunk (juce::AudioPluginInstance& instance, Format format, const juce::MemoryBlock& chunk)
{
    juce::MemoryBlock saved;
    instance.getStateInformation (saved);
    if (format == Format::vst3)
    {
        // The host's own document, with the component state in base64.
        auto document = juce::AudioProcessor::getXmlFromBinary (saved.getData(), static_cast<int> (saved.getSize()));
        auto* component = document != nullptr ? document->getChildByName ("IComponent") : nullptr;
        EXPECT_NE (component, nullptr);
        if (component == nullptr)
            return {};
        component->deleteAllChildElements();
        component->addTextElement (chunk.toBase64Encoding());
        juce::MemoryBlock result;
        juce::AudioProcessor::copyXmlToBinary (*document, result);
        return result;
    }

    // LV2: a Turtle preset whose state string is the chunk in base64.
    const auto turtle = saved.toString();
    const juce::String key = ":StateString> \"";
    const int start = turtle.indexOf (key);
    EXPECT_GE (start, 0) << turtle;
    const int end = turtle.indexOfChar (start + key.length(), '"');
    const auto replaced = turtle.substring (0, start + key.length()) + chunk.toBase64Encoding() + turtle.substring (end);
    return { replaced.toRawUTF8(), replaced.getNumBytesAsUTF8() };
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

// A project whose plug-in state is nested 100,000 levels deep: the instance survives, falls back
// to its stored programs and still processes audio.
TEST_P (HostHostileState, DeeplyNestedChunkIsIgnored)
{
    auto hosted = load (GetParam(), rate, blockSize);
    ASSERT_NE (hosted.instance, nullptr);
    auto& instance = *hosted.instance;
    instance.prepareToPlay (rate, blockSize);
    auto noise = makeNoise (2, blockSize * 8, 7, 0.5f);

    process (instance, noise, blockSize);
    const float defaultFrequency = pluginParameter (instance, GetParam(), 0)->getValue();

    // The route reaches the plug-in: a sound chunk delivered the same way is applied.
    const auto sound = withPluginChunk (instance, GetParam(), chunkOf ("<Brevalon freqParam=\"23000.0\"/>"));
    instance.setStateInformation (sound.getData(), static_cast<int> (sound.getSize()));
    process (instance, noise, blockSize);
    EXPECT_GT (pluginParameter (instance, GetParam(), 0)->getValue(), defaultFrequency + 0.1f);

    const auto hostile = withPluginChunk (instance, GetParam(), deeplyNestedChunk());
    ASSERT_GT (hostile.getSize(), 300000u);
    instance.setStateInformation (hostile.getData(), static_cast<int> (hostile.getSize()));
    pumpMessagesUntil ([] { return true; });

    noise = makeNoise (2, blockSize * 8, 7, 0.5f);
    process (instance, noise, blockSize);
    bool finite = true;
    for (int channel = 0; channel < noise.getNumChannels(); ++channel)
        for (int i = 0; i < noise.getNumSamples(); ++i)
            finite = finite && std::isfinite (noise.getSample (channel, i));
    EXPECT_TRUE (finite);
    EXPECT_GT (rmsOf (noise, blockSize * 4, blockSize * 4), 0.01) << "the instance still processes";

    for (int i = 0; i < 4; ++i)
    {
        const float value = pluginParameter (instance, GetParam(), i)->getValue();
        EXPECT_TRUE (value >= 0.0f && value <= 1.0f) << i << ": " << value;
    }
    EXPECT_NEAR (pluginParameter (instance, GetParam(), 0)->getValue(), defaultFrequency, 1e-6f) << "the stored default program is back";
}

INSTANTIATE_TEST_SUITE_P (Formats, HostState, testing::ValuesIn (allFormats()), formatTestName);
INSTANTIATE_TEST_SUITE_P (Formats, HostHostileState, testing::Values (Format::vst3, Format::lv2), formatTestName);
