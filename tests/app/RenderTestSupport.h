#pragma once

#include "tests/support/AudioBuffers.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <string>

#include <sys/types.h>

namespace brevalon::test
{

// A fresh folder under the system's temporary folder, deleted with everything in it.
class TemporaryFolder
{
public:
    TemporaryFolder();
    ~TemporaryFolder();

    const juce::File& get() const noexcept { return folder; }
    juce::File file (const juce::String& name) const { return folder.getChildFile (name); }

    // Names of everything in the folder, hidden files included, sorted.
    juce::StringArray contents() const;

private:
    juce::File folder;
};

// One run of the built brevalon-render.
struct RunResult
{
    int exitCode = -1;   // -1 when a signal ended it
    int killedBy = 0;    // the signal that ended it, if one did
    juce::String output; // stdout and stderr together
};

// Runs it to the end; `standardInput` is written to its stdin through a pipe, which is then closed.
RunResult runRenderer (const juce::StringArray& arguments, const std::string& standardInput = {});

// The built brevalon-render started in the background, with SIGINT, SIGTERM and SIGHUP at their
// default actions whatever the test program inherited; for what a finished run cannot show.
class RendererProcess
{
public:
    RendererProcess (const juce::StringArray& arguments, const std::string& standardInput = {});
    ~RendererProcess(); // kills it if it still runs

    RendererProcess (const RendererProcess&) = delete;
    RendererProcess& operator= (const RendererProcess&) = delete;

    void sendSignal (int signalNumber) const;

    // Collects the output and waits for the end.
    RunResult finish();

private:
    pid_t pid = -1;
    int outputPipe = -1;
};

// An audio file as read back: its samples as floats and what its header says.
struct AudioFile
{
    juce::AudioBuffer<float> samples;
    double sampleRate = 0.0;
    int bitsPerSample = 0;
    bool floatingPoint = false;
    juce::String formatName; // "WAV file", "AIFF file", "FLAC file"
};

// Reads any file JUCE's WAV, AIFF, FLAC or Ogg readers accept; fails the test otherwise.
AudioFile readAudioFile (const juce::File& file);

// Writes `samples` with the format named "wav", "aiff", "flac" or "ogg".
void writeAudioFile (const juce::File& file, const juce::AudioBuffer<float>& samples, double sampleRate, const juce::String& format,
                     int bitsPerSample);

// Creates `file` holding only the 44-byte header of a 16-bit PCM WAV whose data chunk claims
// `claimedFrames`; the caller adds as much of the data as a case needs.
void writeWavHeader (const juce::File& file, int sampleRate, int numChannels, juce::int64 claimedFrames);

} // namespace brevalon::test
