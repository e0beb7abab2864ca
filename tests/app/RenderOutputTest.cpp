// brevalon-render run as a program on small generated files: where the output lands in time,
// that it is the processor's output bit for bit, and what the written files look like.

#include "app/FilterSettings.h"
#include "processor/QuillfenTemplateAudioProcessor.h"
#include "RenderTestSupport.h"

#include "processor/dsp/FirDesign.h"

#include <gtest/gtest.h>

#include <cmath>

using brevalon::QuillfenTemplateAudioProcessor;
using brevalon::app::FilterSettings;
using namespace brevalon::test;

namespace
{

juce::StringArray settingsArguments (const FilterSettings& settings)
{
    juce::StringArray arguments{ "--frequency", juce::String (settings.frequencyHz, 1), "--slope", juce::String (settings.slopePercent, 1),
                                 "--mix",       juce::String (settings.mixPercent, 1) };
    if (settings.bypass)
        arguments.add ("--bypass");
    return arguments;
}

// The processor driven directly, as a host would: the input followed by `latency` zeros, in
// consecutive blocks of `blockSize`. Returns that whole stream.
juce::AudioBuffer<float> runProcessorDirectly (const juce::AudioBuffer<float>& input, double rate, const FilterSettings& settings,
                                               int blockSize, int& latency)
{
    QuillfenTemplateAudioProcessor processor;
    const int channels = input.getNumChannels();
    processor.setPlayConfigDetails (channels, channels, rate, blockSize);
    settings.applyTo (processor);
    processor.prepareToPlay (rate, blockSize);
    latency = processor.getLatencySamples();

    juce::AudioBuffer<float> stream (channels, input.getNumSamples() + latency);
    stream.clear();
    for (int channel = 0; channel < channels; ++channel)
        stream.copyFrom (channel, 0, input, channel, 0, input.getNumSamples());

    juce::MidiBuffer midi;
    for (int start = 0; start < stream.getNumSamples(); start += blockSize)
    {
        juce::AudioBuffer<float> block (stream.getArrayOfWritePointers(), channels, start,
                                        std::min (blockSize, stream.getNumSamples() - start));
        processor.processBlock (block, midi);
    }
    return stream;
}

juce::AudioBuffer<float> impulse (int numChannels, int length, int position)
{
    juce::AudioBuffer<float> buffer (numChannels, length);
    buffer.clear();
    for (int channel = 0; channel < numChannels; ++channel)
        buffer.setSample (channel, position, 1.0f);
    return buffer;
}

int peakIndex (const juce::AudioBuffer<float>& buffer, int channel)
{
    const float* samples = buffer.getReadPointer (channel);
    int peak = 0;
    for (int i = 1; i < buffer.getNumSamples(); ++i)
        if (std::abs (samples[i]) > std::abs (samples[peak]))
            peak = i;
    return peak;
}

} // namespace

// The linear-phase check through the whole program: with latency compensation an impulse comes
// out at its own index, symmetric around it; without, it lags by exactly N >> 1.
TEST (RenderAlignment, ImpulseLandsAtItsIndexOrAtTheLatency)
{
    constexpr int length = 3000;
    constexpr int position = 1000;
    TemporaryFolder folder;

    for (const double rate : { 88200.0, 96000.0, 192000.0, 384000.0 })
        for (const int channels : { 1, 2 })
        {
            SCOPED_TRACE (testing::Message() << rate << " Hz, " << channels << " channel(s)");
            const auto input = folder.file ("impulse.wav");
            writeAudioFile (input, impulse (channels, length, position), rate, "wav", 32);
            const int latency = brevalon::nominalLengthFor (rate) >> 1;

            const auto aligned = folder.file ("aligned.wav");
            ASSERT_EQ (runRenderer ({ input.getFullPathName(), aligned.getFullPathName(), "--quiet" }).exitCode, 0);
            const auto out = readAudioFile (aligned).samples;
            ASSERT_EQ (out.getNumSamples(), length);
            ASSERT_EQ (out.getNumChannels(), channels);
            for (int channel = 0; channel < channels; ++channel)
            {
                EXPECT_EQ (peakIndex (out, channel), position);
                for (int offset = 1; offset <= latency; ++offset)
                    EXPECT_NEAR (out.getSample (channel, position + offset), out.getSample (channel, position - offset), 1e-7) << offset;
            }

            const auto delayed = folder.file ("delayed.wav");
            ASSERT_EQ (
                runRenderer ({ input.getFullPathName(), delayed.getFullPathName(), "--no-latency-compensation", "--quiet" }).exitCode, 0);
            const auto late = readAudioFile (delayed).samples;
            ASSERT_EQ (late.getNumSamples(), length);
            for (int channel = 0; channel < channels; ++channel)
                EXPECT_EQ (peakIndex (late, channel), position + latency);
        }
}

// Bypass and a fully dry mix pass the signal through the delay only, so with compensation the
// output is the input itself.
TEST (RenderAlignment, BypassAndDryMixReturnTheInputExactly)
{
    TemporaryFolder folder;
    const auto input = folder.file ("in.wav");
    const auto output = folder.file ("out.wav");
    const auto noise = makeNoise (2, 5000, 7);
    writeAudioFile (input, noise, 192000.0, "wav", 32);

    for (const auto& option : juce::StringArray{ "--bypass", "--mix=0" })
    {
        SCOPED_TRACE (option);
        ASSERT_EQ (runRenderer ({ input.getFullPathName(), output.getFullPathName(), option, "--quiet" }).exitCode, 0);
        EXPECT_TRUE (identical (readAudioFile (output).samples, noise));
    }
}

// The renderer's output is the processor's own output for the same settings and block
// boundaries, bit for bit, with and without latency compensation.
TEST (RenderBitIdentity, MatchesTheProcessorRunDirectly)
{
    const struct
    {
        double rate;
        int channels, blockSize;
        FilterSettings settings;
    } cases[] = {
        { 96000, 2, 512, {} },
        { 96000, 1, 512, {} },
        { 192000, 2, 37, { 23456.7, 33.3, 100.0, false } },
        { 384000, 2, 4096, { 20000.0, 100.0, 50.0, false } },
        { 88200, 1, 1, { 25000.0, 0.0, 99.0, false } },
        { 176400, 2, 300, { 21000.0, 75.0, 100.0, true } },
    };
    constexpr int length = 40000; // several of the renderer's chunks
    TemporaryFolder folder;
    const auto inputFile = folder.file ("in.wav");
    const auto outputFile = folder.file ("out.wav");

    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << c.rate << " Hz, " << c.channels << " channel(s), block " << c.blockSize << ", "
                                         << c.settings.frequencyHz << " Hz, slope " << c.settings.slopePercent << ", mix "
                                         << c.settings.mixPercent << (c.settings.bypass ? ", bypass" : ""));
        const auto input = makeNoise (c.channels, length, 11);
        writeAudioFile (inputFile, input, c.rate, "wav", 32);
        int latency = 0;
        const auto direct = runProcessorDirectly (input, c.rate, c.settings, c.blockSize, latency);

        auto arguments = settingsArguments (c.settings);
        arguments.addArray (
            { "--block", juce::String (c.blockSize), "--quiet", inputFile.getFullPathName(), outputFile.getFullPathName() });

        ASSERT_EQ (runRenderer (arguments).exitCode, 0);
        juce::AudioBuffer<float> expected (c.channels, length);
        for (int channel = 0; channel < c.channels; ++channel)
            expected.copyFrom (channel, 0, direct, channel, latency, length);
        EXPECT_TRUE (identical (readAudioFile (outputFile).samples, expected)) << "compensated";

        arguments.add ("--no-latency-compensation");
        ASSERT_EQ (runRenderer (arguments).exitCode, 0);
        for (int channel = 0; channel < c.channels; ++channel)
            expected.copyFrom (channel, 0, direct, channel, 0, length);
        EXPECT_TRUE (identical (readAudioFile (outputFile).samples, expected)) << "not compensated";
    }
}

// In every format and bit depth the file holds the processor's output as that format stores it:
// what writing the directly processed stream gives, sample for sample.
TEST (RenderBitIdentity, EveryFormatHoldsTheProcessorOutput)
{
    const struct
    {
        const char* format;
        int bits, channels;
    } cases[] = {
        { "wav", 16, 2 }, { "wav", 24, 1 }, { "wav", 32, 2 }, { "aiff", 24, 2 }, { "flac", 16, 1 }, { "flac", 24, 2 },
    };
    constexpr double rate = 192000.0;
    constexpr int length = 50000;
    TemporaryFolder folder;
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << c.format << ", " << c.bits << " bits, " << c.channels << " channel(s)");
        const auto inputFile = folder.file (juce::String ("in.") + c.format);
        const auto outputFile = folder.file (juce::String ("out.") + c.format);
        const auto expectedFile = folder.file (juce::String ("expected.") + c.format);
        writeAudioFile (inputFile, makeQuantisedNoise (c.channels, length, 13, c.bits), rate, c.format, c.bits);

        int latency = 0;
        const auto direct = runProcessorDirectly (readAudioFile (inputFile).samples, rate, {}, 512, latency);
        juce::AudioBuffer<float> aligned (c.channels, length);
        for (int channel = 0; channel < c.channels; ++channel)
            aligned.copyFrom (channel, 0, direct, channel, latency, length);
        writeAudioFile (expectedFile, aligned, rate, c.format, c.bits);

        ASSERT_EQ (runRenderer ({ "--quiet", inputFile.getFullPathName(), outputFile.getFullPathName() }).exitCode, 0);
        EXPECT_TRUE (identical (readAudioFile (outputFile).samples, readAudioFile (expectedFile).samples));
    }
}

// Renders longer than five seconds show the percentage done and the speed while they run, on a
// terminal only: none of it reaches a pipe, and --quiet keeps a terminal free of it too.
TEST (RenderProgress, ShownOnATerminalOnly)
{
    TemporaryFolder folder;
    const auto input = folder.file ("long.wav");
    writeAudioFile (input, makeNoise (2, 6 * 96000, 21), 96000.0, "wav", 24);
    const juce::StringArray arguments{ input.getFullPathName(), folder.file ("out.wav").getFullPathName() };

    const auto onTerminal = runRendererOnTerminal (arguments);
    if (onTerminal.exitCode == -1)
        GTEST_SKIP() << "no pseudo-terminal here";
    ASSERT_EQ (onTerminal.exitCode, 0) << onTerminal.output;
    EXPECT_TRUE (onTerminal.output.contains ("100 %, ")) << onTerminal.output;
    EXPECT_TRUE (onTerminal.output.contains ("x real time")) << onTerminal.output;

    const auto piped = runRenderer (arguments);
    ASSERT_EQ (piped.exitCode, 0) << piped.output;
    EXPECT_FALSE (piped.output.contains ("%") || piped.output.contains ("real time")) << piped.output;

    auto quiet = arguments;
    quiet.add ("--quiet");
    const auto quietOnTerminal = runRendererOnTerminal (quiet);
    EXPECT_EQ (quietOnTerminal.exitCode, 0);
    EXPECT_TRUE (quietOnTerminal.output.isEmpty()) << quietOnTerminal.output;
}

// Outside 88.2..384 kHz the plug-in passes audio through; so does the renderer, sample for
// sample, and it says why.
TEST (RenderPassThrough, RatesOutsideTheFilterRangeLeaveTheAudioUnchanged)
{
    const struct
    {
        double rate;
        const char* format;
        int bits;
    } cases[] = {
        { 44100, "wav", 16 },  { 44100, "wav", 24 }, { 44100, "wav", 32 },  { 48000, "aiff", 24 },
        { 44100, "flac", 16 }, { 8000, "flac", 24 }, { 400000, "wav", 24 },
    };
    TemporaryFolder folder;
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << c.rate << " Hz " << c.format << " " << c.bits);
        const auto input = folder.file (juce::String ("in.") + c.format);
        const auto output = folder.file (juce::String ("out.") + c.format);
        writeAudioFile (input, makeQuantisedNoise (2, 4000, 3, c.bits == 32 ? 24 : c.bits), c.rate, c.format, c.bits);

        const auto run = runRenderer ({ input.getFullPathName(), output.getFullPathName() });
        ASSERT_EQ (run.exitCode, 0) << run.output;
        EXPECT_TRUE (run.output.contains ("System bandwidth close to audible bandwidth")) << run.output;
        EXPECT_TRUE (run.output.contains (juce::String (c.rate, 0))) << run.output;
        EXPECT_TRUE (identical (readAudioFile (output).samples, readAudioFile (input).samples));
    }
}

// Without --format and --bits the output has the input's format, channels, rate, length and
// bit depth; with them it converts.
TEST (RenderFormats, KeepOrConvertFormatAndBitDepth)
{
    const struct
    {
        const char* inFormat;
        int inBits, channels;
        juce::StringArray options;
        const char* outFormat;
        int outBits;
        bool outFloat;
    } cases[] = {
        { "wav", 8, 2, {}, "wav", 8, false },
        { "wav", 16, 1, {}, "wav", 16, false },
        { "wav", 24, 2, {}, "wav", 24, false },
        { "wav", 32, 2, {}, "wav", 32, true },
        { "aiff", 16, 2, {}, "aiff", 16, false },
        { "aiff", 24, 1, {}, "aiff", 24, false },
        { "flac", 16, 2, {}, "flac", 16, false },
        { "flac", 24, 1, {}, "flac", 24, false },
        { "wav", 32, 2, { "--format", "flac", "--bits", "24" }, "flac", 24, false },
        { "flac", 16, 2, { "--format=WAV" }, "wav", 16, false },
        { "aiff", 24, 2, { "--bits", "16" }, "aiff", 16, false },
        { "wav", 16, 1, { "--bits", "32" }, "wav", 32, true },
    };
    constexpr double rate = 96000.0;
    constexpr int length = 2500;
    TemporaryFolder folder;
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << c.inFormat << " " << c.inBits << " " << c.options.joinIntoString (" "));
        const auto input = folder.file (juce::String ("in.") + c.inFormat);
        const auto output = folder.file (juce::String ("out.") + c.outFormat);
        output.deleteFile();
        writeAudioFile (input, makeNoise (c.channels, length, 5), rate, c.inFormat, c.inBits);

        auto arguments = c.options;
        arguments.addArray ({ input.getFullPathName(), output.getFullPathName(), "--quiet" });
        const auto run = runRenderer (arguments);
        ASSERT_EQ (run.exitCode, 0) << run.output;

        const auto written = readAudioFile (output);
        EXPECT_TRUE (written.formatName.startsWithIgnoreCase (c.outFormat)) << written.formatName;
        EXPECT_EQ (written.bitsPerSample, c.outBits);
        EXPECT_EQ (written.floatingPoint, c.outFloat);
        EXPECT_EQ (written.samples.getNumChannels(), c.channels);
        EXPECT_EQ (written.samples.getNumSamples(), length);
        EXPECT_EQ (written.sampleRate, rate);
    }
}
