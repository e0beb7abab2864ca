#include "app/FilterTaps.h"

#include "app/AudioFileFormats.h"
#include "app/ImpulseResponseWriter.h"
#include "processor/QuillfenTemplateAudioProcessor.h"

#include <cstdio>

namespace brevalon::app
{

FilterTaps filterTapsFor (const FilterSettings& settings, double sampleRate)
{
    QuillfenTemplateAudioProcessor processor{ SharedFolder(), QuillfenTemplateAudioProcessor::Settings::inMemory };
    settings.applyTo (processor);
    processor.prepareToPlay (sampleRate, 512);

    const auto& engine = processor.getEngine();
    jassert (engine.isActive());
    FilterTaps filter;
    filter.nominalLength = engine.getNominalLength();
    filter.readOffset = engine.getReadOffset();
    filter.taps.assign (engine.getTaps(), engine.getTaps() + engine.getTapCount());
    return filter;
}

juce::String formatTaps (const FilterTaps& filter)
{
    juce::String text;
    text << filter.nominalLength << "\n" << static_cast<int> (filter.taps.size()) << "\n" << filter.readOffset << "\n";
    char number[40];
    for (const double tap : filter.taps)
    {
        std::snprintf (number, sizeof (number), "%.17g\n", tap);
        text << number;
    }
    return text;
}

Status exportImpulseResponse (const juce::String& path, const FilterSettings& settings, double sampleRate, Console& console)
{
    const auto file = juce::File::getCurrentWorkingDirectory().getChildFile (path);
    const AudioFileFormats formats;
    if (auto status = formats.checkExtensionMatches (file, path, *formats.findByName ("wav"),
                                                     "--export-ir writes only 64-bit float WAV; rename FILE");
        ! status.ok())
        return status;

    const auto filter = filterTapsFor (settings, sampleRate);
    const auto status = writeFloat64WavFile (file, path, filter.taps.data(), static_cast<int> (filter.taps.size()), sampleRate);
    if (status.ok())
        console.info (path + ": " + juce::String (static_cast<int> (filter.taps.size())) + " taps at " + juce::String (sampleRate, 0) +
                      " Hz, 64-bit float WAV (N = " + juce::String (filter.nominalLength) + ", read offset " +
                      juce::String (filter.readOffset) + ")");
    return status;
}

} // namespace brevalon::app
