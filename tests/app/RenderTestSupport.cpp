#include "RenderTestSupport.h"

#include <gtest/gtest.h>

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

} // namespace brevalon::test
