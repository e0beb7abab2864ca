#include "app/Demo.h"

#include "app/AudioFileFormats.h"
#include "app/BandEnergy.h"
#include "app/DemoSignal.h"
#include "app/FileRenderer.h"

namespace brevalon::app
{

namespace
{

struct Band
{
    const char* label;
    double lowHz, highHz;
};

const Band measuredBands[] = {
    { "above 24 kHz", 24000.0, Demo::sampleRate / 2.0 },
    { "above 30 kHz", 30000.0, Demo::sampleRate / 2.0 }, // past the transition band at every slope
    { "below 18 kHz", 20.0, 18000.0 },
};

juce::String decibels (double value)
{
    return juce::String (value, 1).paddedLeft (' ', 9);
}

} // namespace

Demo::Demo (Console& consoleToUse)
    : console (consoleToUse)
{
}

Status Demo::run (const Command& command)
{
    const auto folder = juce::File::getCurrentWorkingDirectory().getChildFile (command.demoFolder);
    if (! folder.isDirectory())
    {
        if (const auto created = folder.createDirectory(); created.failed())
            return Status::failure (command.demoFolder + ": cannot create the folder: " + created.getErrorMessage());
    }

    const auto inputFile = folder.getChildFile ("demo-in.wav");
    const auto outputFile = folder.getChildFile ("demo-out.wav");
    AudioFileFormats formats;
    auto& wav = *formats.findByName ("wav");

    // 32-bit float, so neither file adds quantisation noise to the measurement.
    const auto input = makeDemoSignal (sampleRate, seconds);
    if (auto status = formats.writeFile (inputFile, wav, input, sampleRate, 32); ! status.ok())
        return status;

    FileRenderRequest request;
    request.input = inputFile.getFullPathName();
    request.output = outputFile.getFullPathName();
    request.filter = command.filter;
    request.blockSize = command.blockSize;
    request.compensateLatency = command.compensateLatency;
    FileRenderer renderer (console);
    if (auto status = renderer.render (request); ! status.ok())
        return status;

    juce::AudioBuffer<float> output;
    double outputRate = 0.0;
    if (auto status = formats.readFile (outputFile, output, outputRate); ! status.ok())
        return status;

    const int latency = renderer.getLastLatency();
    console.info ("Latency: " + juce::String (latency) + " samples (" + juce::String (latency * 1000.0 / sampleRate, 3) + " ms at " +
                  juce::String (sampleRate, 0) + " Hz)" +
                  (command.compensateLatency ? ", removed from demo-out.wav" : ", kept in demo-out.wav"));
    console.info ("Band energy, dB relative to a full-scale sine:");
    console.info ("                    before    after   change");
    for (const auto& band : measuredBands)
    {
        const double before = bandPowerDb (input, sampleRate, band.lowHz, band.highHz);
        const double after = bandPowerDb (output, outputRate, band.lowHz, band.highHz);
        console.info ("  " + juce::String (band.label).paddedRight (' ', 14) + decibels (before) + decibels (after) +
                      decibels (after - before));
    }
    console.info ("Files: " + inputFile.getFullPathName() + ", " + outputFile.getFullPathName());
    return Status::success();
}

} // namespace brevalon::app
