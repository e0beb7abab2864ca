#include "processor/dsp/FirLowpassEngine.h"
#include "processor/dsp/FirDesign.h"
#include "tests/support/AllocationCounter.h"
#include "tests/support/StereoSignal.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace brevalon;
using brevalon::test::makeStereoNoise;
using brevalon::test::Stereo;

namespace
{

// Runs `input` through the engine from sample `begin` to `end` in blocks of `blockSize`.
void run (FirLowpassEngine& engine, const Stereo& input, Stereo& output, size_t begin, size_t end, int blockSize = 64,
          bool hostBypassed = false)
{
    for (size_t i = begin; i < end; i += (size_t)blockSize)
    {
        const int n = (int)std::min ((size_t)blockSize, end - i);
        engine.process (input.left.data() + i, input.right.data() + i, output.left.data() + i, output.right.data() + i, n, hostBypassed);
    }
}

Stereo run (FirLowpassEngine& engine, const Stereo& input, int blockSize = 64)
{
    Stereo output (input.size());
    run (engine, input, output, 0, input.size(), blockSize);
    return output;
}

} // namespace

// The engine against a direct convolution of the design over the whole history, with dry/wet
// gains and odd block sizes: catches delay-line wrap and alignment errors.
TEST (FirLowpassEngine, MatchesDirectConvolution)
{
    const struct
    {
        double rate, corner, slope, dry;
    } cases[] = {
        { 96000, 21000, 0.75, 0.0 }, { 192000, 20000, 1.0, 0.001 }, { 384000, 25000, 0.0, 0.1 },
        { 88200, 22000, 0.4, 1.0 },  { 352800, 21000, 1.0, 0.0 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << c.rate << " Hz");
        FirLowpassEngine engine;
        engine.setFilter (c.corner, c.slope, c.rate);
        engine.setMixGains (c.dry);
        const auto design = designLowpass (c.corner, c.slope, c.rate);
        const int centre = design.nominalLength >> 1;

        const auto input = makeStereoNoise (3000, 3);
        const auto output = run (engine, input, 37);

        for (size_t i = 0; i < input.size(); ++i)
        {
            auto at = [&] (const std::vector<float>& x, long k) { return k >= 0 ? (double)x[(size_t)k] : 0.0; };
            double left = 0.0, right = 0.0;
            for (int k = 0; k < design.count; ++k)
            {
                const long j = (long)i - design.readOffset - k;
                left += design.coefficients[(size_t)k] * at (input.left, j);
                right += design.coefficients[(size_t)k] * at (input.right, j);
            }
            const double expectedLeft = (1.0 - c.dry) * left + c.dry * at (input.left, (long)i - centre);
            const double expectedRight = (1.0 - c.dry) * right + c.dry * at (input.right, (long)i - centre);
            ASSERT_NEAR (output.left[i], expectedLeft, 1e-6) << i;
            ASSERT_NEAR (output.right[i], expectedRight, 1e-6) << i;
        }
    }
}

TEST (FirLowpassEngine, ImpulseComesOutAfterHalfTheNominalLength)
{
    for (const bool bypassed : { false, true })
    {
        FirLowpassEngine engine;
        engine.setFilter (21000, 0.75, 96000);
        engine.setBypassed (bypassed);
        EXPECT_EQ (engine.latencySamples(), 45);

        Stereo input (200);
        input.left[10] = 1.0f;
        const auto output = run (engine, input);

        size_t peak = 0;
        for (size_t i = 0; i < output.size(); ++i)
        {
            if (std::abs (output.left[i]) > std::abs (output.left[peak]))
                peak = i;
            EXPECT_EQ (output.right[i], 0.0f);
        }
        EXPECT_EQ (peak, 55u) << "bypassed " << bypassed;
        if (bypassed)
        {
            EXPECT_EQ (output.left[55], 1.0f);
        }
    }
}

TEST (FirLowpassEngine, DryOnlyIsTheInputDelayedBitForBit)
{
    for (const double rate : { 88200.0, 96000.0, 192000.0, 384000.0 })
    {
        FirLowpassEngine engine;
        engine.setFilter (21000, 0.75, rate);
        engine.setMixGains (1.0);
        const auto input = makeStereoNoise (5000, 5);
        const auto output = run (engine, input, 100);
        const auto delay = (size_t)engine.latencySamples();
        for (size_t i = 0; i < input.size(); ++i)
        {
            ASSERT_EQ (output.left[i], i >= delay ? input.left[i - delay] : 0.0f) << i;
            ASSERT_EQ (output.right[i], i >= delay ? input.right[i - delay] : 0.0f) << i;
        }
    }
}

// Toggling bypass (parameter or host) never shifts the signal: each switch crossfades over the
// ramp between the filtered signal of an engine that never bypassed and the delayed input,
// both aligned; after the ramp the filtered stretches equal that engine and the bypassed
// stretches the delayed input, bit for bit.
TEST (FirLowpassEngine, SwitchingBypassKeepsTimeAlignment)
{
    const auto input = makeStereoNoise (8000, 9);
    FirLowpassEngine reference;
    reference.setFilter (21000, 0.75, 96000);
    const auto filtered = run (reference, input);
    const size_t segmentLength = 1000, ramp = (size_t)reference.getRampLength();
    ASSERT_LT (ramp, segmentLength);

    for (const bool viaHost : { false, true })
    {
        FirLowpassEngine engine;
        engine.setFilter (21000, 0.75, 96000);
        Stereo output (input.size());
        for (size_t start = 0, segment = 0; start < input.size(); start += segmentLength, ++segment)
        {
            const bool bypass = segment % 2 == 1;
            if (! viaHost)
                engine.setBypassed (bypass);
            run (engine, input, output, start, start + segmentLength, 64, viaHost && bypass);
            for (size_t i = start; i < start + segmentLength; ++i)
            {
                const float delayedLeft = i >= 45 ? input.left[i - 45] : 0.0f, delayedRight = i >= 45 ? input.right[i - 45] : 0.0f;
                const float left = bypass ? delayedLeft : filtered.left[i], right = bypass ? delayedRight : filtered.right[i];
                if (segment == 0 || i >= start + ramp)
                {
                    ASSERT_EQ (output.left[i], left) << i;
                    ASSERT_EQ (output.right[i], right) << i;
                }
                else
                {
                    const double a = (double)(i - start + 1) / (double)ramp;
                    const float fromLeft = bypass ? filtered.left[i] : delayedLeft, fromRight = bypass ? filtered.right[i] : delayedRight;
                    ASSERT_NEAR (output.left[i], (1 - a) * fromLeft + a * left, 1e-6) << i;
                    ASSERT_NEAR (output.right[i], (1 - a) * fromRight + a * right, 1e-6) << i;
                }
            }
        }
    }
}

TEST (FirLowpassEngine, CornerAndSlopeChangesKeepHistoryRateChangeClearsIt)
{
    const auto input = makeStereoNoise (3000, 13);
    FirLowpassEngine steady;
    steady.setFilter (21000, 0.75, 96000);
    const auto expected = run (steady, input);

    FirLowpassEngine engine;
    engine.setFilter (24000, 0.1, 96000);
    Stereo output (input.size());
    run (engine, input, output, 0, 1000);
    FirLowpassEngine previous;
    previous.setFilter (24000, 0.1, 96000);
    const auto before = run (previous, input);

    // The new taps read the same history: after the crossfade the output is that of an engine
    // that always had them, and during it a blend of the two, with no gap.
    engine.setFilter (21000, 0.75, 96000);
    run (engine, input, output, 1000, input.size());
    const auto ramp = (size_t)engine.getRampLength();
    for (size_t i = 1000; i < 1000 + ramp; ++i)
    {
        const double a = (double)(i - 1000 + 1) / (double)ramp;
        ASSERT_NEAR (output.left[i], (1 - a) * before.left[i] + a * expected.left[i], 1e-6) << i;
    }
    for (size_t i = 1000 + ramp; i < input.size(); ++i)
        ASSERT_EQ (output.left[i], expected.left[i]) << i;

    // A new rate starts from silence: the output equals a fresh engine at that rate.
    engine.setFilter (21000, 0.75, 192000);
    EXPECT_EQ (engine.latencySamples(), 90);
    FirLowpassEngine fresh;
    fresh.setFilter (21000, 0.75, 192000);
    Stereo tail (input.size()), freshTail (input.size());
    run (engine, input, tail, 0, 1000);
    run (fresh, input, freshTail, 0, 1000);
    EXPECT_TRUE (tail == freshTail);
}

TEST (FirLowpassEngine, UnsupportedRatesPassAudioThroughAndRecover)
{
    FirLowpassEngine engine;
    const auto input = makeStereoNoise (500, 17);
    EXPECT_FALSE (engine.isActive());
    EXPECT_TRUE (run (engine, input) == input) << "before any design";

    engine.setFilter (21000, 0.75, 96000);
    ASSERT_TRUE (engine.isActive());
    EXPECT_TRUE (engine.takeResponseChanged());

    for (const double rate : { 44100.0, 48000.0, 88199.0, 384001.0, 768000.0, std::nan ("") })
    {
        engine.setFilter (21000, 0.75, rate);
        EXPECT_FALSE (engine.isActive()) << rate;
        EXPECT_EQ (engine.latencySamples(), 0);
        EXPECT_FALSE (engine.takeResponseChanged()) << "leaving the active state does not touch the response";
        EXPECT_EQ (engine.magnitudeAt (1000.0), 1.0);
        EXPECT_TRUE (run (engine, input) == input);
    }

    // Back at the same rate, corner and slope: the engine filters again.
    engine.setFilter (21000, 0.75, 96000);
    EXPECT_TRUE (engine.isActive());
    EXPECT_EQ (engine.latencySamples(), 45);
    EXPECT_FALSE (run (engine, input) == input);
}

TEST (FirLowpassEngine, MagnitudeQueryConventions)
{
    FirLowpassEngine engine;
    EXPECT_EQ (engine.magnitudeAt (1.0), -1.0) << "no design yet: every positive frequency is above half the rate";
    EXPECT_EQ (engine.magnitudeAt (0.0), 1.0);

    engine.setFilter (21000, 0.75, 96000);
    EXPECT_EQ (engine.magnitudeAt (48000.5), -1.0);
    EXPECT_NEAR (engine.magnitudeAt (0.0), 1.0, 1e-12);
    EXPECT_NEAR (20.0 * std::log10 (engine.magnitudeAt (21000.0)), -0.106, 0.0006);

    const double wetOnly = engine.magnitudeAt (30000.0);
    EXPECT_LT (wetOnly, 0.05);
    engine.setMixGains (0.1);
    EXPECT_NEAR (engine.magnitudeAt (30000.0), 0.9 * wetOnly + 0.1, 1e-15);
    EXPECT_NEAR (engine.magnitudeAt (0.0), 1.0, 1e-12);
}

TEST (FirLowpassEngine, ResponseChangedIsTakenOnce)
{
    FirLowpassEngine engine;
    EXPECT_TRUE (engine.takeResponseChanged());
    EXPECT_FALSE (engine.takeResponseChanged());
    engine.setMixGains (0.5);
    EXPECT_TRUE (engine.takeResponseChanged());
    engine.setFilter (21000, 0.75, 96000);
    EXPECT_TRUE (engine.takeResponseChanged());
    engine.setFilter (21000, 0.75, 96000);
    EXPECT_FALSE (engine.takeResponseChanged()) << "an identical design is not installed again";
}

TEST (FirLowpassEngine, EmptyBlocksChangeNothing)
{
    const auto input = makeStereoNoise (1000, 19);
    FirLowpassEngine reference;
    reference.setFilter (21000, 0.75, 96000);
    const auto expected = run (reference, input);

    FirLowpassEngine engine;
    engine.setFilter (21000, 0.75, 96000);
    Stereo output (input.size());
    for (size_t i = 0; i < input.size(); i += 10)
    {
        float scratch = 0.0f;
        engine.process (&scratch, &scratch, &scratch, &scratch, 0, false);
        engine.process (&scratch, &scratch, &scratch, &scratch, -5, false);
        run (engine, input, output, i, i + 10);
    }
    EXPECT_TRUE (output == expected);
}

TEST (FirLowpassEngine, MonoAndInPlaceProcessing)
{
    const auto input = makeStereoNoise (2000, 23);
    Stereo duplicated = input;
    duplicated.right = duplicated.left;
    FirLowpassEngine stereoEngine;
    stereoEngine.setFilter (21000, 0.75, 96000);
    const auto expected = run (stereoEngine, duplicated);

    FirLowpassEngine monoEngine;
    monoEngine.setFilter (21000, 0.75, 96000);
    std::vector<float> mono = input.left;
    for (size_t i = 0; i < mono.size(); i += 128)
    {
        float* p = mono.data() + i;
        monoEngine.process (p, p, p, p, (int)std::min<size_t> (128, mono.size() - i), false);
    }
    EXPECT_EQ (std::memcmp (mono.data(), expected.left.data(), mono.size() * sizeof (float)), 0);

    FirLowpassEngine inPlaceEngine;
    inPlaceEngine.setFilter (21000, 0.75, 96000);
    Stereo inPlace = input;
    inPlaceEngine.process (inPlace.left.data(), inPlace.right.data(), inPlace.left.data(), inPlace.right.data(), (int)inPlace.size(),
                           false);
    FirLowpassEngine separateEngine;
    separateEngine.setFilter (21000, 0.75, 96000);
    EXPECT_TRUE (inPlace == run (separateEngine, input, (int)input.size()));
}

TEST (FirLowpassEngine, ProcessingAndRedesignAtTheSameRateNeverAllocate)
{
    FirLowpassEngine engine;
    engine.setFilter (21000, 0.75, 192000);
    auto input = makeStereoNoise (4096, 29);
    Stereo output (input.size());

    test::AllocationScope scope;
    run (engine, input, output, 0, 1024, 512);
    engine.setBypassed (true);
    run (engine, input, output, 1024, 2048, 512);
    engine.setBypassed (false);
    run (engine, input, output, 2048, 3072, 512, true);
    for (const double slope : { 0.0, 0.5, 1.0 })
        for (const double corner : { 20000.0, 22222.0, 25000.0 })
        {
            engine.setFilter (corner, slope, 192000);
            engine.setMixGains (slope * 0.5);
            run (engine, input, output, 3072, 4096, 333);
        }
    engine.resetDelay();
    (void)engine.magnitudeAt (20000.0);
    EXPECT_EQ (scope.count(), 0u);
}
