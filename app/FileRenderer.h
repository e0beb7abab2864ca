#pragma once

#include "app/AudioFileFormats.h"
#include "app/Console.h"
#include "app/FilterSettings.h"
#include "app/Status.h"

#include <optional>

namespace brevalon::app
{

struct FileRenderRequest
{
    juce::String input, output; // paths as given; relative to the working folder
    FilterSettings filter;
    int blockSize = 512;
    bool compensateLatency = true;
    juce::String format;     // "wav", "aiff", "flac"; empty keeps the input's
    std::optional<int> bits; // unset keeps the input's
};

// Renders one audio file into another: checks the files and the requested output, streams the
// audio through the OfflineRenderer and moves the finished output into place.
class FileRenderer
{
public:
    explicit FileRenderer (Console& console);

    Status render (const FileRenderRequest& request);

    // The latency the processor reported in the last render, in samples (0 while inactive).
    int getLastLatency() const noexcept { return lastLatency; }

    // Inputs longer than this show progress (when stderr is a terminal).
    static constexpr double progressThresholdSeconds = 5.0;

private:
    Console& console;
    AudioFileFormats formats;
    int lastLatency = 0;
};

// True when both paths name the same file: the same resolved path (symbolic links and ".."
// followed), or the same file reached through a hard link.
bool isSameFile (const juce::File& a, const juce::File& b);

} // namespace brevalon::app
