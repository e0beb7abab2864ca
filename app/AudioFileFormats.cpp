#include "app/AudioFileFormats.h"

#include "app/FramesPresent.h"
#include "app/OutputFile.h"
#include "app/UnfinishedWavHeader.h"

namespace brevalon::app
{

AudioFileFormats::AudioFileFormats()
{
    // Only these three: the renderer promises them, and each round-trips its own bit depths.
    manager.registerFormat (new juce::WavAudioFormat(), true);
    manager.registerFormat (new juce::AiffAudioFormat(), false);
    manager.registerFormat (new juce::FlacAudioFormat(), false);
}

juce::AudioFormat* AudioFileFormats::findByName (const juce::String& name) const
{
    for (auto* format : manager)
        if (shortName (*format).equalsIgnoreCase (name))
            return format;
    return nullptr;
}

juce::AudioFormat* AudioFileFormats::findByExtension (const juce::File& file) const
{
    const auto extension = file.getFileExtension();
    if (extension.isEmpty())
        return nullptr;
    for (auto* format : manager)
        if (format->getFileExtensions().contains (extension, true))
            return format;
    return nullptr;
}

Status AudioFileFormats::checkExtensionMatches (const juce::File& file, const juce::String& displayName, juce::AudioFormat& format,
                                                const juce::String& advice) const
{
    if (auto* byExtension = findByExtension (file); byExtension != nullptr && byExtension != &format)
        return Status::usage (displayName + ": the extension is " + shortName (*byExtension) + "'s but the output format is " +
                              shortName (format) + "; " + advice);
    return Status::success();
}

juce::AudioFormat* AudioFileFormats::findForReader (const juce::AudioFormatReader& reader) const
{
    for (auto* format : manager)
        if (format->getFormatName() == reader.getFormatName())
            return format;
    return nullptr;
}

namespace
{

juce::String describeLength (juce::int64 frames, double sampleRate)
{
    return juce::String (frames) + " frames (" + juce::String (static_cast<double> (frames) / sampleRate, 3) + " s)";
}

// The unfinished-recording rule. A recording stopped before its header was completed, or a copy
// cut short, claims more audio than it holds, and the readers would make up the difference with
// silence. The reader is cut to the frames present; a file with none is an error.
Status applyUnfinishedRecordingRule (juce::AudioFormat& format, const juce::File& file, juce::AudioFormatReader& reader,
                                     juce::String* shortfall)
{
    const auto claimed = reader.lengthInSamples;
    const auto present = countFramesPresent (format, file, claimed);
    if (present == 0)
        return Status::failure ("has no audio frames" +
                                (claimed > 0 ? "; its header claims " + describeLength (claimed, reader.sampleRate) : juce::String()));
    if (present < claimed && shortfall != nullptr)
        *shortfall = "the file ends early: its header claims " + describeLength (claimed, reader.sampleRate) + " but it holds " +
                     describeLength (present, reader.sampleRate) + "; only those are used";
    reader.lengthInSamples = present;
    return Status::success();
}

} // namespace

std::unique_ptr<juce::AudioFormatReader> AudioFileFormats::openReader (const juce::File& file, Status& status, juce::String* shortfall)
{
    auto fileStream = std::make_unique<juce::FileInputStream> (file);
    if (fileStream->failedToOpen())
    {
        status = Status::failure ("cannot open: " + fileStream->getStatus().getErrorMessage());
        return nullptr;
    }

    // A WAV recording that never finished is read with the sizes its header should have had.
    std::unique_ptr<juce::InputStream> stream = std::move (fileStream);
    auto completed = UnfinishedWavHeader::completeIfUnfinished (stream);
    const bool headerCompleted = completed != nullptr;
    if (headerCompleted)
        stream = std::move (completed);

    // The readers ask for a few kilobytes at a time; the buffer turns that into few system calls.
    std::unique_ptr<juce::AudioFormatReader> reader (
        manager.createReaderFor (std::make_unique<juce::BufferedInputStream> (stream.release(), streamBufferBytes, true)));
    if (reader == nullptr)
    {
        status = Status::failure ("not a WAV, AIFF or FLAC file that can be read (unknown format or unsupported encoding)");
        return nullptr;
    }
    if (! (reader->sampleRate > 0.0))
    {
        status = Status::failure ("invalid sample rate");
        return nullptr;
    }
    // A header may announce frames of less than a byte (no channels, or fewer than 8 bits for all
    // channels together), on which the readers divide file positions by the frame's size in bytes,
    // or samples of more than 32 bits, which no format here stores and on which JUCE's AIFF reader
    // never advances.
    if (reader->bitsPerSample > 32 || static_cast<juce::int64> (reader->numChannels) * reader->bitsPerSample < 8)
    {
        status = Status::failure ("unsupported format: " + juce::String (reader->numChannels) + " channels of " +
                                  juce::String (reader->bitsPerSample) + " bits");
        return nullptr;
    }
    // JUCE's WAV and AIFF readers convert samples of 8, 16, 24 and 32 bits only; of any other size
    // they would deliver noise. (FLAC's decoder delivers every size it stores.)
    auto* format = findForReader (*reader);
    if (dynamic_cast<juce::FlacAudioFormat*> (format) == nullptr && reader->bitsPerSample % 8 != 0)
    {
        status = Status::failure ("unsupported bit depth: " + juce::String (reader->bitsPerSample) + "-bit samples (" + shortName (*format) +
                                  " input is read at 8, 16, 24 or 32 bits)");
        return nullptr;
    }
    if (headerCompleted)
    {
        // The sizes were made from the file's length, so the frames claimed are the frames present.
        if (reader->lengthInSamples <= 0)
        {
            status = Status::failure ("has no audio frames");
            return nullptr;
        }
        if (shortfall != nullptr)
            *shortfall = "the header gives no length (a recording that never finished); read to the end of the file: " +
                         describeLength (reader->lengthInSamples, reader->sampleRate);
        return reader;
    }
    if (status = applyUnfinishedRecordingRule (*format, file, *reader, shortfall); ! status.ok())
        return nullptr;
    return reader;
}

std::unique_ptr<juce::AudioFormatWriter> AudioFileFormats::createWriter (juce::AudioFormat& format,
                                                                         std::unique_ptr<juce::OutputStream> stream, double sampleRate,
                                                                         int numChannels, int bitsPerSample) const
{
    // FLAC's compression level 5 is the usual default; the other formats ignore the index.
    const int qualityIndex = dynamic_cast<juce::FlacAudioFormat*> (&format) != nullptr ? 5 : 0;
    std::unique_ptr<juce::AudioFormatWriter> writer (
        format.createWriterFor (stream.get(), sampleRate, static_cast<unsigned int> (numChannels), bitsPerSample, {}, qualityIndex));
    if (writer != nullptr)
        stream.release(); // now owned by the writer
    return writer;
}

juce::String AudioFileFormats::shortName (const juce::AudioFormat& format)
{
    // JUCE names them "WAV file", "AIFF file", "FLAC file".
    return format.getFormatName().upToFirstOccurrenceOf (" ", false, false);
}

juce::String AudioFileFormats::describeBitDepths (juce::AudioFormat& format)
{
    juce::StringArray depths;
    for (const int bits : format.getPossibleBitDepths())
        depths.add (juce::String (bits));
    if (depths.size() < 2)
        return depths.joinIntoString ("");
    const auto last = depths[depths.size() - 1];
    depths.remove (depths.size() - 1);
    return depths.joinIntoString (", ") + " or " + last;
}

Status AudioFileFormats::writeFile (const juce::File& file, juce::AudioFormat& format, const juce::AudioBuffer<float>& buffer,
                                    double sampleRate, int bitsPerSample) const
{
    const auto name = file.getFullPathName();
    OutputFile output (file, name);
    Status status;
    auto stream = output.openStream (status);
    if (stream == nullptr)
        return status;

    auto writer = createWriter (format, std::move (stream), sampleRate, buffer.getNumChannels(), bitsPerSample);
    if (writer == nullptr)
        return Status::failure (name + ": cannot create a " + shortName (format) + " writer");
    const bool written = writer->writeFromAudioSampleBuffer (buffer, 0, buffer.getNumSamples());
    writer.reset(); // completes the header and closes the file
    if (! written)
        return Status::failure (name + ": write failed");
    return output.commit();
}

Status AudioFileFormats::readFile (const juce::File& file, juce::AudioBuffer<float>& buffer, double& sampleRate)
{
    Status status;
    auto reader = openReader (file, status);
    if (reader == nullptr)
        return Status::failure (file.getFullPathName() + ": " + status.message);
    if (reader->lengthInSamples > std::numeric_limits<int>::max())
        return Status::failure (file.getFullPathName() + ": too long to read into memory");

    const int length = static_cast<int> (reader->lengthInSamples);
    buffer.setSize (static_cast<int> (reader->numChannels), length);
    sampleRate = reader->sampleRate;
    if (! reader->read (&buffer, 0, length, 0, true, true))
        return Status::failure (file.getFullPathName() + ": read failed");
    return Status::success();
}

} // namespace brevalon::app
