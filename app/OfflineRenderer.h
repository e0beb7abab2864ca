#pragma once

#include "app/FilterSettings.h"
#include "processor/QuillfenTemplateAudioProcessor.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>
#include <functional>
#include <memory>

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
//
// The stream moves in chunks of whole blocks through three stages at once: a reading thread
// fills a chunk from the source, the calling thread processes it, a writing thread hands it to
// the sink. A few chunks are in flight, so the memory used does not grow with the stream; the
// block boundaries, and therefore the output, are those of a render in one thread.
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
    static constexpr int preferredChunkFrames = 16384;
    static constexpr int maxBlockSize = 65536;
    static constexpr int chunksInFlight = 4;

    // numChannels: 1 or 2. Allocates everything the render loop needs and starts the reading
    // and writing threads, which wait for render().
    OfflineRenderer (const FilterSettings& settings, double sampleRate, int numChannels, int blockSize, bool compensateLatency);
    ~OfflineRenderer();

    int getLatencySamples() const noexcept { return processor.getLatencySamples(); }
    bool isFilterActive() const noexcept { return processor.isFilterActive(); }

    // Streams the whole source through the processor into the sink; the source is read and
    // the sink written on the renderer's own threads, one chunk at a time and in order.
    // `progress`, if set, is called on the calling thread after every chunk processed with the
    // fraction done. Call once per renderer: the processor keeps its history.
    Outcome render (FrameSource& source, FrameSink& sink, const std::function<void (double)>& progress = {});

private:
    class Stages;

    void processChunk (juce::AudioBuffer<float>& chunk, int numSamples) noexcept;

    QuillfenTemplateAudioProcessor processor{ SharedFolder(), QuillfenTemplateAudioProcessor::Settings::inMemory };
    std::array<juce::AudioBuffer<float>, chunksInFlight> chunks;
    juce::AudioBuffer<float> block; // refers to a slice of a chunk
    juce::MidiBuffer midi;
    int numChannels;
    int blockSize;
    bool compensateLatency;
    std::unique_ptr<Stages> stages;
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
