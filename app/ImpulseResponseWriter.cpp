#include "app/ImpulseResponseWriter.h"

#include "app/OutputFile.h"

#include <cmath>

namespace brevalon::app
{

bool writeFloat64Wav (juce::OutputStream& stream, const double* samples, int numSamples, double sampleRate)
{
    constexpr int bytesPerSample = 8;
    constexpr int fmtChunkSize = 18; // non-PCM formats carry cbSize
    constexpr int factChunkSize = 4;
    const int dataSize = numSamples * bytesPerSample;
    const int riffSize = 4 + (8 + fmtChunkSize) + (8 + factChunkSize) + (8 + dataSize);
    const auto rate = static_cast<int> (std::lround (sampleRate));

    bool ok = stream.write ("RIFF", 4) && stream.writeInt (riffSize) && stream.write ("WAVE", 4);

    ok = ok && stream.write ("fmt ", 4) && stream.writeInt (fmtChunkSize);
    ok = ok && stream.writeShort (3);                   // WAVE_FORMAT_IEEE_FLOAT
    ok = ok && stream.writeShort (1);                   // channels
    ok = ok && stream.writeInt (rate);                  // frames per second
    ok = ok && stream.writeInt (rate * bytesPerSample); // bytes per second
    ok = ok && stream.writeShort (bytesPerSample);      // block align
    ok = ok && stream.writeShort (bytesPerSample * 8);  // bits per sample
    ok = ok && stream.writeShort (0);                   // cbSize: no extension

    ok = ok && stream.write ("fact", 4) && stream.writeInt (factChunkSize) && stream.writeInt (numSamples);

    ok = ok && stream.write ("data", 4) && stream.writeInt (dataSize);
    for (int i = 0; ok && i < numSamples; ++i)
        ok = stream.writeDouble (samples[i]); // little-endian IEEE 754
    return ok;
}

Status writeFloat64WavFile (const juce::File& file, const juce::String& displayName, const double* samples, int numSamples,
                            double sampleRate)
{
    OutputFile output (file, displayName);
    Status status;
    auto stream = output.openStream (status);
    if (stream == nullptr)
        return status;

    bool written = writeFloat64Wav (*stream, samples, numSamples, sampleRate);
    stream->flush();
    written = written && stream->getStatus().wasOk();
    stream.reset();
    if (! written)
        return Status::failure (displayName + ": write error");
    return output.commit();
}

} // namespace brevalon::app
