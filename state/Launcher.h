#pragma once

#include <juce_core/juce_core.h>

namespace brevalon
{

// Hands links and files to the system's default handlers (browser, mail program, document
// viewer), so that what would be opened can be tested without opening anything.
class Launcher
{
public:
    virtual ~Launcher() = default;
    virtual void openUrl (const juce::URL& url) = 0;
    virtual void openFile (const juce::File& file) = 0;
};

// The system's handlers (xdg-open on Linux, the shell on Windows). Failures are silent.
class SystemLauncher final : public Launcher
{
public:
    void openUrl (const juce::URL& url) override;
    void openFile (const juce::File& file) override;
};

} // namespace brevalon
