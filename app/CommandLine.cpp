#include "app/CommandLine.h"

#include "app/OfflineRenderer.h"
#include "processor/dsp/FirLowpassEngine.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <map>

namespace brevalon::app
{

namespace
{

using Mode = Command::Mode;

// Bit masks of the modes an option applies to.
constexpr unsigned inRender = 1u << 0;
constexpr unsigned inDemo = 1u << 1;
constexpr unsigned inPrintTaps = 1u << 2;
constexpr unsigned inExportIr = 1u << 3;
constexpr unsigned inEveryMode = inRender | inDemo | inPrintTaps | inExportIr;

unsigned modeBit (Mode mode)
{
    switch (mode)
    {
    case Mode::demo:
        return inDemo;
    case Mode::printTaps:
        return inPrintTaps;
    case Mode::exportIr:
        return inExportIr;
    default:
        return inRender;
    }
}

struct OptionSpec
{
    const char* name;
    bool takesValue;
    unsigned modes; // where it applies; 0 for the options that choose the mode
};

const OptionSpec optionSpecs[] = {
    { "frequency", true, inEveryMode },
    { "slope", true, inEveryMode },
    { "mix", true, inRender | inDemo },
    { "bypass", false, inRender | inDemo },
    { "block", true, inRender | inDemo },
    { "no-latency-compensation", false, inRender | inDemo },
    { "format", true, inRender },
    { "bits", true, inRender },
    { "rate", true, inPrintTaps | inExportIr },
    { "quiet", false, inEveryMode },
    { "preset", true, inEveryMode },
    { "state", true, inEveryMode },
    { "list-presets", false, 0 },
    { "demo", true, 0 },
    { "print-taps", false, 0 },
    { "export-ir", true, 0 },
    { "help", false, 0 },
    { "version", false, 0 },
};

const OptionSpec* findOption (const std::string& name)
{
    for (const auto& spec : optionSpecs)
        if (name == spec.name)
            return &spec;
    return nullptr;
}

juce::String describeMode (Mode mode)
{
    switch (mode)
    {
    case Mode::demo:
        return "--demo";
    case Mode::printTaps:
        return "--print-taps";
    case Mode::exportIr:
        return "--export-ir";
    default:
        return "rendering a file";
    }
}

// Option values by name, as given (the last of repeated options wins).
using OptionValues = std::map<std::string, std::string>;

Status usageError (const juce::String& text)
{
    return Status::usage (text + " (see --help)");
}

Status tokenise (const std::vector<std::string>& arguments, OptionValues& options, std::vector<std::string>& positionals)
{
    bool optionsEnded = false;
    for (size_t i = 0; i < arguments.size(); ++i)
    {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-')
        {
            positionals.push_back (argument);
            continue;
        }
        if (argument == "--")
        {
            optionsEnded = true;
            continue;
        }
        if (argument == "-h")
        {
            options["help"] = {};
            continue;
        }
        if (argument.compare (0, 2, "--") != 0)
            return usageError ("unknown option " + juce::String (argument).quoted());

        const auto equals = argument.find ('=');
        const std::string name = argument.substr (2, equals == std::string::npos ? std::string::npos : equals - 2);
        const OptionSpec* spec = findOption (name);
        if (spec == nullptr)
            return usageError ("unknown option " + juce::String (argument.substr (0, equals)).quoted());

        if (! spec->takesValue)
        {
            if (equals != std::string::npos)
                return usageError ("option --" + juce::String (name) + " takes no value");
            options[name] = {};
        }
        else if (equals != std::string::npos)
        {
            options[name] = argument.substr (equals + 1);
        }
        else
        {
            if (i + 1 >= arguments.size() || arguments[i + 1].compare (0, 2, "--") == 0)
                return usageError ("option --" + juce::String (name) + " needs a value");
            options[name] = arguments[++i];
        }
    }
    return Status::success();
}

// Reads a decimal number, all of the text, finite.
std::optional<double> parseNumber (const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod (text.c_str(), &end);
    if (end != text.c_str() + text.size() || errno == ERANGE || ! std::isfinite (value))
        return std::nullopt;
    return value;
}

std::optional<int> parseInteger (const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol (text.c_str(), &end, 10);
    if (end != text.c_str() + text.size() || errno == ERANGE || value < std::numeric_limits<int>::min() ||
        value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int> (value);
}

juce::String describeValue (const std::string& name, const std::string& value)
{
    return "--" + juce::String (name) + " " + juce::String (value).quoted();
}

// Converts option `name`, if given, into `target` when it lies in min..max.
template <typename Value> Status readValue (const OptionValues& options, const std::string& name, Value min, Value max, Value& target)
{
    const auto found = options.find (name);
    if (found == options.end())
        return Status::success();

    std::optional<Value> value;
    if constexpr (std::is_integral_v<Value>)
        value = parseInteger (found->second);
    else
        value = parseNumber (found->second);

    if (! value)
        return usageError (describeValue (name, found->second) + ": not a" + (std::is_integral_v<Value> ? "n integer" : " number"));
    if (! (*value >= min && *value <= max))
        return usageError (describeValue (name, found->second) + ": out of range " + juce::String (min) + ".." + juce::String (max));
    target = *value;
    return Status::success();
}

Status readFormatOptions (const OptionValues& options, Command& command)
{
    if (const auto format = options.find ("format"); format != options.end())
    {
        const juce::String name = juce::String (format->second).toLowerCase();
        if (name != "wav" && name != "aiff" && name != "flac")
            return usageError (describeValue ("format", format->second) + ": must be wav, aiff or flac");
        command.format = name;
    }
    if (const auto bits = options.find ("bits"); bits != options.end())
    {
        const auto value = parseInteger (bits->second);
        if (! value)
            return usageError (describeValue ("bits", bits->second) + ": not an integer");
        if (*value != 8 && *value != 16 && *value != 24 && *value != 32)
            return usageError (describeValue ("bits", bits->second) + ": must be 8, 16, 24 or 32");
        command.bits = *value;
    }
    return Status::success();
}

Status chooseMode (const OptionValues& options, Command& command)
{
    // The options that choose a mode, with the command field that takes their value, if any.
    const struct
    {
        const char* option;
        Mode mode;
        juce::String Command::*value;
    } modeOptions[] = {
        { "demo", Mode::demo, &Command::demoFolder },
        { "print-taps", Mode::printTaps, nullptr },
        { "export-ir", Mode::exportIr, &Command::irFile },
        { "list-presets", Mode::listPresets, nullptr },
    };

    int selected = 0;
    for (const auto& entry : modeOptions)
    {
        const auto found = options.find (entry.option);
        if (found == options.end())
            continue;
        command.mode = entry.mode;
        if (entry.value != nullptr)
            command.*entry.value = found->second;
        ++selected;
    }
    if (selected > 1)
        return usageError ("--demo, --print-taps, --export-ir and --list-presets cannot be combined");
    return Status::success();
}

Status checkOptionsApply (const OptionValues& options, Mode mode)
{
    for (const auto& [name, value] : options)
    {
        const OptionSpec* spec = findOption (name);
        if (spec->modes != 0 && (spec->modes & modeBit (mode)) == 0)
        {
            if (name == "rate")
                return usageError ("--rate is used only with --print-taps and --export-ir");
            return usageError ("--" + juce::String (name) + " does not apply to " + describeMode (mode));
        }
    }
    return Status::success();
}

Status checkPositionals (const std::vector<std::string>& positionals, Command& command)
{
    if (command.mode == Mode::render)
    {
        if (positionals.size() < 2)
            return usageError (positionals.empty() ? "missing INPUT and OUTPUT" : "missing OUTPUT");
        if (positionals.size() > 2)
            return usageError ("unexpected argument " + juce::String (positionals[2]).quoted());
        command.input = positionals[0];
        command.output = positionals[1];
        return Status::success();
    }
    if (! positionals.empty())
        return usageError ("unexpected argument " + juce::String (positionals[0]).quoted() + " with " + describeMode (command.mode));
    return Status::success();
}

} // namespace

ParsedCommand parseCommandLine (const std::vector<std::string>& arguments)
{
    ParsedCommand parsed;
    Command& command = parsed.command;
    OptionValues options;
    std::vector<std::string> positionals;

    const auto fail = [&parsed] (Status status)
    {
        parsed.status = std::move (status);
        return parsed;
    };

    if (auto status = tokenise (arguments, options, positionals); ! status.ok())
        return fail (status);

    command.quiet = options.count ("quiet") != 0;
    if (options.count ("help") != 0)
    {
        command.mode = Mode::help;
        return parsed;
    }
    if (options.count ("version") != 0)
    {
        command.mode = Mode::version;
        return parsed;
    }

    if (auto status = chooseMode (options, command); ! status.ok())
        return fail (status);
    if (auto status = checkOptionsApply (options, command.mode); ! status.ok())
        return fail (status);
    if (auto status = checkPositionals (positionals, command); ! status.ok())
        return fail (status);

    auto& filter = command.filter;
    const Status conversions[] = {
        readValue (options, "frequency", FilterSettings::minFrequencyHz, FilterSettings::maxFrequencyHz, filter.frequencyHz),
        readValue (options, "slope", 0.0, 100.0, filter.slopePercent),
        readValue (options, "mix", 0.0, 100.0, filter.mixPercent),
        readValue (options, "block", 1, OfflineRenderer::maxBlockSize, command.blockSize),
        readValue (options, "rate", FirLowpassEngine::minSampleRate, FirLowpassEngine::maxSampleRate, command.rate),
        readFormatOptions (options, command),
    };
    for (const auto& status : conversions)
        if (! status.ok())
            return fail (status);

    filter.bypass = options.count ("bypass") != 0;
    command.givenFilterOptions = { options.count ("frequency") != 0, options.count ("slope") != 0, options.count ("mix") != 0,
                                   options.count ("bypass") != 0 };

    if (const auto preset = options.find ("preset"); preset != options.end())
        command.presetName = juce::String (preset->second);
    if (const auto state = options.find ("state"); state != options.end())
        command.stateSource = juce::String (state->second);
    if (options.count ("preset") != 0 && options.count ("state") != 0)
        return fail (usageError ("--preset and --state cannot be combined"));
    if (options.count ("preset") != 0 && command.presetName.isEmpty())
        return fail (usageError ("--preset needs a name"));
    if (options.count ("state") != 0 && command.stateSource.isEmpty())
        return fail (usageError ("--state needs a state code or @FILE"));
    command.compensateLatency = options.count ("no-latency-compensation") == 0;

    if ((command.mode == Mode::printTaps || command.mode == Mode::exportIr) && options.count ("rate") == 0)
        return fail (usageError (describeMode (command.mode) + " needs --rate"));
    if (command.mode == Mode::demo && command.demoFolder.isEmpty())
        return fail (usageError ("--demo needs a folder"));
    if (command.mode == Mode::exportIr && command.irFile.isEmpty())
        return fail (usageError ("--export-ir needs a file name"));

    return parsed;
}

juce::String helpText()
{
    return R"(Usage:
  brevalon-render [options] INPUT OUTPUT
  brevalon-render --demo OUTDIR [filter options]
  brevalon-render --print-taps --rate HZ [--frequency HZ] [--slope PERCENT]
  brevalon-render --export-ir FILE.wav --rate HZ [--frequency HZ] [--slope PERCENT]
  brevalon-render --list-presets

Runs Brevalon's linear-phase low-pass over an audio file in blocks, exactly as a plug-in host
does, so the output is bit-identical to the plug-in's for the same settings and block size.

INPUT is a WAV, AIFF or FLAC file, mono or stereo, at any sample rate. OUTPUT gets the same
format, channel count, sample rate and bit depth unless --format or --bits say otherwise; an
OUTPUT extension that names one of these formats must match the format written. OUTPUT is
written to a hidden temporary file beside it (.brevalon-XXXXXX.tmp) and moved into place only
when complete; SIGINT, SIGTERM and SIGHUP delete the temporary file.
The filter works from 88200 to 384000 Hz; at other rates the audio is written unchanged, as the
plug-in passes it through ("System bandwidth close to audible bandwidth").

Filter options:
  --frequency HZ     corner frequency (the -0.1 dB point), 20000..25000 (default 21000)
  --slope PERCENT    0 (shallow) .. 100 (steep) (default 75)
  --mix PERCENT      dry/wet amount, 0 (dry) .. 100 (fully filtered) (default 100)
  --bypass           switch the filter's bypass on: the input passes, delayed by the latency
  --preset NAME      start from a preset: a factory preset ("Default", "Light", "Intermediate",
                     "Steep and reduced", "Hard") or one of your global user presets, matched
                     without regard to case; see --list-presets
  --state CODE       start from a state code as the plug-in copies or shares it, for example
                     '<Brevalon freqParam="22000.0" slopeParam="50.0" mixParam="100.0"
                     bypassParam="Off"/>'; any text around the code is ignored
  --state @FILE      the same, with the code read from FILE (a saved e-mail, a forum post, ...),
                     at most 1 MiB; FILE may be a stream: @/dev/stdin reads standard input
                     Filter options given besides --preset or --state override their values.

Rendering options:
  --block N          block size in samples, 1..65536 (default 512)
  --no-latency-compensation
                     keep the filter's delay of N>>1 samples (the latency the plug-in reports):
                     the output has the input's length and lags it, as recorded in a host.
                     By default the delay is removed and the tail flushed with zeros, so the
                     output lines up with the input sample for sample, at the same length.
  --format FORMAT    output format: wav, aiff or flac (default: the input's)
  --bits N           output bit depth: 8, 16, 24 or 32 (default: the input's). WAV stores 8, 16,
                     24 or 32 (32 is floating point), AIFF 8, 16 or 24, FLAC 16 or 24.
  --quiet            print nothing but errors

Other modes:
  --demo OUTDIR      synthesise a 10-second 96 kHz stereo test signal (tones below 20 kHz,
                     ultrasonic tones and noise above 25 kHz), render it, write demo-in.wav and
                     demo-out.wav into OUTDIR (created if missing) and print the latency and
                     the energy above 24 kHz and below 18 kHz before and after
  --print-taps       print the filter for --rate: nominal length N, tap count M, read offset
                     (N>>1 - M>>1), then the M taps; one number per line, 17 significant digits
  --export-ir FILE   write the M taps as a mono 64-bit floating-point WAV at --rate; the plug-in's
                     impulse response is these taps delayed by the read offset. A FILE with
                     the extension of another format (.aiff, .flac) is refused
  --rate HZ          sample rate for --print-taps and --export-ir, 88200..384000
  --list-presets     list the presets --preset accepts, with their frequency, slope, mix and
                     bypass: the factory presets and the user presets saved by the plug-in in
                     the shared folder (Brevalon.conf)
  -h, --help         show this text
  --version          show the version

Options may be written as "--name value" or "--name=value"; "--" ends the options.

Exit codes:
  0  success; also for an INPUT that ends before the length its header claims (an unfinished
     recording, a cut copy) or whose WAV header still holds a recorder's placeholder sizes: the
     frames present are rendered, with a warning
  1  processing or file error: INPUT missing, unreadable, not WAV/AIFF/FLAC, with more than
     two channels, samples of a size that cannot be read (12 or 20 bits in WAV or AIFF) or
     without audio frames; OUTPUT cannot be written; the file of --state @FILE cannot be read
  2  usage error: unknown option, missing or non-numeric value, value out of range, OUTPUT the
     same file as INPUT, an OUTPUT or --export-ir FILE extension of another format, a bit
     depth the output format cannot store, an unknown --preset, a --state without a state
     code, a --state @FILE longer than 1 MiB
  128+N  stopped by signal N (SIGINT, SIGTERM or SIGHUP)
No output file is left behind when the exit code is not 0.)";
}

} // namespace brevalon::app
