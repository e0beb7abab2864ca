// The VST 2.4 interface for JUCE's plug-in wrapper, from the free FST headers (Debian's fst-dev).
#pragma once
#include <pluginterfaces/fst/aeffect.h>
