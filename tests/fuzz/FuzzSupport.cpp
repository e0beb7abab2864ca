#include "FuzzSupport.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace brevalon::fuzz
{

namespace
{
juce::File& folder()
{
    static juce::File instance;
    return instance;
}

void removeScratchFolder()
{
    folder().deleteRecursively();
}
} // namespace

const juce::File& scratchFolder()
{
    return folder();
}

juce::MemoryBlock toBlock (const uint8_t* data, size_t size)
{
    return juce::MemoryBlock (data, size);
}

juce::String toText (const uint8_t* data, size_t size)
{
    return juce::String::fromUTF8 (reinterpret_cast<const char*> (data), static_cast<int> (size));
}

QuillfenTemplateAudioProcessor& processor()
{
    static QuillfenTemplateAudioProcessor instance (SharedFolder (folder().getChildFile ("Quillfen")),
                                                    QuillfenTemplateAudioProcessor::Settings::inMemory);
    return instance;
}

void requireNormalisedParameters (QuillfenTemplateAudioProcessor& processor)
{
    for (int i = 0; i < processor.getNumHostParameters(); ++i)
    {
        const float value = processor.getHostParameter (i);
        require (std::isfinite (value) && value >= 0.0f && value <= 1.0f, "a parameter outside 0..1");
    }
}

void require (bool condition, const char* what)
{
    if (! condition)
    {
        std::fprintf (stderr, "Broken by this input: %s\n", what);
        std::abort();
    }
}

} // namespace brevalon::fuzz

// Runs once before the first input: a fresh application-data directory for this process (as the
// test programs' main does), removed when the fuzzer exits.
extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    using namespace brevalon::fuzz;
    folder() = juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("brevalon-fuzz-config-" + juce::Uuid().toString());
    folder().createDirectory();
    setenv ("XDG_CONFIG_HOME", folder().getFullPathName().toRawUTF8(), 1);
    std::atexit (removeScratchFolder);
    return 0;
}
