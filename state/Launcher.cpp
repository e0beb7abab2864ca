#include "state/Launcher.h"

namespace brevalon
{

void SystemLauncher::openUrl (const juce::URL& url)
{
    url.launchInDefaultBrowser();
}

void SystemLauncher::openFile (const juce::File& file)
{
    file.startAsProcess();
}

} // namespace brevalon
