#pragma once

#include "app/Status.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <memory>

namespace brevalon::app
{

// The file formats the renderer reads and writes (WAV, AIFF, FLAC) and what each can store.
class AudioFileFormats
{
public:
    AudioFileFormats();

    // Buffer of the file streams read and written, in bytes.
    static constexpr int streamBufferBytes = 1 << 18;

    // The format for a name given on the command line ("wav", "aiff", "flac", any case), or null.
    juce::AudioFormat* findByName (const juce::String& name) const;

    // The format a file name's extension belongs to, or null for an extension none of them uses.
    juce::AudioFormat* findByExtension (const juce::File& file) const;

    // A usage error when the file's extension belongs to another of these formats than `format`;
    // an extension none of them uses is accepted. `advice` ends the message.
    Status checkExtensionMatches (const juce::File& file, const juce::String& displayName, juce::AudioFormat& format,
                                  const juce::String& advice) const;

    // The format that produced a reader.
    juce::AudioFormat* findForReader (const juce::AudioFormatReader& reader) const;

    // Opens a file for reading; on failure `status` holds the reason. The reader covers only the
    // audio frames the file holds (see applyUnfinishedRecordingRule); when that is fewer than its
    // header claims, `shortfall`, if given, receives a message naming both lengths. A WAV file
    // whose header holds the placeholder sizes of an unfinished recording is read to its end (see
    // UnfinishedWavHeader), and `shortfall` says so. WAV and AIFF samples of a size the readers do
    // not convert (not a whole number of bytes) are an input they cannot read.
    std::unique_ptr<juce::AudioFormatReader> openReader (const juce::File& file, Status& status, juce::String* shortfall = nullptr);

    // Creates a writer on `stream`, which it takes over on success (and deletes on failure).
    std::unique_ptr<juce::AudioFormatWriter> createWriter (juce::AudioFormat& format, std::unique_ptr<juce::OutputStream> stream,
                                                           double sampleRate, int numChannels, int bitsPerSample) const;

    // Short name used in messages and on the command line: "WAV", "AIFF", "FLAC".
    static juce::String shortName (const juce::AudioFormat& format);

    // The bit depths a format can write, as text for messages ("8, 16, 24 or 32").
    static juce::String describeBitDepths (juce::AudioFormat& format);

    // Writes a whole buffer to `file` through a temporary file that replaces it only when complete.
    Status writeFile (const juce::File& file, juce::AudioFormat& format, const juce::AudioBuffer<float>& buffer, double sampleRate,
                      int bitsPerSample) const;

    // Reads a whole file into memory.
    Status readFile (const juce::File& file, juce::AudioBuffer<float>& buffer, double& sampleRate);

private:
    juce::AudioFormatManager manager;
};

} // namespace brevalon::app
