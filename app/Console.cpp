#include "app/Console.h"

#include <cstdio>

#if JUCE_WINDOWS
#    include <io.h>
#else
#    include <unistd.h>
#endif

namespace brevalon::app
{

namespace
{

constexpr const char* programName = "brevalon-render";

bool stderrIsTerminal()
{
#if JUCE_WINDOWS
    return _isatty (_fileno (stderr)) != 0;
#else
    return isatty (STDERR_FILENO) != 0;
#endif
}

void printLine (std::FILE* stream, const juce::String& line)
{
    std::fputs (line.toRawUTF8(), stream);
    std::fputc ('\n', stream);
    std::fflush (stream);
}

} // namespace

Console::Console (bool quietMode)
    : quiet (quietMode),
      progressEnabled (! quietMode && stderrIsTerminal())
{
}

void Console::info (const juce::String& line) const
{
    if (! quiet)
        printLine (stdout, line);
}

void Console::warning (const juce::String& line) const
{
    if (! quiet)
        printLine (stderr, juce::String (programName) + ": " + line);
}

void Console::error (const juce::String& line) const
{
    printLine (stderr, juce::String (programName) + ": " + line);
}

void Console::progress (const juce::String& label, double fraction, double speed)
{
    if (! progressEnabled)
        return;
    const int percent = juce::jlimit (0, 100, static_cast<int> (fraction * 100.0));
    if (percent == lastPercent)
        return;
    lastPercent = percent;
    // Trailing spaces wipe what a longer earlier line left.
    std::fprintf (stderr, "\r%s %3d %%, %.0fx real time   ", label.toRawUTF8(), percent, speed);
    std::fflush (stderr);
}

void Console::finishProgress()
{
    if (lastPercent >= 0)
        std::fputc ('\n', stderr);
    lastPercent = -1;
}

} // namespace brevalon::app
