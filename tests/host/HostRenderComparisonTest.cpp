#include "HostedPlugin.h"

#include <juce_audio_formats/juce_audio_formats.h>

using namespace brevalon::host;

namespace
{
// A folder of its own for the test's files, removed with everything in it.
struct ScratchFolder
{
    ScratchFolder()
        : folder (
              juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("brevalon-render-vst3-" + juce::Uuid().toString()))
    {
        folder.createDirectory();
    }
    ~ScratchFolder() { folder.deleteRecursively(); }
    ScratchFolder (const ScratchFolder&) = delete;
    ScratchFolder& operator= (const ScratchFolder&) = delete;

    juce::File folder;
};

// 32-bit float WAV: the samples go through the file unchanged.
bool writeFloatWav (const juce::File& file, const juce::AudioBuffer<float>& buffer, double rate)
{
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::OutputStream> stream = std::make_unique<juce::FileOutputStream> (file);
    std::unique_ptr<juce::AudioFormatWriter> writer (wav.createWriterFor (stream.get(), rate, 2, 32, {}, 0));
    if (writer == nullptr)
        return false;
    stream.release(); // now owned by the writer
    return writer->writeFromAudioSampleBuffer (buffer, 0, buffer.getNumSamples());
}

juce::AudioBuffer<float> readWav (const juce::File& file)
{
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatReader> reader (wav.createReaderFor (file.createInputStream().release(), true));
    if (reader == nullptr)
        return {};
    juce::AudioBuffer<float> buffer ((int)reader->numChannels, (int)reader->lengthInSamples);
    reader->read (&buffer, 0, buffer.getNumSamples(), 0, true, true);
    return buffer;
}
} // namespace

// brevalon-render runs the product processor as the plug-in does: for the same settings and block
// size its output (with the filter's delay kept) equals the hosted VST3's, sample for sample.
TEST (HostRenderComparison, RendererOutputEqualsTheVst3Output)
{
    constexpr double rate = 96000.0;
    constexpr int blockSize = 480;
    ScratchFolder scratch;
    const auto inputFile = scratch.folder.getChildFile ("in.wav");
    const auto outputFile = scratch.folder.getChildFile ("out.wav");

    // Noise with a tone below and one above the corner.
    auto signal = makeNoise (2, 48000, 5, 0.25f);
    const auto low = makeSine (1000.0, rate, signal.getNumSamples(), 0.25f);
    const auto high = makeSine (30000.0, rate, signal.getNumSamples(), 0.25f);
    for (int channel = 0; channel < 2; ++channel)
    {
        signal.addFrom (channel, 0, low, channel, 0, signal.getNumSamples());
        signal.addFrom (channel, 0, high, channel, 0, signal.getNumSamples());
    }
    ASSERT_TRUE (writeFloatWav (inputFile, signal, rate));
    const auto input = readWav (inputFile);
    ASSERT_EQ (input.getNumSamples(), signal.getNumSamples());

    juce::ChildProcess renderer;
    ASSERT_TRUE (renderer.start (juce::StringArray{ BREVALON_RENDER_PATH, "--frequency", "22000", "--slope", "50", "--mix", "80", "--block",
                                                    juce::String (blockSize), "--no-latency-compensation", "--quiet",
                                                    inputFile.getFullPathName(), outputFile.getFullPathName() }));
    const auto messages = renderer.readAllProcessOutput();
    ASSERT_TRUE (renderer.waitForProcessToFinish (60000));
    ASSERT_EQ (renderer.getExitCode(), 0u) << messages;
    const auto rendered = readWav (outputFile);
    ASSERT_EQ (rendered.getNumChannels(), 2);
    ASSERT_EQ (rendered.getNumSamples(), input.getNumSamples());

    auto hosted = load (Format::vst3, rate, blockSize);
    ASSERT_NE (hosted.instance, nullptr);
    auto& instance = *hosted.instance;
    // Typed in as a host's user would: the plug-in parses the texts.
    const char* texts[] = { "22000", "50", "80" };
    for (int i = 0; i < 3; ++i)
    {
        auto* parameter = instance.getParameters()[i];
        parameter->setValue (parameter->getValueForText (texts[i]));
    }
    instance.prepareToPlay (rate, blockSize);
    auto output = input;
    process (instance, output, blockSize);
    EXPECT_EQ (instance.getParameters()[0]->getCurrentValueAsText(), "22.0 kHz");
    EXPECT_EQ (instance.getParameters()[1]->getCurrentValueAsText(), "50.0 %");
    EXPECT_EQ (instance.getParameters()[2]->getCurrentValueAsText(), "80.0 %");

    int differing = 0;
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < output.getNumSamples(); ++i)
            if (output.getSample (channel, i) != rendered.getSample (channel, i) && differing++ < 5)
                ADD_FAILURE() << "channel " << channel << ", sample " << i << ": plug-in " << output.getSample (channel, i) << ", renderer "
                              << rendered.getSample (channel, i);
    EXPECT_EQ (differing, 0);
    // The filter did work: the 30 kHz tone is gone, so the output differs from the input.
    EXPECT_LT (rmsOf (output, 0, output.getNumSamples()), rmsOf (input, 0, input.getNumSamples()));
}
