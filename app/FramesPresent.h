#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

namespace brevalon::app
{

// How many of the `claimedFrames` a file's header announces the file really holds: fewer when a
// recording was stopped before its header was completed or a copy was cut short. WAV and AIFF
// are measured by where their data ends, FLAC by the last frame that decodes; other formats are
// taken at their header's word.
juce::int64 countFramesPresent (juce::AudioFormat& format, const juce::File& file, juce::int64 claimedFrames);

} // namespace brevalon::app
