#pragma once

#include "app/CommandLine.h"

namespace brevalon::app
{

// Starts the command's filter settings from the preset (--preset) or state code (--state) it
// names, then applies the filter options given on the command line over them. Factory presets
// and the user's global presets are matched by name without regard to case.
Status applyPresetOrState (Command& command);

// The presets --preset accepts, one per line: "factory" or "user", then the name.
juce::String presetList();

} // namespace brevalon::app
