#pragma once

#include "app/FilterSettings.h"
#include "app/Status.h"

#include <optional>
#include <string>
#include <vector>

namespace brevalon::app
{

// What one invocation of brevalon-render asks for.
struct Command
{
    enum class Mode
    {
        render,      // INPUT OUTPUT
        demo,        // --demo OUTDIR
        printTaps,   // --print-taps --rate HZ
        exportIr,    // --export-ir FILE --rate HZ
        listPresets, // --list-presets
        help,
        version
    };

    // Which filter options the command line gives; they override a preset or state code.
    struct GivenFilterOptions
    {
        bool frequency = false, slope = false, mix = false, bypass = false;
    };

    Mode mode = Mode::render;
    FilterSettings filter;
    GivenFilterOptions givenFilterOptions;
    juce::String presetName;  // --preset: a factory or user preset to start from
    juce::String stateSource; // --state: a state code, or @FILE holding one
    int blockSize = 512;
    bool compensateLatency = true;
    bool quiet = false;

    juce::String input, output; // render
    juce::String format;        // render: "wav", "aiff" or "flac"; empty keeps the input's
    std::optional<int> bits;    // render: bit depth; unset keeps the input's
    juce::String demoFolder;    // demo
    juce::String irFile;        // exportIr
    double rate = 0.0;          // printTaps, exportIr
};

struct ParsedCommand
{
    Command command;
    Status status; // a usage error when the arguments are invalid
};

// Parses the arguments after the program name. Options may come before, between or after the
// positional arguments, as "--name value" or "--name=value"; "--" ends the options.
ParsedCommand parseCommandLine (const std::vector<std::string>& arguments);

// The text of --help.
juce::String helpText();

} // namespace brevalon::app
