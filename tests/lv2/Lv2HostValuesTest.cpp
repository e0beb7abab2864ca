#include "MinimalLv2Host.h"

#include "processor/HostParameter.h"
#include "processor/QuillfenTemplateAudioProcessor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using brevalon::test::MinimalLv2Host;

namespace
{
constexpr double sampleRate = 96000.0;
constexpr int blockSize = 512;

// The property URI of host parameter `index` in the LV2 plug-in.
std::string propertyUri (int index)
{
    return std::string (BREVALON_LV2_URI) + ":" +
           brevalon::HostParameter::idFor (index, juce::AudioProcessor::wrapperType_LV2).toStdString();
}

// The normalised value of each host parameter of a new processor: what the plug-in runs at
// before anything is changed.
std::vector<float> startUpValues()
{
    brevalon::QuillfenTemplateAudioProcessor processor (brevalon::SharedFolder(),
                                                        brevalon::QuillfenTemplateAudioProcessor::Settings::inMemory);
    std::vector<float> values;
    for (auto* parameter : processor.getParameters())
        values.push_back (parameter->getValue());
    return values;
}
} // namespace

// The plug-in's description lists the four parameters as writable properties whose default is
// the value the plug-in starts with, so a host that shows the default before it hears from the
// plug-in shows the real value.
TEST (Lv2HostValues, DeclaredDefaultsAreTheStartUpValues)
{
    MinimalLv2Host host (BREVALON_LV2_BUNDLE, BREVALON_LV2_URI);
    ASSERT_TRUE (host.isLoaded());

    const auto values = startUpValues();
    ASSERT_EQ (values.size(), 4u);
    std::vector<std::string> expectedProperties;
    for (int i = 0; i < 4; ++i)
        expectedProperties.push_back (propertyUri (i));
    std::sort (expectedProperties.begin(), expectedProperties.end());
    EXPECT_EQ (host.writableProperties(), expectedProperties);

    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR (host.declaredDefault (propertyUri (i)), values[(size_t)i], 1.0e-6) << propertyUri (i);
}

// How a host starts the plug-in before it shows the property values.
struct StartCase
{
    const char* name;
    bool firstBlockUnread; // the host runs one block to learn the latency and ignores its messages
    bool requestValues;    // the host asks for the values (patch:Get) with its first read block
};

void PrintTo (const StartCase& start, std::ostream* stream)
{
    *stream << start.name;
}

class Lv2HostStart : public testing::TestWithParam<StartCase>
{
};

// Within the first second of audio the host hears every parameter's value, and it is the value
// the plug-in runs at.
TEST_P (Lv2HostStart, HostLearnsTheStartUpValues)
{
    const auto& start = GetParam();
    MinimalLv2Host host (BREVALON_LV2_BUNDLE, BREVALON_LV2_URI);
    ASSERT_TRUE (host.isLoaded());
    ASSERT_TRUE (host.instantiate (sampleRate, blockSize));

    if (start.firstBlockUnread)
        host.run (blockSize, false, false);
    host.run (blockSize, start.requestValues);
    for (int done = blockSize; done < (int)sampleRate && host.announcedValues().size() < 4; done += blockSize)
        host.run (blockSize);

    const auto values = startUpValues();
    const auto& announced = host.announcedValues();
    EXPECT_EQ (announced.size(), 4u);
    for (int i = 0; i < 4; ++i)
    {
        const auto found = announced.find (propertyUri (i));
        ASSERT_NE (found, announced.end()) << "no value for " << propertyUri (i);
        EXPECT_EQ (found->second, values[(size_t)i]) << propertyUri (i);
    }
}

INSTANTIATE_TEST_SUITE_P (Lv2, Lv2HostStart,
                          testing::Values (StartCase{ "EveryBlockRead", false, false }, StartCase{ "ValuesRequested", false, true },
                                           StartCase{ "LatencyBlockFirst", true, true }),
                          [] (const testing::TestParamInfo<StartCase>& caseInfo) { return std::string (caseInfo.param.name); });
