#pragma once

#include <juce_core/juce_core.h>

namespace brevalon::app
{

// Exit codes of brevalon-render, as documented in its --help.
enum ExitCode : int
{
    exitSuccess = 0,
    exitFailure = 1, // processing or file error
    exitUsage = 2    // the command line asks for something impossible
};

// Outcome of a command: an exit code and, for failures, the one-line message to show.
struct Status
{
    int exitCode = exitSuccess;
    juce::String message;

    bool ok() const noexcept { return exitCode == exitSuccess; }

    static Status success() { return {}; }
    static Status failure (const juce::String& text) { return { exitFailure, text }; }
    static Status usage (const juce::String& text) { return { exitUsage, text }; }
};

} // namespace brevalon::app
