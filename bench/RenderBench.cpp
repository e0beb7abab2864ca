// Throughput of brevalon-render's file path (read, process, write, rename) on a 60-second
// 192 kHz stereo 24-bit WAV with the default settings, as a real-time factor on one core; and
// the same audio rendered in memory, which shows what the file I/O costs.

#include "app/FileRenderer.h"
#include "app/OfflineRenderer.h"

#include <benchmark/benchmark.h>

#include <random>

using namespace brevalon::app;

namespace
{

constexpr double kSampleRate = 192000.0;
constexpr double kSeconds = 60.0;
constexpr int kLength = static_cast<int> (kSampleRate * kSeconds);

juce::AudioBuffer<float> quantisedNoise()
{
    std::mt19937 random (1);
    std::uniform_int_distribution<int> value (-(1 << 22), (1 << 22) - 1); // 24-bit, -6 dBFS
    juce::AudioBuffer<float> noise (2, kLength);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < kLength; ++i)
            noise.setSample (channel, i, static_cast<float> (value (random)) / 8388608.0f);
    return noise;
}

// The input file, written once into a temporary folder that is removed at exit.
struct BenchFiles
{
    juce::File folder =
        juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("brevalon-render-bench", "", false);
    juce::File input = folder.getChildFile ("in.wav");
    juce::File output = folder.getChildFile ("out.wav");

    BenchFiles()
    {
        folder.createDirectory();
        AudioFileFormats formats;
        const auto status = formats.writeFile (input, *formats.findByName ("wav"), quantisedNoise(), kSampleRate, 24);
        jassert (status.ok());
    }
    ~BenchFiles() { folder.deleteRecursively(); }
};

const BenchFiles& benchFiles()
{
    static const BenchFiles files;
    return files;
}

void reportRealTime (benchmark::State& state)
{
    state.counters["realtime_x"] = benchmark::Counter (kSeconds * static_cast<double> (state.iterations()), benchmark::Counter::kIsRate);
}

void BM_RenderWavFile (benchmark::State& state)
{
    const auto& files = benchFiles();
    Console console (true);
    FileRenderRequest request;
    request.input = files.input.getFullPathName();
    request.output = files.output.getFullPathName();
    for (auto _ : state)
    {
        const auto status = FileRenderer (console).render (request);
        if (! status.ok())
            state.SkipWithError (status.message.toRawUTF8());
    }
    reportRealTime (state);
}
BENCHMARK (BM_RenderWavFile)->Unit (benchmark::kMillisecond)->UseRealTime()->MinTime (2.0);

void BM_RenderInMemory (benchmark::State& state)
{
    const auto input = quantisedNoise();
    for (auto _ : state)
        benchmark::DoNotOptimize (renderBuffer (input, kSampleRate, {}, 512));
    reportRealTime (state);
}
BENCHMARK (BM_RenderInMemory)->Unit (benchmark::kMillisecond)->UseRealTime()->MinTime (2.0);

} // namespace

BENCHMARK_MAIN();
