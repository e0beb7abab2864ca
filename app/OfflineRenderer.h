#pragma once

#include "app/FilterSettings.h"
#include "processor/QuillfenTemplateAudioProcessor.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <functional>

namespace brevalon::app
{

// Where the render loop takes its input frames from. `read` fills channels 0..n-1 of
// `destination`, samples 0..numSamples-1, with the frames starting at `position`; the loop asks
// only for frames inside 0..getLength().
class FrameSource
{
public:
    virtual ~FrameSource() = default;
    virtual juce::int64 getLength() const = 0;
    virtual bool read (juce::AudioBuffer<float>& destination, juce::int64 position, int numSamples) = 0;
};

// Where the render loop puts the rendered frames, in order.
class FrameSink
{
public:
    virtual ~FrameSink() = default;
    virtual bool write (const juce::AudioBuffer<float>& source, int startSample, int numSamples) = 0;
};

// Runs the product processor over a whole stream the way a host does: channel layout, rate and
// block size set up front, parameters set before prepareToPlay, then processBlock under the
// callback lock for consecutive blocks of the given size.
//
// With latency compensation the input is followed by `latency` zeros and the first `latency`
// output frames are dropped, so the output lines up with the input and has its length. Without
// it the output is what the host would record: the input's length, delayed by the latency.
class OfflineRenderer
{
public:
    enum class Outcome
    {
        completed,
        readFailed,
        writeFailed
    };

    // Frames are read and written in chunks of whole blocks of about this many frames, which
    // keeps file I/O efficient at any block size without changing the block boundaries.
    static constexpr int preferredChunkFrames = 65536;
    static constexpr int maxBlockSize = 65536;

    // numChannels: 1 or 2. Allocates everything the render loop needs.
    OfflineRenderer (const FilterSettings& settings, double sampleRate, int numChannels, int blockSize, bool compensateLatency);

    int getLatencySamples() const noexcept { return processor.getLatencySamples(); }
    bool isFilterActive() const noexcept { return processor.isFilterActive(); }

    // Streams the whole source through the processor into the sink. `progress`, if set, is
    // called after every chunk with the fraction done. Call once per renderer: the processor
    // keeps its history.
    Outcome render (FrameSource& source, FrameSink& sink, const std::function<void (double)>& progress = {});

private:
    void processChunk (int numSamples) noexcept;

    QuillfenTemplateAudioProcessor processor{ SharedFolder(), QuillfenTemplateAudioProcessor::Settings::inMemory };
    juce::AudioBuffer<float> chunk;
    juce::AudioBuffer<float> block; // refers to a slice of chunk
    juce::MidiBuffer midi;
    int numChannels;
    int blockSize;
    bool compensateLatency;
};

// A FrameSource over an AudioBuffer in memory.
class BufferSource : public FrameSource
{
public:
    explicit BufferSource (const juce::AudioBuffer<float>& bufferToRead)
        : buffer (bufferToRead)
    {
    }
    juce::int64 getLength() const override { return buffer.getNumSamples(); }
    bool read (juce::AudioBuffer<float>& destination, juce::int64 position, int numSamples) override;

private:
    const juce::AudioBuffer<float>& buffer;
};

// A FrameSink that fills an AudioBuffer in memory, sized beforehand.
class BufferSink : public FrameSink
{
public:
    explicit BufferSink (juce::AudioBuffer<float>& bufferToFill)
        : buffer (bufferToFill)
    {
    }
    bool write (const juce::AudioBuffer<float>& source, int startSample, int numSamples) override;

private:
    juce::AudioBuffer<float>& buffer;
    int position = 0;
};

// Renders a mono or stereo buffer with the given settings and block size; the result has the
// input's length and channel count.
juce::AudioBuffer<float> renderBuffer (const juce::AudioBuffer<float>& input, double sampleRate, const FilterSettings& settings,
                                       int blockSize, bool compensateLatency = true);

} // namespace brevalon::app
