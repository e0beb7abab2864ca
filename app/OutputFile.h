#pragma once

#include "app/Status.h"

#include <memory>

namespace brevalon::app
{

// An output written to a hidden temporary file beside its target (".brevalon-XXXXXX.tmp", short
// enough for a target name of the longest length a folder allows) and moved into place by
// commit(), so an error or an interrupted write never leaves a partial file under the target's
// name. An uncommitted temporary is deleted with this object, and on SIGINT, SIGTERM or SIGHUP
// once removeUnfinishedOutputsOnSignals() has been called.
class OutputFile
{
public:
    // `displayName` names the target in messages (the path as the user gave it).
    OutputFile (const juce::File& target, const juce::String& displayName);
    ~OutputFile();

    OutputFile (const OutputFile&) = delete;
    OutputFile& operator= (const OutputFile&) = delete;

    // Creates the temporary file and opens it for writing; null with `status` set when that fails.
    // Call once.
    std::unique_ptr<juce::FileOutputStream> openStream (Status& status);

    // Replaces the target with the finished temporary file. Close the stream first.
    Status commit();

    // The temporary file from openStream() until commit(); a default File otherwise.
    const juce::File& getTemporaryFile() const noexcept { return temporary; }

    // Installs handlers for SIGINT, SIGTERM and SIGHUP that delete every uncommitted temporary
    // file, then let the signal end the process (exit status 128 + its number in a shell). A
    // signal the process started out ignoring (as under nohup) stays ignored.
    static void removeUnfinishedOutputsOnSignals();

private:
    juce::File target, temporary;
    juce::String displayName;
    int pendingSlot = -1; // where the signal handler finds the temporary's path
};

} // namespace brevalon::app
