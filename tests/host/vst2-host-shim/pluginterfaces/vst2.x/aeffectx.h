// The VST 2.4 interface for JUCE's plug-in hosting; see aeffect.h.
#pragma once
#include "aeffect.h"
#include <pluginterfaces/fst/aeffectx.h>
