#include "app/PresetSettings.h"

#include "processor/QuillfenTemplateAudioProcessor.h"
#include "state/StateCode.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace brevalon::app
{
namespace
{
using Processor = QuillfenTemplateAudioProcessor;

FilterSettings settingsOf (const Processor& processor)
{
    // In the units of the command line; converting back gives the same normalised values.
    const auto& parameters = processor.getParamManager();
    FilterSettings settings;
    settings.frequencyHz = parameters.getParameterAt (Processor::freqParam)->getValue();
    settings.slopePercent = parameters.getParameterAt (Processor::slopeParam)->getNormalised() * 100.0;
    settings.mixPercent = parameters.getParameterAt (Processor::mixParam)->getNormalised() * 100.0;
    settings.bypass = parameters.getParameterAt (Processor::bypassParam)->getBoolValue();
    return settings;
}

// A value as the filter options take it: whole numbers without decimals, others with up to two.
juce::String formatValue (double value)
{
    if (std::abs (value - std::round (value)) < 0.005)
        return juce::String (juce::roundToInt (value));
    return juce::String (value, 2).trimCharactersAtEnd ("0");
}

Status selectPreset (Processor& processor, const juce::String& name)
{
    auto& engine = processor.getStateEngine();
    for (int program = 0; program < processor.getNumPrograms(); ++program)
    {
        if (engine.isAvailable (program) && engine.getProgramNameForDisplay (program).equalsIgnoreCase (name))
        {
            processor.setCurrentProgram (program);
            return Status::success();
        }
    }
    return Status::usage ("--preset " + name.quoted() + ": no such preset (see --list-presets)");
}

// --state @FILE reads at most this much: a state code is a line of text, and a stream such as
// /dev/zero never ends.
constexpr size_t maxStateFileBytes = 1 << 20;

// Reads the text of --state @FILE from any file or stream: a regular file, /dev/stdin, a pipe or
// a process substitution. Streams have no size to check beforehand, so it reads one byte past the
// limit to tell a text that fits from one that does not.
Status readStateFile (const juce::String& path, juce::String& text)
{
    const auto name = juce::File::getCurrentWorkingDirectory().getChildFile (path).getFullPathName();
    const std::unique_ptr<std::FILE, int (*) (std::FILE*)> stream (std::fopen (name.toRawUTF8(), "rb"), &std::fclose);
    if (stream == nullptr)
        return Status::failure (
            name + (errno == ENOENT ? juce::String (": no such file") : ": cannot be read: " + juce::String (std::strerror (errno))));

    std::vector<char> content (maxStateFileBytes + 1);
    const size_t size = std::fread (content.data(), 1, content.size(), stream.get());
    if (std::ferror (stream.get()))
        return Status::failure (name + ": cannot be read: " + juce::String (std::strerror (errno)));
    if (size > maxStateFileBytes)
        return Status::usage ("--state @" + path + ": longer than 1 MiB, too long for a state code");
    text = juce::String::fromUTF8 (content.data(), static_cast<int> (size));
    return Status::success();
}

Status applyStateCode (Processor& processor, const juce::String& source)
{
    juce::String text = source;
    if (source.startsWithChar ('@'))
    {
        if (auto status = readStateFile (source.substring (1), text); ! status.ok())
            return status;
    }
    if (! StateCode::apply (processor.getStateEngine(), text))
        return Status::usage ("--state: no state code found in " +
                              (source.startsWithChar ('@') ? source.substring (1).quoted() : juce::String ("the text")));
    return Status::success();
}
} // namespace

Status applyPresetOrState (Command& command)
{
    if (command.presetName.isEmpty() && command.stateSource.isEmpty())
        return Status::success();

    Processor processor{ SharedFolder(), Processor::Settings::inMemory };
    const auto status =
        command.presetName.isNotEmpty() ? selectPreset (processor, command.presetName) : applyStateCode (processor, command.stateSource);
    if (! status.ok())
        return status;

    const auto given = command.filter;
    auto& filter = command.filter;
    filter = settingsOf (processor);
    if (command.givenFilterOptions.frequency)
        filter.frequencyHz = given.frequencyHz;
    if (command.givenFilterOptions.slope)
        filter.slopePercent = given.slopePercent;
    if (command.givenFilterOptions.mix)
        filter.mixPercent = given.mixPercent;
    if (command.givenFilterOptions.bypass)
        filter.bypass = given.bypass;
    return Status::success();
}

juce::String presetList()
{
    Processor processor{ SharedFolder(), Processor::Settings::inMemory };
    auto& engine = processor.getStateEngine();

    struct Row
    {
        juce::String kind, name;
        FilterSettings settings;
    };
    std::vector<Row> rows;
    for (int program = 0; program < processor.getNumPrograms(); ++program)
    {
        if (! engine.isAvailable (program))
            continue;
        processor.setCurrentProgram (program);
        rows.push_back ({ engine.isUserSlot (program) ? "user" : "factory", engine.getProgramNameForDisplay (program),
                          settingsOf (processor) });
    }

    // Columns wide enough for the longest name; values in the units the filter options take.
    int nameWidth = 4;
    for (const auto& row : rows)
        nameWidth = juce::jmax (nameWidth, row.name.length());
    const auto line = [nameWidth] (const juce::String& kind, const juce::String& name, const juce::String& frequency,
                                   const juce::String& slope, const juce::String& mix, const juce::String& bypass) {
        return kind.paddedRight (' ', 9) + name.paddedRight (' ', nameWidth + 2) + frequency.paddedLeft (' ', 10) +
               slope.paddedLeft (' ', 8) + mix.paddedLeft (' ', 8) + "  " + bypass + "\n";
    };
    juce::String list = line ("kind", "name", "frequency", "slope", "mix", "bypass");
    for (const auto& [kind, name, settings] : rows)
        list << line (kind, name, formatValue (settings.frequencyHz) + " Hz", formatValue (settings.slopePercent) + " %",
                      formatValue (settings.mixPercent) + " %", settings.bypass ? "on" : "off");
    return list;
}

} // namespace brevalon::app
