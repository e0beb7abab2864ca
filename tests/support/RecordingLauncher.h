#pragma once

#include "state/Launcher.h"

#include <juce_core/juce_core.h>

namespace brevalon::test
{

// Records what would be opened, in order, and opens nothing.
class RecordingLauncher final : public Launcher
{
public:
    void openUrl (const juce::URL& url) override { urls.add (url.toString (true)); }
    void openFile (const juce::File& file) override { files.add (file.getFullPathName()); }

    juce::StringArray urls;
    juce::StringArray files;
};

} // namespace brevalon::test
