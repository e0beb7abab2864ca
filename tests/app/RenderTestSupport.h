#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

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
    int exitCode = -1;
    juce::String output; // stdout and stderr together
};

RunResult runRenderer (const juce::StringArray& arguments);

// The same with stdout and stderr on a pseudo-terminal, as in an interactive shell; an exit
// code of -1 where no pseudo-terminal can be had.
RunResult runRendererOnTerminal (const juce::StringArray& arguments);

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

// Uniform noise in -amplitude..amplitude, reproducible from the seed.
juce::AudioBuffer<float> makeNoise (int numChannels, int numSamples, unsigned seed, float amplitude = 0.5f);

// Noise quantised to `bitsPerSample`, so it survives a round trip through an integer file.
juce::AudioBuffer<float> makeQuantisedNoise (int numChannels, int numSamples, unsigned seed, int bitsPerSample);

// True when both buffers have the same shape and bit-identical samples.
bool identical (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b);

} // namespace brevalon::test
