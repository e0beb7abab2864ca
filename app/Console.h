#pragma once

#include <juce_core/juce_core.h>

namespace brevalon::app
{

// The renderer's messages to the user: results on stdout, warnings, errors and progress on
// stderr. Quiet mode keeps only the errors. Progress is drawn only when stderr is a terminal.
class Console
{
public:
    explicit Console (bool quiet);

    void info (const juce::String& line) const;    // stdout
    void warning (const juce::String& line) const; // stderr, prefixed with the program name
    void error (const juce::String& line) const;   // stderr, prefixed with the program name, never silenced

    // Progress of a long job as one updating line, the percentage done and the speed (seconds
    // of audio per second); finishProgress() ends the line.
    bool showsProgress() const noexcept { return progressEnabled; }
    void progress (const juce::String& label, double fraction, double speed);
    void finishProgress();

private:
    bool quiet;
    bool progressEnabled;
    int lastPercent = -1;
};

} // namespace brevalon::app
