#include "processor/PluginIdentity.h"
#include "processor/QuillfenTemplateAudioProcessor.h"

#include <gtest/gtest.h>

#include <string>

using namespace brevalon;

TEST (PluginIdentity, TextValues)
{
    const struct
    {
        const char* value;
        const char* expected;
    } table[] = {
        { PluginIdentity::name, "Brevalon" },
        { PluginIdentity::manufacturer, "Quillfen" },
        { PluginIdentity::version, "1.0.0" },
        { PluginIdentity::pluginCode, "Vq4h" },
        { PluginIdentity::manufacturerCode, "Vqxe" },
        { PluginIdentity::aaxManufacturerCode, "Vqxe" },
        { PluginIdentity::aaxEffectIdentifier, "com.quillfen.Brevalon" },
        { PluginIdentity::aaxNativeIdPrefix, "jcaa" },
        { PluginIdentity::aaxAudioSuiteIdPrefix, "jyaa" },
        { PluginIdentity::aaxCategory, "AAX_ePlugInCategory_EQ" },
        { PluginIdentity::vst2Category, "kPlugCategMastering" },
        { PluginIdentity::vst3Categories, "Fx;EQ" },
        { PluginIdentity::lv2Uri, "https://quillfen.example/plugins/brevalon" },
        { PluginIdentity::bundleIdentifier, "com.quillfen.Brevalon" },
    };
    for (const auto& row : table)
        EXPECT_EQ (std::string (row.value), row.expected);
}

TEST (PluginIdentity, VersionNumbers)
{
    EXPECT_EQ (PluginIdentity::versionMajor, 1);
    EXPECT_EQ (PluginIdentity::versionMinor, 0);
    EXPECT_EQ (PluginIdentity::versionPatch, 0);
    EXPECT_EQ (PluginIdentity::versionCode, 0x10000);
    // major * 100 + minor * 10 + patch
    EXPECT_EQ (PluginIdentity::vstVendorVersion, 100);
}

// Four-character codes as hosts read them: big-endian 32-bit integers.
TEST (PluginIdentity, CodesAndAaxIds)
{
    const struct
    {
        int value;
        int expected;
    } table[] = {
        { PluginIdentity::fourCharCode (PluginIdentity::pluginCode), 0x56713468 },
        { PluginIdentity::fourCharCode (PluginIdentity::manufacturerCode), 0x56717865 },
        { PluginIdentity::fourCharCode (PluginIdentity::aaxManufacturerCode), 0x56717865 },
        { PluginIdentity::aaxNativeId (0), 0x6a636161 },
        { PluginIdentity::aaxNativeId (1), 0x6a636162 },
        { PluginIdentity::aaxAudioSuiteId (0), 0x6a796161 },
        { PluginIdentity::aaxAudioSuiteId (1), 0x6a796162 },
    };
    for (const auto& row : table)
        EXPECT_EQ (row.value, row.expected) << std::hex << row.expected;
}

TEST (PluginIdentity, CapabilitiesMatchTheProcessor)
{
    EXPECT_EQ (PluginIdentity::vst2Channels.inputs, 2);
    EXPECT_EQ (PluginIdentity::vst2Channels.outputs, 2);
    ASSERT_EQ (PluginIdentity::aaxComponents.size(), 2u);
    EXPECT_EQ (PluginIdentity::aaxComponents[0].inputs, 2);
    EXPECT_EQ (PluginIdentity::aaxComponents[0].outputs, 2);
    EXPECT_EQ (PluginIdentity::aaxComponents[1].inputs, 1);
    EXPECT_EQ (PluginIdentity::aaxComponents[1].outputs, 1);
    EXPECT_FALSE (PluginIdentity::isSynth);
    EXPECT_FALSE (PluginIdentity::wantsMidiInput);
    EXPECT_FALSE (PluginIdentity::producesMidiOutput);
    EXPECT_TRUE (PluginIdentity::hasEditor);
    EXPECT_TRUE (PluginIdentity::supportsHostBypass);
    EXPECT_TRUE (PluginIdentity::aaxMultiMonoAllowed);

    QuillfenTemplateAudioProcessor processor;
    EXPECT_EQ (processor.getName(), PluginIdentity::name);
    EXPECT_EQ (processor.acceptsMidi(), PluginIdentity::wantsMidiInput);
    EXPECT_EQ (processor.producesMidi(), PluginIdentity::producesMidiOutput);
    EXPECT_EQ (processor.hasEditor(), PluginIdentity::hasEditor);
    EXPECT_EQ (processor.getTotalNumInputChannels(), PluginIdentity::vst2Channels.inputs);
    EXPECT_EQ (processor.getTotalNumOutputChannels(), PluginIdentity::vst2Channels.outputs);

    const auto channels = [] (int count)
    { return count == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::canonicalChannelSet (count); };
    for (const auto& component : PluginIdentity::aaxComponents)
    {
        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses.add (channels (component.inputs));
        layout.outputBuses.add (channels (component.outputs));
        EXPECT_TRUE (processor.checkBusesLayoutSupported (layout)) << component.inputs << " in, " << component.outputs << " out";
    }
}
