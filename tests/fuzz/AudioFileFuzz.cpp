#include "FuzzSupport.h"
#include "app/AudioFileFormats.h"

#include <algorithm>
#include <cmath>

using namespace brevalon;

// The renderer's input files: any bytes under a WAV, AIFF or FLAC name (the first byte picks
// which) are opened as the renderer opens them, which measures the frames really present, and
// read in blocks as the renderer reads them. Reading stops after a bounded number of frames:
// a few bytes of FLAC may legitimately announce hours of audio.
extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    static app::AudioFileFormats formats;
    static const char* const extensions[] = { ".wav", ".aiff", ".flac" };
    if (size == 0)
        return 0;

    const auto file = fuzz::scratchFolder().getChildFile (juce::String ("input") + extensions[data[0] % 3]);
    file.replaceWithData (data + 1, size - 1);

    app::Status status;
    juce::String shortfall;
    const auto reader = formats.openReader (file, status, &shortfall);
    if (reader == nullptr)
        return 0;

    // The renderer refuses more than two channels before reading any audio, as it must: JUCE's
    // AIFF reader never advances through frames larger than its 5760-byte buffer.
    if (reader->numChannels > 2)
        return 0;

    constexpr int blockFrames = 4096;
    constexpr juce::int64 maxFrames = 1 << 18;
    juce::AudioBuffer<float> block (static_cast<int> (reader->numChannels), blockFrames);
    const auto frames = std::min (reader->lengthInSamples, maxFrames);
    for (juce::int64 start = 0; start < frames; start += blockFrames)
    {
        const int count = static_cast<int> (std::min<juce::int64> (blockFrames, frames - start));
        reader->read (&block, 0, count, start, true, true);
    }
    return 0;
}
