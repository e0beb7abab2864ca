#include "HostedPlugin.h"

using namespace brevalon::host;

namespace
{
class HostIdentity : public testing::TestWithParam<Format>
{
};
} // namespace

TEST_P (HostIdentity, NameManufacturerVersionCategoryAndChannels)
{
    const auto& traits = traitsOf (GetParam());
    const auto hosted = load (GetParam(), 96000.0, 512);
    ASSERT_NE (hosted.instance, nullptr);

    const auto& description = hosted.description;
    EXPECT_EQ (description.name, juce::String ("Brevalon"));
    EXPECT_EQ (description.manufacturerName, juce::String ("Quillfen"));
    EXPECT_EQ (description.pluginFormatName, juce::String (traits.name));
    EXPECT_EQ (description.version, traits.version);
    EXPECT_EQ (description.category, traits.category);
    EXPECT_FALSE (description.isInstrument);
    EXPECT_EQ (description.numInputChannels, 2);
    EXPECT_EQ (description.numOutputChannels, 2);

    auto& instance = *hosted.instance;
    EXPECT_EQ (instance.getName(), juce::String ("Brevalon"));
    EXPECT_EQ (instance.getTotalNumInputChannels(), 2);
    EXPECT_EQ (instance.getTotalNumOutputChannels(), 2);
    EXPECT_FALSE (instance.acceptsMidi());
    EXPECT_FALSE (instance.producesMidi());
    EXPECT_TRUE (instance.hasEditor());
}

TEST_P (HostIdentity, FourParametersWithNamesAndTexts)
{
    const auto& traits = traitsOf (GetParam());
    const auto hosted = load (GetParam(), 96000.0, 512);
    ASSERT_NE (hosted.instance, nullptr);
    auto& instance = *hosted.instance;

    juce::StringArray names;
    for (auto* parameter : instance.getParameters())
        names.add (parameter->getName (100));
    EXPECT_EQ (names, juce::StringArray (traits.parameterNames.data(), (int)traits.parameterNames.size()))
        << names.joinIntoString (", ").toStdString();

    const char* texts[] = { "21.0 kHz", "75.0 %", "100.0 %", "Off" };
    for (int i = 0; i < 4; ++i)
    {
        auto* parameter = pluginParameter (instance, GetParam(), i);
        ASSERT_NE (parameter, nullptr) << i;
        if (traits.reportsValueTexts)
        {
            EXPECT_EQ (parameter->getCurrentValueAsText(), juce::String (texts[i])) << i;
        }
        EXPECT_TRUE (parameter->isAutomatable()) << i;
        const auto* withId = dynamic_cast<juce::HostedAudioProcessorParameter*> (parameter);
        ASSERT_NE (withId, nullptr) << i;
        EXPECT_EQ (withId->getParameterID(), traits.parameterIds[(size_t)i]) << i;
    }
}

TEST_P (HostIdentity, TenProgramsFactoryThenUserPlaceholders)
{
    const auto& traits = traitsOf (GetParam());
    const auto hosted = load (GetParam(), 96000.0, 512);
    ASSERT_NE (hosted.instance, nullptr);

    juce::StringArray expected{ "Default", "Light",   "Intermediate", "Steep and reduced", "Hard",
                                "USER001", "USER002", "USER003",      "USER004",           "USER005" };
    auto& instance = *hosted.instance;
    juce::StringArray names;
    for (int i = 0; i < instance.getNumPrograms(); ++i)
        names.add (instance.getProgramName (i));
    if (! traits.programsInOrder)
    {
        names.sort (false);
        expected.sort (false);
    }
    EXPECT_EQ (names.joinIntoString (", "), expected.joinIntoString (", "));
}

INSTANTIATE_TEST_SUITE_P (Formats, HostIdentity, testing::ValuesIn (allFormats()), formatTestName);
