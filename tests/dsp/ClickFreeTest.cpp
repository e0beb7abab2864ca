// What a listener hears when settings change while audio plays. Every setting only changes
// what lies above 20 kHz, so the test signal carries a 30 kHz tone next to a 1 kHz one (each at
// -12 dBFS); the output is then limited to the audible band by the product's own steepest
// design at 20 kHz and compared with the equally limited output of an engine that had the new
// settings all along. A click is the peak of that difference.

#include "processor/dsp/FirDesign.h"
#include "processor/dsp/FirLowpassEngine.h"
#include "tests/support/AllocationCounter.h"
#include "tests/support/StereoSignal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <random>
#include <vector>

using namespace brevalon;
using brevalon::test::identical;
using brevalon::test::Stereo;

namespace
{

constexpr double kPi = 3.14159265358979323846;
constexpr double kClickLimitDb = -70.0;
using Kernels = FirLowpassEngine::Kernels;

// 1 kHz and 30 kHz at -12 dBFS each; the right channel with other phases.
Stereo twoTones (size_t n, double rate)
{
    const double amplitude = std::pow (10.0, -12.0 / 20.0);
    Stereo s (n);
    for (size_t i = 0; i < n; ++i)
    {
        const double t = static_cast<double> (i) / rate;
        s.left[i] = static_cast<float> (amplitude * (std::sin (2 * kPi * 1000 * t) + std::sin (2 * kPi * 30000 * t)));
        s.right[i] = static_cast<float> (amplitude * (std::sin (2 * kPi * 1000 * t + 1.0) + std::sin (2 * kPi * 30000 * t + 2.0)));
    }
    return s;
}

struct Settings
{
    double corner = 21000.0;
    double slope = 0.75;
    double dry = 0.0;
    bool bypassed = false;
    bool hostBypassed = false;
};

void apply (FirLowpassEngine& engine, const Settings& s, double rate)
{
    engine.setFilter (s.corner, s.slope, rate);
    engine.setMixGains (s.dry);
    engine.setBypassed (s.bypassed);
}

struct Change
{
    size_t at;
    Settings settings;
};

// Runs `input` through `engine` in blocks of `blockSize`, applying each change before the sample
// at its position (a block ends there, as a host's block would).
void render (FirLowpassEngine& engine, const Stereo& input, Stereo& output, double rate, Settings current,
             const std::vector<Change>& changes, int blockSize)
{
    size_t next = 0;
    for (size_t i = 0; i < input.size();)
    {
        while (next < changes.size() && changes[next].at <= i)
        {
            current = changes[next++].settings;
            apply (engine, current, rate);
        }
        size_t end = std::min (input.size(), i + static_cast<size_t> (blockSize));
        if (next < changes.size())
            end = std::min (end, changes[next].at);
        engine.process (input.left.data() + i, input.right.data() + i, output.left.data() + i, output.right.data() + i,
                        static_cast<int> (end - i), current.hostBypassed);
        i = end;
    }
}

Stereo render (const Stereo& input, double rate, const Settings& initial, const std::vector<Change>& changes = {}, int blockSize = 64,
               Kernels kernels = Kernels::fastest)
{
    FirLowpassEngine engine (kernels);
    apply (engine, initial, rate);
    Stereo output (input.size());
    render (engine, input, output, rate, initial, changes, blockSize);
    return output;
}

// The audible band of a signal: the product's design at 20 kHz, slope 100 %, full wet.
Stereo audible (const Stereo& signal, double rate)
{
    FirLowpassEngine limiter;
    limiter.setFilter (20000.0, 1.0, rate);
    Stereo output (signal.size());
    limiter.process (signal.left.data(), signal.right.data(), output.left.data(), output.right.data(), static_cast<int> (signal.size()),
                     false);
    return output;
}

// Peak difference in dBFS over [from, to), both channels.
double peakDifferenceDb (const Stereo& a, const Stereo& b, size_t from, size_t to)
{
    double peak = 0.0;
    for (size_t i = from; i < to; ++i)
        peak = std::max ({ peak, std::abs ((double)a.left[i] - b.left[i]), std::abs ((double)a.right[i] - b.right[i]) });
    return peak > 0.0 ? 20.0 * std::log10 (peak) : -400.0;
}

std::string kernelName (Kernels kernels)
{
    return kernels == Kernels::fastest ? "fastest kernels" : "baseline kernels";
}

struct SingleChange
{
    const char* name;
    Settings before, after;
};

Settings filter (double corner, double slope, double dry = 0.0)
{
    Settings s;
    s.corner = corner;
    s.slope = slope;
    s.dry = dry;
    return s;
}

Settings bypassed (Settings s, bool viaHost)
{
    (viaHost ? s.hostBypassed : s.bypassed) = true;
    return s;
}

const SingleChange kSingleChanges[] = {
    { "amount 0 % to 100 %", filter (21000, 0.75, 1.0), filter (21000, 0.75, 0.0) },
    { "amount 100 % to 0 %", filter (21000, 0.75, 0.0), filter (21000, 0.75, 1.0) },
    { "amount 0 % to 50 %", filter (21000, 0.75, 1.0), filter (21000, 0.75, 0.01) },
    { "bypass on", filter (21000, 0.75), bypassed (filter (21000, 0.75), false) },
    { "bypass off", bypassed (filter (21000, 0.75), false), filter (21000, 0.75) },
    { "host bypass on", filter (21000, 0.75), bypassed (filter (21000, 0.75), true) },
    { "host bypass off", bypassed (filter (21000, 0.75), true), filter (21000, 0.75) },
    { "slope 0 % to 100 %, 25 kHz to 20 kHz", filter (25000, 0.0), filter (20000, 1.0) },
    { "slope 100 % to 0 %, 20 kHz to 25 kHz", filter (20000, 1.0), filter (25000, 0.0) },
    { "new design at amount 50 %", filter (25000, 0.0, 0.01), filter (20000, 1.0, 0.01) },
    { "new design and amount 0 % to 100 %", filter (25000, 0.0, 1.0), filter (20000, 1.0, 0.0) },
    { "new design while bypassed", bypassed (filter (25000, 0.0), false), bypassed (filter (20000, 1.0), false) },
};

class ClickFree : public testing::TestWithParam<Kernels>
{
};

} // namespace

namespace brevalon
{
void PrintTo (FirLowpassEngine::Kernels kernels, std::ostream* out)
{
    *out << (kernels == FirLowpassEngine::Kernels::fastest ? "fastest" : "baseline");
}
} // namespace brevalon

// Each change alone, from a steady state at 96 kHz: the audible band stays within -70 dBFS of
// the steady output of the new settings, the output moves linearly from the old steady output
// to the new one over the ramp, and from the ramp's end on it is the new steady output bit for
// bit. An instant switch, spliced from the two steady outputs, must fail the same measurement.
TEST_P (ClickFree, SingleChangesRampFromTheOldOutputToTheNew)
{
    const double rate = 96000.0;
    const size_t at = 9600;
    const auto input = twoTones (at + 4800, rate);

    FirLowpassEngine probe;
    probe.setFilter (21000, 0.75, rate);
    const auto ramp = static_cast<size_t> (probe.getRampLength());
    ASSERT_EQ (ramp, 480u);

    for (const auto& c : kSingleChanges)
    {
        SCOPED_TRACE (c.name);
        const auto output = render (input, rate, c.before, { { at, c.after } }, 64, GetParam());
        const auto before = render (input, rate, c.before, {}, 64, GetParam());
        const auto after = render (input, rate, c.after, {}, 64, GetParam());

        ASSERT_TRUE (identical (output, before, 0, at));
        for (size_t j = 0; j < ramp; ++j)
        {
            const double a = static_cast<double> (j + 1) / static_cast<double> (ramp);
            const size_t i = at + j;
            ASSERT_NEAR (output.left[i], (1 - a) * before.left[i] + a * after.left[i], 1e-6) << j;
            ASSERT_NEAR (output.right[i], (1 - a) * before.right[i] + a * after.right[i], 1e-6) << j;
        }
        EXPECT_TRUE (identical (output, after, at + ramp, output.size())) << "steady after the ramp";

        // From well after the start-up (both band limits settled) to the end.
        const size_t from = at - 2400;
        const auto heard = audible (output, rate);
        const auto expected = audible (after, rate);
        const double click = peakDifferenceDb (heard, expected, from, output.size());
        std::printf ("    %-40s %s: %7.1f dBFS\n", c.name, kernelName (GetParam()).c_str(), click);
        EXPECT_LT (click, kClickLimitDb);

        const bool audibleChange = ! (c.before.bypassed && c.after.bypassed);
        if (audibleChange)
        {
            Stereo instant = before;
            std::copy (after.left.begin() + (long)at, after.left.end(), instant.left.begin() + (long)at);
            std::copy (after.right.begin() + (long)at, after.right.end(), instant.right.begin() + (long)at);
            EXPECT_GT (peakDifferenceDb (audible (instant, rate), expected, from, output.size()), -50.0)
                << "the measurement hears a switch";
        }
    }
}

// The three cases at the rates' extremes and with the host's largest and smallest blocks.
TEST_P (ClickFree, SingleChangesAtOtherRatesAndBlockSizes)
{
    const SingleChange cases[] = { kSingleChanges[0], kSingleChanges[3], kSingleChanges[7] };
    for (const double rate : { 88200.0, 192000.0, 384000.0 })
        for (const int blockSize : { 1, 2048 })
            for (const auto& c : cases)
            {
                SCOPED_TRACE (testing::Message() << c.name << " at " << rate << " Hz, blocks of " << blockSize);
                const auto at = static_cast<size_t> (rate / 10);
                const auto input = twoTones (at + static_cast<size_t> (rate / 20), rate);
                const auto output = render (input, rate, c.before, { { at, c.after } }, blockSize, GetParam());
                const auto after = render (input, rate, c.after, {}, blockSize, GetParam());
                const auto ramp = static_cast<size_t> (std::lround (0.005 * rate));
                EXPECT_TRUE (identical (output, after, at + ramp, output.size()));
                EXPECT_LT (peakDifferenceDb (audible (output, rate), audible (after, rate), at / 2, output.size()), kClickLimitDb);
            }
}

// Settings changing every block, faster than a ramp lasts: ramps restart from the gains heard
// and crossfades fold the filters heard into one, so nothing clicks. Every steady setting has
// the same audible band, so any of them serves as the reference.
TEST_P (ClickFree, ChangesEveryBlockStayInaudible)
{
    const struct
    {
        double rate;
        int blockSize;
    } runs[] = { { 96000, 64 }, { 96000, 512 }, { 88200, 128 }, { 192000, 32 }, { 384000, 512 } };

    for (const auto& run : runs)
    {
        SCOPED_TRACE (testing::Message() << run.rate << " Hz, blocks of " << run.blockSize);
        const auto length = static_cast<size_t> (run.rate * 0.4);
        const auto input = twoTones (length, run.rate);
        std::mt19937 random (7);
        std::uniform_real_distribution<double> unit (0.0, 1.0);
        std::vector<Change> changes;
        for (size_t at = static_cast<size_t> (run.rate * 0.05); at < length; at += static_cast<size_t> (run.blockSize))
        {
            Settings s;
            s.corner = 20000.0 + 5000.0 * unit (random);
            s.slope = unit (random);
            const double amount = unit (random);
            s.dry = amount > 0.9 ? 0.0 : std::pow (10.0, -4.0 * amount);
            s.bypassed = unit (random) < 0.2;
            s.hostBypassed = unit (random) < 0.1;
            changes.push_back ({ at, s });
        }
        const auto output = render (input, run.rate, filter (21000, 0.75), changes, run.blockSize, GetParam());
        const auto steady = render (input, run.rate, filter (21000, 0.75), {}, run.blockSize, GetParam());
        const double click = peakDifferenceDb (audible (output, run.rate), audible (steady, run.rate), length / 16, length);
        std::printf ("    every block at %6.0f Hz, %3d samples, %s: %7.1f dBFS\n", run.rate, run.blockSize, kernelName (GetParam()).c_str(),
                     click);
        EXPECT_LT (click, kClickLimitDb);
    }
}

// Automation as a host sends it, one value per block of a few samples: frequency down, slope
// up and the amount through its whole range within 0.3 s.
TEST_P (ClickFree, SmoothAutomationInTinyBlocksStaysInaudible)
{
    for (const double rate : { 96000.0, 384000.0 })
        for (const int blockSize : { 1, 7 })
        {
            SCOPED_TRACE (testing::Message() << rate << " Hz, blocks of " << blockSize);
            const auto length = static_cast<size_t> (rate * 0.4);
            const auto start = static_cast<size_t> (rate * 0.05), span = static_cast<size_t> (rate * 0.3);
            const auto input = twoTones (length, rate);
            std::vector<Change> changes;
            for (size_t at = start; at <= start + span; at += static_cast<size_t> (blockSize))
            {
                const double x = static_cast<double> (at - start) / static_cast<double> (span);
                const double amount = x < 0.5 ? 2 * x : 2 - 2 * x;
                changes.push_back ({ at, filter (25000.0 - 5000.0 * x, x, amount >= 1.0 ? 0.0 : std::pow (10.0, -4.0 * amount)) });
            }
            const auto output = render (input, rate, filter (25000, 0.0, 1.0), changes, blockSize, GetParam());
            const auto steady = render (input, rate, filter (25000, 0.0, 1.0), {}, blockSize, GetParam());
            const double click = peakDifferenceDb (audible (output, rate), audible (steady, rate), length / 16, length);
            std::printf ("    smooth automation at %6.0f Hz, %d-sample blocks, %s: %7.1f dBFS\n", rate, blockSize,
                         kernelName (GetParam()).c_str(), click);
            EXPECT_LT (click, kClickLimitDb);
        }
}

// Ramps and crossfades advance per sample, so the host's block sizes do not change the output.
TEST_P (ClickFree, OutputDoesNotDependOnBlockSizes)
{
    for (const double rate : { 96000.0, 384000.0 })
    {
        SCOPED_TRACE (rate);
        const auto input = twoTones (static_cast<size_t> (rate * 0.15), rate);
        const auto at = [rate] (double seconds) { return static_cast<size_t> (rate * seconds); };
        const std::vector<Change> changes = {
            { at (0.0200), filter (21000, 0.75, 0.1) },                    // amount
            { at (0.0220), filter (24000, 0.2, 0.1) },                     // new design during the amount ramp
            { at (0.0235), filter (20500, 1.0, 0.001) },                   // and another during the crossfade
            { at (0.0500), bypassed (filter (20500, 1.0, 0.001), false) }, // bypass
            { at (0.0510), filter (22000, 0.5, 0.001) },                   // back, with a new design
            { at (0.0800), bypassed (filter (22000, 0.5), true) },         // host bypass
            { at (0.0900), filter (25000, 0.0) },                          // new design at the host bypass's end
            { at (0.1200), filter (25000, 0.0, 1.0) },                     // dry only
        };
        const auto reference = render (input, rate, filter (21000, 0.75), changes, 512, GetParam());
        for (const int blockSize : { 1, 7, 64, 333 })
            EXPECT_TRUE (identical (render (input, rate, filter (21000, 0.75), changes, blockSize, GetParam()), reference, 0, input.size()))
                << "blocks of " << blockSize;
    }
}

// Once every ramp has ended, the output is exactly that of the final settings: the delayed input
// for the minimum amount and for bypass, the filtered signal at full amount.
TEST_P (ClickFree, SteadyStatesAfterRampsAreBitExact)
{
    const double rate = 96000.0;
    const auto input = twoTones (20000, rate);
    const size_t latency = 45, settled = 2000 + 480; // the last change, plus its ramp
    std::vector<Change> changes;
    for (size_t k = 0; k < 6; ++k)
        changes.push_back ({ 1000 + 150 * k, filter (20000.0 + 1000.0 * (double)k, 0.2 * (double)k, k % 2 == 0 ? 0.3 : 0.0) });

    const auto delayedInput = [&] (size_t i, bool left) { return (left ? input.left : input.right)[i - latency]; };
    for (const auto& last : { bypassed (filter (20000, 1.0), false), bypassed (filter (20000, 1.0), true), filter (23000, 0.5, 1.0) })
    {
        auto sequence = changes;
        sequence.push_back ({ 2000, last });
        const auto output = render (input, rate, filter (21000, 0.75), sequence, 64, GetParam());
        for (size_t i = settled; i < input.size(); ++i)
        {
            ASSERT_EQ (output.left[i], delayedInput (i, true)) << i;
            ASSERT_EQ (output.right[i], delayedInput (i, false)) << i;
        }
    }

    auto sequence = changes;
    sequence.push_back ({ 2000, filter (23000, 0.5, 0.0) });
    const auto output = render (input, rate, filter (21000, 0.75), sequence, 64, GetParam());
    EXPECT_TRUE (identical (output, render (input, rate, filter (23000, 0.5, 0.0), {}, 64, GetParam()), settled, input.size()));
}

INSTANTIATE_TEST_SUITE_P (Kernels, ClickFree, testing::Values (Kernels::fastest, Kernels::baseline),
                          [] (const testing::TestParamInfo<Kernels>& kernels)
                          { return kernels.param == Kernels::fastest ? "fastest" : "baseline"; });

// No allocation while ramps and crossfades run, whatever changes arrive.
TEST (ClickFreeRamps, NeverAllocate)
{
    const double rate = 192000.0;
    const auto input = twoTones (40000, rate);
    Stereo output (input.size());
    FirLowpassEngine engine;
    apply (engine, filter (21000, 0.75), rate);

    std::vector<Change> changes;
    for (size_t at = 0, k = 0; at < input.size(); at += 256, ++k)
    {
        Settings s = filter (20000.0 + 250.0 * (double)(k % 20), (double)(k % 5) / 4.0, k % 3 == 0 ? 0.0 : 0.01);
        s.bypassed = k % 7 == 3;
        s.hostBypassed = k % 11 == 5;
        changes.push_back ({ at, s });
    }
    test::AllocationScope scope;
    render (engine, input, output, rate, filter (21000, 0.75), changes, 256);
    engine.resetDelay();
    EXPECT_EQ (scope.count(), 0u);
}

// The stream's start takes the settings at once: before the first block, and after resetDelay,
// which also ends a running ramp.
TEST (ClickFreeRamps, StreamStartTakesSettingsAtOnce)
{
    const double rate = 96000.0;
    const auto input = twoTones (3000, rate);
    FirLowpassEngine engine;
    apply (engine, filter (21000, 0.75), rate);
    apply (engine, bypassed (filter (24000, 0.1, 0.5), false), rate);
    EXPECT_FALSE (engine.isRamping());
    Stereo output (input.size());
    render (engine, input, output, rate, bypassed (filter (24000, 0.1, 0.5), false), {}, 64);
    for (size_t i = 45; i < input.size(); ++i)
        ASSERT_EQ (output.left[i], input.left[i - 45]) << i;

    // A ramp and a crossfade under way, then the stream restarts.
    apply (engine, filter (20000, 1.0, 0.0), rate);
    engine.process (input.left.data(), input.right.data(), output.left.data(), output.right.data(), 100, false);
    EXPECT_TRUE (engine.isRamping());
    engine.resetDelay();
    EXPECT_FALSE (engine.isRamping());
    Stereo restarted (input.size());
    render (engine, input, restarted, rate, filter (20000, 1.0, 0.0), {}, 64);
    EXPECT_TRUE (identical (restarted, render (input, rate, filter (20000, 1.0, 0.0)), 0, input.size()));

    // The host bypassing the very first block after a restart passes the delayed input at once.
    engine.resetDelay();
    Settings hostBypass = filter (20000, 1.0, 0.0);
    hostBypass.hostBypassed = true;
    render (engine, input, restarted, rate, hostBypass, {}, 64);
    for (size_t i = 45; i < input.size(); ++i)
        ASSERT_EQ (restarted.left[i], input.left[i - 45]) << i;
}

// A new rate reallocates and clears the history: no crossfade, the new stream starts at once.
TEST (ClickFreeRamps, NewRateStartsWithoutRamp)
{
    const auto input = twoTones (4000, 192000.0);
    FirLowpassEngine engine;
    apply (engine, filter (21000, 0.75), 96000.0);
    Stereo output (input.size());
    engine.process (input.left.data(), input.right.data(), output.left.data(), output.right.data(), 1000, false);
    apply (engine, filter (22000, 0.5, 0.2), 96000.0);
    engine.process (input.left.data(), input.right.data(), output.left.data(), output.right.data(), 100, false);
    ASSERT_TRUE (engine.isRamping());

    apply (engine, filter (22000, 0.5, 0.2), 192000.0);
    EXPECT_FALSE (engine.isRamping());
    EXPECT_EQ (engine.getRampLength(), 960);
    Stereo fresh (input.size());
    render (engine, input, fresh, 192000.0, filter (22000, 0.5, 0.2), {}, 64);
    EXPECT_TRUE (identical (fresh, render (input, 192000.0, filter (22000, 0.5, 0.2)), 0, input.size()));
}

// The response queries answer for the new settings as soon as they are set, ramp or not; a
// design that gives the same taps (the corner is quantised to 100 Hz) needs no crossfade.
TEST (ClickFreeRamps, QueriesAnswerForTheNewSettings)
{
    const double rate = 96000.0;
    const auto input = twoTones (2000, rate);
    FirLowpassEngine engine;
    apply (engine, filter (21000, 0.75), rate);
    Stereo output (input.size());
    engine.process (input.left.data(), input.right.data(), output.left.data(), output.right.data(), 1000, false);
    (void)engine.takeResponseChanged();

    engine.setFilter (21040, 0.75, rate);
    EXPECT_TRUE (engine.takeResponseChanged());
    engine.process (input.left.data(), input.right.data(), output.left.data(), output.right.data(), 10, false);
    EXPECT_FALSE (engine.isRamping()) << "same taps";

    apply (engine, filter (24000, 0.25, 0.001), rate);
    EXPECT_TRUE (engine.takeResponseChanged());
    engine.process (input.left.data(), input.right.data(), output.left.data(), output.right.data(), 10, false);
    ASSERT_TRUE (engine.isRamping());
    FirLowpassEngine target;
    apply (target, filter (24000, 0.25, 0.001), rate);
    for (const double hz : { 0.0, 1000.0, 20000.0, 24000.0, 30000.0, 48000.0 })
        EXPECT_EQ (engine.magnitudeAt (hz), target.magnitudeAt (hz)) << hz;
    EXPECT_EQ (engine.getDryGain(), 0.001);
    EXPECT_EQ (engine.getDesignCorner(), 24000.0);
}
