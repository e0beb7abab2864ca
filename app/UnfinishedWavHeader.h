#pragma once

#include <juce_core/juce_core.h>

#include <memory>

namespace brevalon::app
{

// A WAV recording that never finished has the placeholders its recorder wrote before the audio
// in its header: a RIFF size and a data chunk size of 0 (or 0xFFFFFFFF), to be filled in when
// recording stops. JUCE's reader then finds no chunks (RIFF size 0) or no audio (data size 0).
// This opens such a file as a stream whose header gives the sizes the file holds, so the audio is
// read up to the end of the file.
class UnfinishedWavHeader
{
public:
    // When `file` (an opened, seekable stream) is a WAV file with a placeholder in its header:
    // takes it over and returns it with the placeholder sizes replaced. Otherwise returns null and
    // leaves `file` as it was, rewound, to be read as it stands. A data chunk of size 0 followed by
    // another chunk is a finished, empty one and not replaced.
    static std::unique_ptr<juce::InputStream> completeIfUnfinished (std::unique_ptr<juce::InputStream>& file);
};

} // namespace brevalon::app
