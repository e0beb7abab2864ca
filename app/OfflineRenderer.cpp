#include "app/OfflineRenderer.h"

#include <algorithm>

namespace brevalon::app
{

OfflineRenderer::OfflineRenderer (const FilterSettings& settings, double sampleRate, int channels, int samplesPerBlock, bool compensate)
    : numChannels (channels),
      blockSize (samplesPerBlock),
      compensateLatency (compensate)
{
    jassert (numChannels == 1 || numChannels == 2);
    jassert (blockSize >= 1 && blockSize <= maxBlockSize);

    processor.setPlayConfigDetails (numChannels, numChannels, sampleRate, blockSize);
    settings.applyTo (processor);
    processor.prepareToPlay (sampleRate, blockSize);

    const int chunkFrames = std::max (1, preferredChunkFrames / blockSize) * blockSize;
    chunk.setSize (numChannels, chunkFrames);
}

void OfflineRenderer::processChunk (int numSamples) noexcept
{
    for (int offset = 0; offset < numSamples; offset += blockSize)
    {
        block.setDataToReferTo (chunk.getArrayOfWritePointers(), numChannels, offset, std::min (blockSize, numSamples - offset));
        const juce::ScopedLock lock (processor.getCallbackLock());
        processor.processBlock (block, midi);
    }
}

OfflineRenderer::Outcome OfflineRenderer::render (FrameSource& source, FrameSink& sink, const std::function<void (double)>& progress)
{
    const juce::int64 inputLength = source.getLength();
    const juce::int64 latency = compensateLatency ? getLatencySamples() : 0;
    const juce::int64 streamLength = inputLength + latency; // the input, then zeros that flush the delay
    const int chunkFrames = chunk.getNumSamples();

    for (juce::int64 position = 0; position < streamLength;)
    {
        const int numSamples = static_cast<int> (std::min<juce::int64> (chunkFrames, streamLength - position));
        const int fromInput = static_cast<int> (std::clamp<juce::int64> (inputLength - position, 0, numSamples));

        if (fromInput > 0 && ! source.read (chunk, position, fromInput))
            return Outcome::readFailed;
        for (int channel = 0; channel < numChannels; ++channel)
            juce::FloatVectorOperations::clear (chunk.getWritePointer (channel, fromInput), numSamples - fromInput);

        processChunk (numSamples);

        // Frames before `latency` in the output stream are the filter's delay, not signal.
        const int skipped = static_cast<int> (std::clamp<juce::int64> (latency - position, 0, numSamples));
        if (numSamples > skipped && ! sink.write (chunk, skipped, numSamples - skipped))
            return Outcome::writeFailed;

        position += numSamples;
        if (progress)
            progress (static_cast<double> (position) / static_cast<double> (streamLength));
    }
    return Outcome::completed;
}

bool BufferSource::read (juce::AudioBuffer<float>& destination, juce::int64 position, int numSamples)
{
    for (int channel = 0; channel < destination.getNumChannels(); ++channel)
        destination.copyFrom (channel, 0, buffer, std::min (channel, buffer.getNumChannels() - 1), static_cast<int> (position), numSamples);
    return true;
}

bool BufferSink::write (const juce::AudioBuffer<float>& source, int startSample, int numSamples)
{
    if (position + numSamples > buffer.getNumSamples())
        return false;
    for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
        buffer.copyFrom (channel, position, source, channel, startSample, numSamples);
    position += numSamples;
    return true;
}

juce::AudioBuffer<float> renderBuffer (const juce::AudioBuffer<float>& input, double sampleRate, const FilterSettings& settings,
                                       int blockSize, bool compensateLatency)
{
    juce::AudioBuffer<float> output (input.getNumChannels(), input.getNumSamples());
    OfflineRenderer renderer (settings, sampleRate, input.getNumChannels(), blockSize, compensateLatency);
    BufferSource source (input);
    BufferSink sink (output);
    renderer.render (source, sink);
    return output;
}

} // namespace brevalon::app
