#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#if defined(__linux__)
#    include <pty.h>
#    include <sys/wait.h>
#    include <unistd.h>
#endif

namespace brevalon::test
{

TemporaryFolder::TemporaryFolder()
    : folder (juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("brevalon-app-test-" + juce::Uuid().toString()))
{
    const auto result = folder.createDirectory();
    EXPECT_TRUE (result.wasOk()) << result.getErrorMessage();
}

TemporaryFolder::~TemporaryFolder()
{
    folder.deleteRecursively();
}

juce::StringArray TemporaryFolder::contents() const
{
    juce::StringArray names;
    for (const auto& entry : juce::RangedDirectoryIterator (folder, false, "*", juce::File::findFilesAndDirectories))
        names.add (entry.getFile().getFileName());
    names.sort (false);
    return names;
}

RunResult runRenderer (const juce::StringArray& arguments)
{
    juce::StringArray command;
    command.add (BREVALON_RENDER_PATH);
    command.addArray (arguments);

    juce::ChildProcess process;
    RunResult result;
    if (! process.start (command, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr))
    {
        ADD_FAILURE() << "cannot start " << BREVALON_RENDER_PATH;
        return result;
    }
    result.output = process.readAllProcessOutput();
    process.waitForProcessToFinish (60000);
    result.exitCode = static_cast<int> (process.getExitCode());
    return result;
}

RunResult runRendererOnTerminal (const juce::StringArray& arguments)
{
    RunResult result;
#if defined(__linux__)
    // Everything the child needs is prepared before the fork.
    std::vector<std::string> words{ BREVALON_RENDER_PATH };
    for (const auto& argument : arguments)
        words.push_back (argument.toStdString());
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back (word.data());
    argv.push_back (nullptr);

    int terminal = -1;
    const pid_t child = forkpty (&terminal, nullptr, nullptr, nullptr);
    if (child < 0)
        return result;
    if (child == 0)
    {
        execv (argv[0], argv.data());
        _exit (127);
    }
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read (terminal, buffer, sizeof (buffer))) > 0;)
        text.append (buffer, static_cast<size_t> (n));
    close (terminal);
    int status = 0;
    waitpid (child, &status, 0);
    result.exitCode = WIFEXITED (status) ? WEXITSTATUS (status) : -1;
    result.output = juce::String (text);
#else
    juce::ignoreUnused (arguments);
#endif
    return result;
}

namespace
{

struct TestFormats : juce::AudioFormatManager
{
    TestFormats() { registerBasicFormats(); }
};

juce::AudioFormatManager& formats()
{
    static TestFormats manager;
    return manager;
}

} // namespace

AudioFile readAudioFile (const juce::File& file)
{
    AudioFile audio;
    std::unique_ptr<juce::AudioFormatReader> reader (formats().createReaderFor (file));
    if (reader == nullptr)
    {
        ADD_FAILURE() << "cannot read " << file.getFullPathName();
        return audio;
    }
    audio.sampleRate = reader->sampleRate;
    audio.bitsPerSample = static_cast<int> (reader->bitsPerSample);
    audio.floatingPoint = reader->usesFloatingPointData;
    audio.formatName = reader->getFormatName();
    audio.samples.setSize (static_cast<int> (reader->numChannels), static_cast<int> (reader->lengthInSamples));
    reader->read (&audio.samples, 0, audio.samples.getNumSamples(), 0, true, true);
    return audio;
}

void writeAudioFile (const juce::File& file, const juce::AudioBuffer<float>& samples, double sampleRate, const juce::String& format,
                     int bitsPerSample)
{
    juce::AudioFormat* audioFormat = nullptr;
    for (auto* candidate : formats())
        if (candidate->getFormatName().startsWithIgnoreCase (format))
            audioFormat = candidate;
    ASSERT_NE (audioFormat, nullptr) << format;

    file.deleteFile();
    auto stream = std::make_unique<juce::FileOutputStream> (file);
    ASSERT_TRUE (stream->openedOk());
    const int quality = format == "ogg" ? 5 : 0;
    std::unique_ptr<juce::AudioFormatWriter> writer (audioFormat->createWriterFor (
        stream.get(), sampleRate, static_cast<unsigned int> (samples.getNumChannels()), bitsPerSample, {}, quality));
    ASSERT_NE (writer, nullptr) << format << " " << bitsPerSample;
    stream.release();
    ASSERT_TRUE (writer->writeFromAudioSampleBuffer (samples, 0, samples.getNumSamples()));
}

juce::AudioBuffer<float> makeNoise (int numChannels, int numSamples, unsigned seed, float amplitude)
{
    std::mt19937 random (seed);
    std::uniform_real_distribution<float> value (-amplitude, amplitude);
    juce::AudioBuffer<float> noise (numChannels, numSamples);
    for (int channel = 0; channel < numChannels; ++channel)
        for (int i = 0; i < numSamples; ++i)
            noise.setSample (channel, i, value (random));
    return noise;
}

juce::AudioBuffer<float> makeQuantisedNoise (int numChannels, int numSamples, unsigned seed, int bitsPerSample)
{
    auto noise = makeNoise (numChannels, numSamples, seed);
    const float steps = static_cast<float> (1 << (bitsPerSample - 1));
    for (int channel = 0; channel < numChannels; ++channel)
        for (int i = 0; i < numSamples; ++i)
            noise.setSample (channel, i, std::round (noise.getSample (channel, i) * steps) / steps);
    return noise;
}

bool identical (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
{
    if (a.getNumChannels() != b.getNumChannels() || a.getNumSamples() != b.getNumSamples())
        return false;
    for (int channel = 0; channel < a.getNumChannels(); ++channel)
        if (std::memcmp (a.getReadPointer (channel), b.getReadPointer (channel), sizeof (float) * (size_t)a.getNumSamples()) != 0)
            return false;
    return true;
}

} // namespace brevalon::test
