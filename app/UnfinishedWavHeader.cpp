#include "app/UnfinishedWavHeader.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace brevalon::app
{

namespace
{

constexpr juce::uint32 placeholderZero = 0;
constexpr juce::uint32 placeholderAllOnes = 0xffffffffu;
constexpr int maximumChunksBeforeData = 64;

bool isPlaceholder (juce::uint32 size)
{
    return size == placeholderZero || size == placeholderAllOnes;
}

juce::uint32 clampedSize (juce::int64 bytes)
{
    return static_cast<juce::uint32> (std::clamp<juce::int64> (bytes, 0, placeholderAllOnes - 1));
}

// Four bytes that could name a RIFF chunk: printable ASCII.
bool looksLikeChunkId (const char* id)
{
    return std::all_of (id, id + 4, [] (char c) { return c >= 0x20 && c < 0x7f; });
}

// The file, with its first bytes (the header, up to the audio) served from memory.
class CompletedHeaderInputStream final : public juce::InputStream
{
public:
    CompletedHeaderInputStream (std::unique_ptr<juce::InputStream> source_, juce::MemoryBlock header_)
        : source (std::move (source_)),
          header (std::move (header_))
    {
    }

    juce::int64 getTotalLength() override { return source->getTotalLength(); }
    bool isExhausted() override { return position >= getTotalLength(); }
    juce::int64 getPosition() override { return position; }

    bool setPosition (juce::int64 newPosition) override
    {
        position = std::clamp<juce::int64> (newPosition, 0, getTotalLength());
        return true;
    }

    int read (void* destination, int maximumBytes) override
    {
        auto* bytes = static_cast<char*> (destination);
        int done = 0;
        const auto headerSize = static_cast<juce::int64> (header.getSize());
        if (position < headerSize && maximumBytes > 0)
        {
            const int fromHeader = static_cast<int> (std::min<juce::int64> (headerSize - position, maximumBytes));
            std::copy_n (static_cast<const char*> (header.getData()) + position, fromHeader, bytes);
            position += fromHeader;
            done = fromHeader;
        }
        if (done < maximumBytes && position >= headerSize)
        {
            if (source->getPosition() != position && ! source->setPosition (position))
                return done;
            const int fromFile = source->read (bytes + done, maximumBytes - done);
            if (fromFile > 0)
            {
                position += fromFile;
                done += fromFile;
            }
        }
        return done;
    }

private:
    std::unique_ptr<juce::InputStream> source;
    juce::MemoryBlock header;
    juce::int64 position = 0;
};

// The header up to the audio with the placeholder sizes replaced by those the file holds, or
// nothing when the stream is not a WAV file with a placeholder in its header.
std::optional<juce::MemoryBlock> completedHeader (juce::InputStream& stream)
{
    const auto fileSize = stream.getTotalLength();

    char id[4];
    if (stream.read (id, 4) != 4 || std::string_view (id, 4) != "RIFF")
        return std::nullopt;
    const auto riffSize = static_cast<juce::uint32> (stream.readInt());
    if (stream.read (id, 4) != 4 || std::string_view (id, 4) != "WAVE")
        return std::nullopt;

    // The chunks before the audio, to the data chunk's header.
    juce::int64 dataSizeAt = -1;
    juce::uint32 dataSize = 0;
    for (int chunk = 0; chunk < maximumChunksBeforeData && dataSizeAt < 0; ++chunk)
    {
        if (stream.read (id, 4) != 4)
            return std::nullopt;
        const auto sizeAt = stream.getPosition();
        const auto size = static_cast<juce::uint32> (stream.readInt());
        if (stream.getPosition() != sizeAt + 4)
            return std::nullopt;
        if (std::string_view (id, 4) == "data")
        {
            dataSizeAt = sizeAt;
            dataSize = size;
        }
        else if (! stream.setPosition (sizeAt + 4 + size + (size & 1)) || stream.getPosition() >= fileSize)
        {
            return std::nullopt;
        }
    }
    if (dataSizeAt < 0)
        return std::nullopt;

    const auto dataStart = dataSizeAt + 4;
    const auto audioBytes = fileSize - dataStart;
    bool completeData = dataSize == placeholderZero && audioBytes > 0;
    if (completeData && audioBytes >= 8)
    {
        // An empty data chunk followed by another chunk belongs to a finished file.
        char next[4];
        stream.setPosition (dataStart);
        const bool readId = stream.read (next, 4) == 4;
        const auto nextSize = static_cast<juce::uint32> (stream.readInt());
        if (readId && looksLikeChunkId (next) && nextSize <= audioBytes - 8)
            completeData = false;
    }
    const bool completeRiff = riffSize == placeholderZero || (completeData && isPlaceholder (riffSize));
    // With the RIFF size unknown, a data size that is a placeholder or runs past the end of the
    // file is made the file's remainder as well.
    if (completeRiff && (isPlaceholder (dataSize) || dataSize > audioBytes) && audioBytes > 0)
        completeData = true;
    if (! completeData && ! completeRiff)
        return std::nullopt;

    juce::MemoryBlock header (static_cast<size_t> (dataStart));
    stream.setPosition (0);
    if (stream.read (header.getData(), static_cast<int> (dataStart)) != static_cast<int> (dataStart))
        return std::nullopt;
    const auto writeSize = [&header] (juce::int64 at, juce::uint32 size)
    {
        for (int byte = 0; byte < 4; ++byte)
            header[static_cast<int> (at) + byte] = static_cast<char> ((size >> (8 * byte)) & 0xff);
    };
    if (completeRiff)
        writeSize (4, clampedSize (fileSize - 8));
    if (completeData)
        writeSize (dataSizeAt, clampedSize (audioBytes));

    return header;
}

} // namespace

std::unique_ptr<juce::InputStream> UnfinishedWavHeader::completeIfUnfinished (std::unique_ptr<juce::InputStream>& file)
{
    auto header = completedHeader (*file);
    file->setPosition (0);
    if (! header)
        return nullptr;
    return std::make_unique<CompletedHeaderInputStream> (std::move (file), std::move (*header));
}

} // namespace brevalon::app
