#include "app/OfflineRenderer.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace brevalon::app
{

// The three stages and their hand-over. Chunk c of the stream uses buffer c % chunksInFlight
// and passes the stages in order; each stage waits until the one before has finished the chunk
// (reading waits until writing has freed the buffer). One lock guards the counts of chunks each
// stage has finished, so a hand-over never allocates.
class OfflineRenderer::Stages
{
public:
    explicit Stages (OfflineRenderer& rendererToRun)
        : renderer (rendererToRun),
          reader ([this] { serve (reading); }),
          writer ([this] { serve (writing); })
    {
    }

    ~Stages()
    {
        {
            const std::lock_guard<std::mutex> lock (mutex);
            quitting = true;
        }
        changed.notify_all();
        reader.join();
        writer.join();
    }

    Outcome run (FrameSource& source, FrameSink& sink, const std::function<void (double)>& progress)
    {
        {
            const std::lock_guard<std::mutex> lock (mutex);
            job = Job (source, sink, renderer);
            finished = {};
            stopped = false;
            outcome = Outcome::completed;
            workersDone = 0;
            ++jobNumber;
        }
        changed.notify_all();

        for (juce::int64 c = 0; c < job.chunkCount && waitForTurn (processing, c); ++c)
        {
            renderer.processChunk (bufferFor (c), job.framesIn (c));
            finish (processing);
            if (progress)
                progress (static_cast<double> (job.end (c)) / static_cast<double> (job.streamLength));
        }

        std::unique_lock<std::mutex> lock (mutex);
        changed.wait (lock, [this] { return workersDone == 2; });
        return outcome;
    }

private:
    enum Stage
    {
        reading,
        processing,
        writing
    };

    // The stream of one render: the input, then `latency` zeros; the first `latency` frames of
    // the output are dropped.
    struct Job
    {
        Job() = default;
        Job (FrameSource& sourceToRead, FrameSink& sinkToFill, const OfflineRenderer& renderer)
            : source (&sourceToRead),
              sink (&sinkToFill),
              inputLength (sourceToRead.getLength()),
              latency (renderer.compensateLatency ? renderer.getLatencySamples() : 0),
              streamLength (inputLength + latency),
              chunkFrames (renderer.chunks[0].getNumSamples()),
              chunkCount ((streamLength + chunkFrames - 1) / chunkFrames)
        {
        }

        juce::int64 start (juce::int64 c) const { return c * chunkFrames; }
        juce::int64 end (juce::int64 c) const { return std::min (streamLength, start (c) + chunkFrames); }
        int framesIn (juce::int64 c) const { return static_cast<int> (end (c) - start (c)); }

        FrameSource* source = nullptr;
        FrameSink* sink = nullptr;
        juce::int64 inputLength = 0, latency = 0, streamLength = 0, chunkFrames = 1, chunkCount = 0;
    };

    juce::AudioBuffer<float>& bufferFor (juce::int64 c) { return renderer.chunks[static_cast<size_t> (c % chunksInFlight)]; }

    // Blocks until chunk c may enter `stage`; false once the render has stopped on a failure.
    bool waitForTurn (Stage stage, juce::int64 c)
    {
        std::unique_lock<std::mutex> lock (mutex);
        changed.wait (lock,
                      [&]
                      {
                          if (stage == reading)
                              return stopped || c < finished[writing] + chunksInFlight;
                          return stopped || c < finished[static_cast<size_t> (stage) - 1];
                      });
        return ! stopped;
    }

    void finish (Stage stage)
    {
        {
            const std::lock_guard<std::mutex> lock (mutex);
            ++finished[static_cast<size_t> (stage)];
        }
        changed.notify_all();
    }

    void fail (Outcome failure)
    {
        {
            const std::lock_guard<std::mutex> lock (mutex);
            if (! stopped)
                outcome = failure;
            stopped = true;
        }
        changed.notify_all();
    }

    // A worker thread: runs its stage over every render's chunks until the renderer goes.
    void serve (Stage stage)
    {
        for (int served = 0;;)
        {
            {
                std::unique_lock<std::mutex> lock (mutex);
                changed.wait (lock, [&] { return quitting || jobNumber != served; });
                if (quitting)
                    return;
                served = jobNumber;
            }
            for (juce::int64 c = 0; c < job.chunkCount && waitForTurn (stage, c); ++c)
            {
                if (! (stage == reading ? readChunk (c) : writeChunk (c)))
                    break;
                finish (stage);
            }
            {
                const std::lock_guard<std::mutex> lock (mutex);
                ++workersDone;
            }
            changed.notify_all();
        }
    }

    bool readChunk (juce::int64 c)
    {
        auto& buffer = bufferFor (c);
        const int numSamples = job.framesIn (c);
        const int fromInput = static_cast<int> (std::clamp<juce::int64> (job.inputLength - job.start (c), 0, numSamples));
        if (fromInput > 0 && ! job.source->read (buffer, job.start (c), fromInput))
        {
            fail (Outcome::readFailed);
            return false;
        }
        for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
            juce::FloatVectorOperations::clear (buffer.getWritePointer (channel, fromInput), numSamples - fromInput);
        return true;
    }

    bool writeChunk (juce::int64 c)
    {
        // Frames before `latency` in the output stream are the filter's delay, not signal.
        const int numSamples = job.framesIn (c);
        const int skipped = static_cast<int> (std::clamp<juce::int64> (job.latency - job.start (c), 0, numSamples));
        if (numSamples > skipped && ! job.sink->write (bufferFor (c), skipped, numSamples - skipped))
        {
            fail (Outcome::writeFailed);
            return false;
        }
        return true;
    }

    OfflineRenderer& renderer;
    std::mutex mutex;
    std::condition_variable changed;
    Job job;
    std::array<juce::int64, 3> finished{};
    bool stopped = false;
    bool quitting = false;
    Outcome outcome = Outcome::completed;
    int jobNumber = 0;
    int workersDone = 0;
    std::thread reader, writer; // last, so they start once everything above is set up
};

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
    for (auto& chunk : chunks)
        chunk.setSize (numChannels, chunkFrames);
    stages = std::make_unique<Stages> (*this);
}

OfflineRenderer::~OfflineRenderer() = default;

void OfflineRenderer::processChunk (juce::AudioBuffer<float>& chunk, int numSamples) noexcept
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
    return stages->run (source, sink, progress);
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
