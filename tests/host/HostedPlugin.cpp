#include "HostedPlugin.h"

#include <cmath>
#include <cstdlib>

namespace brevalon::host
{
namespace
{
// The host's side of the process: a message thread (the test's main thread), the three hosting
// formats, and a temporary home folder whose .lv2 folder links to the built LV2 bundle, as JUCE
// finds LV2 plug-ins by URI in ~/.lv2 and the system folders only. Set up before the first test
// and torn down after the last, while the message manager still exists.
class HostingEnvironment : public testing::Environment
{
public:
    void SetUp() override
    {
        home = juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("brevalon-host-home-" + juce::Uuid().toString());
        const auto lv2Folder = home.getChildFile (".lv2");
        ASSERT_TRUE (lv2Folder.createDirectory().wasOk());
        const juce::File bundle (BREVALON_LV2_BUNDLE);
        ASSERT_TRUE (bundle.createSymbolicLink (lv2Folder.getChildFile (bundle.getFileName()), true));
        setenv ("HOME", home.getFullPathName().toRawUTF8(), 1);

        initialiser = std::make_unique<juce::ScopedJuceInitialiser_GUI>();
        formats = std::make_unique<juce::AudioPluginFormatManager>();
        formats->addFormat (new juce::VST3PluginFormat());
        formats->addFormat (new juce::VSTPluginFormat());
        formats->addFormat (new juce::LV2PluginFormat());
    }

    void TearDown() override
    {
        formats.reset();
        initialiser.reset();
        // Removes the link, not the bundle it points to.
        home.deleteRecursively (false);
    }

    juce::AudioPluginFormat* find (const juce::String& name) const
    {
        for (int i = 0; formats != nullptr && i < formats->getNumFormats(); ++i)
            if (formats->getFormat (i)->getName() == name)
                return formats->getFormat (i);
        return nullptr;
    }

    juce::AudioPluginFormatManager* getManager() const noexcept { return formats.get(); }

private:
    juce::File home;
    std::unique_ptr<juce::ScopedJuceInitialiser_GUI> initialiser;
    std::unique_ptr<juce::AudioPluginFormatManager> formats;
};

HostingEnvironment* const environment = static_cast<HostingEnvironment*> (testing::AddGlobalTestEnvironment (new HostingEnvironment));

const std::vector<FormatTraits>& formatTable()
{
    static const std::vector<FormatTraits> table{
        // JUCE's VST3 wrapper adds its own bypass and, as there are several programs, a program
        // parameter.
        { Format::vst3,
          "VST3",
          BREVALON_VST3_BUNDLE,
          BREVALON_VERSION_STRING,
          "Fx|EQ",
          true,
          { "Frequency", "Slope", "Mix", "Bypass", "Bypass", "Program" },
          0,
          { "0", "1", "2", "3" },
          true,
          LatencyReport::afterPrepare,
          true },
        // JUCE 7's VST 2.4 wrapper gives the version code (0x10000 for 1.0.0) as the vendor
        // version, which JUCE's host reads as four numbers.
        { Format::vst2,
          "VST",
          BREVALON_VST_FILE,
          BREVALON_VERSION_STRING ".0",
          "Mastering",
          true,
          { "Frequency", "Slope", "Mix", "Bypass" },
          0,
          { "0", "1", "2", "3" },
          true,
          LatencyReport::afterPrepare,
          true },
        // The host bypass is the "enabled" port, listed first; parameters are identified by their
        // designation (the plug-in's URI and the id).
        { Format::lv2,
          "LV2",
          BREVALON_LV2_URI,
          {},
          "Plugin",
          false,
          { "Bypass", "Frequency", "Slope", "Mix", "Bypass" },
          1,
          { "des:" BREVALON_LV2_URI ":_0", "des:" BREVALON_LV2_URI ":_1", "des:" BREVALON_LV2_URI ":_2", "des:" BREVALON_LV2_URI ":_3" },
          false,
          LatencyReport::afterFirstBlock,
          false },
    };
    return table;
}
} // namespace

const FormatTraits& traitsOf (Format format)
{
    for (const auto& traits : formatTable())
        if (traits.format == format)
            return traits;
    std::abort();
}

const std::vector<Format>& allFormats()
{
    static const std::vector<Format> formats{ Format::vst3, Format::vst2, Format::lv2 };
    return formats;
}

std::ostream& operator<< (std::ostream& stream, Format format)
{
    return stream << traitsOf (format).name;
}

std::string formatTestName (const testing::TestParamInfo<Format>& info)
{
    return traitsOf (info.param).name;
}

juce::AudioProcessorParameter* pluginParameter (juce::AudioPluginInstance& instance, Format format, int index)
{
    return instance.getParameters()[traitsOf (format).firstPluginParameter + index];
}

Hosted load (Format format, double sampleRate, int blockSize)
{
    Hosted hosted;
    const auto& traits = traitsOf (format);
    auto* pluginFormat = environment->find (traits.name);
    if (pluginFormat == nullptr)
    {
        ADD_FAILURE() << "no hosting format " << traits.name;
        return hosted;
    }

    juce::OwnedArray<juce::PluginDescription> found;
    pluginFormat->findAllTypesForFile (found, traits.location);
    if (found.size() != 1)
    {
        ADD_FAILURE() << traits.name << ": " << found.size() << " plug-ins found at " << traits.location;
        return hosted;
    }

    hosted.description = *found[0];
    juce::String error;
    hosted.instance = environment->getManager()->createPluginInstance (hosted.description, sampleRate, blockSize, error);
    if (hosted.instance == nullptr)
        ADD_FAILURE() << traits.name << ": cannot create an instance: " << error;
    return hosted;
}

bool pumpMessagesUntil (const std::function<bool()>& condition, int timeLimitMs)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32)timeLimitMs;
    while (! condition())
    {
        if (juce::Time::getMillisecondCounter() >= end)
            return condition();
        juce::MessageManager::getInstance()->runDispatchLoopUntil (2);
    }
    return true;
}

void process (juce::AudioPluginInstance& instance, juce::AudioBuffer<float>& buffer, int blockSize, bool hostBypassed)
{
    juce::MidiBuffer midi;
    for (int start = 0; start < buffer.getNumSamples(); start += blockSize)
    {
        const int count = juce::jmin (blockSize, buffer.getNumSamples() - start);
        juce::AudioBuffer<float> block (buffer.getArrayOfWritePointers(), buffer.getNumChannels(), start, count);
        if (hostBypassed)
            instance.processBlockBypassed (block, midi);
        else
            instance.processBlock (block, midi);
        midi.clear();
    }
}

void processInRandomBlocks (juce::AudioPluginInstance& instance, juce::AudioBuffer<float>& buffer, int maximumBlock, juce::Random& random)
{
    juce::MidiBuffer midi;
    for (int start = 0; start < buffer.getNumSamples();)
    {
        const int count = juce::jmin (1 + random.nextInt (maximumBlock), buffer.getNumSamples() - start);
        juce::AudioBuffer<float> block (buffer.getArrayOfWritePointers(), buffer.getNumChannels(), start, count);
        instance.processBlock (block, midi);
        midi.clear();
        start += count;
    }
}

void setHostBypass (juce::AudioPluginInstance& instance, bool bypassed)
{
    if (auto* bypass = instance.getBypassParameter())
        bypass->setValue (bypassed ? 1.0f : 0.0f);
}

juce::AudioBuffer<float> makeSine (double frequencyHz, double sampleRate, int numSamples, float amplitude)
{
    juce::AudioBuffer<float> buffer (2, numSamples);
    for (int i = 0; i < numSamples; ++i)
    {
        const auto value = amplitude * (float)std::sin (juce::MathConstants<double>::twoPi * frequencyHz * i / sampleRate);
        buffer.setSample (0, i, value);
        buffer.setSample (1, i, value);
    }
    return buffer;
}

double rmsOf (const juce::AudioBuffer<float>& buffer, int start, int count)
{
    double sum = 0.0;
    for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
        for (int i = start; i < start + count; ++i)
            sum += (double)buffer.getSample (channel, i) * buffer.getSample (channel, i);
    return std::sqrt (sum / (count * buffer.getNumChannels()));
}
} // namespace brevalon::host
