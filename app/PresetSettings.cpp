#include "app/PresetSettings.h"

#include "processor/QuillfenTemplateAudioProcessor.h"
#include "state/StateCode.h"

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

Status applyStateCode (Processor& processor, const juce::String& source)
{
    juce::String text = source;
    if (source.startsWithChar ('@'))
    {
        const juce::File file = juce::File::getCurrentWorkingDirectory().getChildFile (source.substring (1));
        if (! file.existsAsFile())
            return Status::failure (file.getFullPathName() + ": no such file");
        juce::MemoryBlock content;
        if (! file.loadFileAsData (content))
            return Status::failure (file.getFullPathName() + ": cannot be read");
        text = content.toString();
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

    Processor processor;
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
    Processor processor;
    auto& engine = processor.getStateEngine();
    juce::String list;
    for (int program = 0; program < processor.getNumPrograms(); ++program)
        if (engine.isAvailable (program))
            list << (engine.isUserSlot (program) ? "user     " : "factory  ") << engine.getProgramNameForDisplay (program) << "\n";
    return list;
}

} // namespace brevalon::app
