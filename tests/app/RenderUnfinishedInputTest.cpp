// Audio files that end before the length their header claims, as an unfinished recording or a
// copy cut short does: brevalon-render renders the frames present, adds no silence after them,
// and warns with both lengths.

#include "RenderTestSupport.h"
#include "app/AudioFileFormats.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace brevalon::test;

namespace
{

// Renders `input` into `output`; returns the messages.
juce::String render (const juce::File& input, const juce::File& output)
{
    const auto run = runRenderer ({ input.getFullPathName(), output.getFullPathName() });
    EXPECT_EQ (run.exitCode, 0) << run.output;
    return run.output;
}

void cutFile (const juce::File& file, juce::int64 length)
{
    juce::FileOutputStream stream (file);
    stream.setPosition (length);
    ASSERT_TRUE (stream.truncate().wasOk());
}

// Writes `frames` frames of `noise` as a complete file.
juce::File writeComplete (const TemporaryFolder& folder, const juce::String& name, const juce::AudioBuffer<float>& noise, int frames,
                          const juce::String& format, int bits)
{
    const auto file = folder.file (name + "." + format);
    juce::AudioBuffer<float> start (noise.getNumChannels(), frames);
    for (int channel = 0; channel < noise.getNumChannels(); ++channel)
        start.copyFrom (channel, 0, noise, channel, 0, frames);
    writeAudioFile (file, start, 96000.0, format, bits);
    return file;
}

} // namespace

TEST (RenderUnfinishedInput, RendersOnlyTheFramesPresent)
{
    constexpr int claimed = 3000;
    const struct
    {
        const char* format;
        int channels, bits;
        int present;    // whole frames left in the file
        int extraBytes; // and this much of the next frame
    } cases[] = {
        { "wav", 2, 16, 1560, 0 },  { "wav", 1, 24, 700, 2 },   { "wav", 2, 32, 1, 7 },
        { "aiff", 2, 24, 2999, 5 }, { "aiff", 1, 16, 1200, 0 }, { "wav", 2, 24, claimed, 0 }, // complete
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << c.format << ", " << c.channels << " channel(s), " << c.bits << " bits, " << c.present
                                         << " frames and " << c.extraBytes << " bytes present");
        TemporaryFolder folder;
        const auto noise = makeNoise (c.channels, claimed, 21);
        const auto cut = writeComplete (folder, "cut", noise, claimed, c.format, c.bits);
        const auto whole = writeComplete (folder, "whole", noise, c.present, c.format, c.bits);

        // The readers' files end with the audio data, so cutting the file cuts the data.
        const int bytesPerFrame = c.channels * c.bits / 8;
        const auto headerBytes = cut.getSize() - juce::int64{ claimed } * bytesPerFrame;
        ASSERT_EQ (headerBytes, whole.getSize() - juce::int64{ c.present } * bytesPerFrame) << "the data is not at the end";
        cutFile (cut, headerBytes + juce::int64{ c.present } * bytesPerFrame + c.extraBytes);

        const auto fromCut = folder.file ("from-cut." + juce::String (c.format));
        const auto fromWhole = folder.file ("from-whole." + juce::String (c.format));
        const auto messages = render (cut, fromCut);
        render (whole, fromWhole);

        if (c.present < claimed)
        {
            EXPECT_TRUE (messages.contains ("cut." + juce::String (c.format) + ": the file ends early: its header claims " +
                                            juce::String (claimed) + " frames"))
                << messages;
            EXPECT_TRUE (messages.contains ("it holds " + juce::String (c.present) + " frames")) << messages;
        }
        else
        {
            EXPECT_FALSE (messages.contains ("ends early")) << messages;
        }
        const auto rendered = readAudioFile (fromCut).samples;
        EXPECT_EQ (rendered.getNumSamples(), c.present);
        EXPECT_TRUE (identical (rendered, readAudioFile (fromWhole).samples));
    }
}

// A FLAC file holds its audio in compressed frames: a cut one is rendered up to the end of its
// last whole frame, the same as a file that holds just those samples.
TEST (RenderUnfinishedInput, FlacEndsWithItsLastWholeFrame)
{
    constexpr int claimed = 40000;
    TemporaryFolder folder;
    const auto noise = makeNoise (2, claimed, 22);
    const auto cut = writeComplete (folder, "cut", noise, claimed, "flac", 24);
    cutFile (cut, cut.getSize() * 6 / 10);

    const auto fromCut = folder.file ("from-cut.flac");
    const auto messages = render (cut, fromCut);
    const int present = readAudioFile (fromCut).samples.getNumSamples();
    EXPECT_GT (present, claimed / 4); // noise hardly compresses: most of 60 % of the frames are there
    EXPECT_LT (present, claimed);
    EXPECT_TRUE (messages.contains ("its header claims " + juce::String (claimed) + " frames (0.417 s) but it holds " +
                                    juce::String (present) + " frames"))
        << messages;

    const auto fromWhole = folder.file ("from-whole.flac");
    render (writeComplete (folder, "whole", noise, present, "flac", 24), fromWhole);
    EXPECT_TRUE (identical (readAudioFile (fromCut).samples, readAudioFile (fromWhole).samples));
}

// The AIFF headers the fuzzer found: one channel of 0 bits a sample, so each frame has no bytes
// and measuring the frames present divided by zero; and one of 0xAE00 bits (read as a negative
// short, 4294946304 bits), on which JUCE's reader never advances and the render hung. Such files
// are input problems.
TEST (RenderUnfinishedInput, FramesOfNoBytesAreRejected)
{
    TemporaryFolder folder;
    for (const int bits : { 0, 4, 0xae00 })
    {
        SCOPED_TRACE (bits);
        juce::MemoryOutputStream aiff;
        aiff.write ("FORM", 4);
        aiff.writeIntBigEndian (4 + 8 + 18 + 8 + 8 + 32);
        aiff.write ("AIFFCOMM", 8);
        aiff.writeIntBigEndian (18);
        aiff.writeShortBigEndian (1); // channels
        aiff.writeIntBigEndian (64);  // frames
        aiff.writeShortBigEndian (static_cast<short> (static_cast<unsigned short> (bits)));
        const unsigned char rate44100[10] = { 0x40, 0x0e, 0xac, 0x44 };
        aiff.write (rate44100, sizeof (rate44100));
        aiff.write ("SSND", 4);
        aiff.writeIntBigEndian (8 + 32);
        aiff.writeIntBigEndian (0);
        aiff.writeIntBigEndian (0);
        aiff.writeRepeatedByte (0x35, 32);
        const auto file = folder.file ("zero-bits.aiff");
        ASSERT_TRUE (file.replaceWithData (aiff.getData(), aiff.getDataSize()));

        brevalon::app::AudioFileFormats formats;
        brevalon::app::Status status;
        EXPECT_EQ (formats.openReader (file, status), nullptr);
        EXPECT_FALSE (status.ok());
        EXPECT_TRUE (status.message.contains ("unsupported format")) << status.message;
    }
}

// A WAV recording that never finished: its recorder wrote placeholder sizes (0 or 0xFFFFFFFF)
// into the header and never replaced them. The audio is read up to the end of the file, the same
// as from the finished file, with a warning; never rendered as 0 seconds.
TEST (RenderUnfinishedInput, WavWithPlaceholderSizesIsReadToTheEnd)
{
    constexpr juce::uint32 complete = 1; // stands for the size the finished file has
    const struct
    {
        juce::uint32 riffSize, dataSize;
        int channels, bits;
        const char* warning;
    } cases[] = {
        { 0, 0, 2, 24, "the header gives no length (a recording that never finished); read to the end of the file: 3000 frames" },
        { 0xffffffffu, 0, 1, 16, "the header gives no length (a recording that never finished); read to the end of the file: 3000 frames" },
        { complete, 0, 2, 16, "the header gives no length (a recording that never finished); read to the end of the file: 3000 frames" },
        { 0, complete, 2, 24, "the header gives no length (a recording that never finished); read to the end of the file: 3000 frames" },
        { 0, 0xffffffffu, 2, 32, "the header gives no length (a recording that never finished); read to the end of the file: 3000 frames" },
        { 0xffffffffu, 0xffffffffu, 2, 24, "the file ends early: its header claims" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "RIFF size " << c.riffSize << ", data size " << c.dataSize << ", " << c.channels
                                         << " channel(s) of " << c.bits << " bits");
        TemporaryFolder folder;
        const auto noise = makeNoise (c.channels, 3000, 23);
        const auto whole = writeComplete (folder, "whole", noise, 3000, "wav", c.bits);
        const auto unfinished = folder.file ("unfinished.wav");
        ASSERT_TRUE (whole.copyFileTo (unfinished));

        juce::MemoryBlock bytes;
        ASSERT_TRUE (unfinished.loadFileAsData (bytes));
        const auto* begin = static_cast<const char*> (bytes.getData());
        const char dataId[] = "data";
        const int dataAt = static_cast<int> (std::search (begin, begin + bytes.getSize(), dataId, dataId + 4) - begin);
        ASSERT_GT (dataAt, 0);
        juce::FileOutputStream patch (unfinished);
        patch.setPosition (4);
        if (c.riffSize != complete)
            patch.writeInt (static_cast<int> (c.riffSize));
        patch.setPosition (dataAt + 4);
        if (c.dataSize != complete)
            patch.writeInt (static_cast<int> (c.dataSize));
        patch.flush();

        const auto fromUnfinished = folder.file ("from-unfinished.wav");
        const auto fromWhole = folder.file ("from-whole.wav");
        const auto messages = render (unfinished, fromUnfinished);
        render (whole, fromWhole);
        EXPECT_TRUE (messages.contains ("unfinished.wav: " + juce::String (c.warning))) << messages;
        const auto rendered = readAudioFile (fromUnfinished).samples;
        EXPECT_EQ (rendered.getNumSamples(), 3000);
        EXPECT_TRUE (identical (rendered, readAudioFile (fromWhole).samples));
    }
}

// A finished WAV file whose data chunk is empty and followed by another chunk is not taken for an
// unfinished recording: it has no audio, which is an error, and the chunk after it is not read as
// audio.
TEST (RenderUnfinishedInput, EmptyDataChunkOfAFinishedFileIsNoAudio)
{
    TemporaryFolder folder;
    const auto file = folder.file ("empty.wav");
    juce::MemoryOutputStream chunks;
    chunks.write ("fmt ", 4);
    chunks.writeInt (16);
    chunks.writeShort (1); // PCM, 2 channels, 96 kHz, 16 bits
    chunks.writeShort (2);
    chunks.writeInt (96000);
    chunks.writeInt (96000 * 4);
    chunks.writeShort (4);
    chunks.writeShort (16);
    chunks.write ("data", 4);
    chunks.writeInt (0);
    chunks.write ("LIST", 4);
    chunks.writeInt (64);
    chunks.writeRepeatedByte ('x', 64);

    juce::MemoryOutputStream wav;
    wav.write ("RIFF", 4);
    wav.writeInt (static_cast<int> (4 + chunks.getDataSize()));
    wav.write ("WAVE", 4);
    wav << chunks.getMemoryBlock();
    ASSERT_TRUE (file.replaceWithData (wav.getData(), wav.getDataSize()));

    const auto run = runRenderer ({ file.getFullPathName(), folder.file ("out.wav").getFullPathName() });
    EXPECT_EQ (run.exitCode, 1) << run.output;
    EXPECT_TRUE (run.output.contains ("empty.wav: has no audio frames")) << run.output;
    EXPECT_FALSE (folder.file ("out.wav").exists());
}
