// Engine throughput: ns per stereo sample and the real-time factor on one core, for the
// supported rates and slopes (block 512, stereo), the cost of one redesign, the block kernels
// of each instruction set, and processing while the host automates a setting on every block.

#include "processor/dsp/FirDesign.h"
#include "processor/dsp/FirLowpassEngine.h"
#include "processor/dsp/StereoDotProduct.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

using namespace brevalon;

namespace
{

constexpr int kBlockSize = 512;

std::vector<float> noise (size_t n, unsigned seed)
{
    std::mt19937 random (seed);
    std::uniform_real_distribution<float> value (-0.5f, 0.5f);
    std::vector<float> v (n);
    for (auto& x : v)
        x = value (random);
    return v;
}

void reportThroughput (benchmark::State& state, double sampleRate)
{
    const auto samples = static_cast<double> (state.iterations()) * kBlockSize;
    state.SetItemsProcessed (static_cast<int64_t> (samples));
    // Seconds of audio per second of processing, and the time per stereo sample.
    state.counters["realtime_x"] = benchmark::Counter (samples / sampleRate, benchmark::Counter::kIsRate);
    state.counters["ns_per_sample"] = benchmark::Counter (samples * 1e-9, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Process (benchmark::State& state)
{
    const double rate = static_cast<double> (state.range (0));
    const double slope = static_cast<double> (state.range (1)) / 100.0;
    FirLowpassEngine engine;
    engine.setFilter (21000.0, slope, rate);
    auto left = noise (kBlockSize, 1);
    auto right = noise (kBlockSize, 2);
    state.SetLabel ("M=" + std::to_string (engine.getTapCount()));
    for (auto _ : state)
    {
        engine.process (left.data(), right.data(), left.data(), right.data(), kBlockSize, false);
        benchmark::DoNotOptimize (left.data());
        benchmark::ClobberMemory();
    }
    reportThroughput (state, rate);
}
BENCHMARK (BM_Process)->ArgNames ({ "rate", "slope%" })->ArgsProduct ({ { 96000, 192000, 384000 }, { 0, 75, 100 } });

void BM_Redesign384k (benchmark::State& state)
{
    FirLowpassEngine engine;
    engine.setFilter (21000.0, 1.0, 384000.0);
    double corner = 20000.0;
    for (auto _ : state)
    {
        corner = corner >= 25000.0 ? 20000.0 : corner + 100.0; // a new table row each time
        engine.setFilter (corner, 1.0, 384000.0);
        benchmark::DoNotOptimize (engine.getTaps());
    }
}
BENCHMARK (BM_Redesign384k)->Unit (benchmark::kMicrosecond);

// Automation on every block of 512 at slope 100 %, against the steady state in the same run:
// the frequency moves by 100 Hz per block (a new design and a crossfade each block, which at
// 384 kHz never ends since its 5 ms outlast a block), or the amount alternates between two
// values (a gain ramp each block).
enum Automation
{
    steady,
    frequency,
    amount,
    frequencyAndAmount
};

void BM_Automation (benchmark::State& state)
{
    const double rate = static_cast<double> (state.range (0));
    const auto automation = static_cast<Automation> (state.range (1));
    FirLowpassEngine engine;
    engine.setFilter (21000.0, 1.0, rate);
    auto left = noise (kBlockSize, 1);
    auto right = noise (kBlockSize, 2);
    double corner = 21000.0, step = 100.0;
    bool high = false;
    for (auto _ : state)
    {
        if (automation == frequency || automation == frequencyAndAmount)
        {
            if (corner + step > 25000.0 || corner + step < 20000.0)
                step = -step;
            corner += step;
            engine.setFilter (corner, 1.0, rate);
        }
        if (automation == amount || automation == frequencyAndAmount)
        {
            high = ! high;
            engine.setMixGains (high ? 0.01 : 0.001);
        }
        engine.process (left.data(), right.data(), left.data(), right.data(), kBlockSize, false);
        benchmark::DoNotOptimize (left.data());
        benchmark::ClobberMemory();
    }
    static const char* const names[] = { "steady", "frequency every block", "amount every block", "frequency and amount every block" };
    state.SetLabel (std::string (names[automation]) + ", M=" + std::to_string (engine.getTapCount()));
    reportThroughput (state, rate);
}
BENCHMARK (BM_Automation)
    ->ArgNames ({ "rate", "automation" })
    ->ArgsProduct ({ { 96000, 384000 }, { steady, frequency, amount, frequencyAndAmount } });

// The block kernels of each instruction set on their own (steady filtering, block 512), at the
// three default-and-steepest cases.
void BM_FilterBlock (benchmark::State& state)
{
    const auto kernels = static_cast<KernelSet> (state.range (0));
    const double rate = static_cast<double> (state.range (1));
    const double slope = static_cast<double> (state.range (2)) / 100.0;
    if (! cpuSupports (kernels))
    {
        state.SkipWithError ("this processor lacks the instruction set");
        return;
    }
    const auto design = designLowpass (21000.0, slope, rate);
    StereoDelayLine delay;
    delay.setLength (static_cast<uint32_t> (design.nominalLength));
    const FilterBlock block{ delay,
                             design.coefficients.data(),
                             design.count,
                             static_cast<uint32_t> (design.readOffset),
                             static_cast<uint32_t> (design.nominalLength >> 1),
                             1.0,
                             0.0 };
    const auto run = filterBlockFor (kernels);
    auto left = noise (kBlockSize, 1);
    auto right = noise (kBlockSize, 2);
    static const char* const names[] = { "baseline", "avx2", "avx512" };
    state.SetLabel (std::string (names[state.range (0)]) + ", M=" + std::to_string (design.count));
    for (auto _ : state)
    {
        run (block, left.data(), right.data(), left.data(), right.data(), kBlockSize);
        benchmark::DoNotOptimize (left.data());
        benchmark::ClobberMemory();
    }
    reportThroughput (state, rate);
}
BENCHMARK (BM_FilterBlock)
    ->ArgNames ({ "kernels", "rate", "slope%" })
    ->ArgsProduct ({ { 0, 1, 2 }, { 96000 }, { 75 } })
    ->ArgsProduct ({ { 0, 1, 2 }, { 192000 }, { 75 } })
    ->ArgsProduct ({ { 0, 1, 2 }, { 384000 }, { 100 } });

} // namespace

BENCHMARK_MAIN();
