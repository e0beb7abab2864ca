#pragma once

#include "processor/QuillfenTemplateAudioProcessor.h"

#include <juce_core/juce_core.h>

#include <cstddef>
#include <cstdint>

namespace brevalon::fuzz
{

// The private folder of this fuzzing run: XDG_CONFIG_HOME points at it (set in
// LLVMFuzzerInitialize), so the user's own shared folder is never read or written.
const juce::File& scratchFolder();

// The fuzzer's bytes as a block and as text (invalid UTF-8 included, as a file or a host may
// deliver it).
juce::MemoryBlock toBlock (const uint8_t* data, size_t size);
juce::String toText (const uint8_t* data, size_t size);

// One product processor for the whole run, its shared folder in the scratch folder and its
// user-wide settings in memory.
QuillfenTemplateAudioProcessor& processor();

// Ends the run when a host parameter is not a finite value in 0..1.
void requireNormalisedParameters (QuillfenTemplateAudioProcessor& processor);

// Ends the run with a report when a property the input must never break is broken.
void require (bool condition, const char* what);

} // namespace brevalon::fuzz
