#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

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

RunResult runRenderer (const juce::StringArray& arguments, const std::string& standardInput)
{
    return RendererProcess (arguments, standardInput).finish();
}

RendererProcess::RendererProcess (const juce::StringArray& arguments, const std::string& standardInput)
{
    // The renderer may exit before it reads its input; the test program must outlive that write.
    std::signal (SIGPIPE, SIG_IGN);

    int inputPipe[2], output[2];
    if (pipe (inputPipe) != 0 || pipe (output) != 0)
    {
        ADD_FAILURE() << "pipe: " << std::strerror (errno);
        return;
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init (&actions);
    posix_spawn_file_actions_adddup2 (&actions, inputPipe[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2 (&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2 (&actions, output[1], STDERR_FILENO);
    for (const int descriptor : { inputPipe[0], inputPipe[1], output[0], output[1] })
        posix_spawn_file_actions_addclose (&actions, descriptor);

    posix_spawnattr_t attributes;
    posix_spawnattr_init (&attributes);
    sigset_t defaults;
    sigemptyset (&defaults);
    for (const int signalNumber : { SIGINT, SIGTERM, SIGHUP, SIGPIPE })
        sigaddset (&defaults, signalNumber);
    posix_spawnattr_setsigdefault (&attributes, &defaults);
    posix_spawnattr_setflags (&attributes, POSIX_SPAWN_SETSIGDEF);

    std::vector<std::string> words{ BREVALON_RENDER_PATH };
    for (const auto& argument : arguments)
        words.push_back (argument.toStdString());
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back (word.data());
    argv.push_back (nullptr);

    if (const int error = posix_spawn (&pid, BREVALON_RENDER_PATH, &actions, &attributes, argv.data(), environ); error != 0)
    {
        ADD_FAILURE() << "cannot start " << BREVALON_RENDER_PATH << ": " << std::strerror (error);
        pid = -1;
    }
    posix_spawn_file_actions_destroy (&actions);
    posix_spawnattr_destroy (&attributes);

    close (inputPipe[0]);
    close (output[1]);
    outputPipe = output[0];
    if (! standardInput.empty())
    {
        EXPECT_EQ (write (inputPipe[1], standardInput.data(), standardInput.size()), static_cast<ssize_t> (standardInput.size()));
    }
    close (inputPipe[1]);
}

RendererProcess::~RendererProcess()
{
    if (pid > 0)
    {
        sendSignal (SIGKILL);
        finish();
    }
    if (outputPipe >= 0)
        close (outputPipe);
}

void RendererProcess::sendSignal (int signalNumber) const
{
    ASSERT_GT (pid, 0);
    kill (pid, signalNumber);
}

RunResult RendererProcess::finish()
{
    RunResult result;
    if (pid <= 0)
        return result;

    juce::MemoryOutputStream text;
    char buffer[4096];
    for (ssize_t count; (count = read (outputPipe, buffer, sizeof (buffer))) != 0;)
    {
        if (count > 0)
            text.write (buffer, static_cast<size_t> (count));
        else if (errno != EINTR)
            break;
    }
    result.output = text.toString();

    int status = 0;
    while (waitpid (pid, &status, 0) < 0 && errno == EINTR)
        ;
    pid = -1;
    if (WIFSIGNALED (status))
        result.killedBy = WTERMSIG (status);
    else
        result.exitCode = WEXITSTATUS (status);
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

void writeWavHeader (const juce::File& file, int sampleRate, int numChannels, juce::int64 claimedFrames)
{
    const int bytesPerFrame = numChannels * 2;
    const auto dataBytes = static_cast<juce::uint32> (claimedFrames * bytesPerFrame);
    file.deleteFile();
    juce::FileOutputStream out (file);
    out.write ("RIFF", 4);
    out.writeInt (static_cast<int> (36 + dataBytes));
    out.write ("WAVEfmt ", 8);
    out.writeInt (16);
    out.writeShort (1); // PCM
    out.writeShort (static_cast<short> (numChannels));
    out.writeInt (sampleRate);
    out.writeInt (sampleRate * bytesPerFrame);
    out.writeShort (static_cast<short> (bytesPerFrame));
    out.writeShort (16);
    out.write ("data", 4);
    out.writeInt (static_cast<int> (dataBytes));
}

} // namespace brevalon::test
