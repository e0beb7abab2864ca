#include "app/FileRenderer.h"

#include "app/OfflineRenderer.h"
#include "app/OutputFile.h"

#include <filesystem>

namespace brevalon::app
{

namespace
{

class ReaderSource : public FrameSource
{
public:
    explicit ReaderSource (juce::AudioFormatReader& readerToUse)
        : reader (readerToUse)
    {
    }
    juce::int64 getLength() const override { return reader.lengthInSamples; }
    bool read (juce::AudioBuffer<float>& destination, juce::int64 position, int numSamples) override
    {
        return reader.read (&destination, 0, numSamples, position, true, true);
    }

private:
    juce::AudioFormatReader& reader;
};

class WriterSink : public FrameSink
{
public:
    explicit WriterSink (juce::AudioFormatWriter& writerToUse)
        : writer (writerToUse)
    {
    }
    bool write (const juce::AudioBuffer<float>& source, int startSample, int numSamples) override
    {
        return writer.writeFromAudioSampleBuffer (source, startSample, numSamples);
    }

private:
    juce::AudioFormatWriter& writer;
};

juce::File resolve (const juce::String& path)
{
    return juce::File::getCurrentWorkingDirectory().getChildFile (path);
}

juce::String describeChannels (int numChannels)
{
    return numChannels == 1 ? "mono" : "stereo";
}

juce::String describeBits (int bits, juce::AudioFormat& format)
{
    // JUCE writes 32-bit WAV as IEEE float.
    const bool floatingPoint = bits == 32 && AudioFileFormats::shortName (format) == "WAV";
    return juce::String (bits) + "-bit" + (floatingPoint ? " float" : "");
}

} // namespace

bool isSameFile (const juce::File& a, const juce::File& b)
{
    namespace fs = std::filesystem;
    const fs::path pathA (a.getFullPathName().toStdString());
    const fs::path pathB (b.getFullPathName().toStdString());
    std::error_code error;
    if (fs::exists (pathA, error) && fs::exists (pathB, error) && fs::equivalent (pathA, pathB, error))
        return true;
    const auto canonicalA = fs::weakly_canonical (pathA, error);
    const auto canonicalB = fs::weakly_canonical (pathB, error);
    return ! error && canonicalA == canonicalB;
}

FileRenderer::FileRenderer (Console& consoleToUse)
    : console (consoleToUse)
{
}

Status FileRenderer::render (const FileRenderRequest& request)
{
    const juce::File inputFile = resolve (request.input);
    const juce::File outputFile = resolve (request.output);
    const juce::String& inputName = request.input;
    const juce::String& outputName = request.output;

    // Input checks.
    if (inputFile.isDirectory())
        return Status::failure (inputName + ": is a folder, not an audio file");
    if (! inputFile.existsAsFile())
        return Status::failure (inputName + ": no such file");
    if (isSameFile (inputFile, outputFile))
        return Status::usage (outputName + ": OUTPUT is the same file as INPUT; choose another name");
    if (outputFile.isDirectory())
        return Status::failure (outputName + ": is a folder");

    Status status;
    juce::String shortfall;
    auto reader = formats.openReader (inputFile, status, &shortfall);
    if (reader == nullptr)
        return Status::failure (inputName + ": " + status.message);

    const int numChannels = static_cast<int> (reader->numChannels);
    const double sampleRate = reader->sampleRate;
    if (numChannels > 2)
        return Status::failure (inputName + ": has " + juce::String (numChannels) + " channels; only mono and stereo are supported");

    // Output format and bit depth.
    juce::AudioFormat* format = request.format.isNotEmpty() ? formats.findByName (request.format) : formats.findForReader (*reader);
    jassert (format != nullptr);
    const auto formatName = AudioFileFormats::shortName (*format);
    if (status = formats.checkExtensionMatches (outputFile, outputName, *format, "rename OUTPUT or use --format"); ! status.ok())
        return status;

    const int bits = request.bits.value_or (static_cast<int> (reader->bitsPerSample));
    // Without --bits the depth is the input's, and the message says where it came from.
    if (! format->getPossibleBitDepths().contains (bits))
        return Status::usage (outputName + ": " + formatName + " cannot store " +
                              (request.bits ? juce::String (bits) + "-bit samples"
                                            : "the " + juce::String (bits) + "-bit samples of " + inputName) +
                              " (it stores " + AudioFileFormats::describeBitDepths (*format) + " bits)" +
                              (request.bits ? juce::String() : juce::String ("; choose one with --bits")));

    if (shortfall.isNotEmpty())
        console.warning (inputName + ": " + shortfall);

    // Processor.
    OfflineRenderer renderer (request.filter, sampleRate, numChannels, request.blockSize, request.compensateLatency);
    if (! renderer.isFilterActive())
        console.warning (inputName + ": System bandwidth close to audible bandwidth (" + juce::String (sampleRate, 0) +
                         " Hz): the filter works from 88200 to 384000 Hz; the audio is written unchanged");

    // Output file, written beside its target and moved into place when complete.
    OutputFile output (outputFile, outputName);
    auto stream = output.openStream (status);
    if (stream == nullptr)
        return status;
    auto writer = formats.createWriter (*format, std::move (stream), sampleRate, numChannels, bits);
    if (writer == nullptr)
        return Status::failure (outputName + ": cannot write " + formatName + " at " + juce::String (sampleRate, 0) + " Hz, " +
                                describeChannels (numChannels) + ", " + juce::String (bits) + " bits");

    const double seconds = static_cast<double> (reader->lengthInSamples) / sampleRate;
    const bool showProgress = console.showsProgress() && seconds > progressThresholdSeconds;
    const auto label = "Rendering " + inputName;

    ReaderSource source (*reader);
    WriterSink sink (*writer);
    const double startMs = juce::Time::getMillisecondCounterHiRes();
    const auto outcome = renderer.render (source, sink,
                                          [&] (double fraction)
                                          {
                                              if (! showProgress)
                                                  return;
                                              const double elapsed = (juce::Time::getMillisecondCounterHiRes() - startMs) / 1000.0;
                                              console.progress (label, fraction, elapsed > 0.0 ? fraction * seconds / elapsed : 0.0);
                                          });
    if (showProgress)
        console.finishProgress();
    writer.reset(); // completes the header and closes the temporary file

    if (outcome == OfflineRenderer::Outcome::readFailed)
        return Status::failure (inputName + ": read error");
    if (outcome == OfflineRenderer::Outcome::writeFailed)
        return Status::failure (outputName + ": write error (disk full?)");
    if (auto committed = output.commit(); ! committed.ok())
        return committed;

    const int latency = renderer.getLatencySamples();
    lastLatency = latency;
    console.info (inputName + " -> " + outputName + ": " + formatName + ", " + describeBits (bits, *format) + ", " +
                  describeChannels (numChannels) + ", " + juce::String (sampleRate, 0) + " Hz, " + juce::String (seconds, 3) +
                  " s; latency " + juce::String (latency) + " samples" +
                  (latency == 0 ? juce::String() : (request.compensateLatency ? juce::String (", compensated") : juce::String (", kept"))));
    return Status::success();
}

} // namespace brevalon::app
