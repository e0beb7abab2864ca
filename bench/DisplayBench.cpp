// Painting the magnitude display (header, background, plot and message layers) of the default
// design at 96 kHz into an image, 100 times: each paint follows a new curve feed, so both
// cached layers are drawn again, as after every change of the response.

#include "controls/MagnitudeDisplay.h"
#include "controls/ResponseCurve.h"
#include "processor/QuillfenTemplateAudioProcessor.h"

#include <benchmark/benchmark.h>

using namespace brevalon;

namespace
{

void BM_DisplayPaintAfterFeed (benchmark::State& state)
{
    const juce::ScopedJuceInitialiser_GUI gui;
    QuillfenTemplateAudioProcessor processor (SharedFolder(), QuillfenTemplateAudioProcessor::Settings::inMemory);
    processor.prepareToPlay (96000.0, 512);
    ResponseCurve curve;
    curve.update (96000.0, [&processor] (double hz) { return processor.responseAt (hz); });

    MagnitudeDisplay display;
    display.setSize (366, 142);
    display.setVisible (true);
    display.setSampleRate (96000.0);
    display.setMarkerFrequency (processor.getFrequencyHz());
    juce::Image image (juce::Image::ARGB, display.getWidth(), display.getHeight(), true);

    for (auto _ : state)
    {
        display.setCurve (curve.getFrequencies(), curve.getLevels(), curve.getCount());
        juce::Graphics g (image);
        display.paintEntireComponent (g, false);
        benchmark::DoNotOptimize (image.getPixelAt (100, 50));
    }
}
BENCHMARK (BM_DisplayPaintAfterFeed)->Iterations (100)->Unit (benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
