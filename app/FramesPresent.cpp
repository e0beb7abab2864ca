#include "app/FramesPresent.h"

#include <FLAC/stream_decoder.h>

#include <algorithm>
#include <memory>
#include <optional>

namespace brevalon::app
{

namespace
{

// The memory-mapped reader of an uncompressed format maps only the part of the claimed data that
// lies inside the file.
std::optional<juce::int64> countMappedFrames (juce::AudioFormat& format, const juce::File& file)
{
    std::unique_ptr<juce::MemoryMappedAudioFormatReader> mapped (format.createMemoryMappedReader (file));
    if (mapped == nullptr || ! mapped->mapEntireFile())
        return std::nullopt;
    return mapped->getMappedSection().getEnd();
}

// A FLAC decoder that only seeks. A seek decodes the frame holding the target sample, so it
// succeeds exactly for the samples of the frames the file holds in full.
class FlacSeeker
{
public:
    explicit FlacSeeker (const juce::File& file)
    {
        if (decoder != nullptr && FLAC__stream_decoder_init_file (decoder.get(), file.getFullPathName().toRawUTF8(), noteFrame, nullptr,
                                                                  ignoreError, this) == FLAC__STREAM_DECODER_INIT_STATUS_OK)
            ready = FLAC__stream_decoder_process_until_end_of_metadata (decoder.get());
    }

    bool isReady() const noexcept { return ready; }

    // Seeks to `sample`; on success, returns where the frame holding it ends.
    std::optional<juce::int64> endOfFrameHolding (juce::int64 sample)
    {
        if (FLAC__stream_decoder_seek_absolute (decoder.get(), static_cast<FLAC__uint64> (sample)))
            return frameEnd;
        FLAC__stream_decoder_flush (decoder.get()); // leaves the seek-error state
        return std::nullopt;
    }

private:
    static FLAC__StreamDecoderWriteStatus noteFrame (const FLAC__StreamDecoder*, const FLAC__Frame* frame, const FLAC__int32* const[],
                                                     void* self)
    {
        static_cast<FlacSeeker*> (self)->frameEnd =
            static_cast<juce::int64> (frame->header.number.sample_number) + static_cast<juce::int64> (frame->header.blocksize);
        return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
    }

    static void ignoreError (const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void*) {}

    std::unique_ptr<FLAC__StreamDecoder, void (*) (FLAC__StreamDecoder*)> decoder{ FLAC__stream_decoder_new(),
                                                                                   &FLAC__stream_decoder_delete };
    bool ready = false;
    juce::int64 frameEnd = 0;
};

// A complete file costs one seek, to the last sample; a cut one a bisection for the last sample
// that still decodes.
std::optional<juce::int64> countFlacFrames (const juce::File& file, juce::int64 claimedFrames)
{
    FlacSeeker seeker (file);
    if (! seeker.isReady())
        return std::nullopt;
    if (seeker.endOfFrameHolding (claimedFrames - 1))
        return claimedFrames;
    if (! seeker.endOfFrameHolding (0))
        return 0;

    juce::int64 decodes = 0, fails = claimedFrames - 1;
    while (fails - decodes > 1)
    {
        const auto middle = decodes + (fails - decodes) / 2;
        (seeker.endOfFrameHolding (middle) ? decodes : fails) = middle;
    }
    return seeker.endOfFrameHolding (decodes);
}

} // namespace

juce::int64 countFramesPresent (juce::AudioFormat& format, const juce::File& file, juce::int64 claimedFrames)
{
    if (claimedFrames <= 0)
        return 0;
    const auto counted = dynamic_cast<juce::FlacAudioFormat*> (&format) != nullptr ? countFlacFrames (file, claimedFrames)
                                                                                   : countMappedFrames (format, file);
    return std::clamp<juce::int64> (counted.value_or (claimedFrames), 0, claimedFrames);
}

} // namespace brevalon::app
