#pragma once

#include "app/Status.h"

#include <memory>

namespace brevalon::app
{

// An output written to a hidden temporary file beside its target and moved into place by
// commit(), so an error or an interrupted write never leaves a partial file under the target's
// name. An uncommitted temporary is deleted with this object.
class OutputFile
{
public:
    // `displayName` names the target in messages (the path as the user gave it).
    OutputFile (const juce::File& target, const juce::String& displayName);

    // Opens the temporary file for writing; null with `status` set when that fails.
    std::unique_ptr<juce::FileOutputStream> openStream (Status& status) const;

    // Replaces the target with the finished temporary file. Close the stream first.
    Status commit() const;

private:
    juce::TemporaryFile temporary;
    juce::String displayName;
};

} // namespace brevalon::app
