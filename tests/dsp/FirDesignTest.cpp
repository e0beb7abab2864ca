#include "processor/dsp/FirDesign.h"
#include "processor/dsp/CornerCompensationTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <random>

using namespace brevalon;

namespace
{

double magnitudeDb (const FirDesign& d, double frequency, double rate)
{
    return 20.0 * std::log10 (magnitudeAt (d.coefficients.data(), d.count, frequency / rate * 2.0));
}

bool sameTaps (const FirDesign& a, const FirDesign& b)
{
    return a.count == b.count && a.readOffset == b.readOffset && a.nominalLength == b.nominalLength &&
           std::memcmp (a.coefficients.data(), b.coefficients.data(), sizeof (a.coefficients)) == 0;
}

} // namespace

TEST (FirDesign, NominalLengthDependsOnRateOnly)
{
    const struct
    {
        double rate;
        int n;
    } cases[] = {
        { 88200, 83 }, { 96000, 91 }, { 176400, 165 }, { 192000, 181 }, { 352800, 331 }, { 384000, 361 },
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ (nominalLengthFor (c.rate), c.n) << c.rate;
        for (const double slope : { 0.0, 0.5, 1.0 })
            for (const double corner : { 20000.0, 25000.0 })
                EXPECT_EQ (designLowpass (corner, slope, c.rate).nominalLength, c.n);
    }
}

TEST (FirDesign, WorkedDesigns)
{
    // fcTolerance: the reference rows of the table reproduce the published cutoff to its printed
    // precision; the generated rows solve the same property, so they land close but not on it.
    const struct
    {
        double rate, corner, slope;
        int n;
        double windowLength, cutoff, fcTolerance;
        int m, readOffset;
        double magnitudeDb, dbTolerance;
    } cases[] = {
        { 192000, 21000, 0.75, 181, 102.2214, 25851.76, 0.01, 93, 44, -0.106, 0.0006 },
        { 96000, 21000, 0.75, 91, 51.6107, 25798.59, 0.01, 47, 22, -0.106, 0.0006 },
        { 88200, 20000, 1.0, 83, 83.6875, 22734.12, 120.0, 77, 3, -0.1, 0.02 },
        { 384000, 25000, 0.0, 361, 37.0, 51927.74, 260.0, 35, 163, -0.1, 0.02 },
        { 352800, 21000, 0.75, 331, 186.9944, 25000.0, 0.0, 165, 83, -0.305, 0.0006 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << c.rate << " Hz, " << c.corner << " Hz, slope " << c.slope);
        const double g = windowParameterFor (c.slope, c.rate);
        EXPECT_NEAR (std::exp (g) + 1.0, c.windowLength, 5e-5);
        EXPECT_NEAR (compensatedCutoff (c.corner, g, c.rate), c.cutoff, c.fcTolerance + 0.005);

        const auto d = designLowpass (c.corner, c.slope, c.rate);
        EXPECT_EQ (d.nominalLength, c.n);
        EXPECT_EQ (d.count, c.m);
        EXPECT_EQ (d.readOffset, c.readOffset);
        EXPECT_NEAR (magnitudeDb (d, c.corner, c.rate), c.magnitudeDb, c.dbTolerance);
    }
}

TEST (FirDesign, EveryDesignIsOddSymmetricNormalisedAndPadded)
{
    for (const double rate : { 88200.0, 96000.0, 100000.0, 176400.0, 192000.0, 352800.0, 384000.0 })
        for (const double corner : { 15000.0, 20000.0, 21050.0, 23456.7, 25000.0, 30000.0 })
            for (const double slope : { 0.0, 0.3, 0.75, 1.0 })
            {
                SCOPED_TRACE (testing::Message() << rate << " Hz, " << corner << " Hz, slope " << slope);
                const auto d = designLowpass (corner, slope, rate);
                ASSERT_EQ (d.count % 2, 1);
                ASSERT_LE (d.count, d.nominalLength);
                EXPECT_EQ (d.readOffset, (d.nominalLength >> 1) - (d.count >> 1));

                double sum = 0.0;
                for (int k = 0; k < d.count; ++k)
                {
                    const auto tap = d.coefficients[(size_t)k];
                    const auto mirror = d.coefficients[(size_t)(d.count - 1 - k)];
                    ASSERT_EQ (std::memcmp (&tap, &mirror, sizeof (double)), 0) << "tap " << k;
                    sum += tap;
                }
                EXPECT_NEAR (sum, 1.0, 1e-13);
                for (size_t k = (size_t)d.count; k < d.coefficients.size(); ++k)
                    ASSERT_EQ (d.coefficients[k], 0.0);

                // The Goertzel recurrence at 0 Hz integrates twice, so rounding grows with the length.
                EXPECT_NEAR (magnitudeAt (d.coefficients.data(), d.count, 0.0), 1.0, 1e-11);
            }
}

TEST (FirDesign, SlopeExtremesAt192k)
{
    // Slope 1: the window spans all N taps, only trimming shortens the filter.
    EXPECT_NEAR (std::exp (windowParameterFor (1.0, 192000)) + 1.0, 181.0, 1e-9);
    EXPECT_EQ (designLowpass (21000, 1.0, 192000).count, 159);

    // Slope 0: the shortest filter with the highest sinc cutoff.
    const auto shallow = designLowpass (21000, 0.0, 192000);
    EXPECT_EQ (shallow.count, 19);
    EXPECT_NEAR (compensatedCutoff (21000, windowParameterFor (0.0, 192000), 192000), 47000.0, 1500.0);
    for (const double slope : { 0.25, 0.5, 0.75, 1.0 })
        EXPECT_GT (designLowpass (21000, slope, 192000).count, shallow.count);
}

TEST (FirDesign, CornerIsQuantisedToTableKeysAndClamped)
{
    for (const double rate : { 96000.0, 192000.0 })
    {
        EXPECT_TRUE (sameTaps (designLowpass (21000, 0.75, rate), designLowpass (21050, 0.75, rate)));
        EXPECT_TRUE (sameTaps (designLowpass (21051, 0.75, rate), designLowpass (21100, 0.75, rate)));
        EXPECT_FALSE (sameTaps (designLowpass (21000, 0.75, rate), designLowpass (21100, 0.75, rate)));
        EXPECT_TRUE (sameTaps (designLowpass (12000, 0.5, rate), designLowpass (20000, 0.5, rate)));
        EXPECT_TRUE (sameTaps (designLowpass (40000, 0.5, rate), designLowpass (25000, 0.5, rate)));
    }
}

TEST (FirDesign, RateWithoutTableSectionUsesFixedCutoff)
{
    for (const double corner : { 20000.0, 21000.0, 25000.0 })
        for (const double slope : { 0.0, 0.5, 1.0 })
            EXPECT_EQ (compensatedCutoff (corner, windowParameterFor (slope, 352800), 352800), 25000.0);
    // The -0.1 dB point is not honoured there.
    EXPECT_LT (magnitudeDb (designLowpass (21000, 0.75, 352800), 21000, 352800), -0.2);
}

TEST (FirDesign, BesselSeriesMatchesLibrary)
{
    for (const double x : { 0.0, 0.5, 1.0, 3.0, 7.0, 10.0, 13.9, 14.0 })
    {
        const double reference = std::cyl_bessel_i (0.0, x);
        // The series stops once a term drops below 1e-6, so it is accurate to about that.
        EXPECT_NEAR (besselI0 (x), reference, 2e-6 + reference * 1e-14) << x;
    }
    EXPECT_EQ (besselI0 (0.0), 1.0);
}

TEST (FirDesign, MagnitudeMatchesDirectEvaluation)
{
    std::mt19937 random (7);
    std::uniform_real_distribution<double> value (-1.0, 1.0);
    for (int trial = 0; trial < 20; ++trial)
    {
        std::vector<double> taps (1 + trial * 7);
        for (auto& t : taps)
            t = value (random);
        for (const double nu : { 0.0, 0.1, 0.33, 0.5, 0.9, 1.0 })
        {
            std::complex<double> sum;
            for (size_t n = 0; n < taps.size(); ++n)
                sum += taps[n] * std::polar (1.0, -3.14159265358979323846 * nu * (double)n);
            EXPECT_NEAR (magnitudeAt (taps.data(), (int)taps.size(), nu), std::abs (sum), 1e-10);
        }
    }

    // A response of exactly zero is reported as 1e-12 (so that it has a decibel value).
    const double cancelling[] = { 1.0, -1.0 };
    EXPECT_EQ (magnitudeAt (cancelling, 2, 0.0), 1e-12);
    EXPECT_EQ (magnitudeAt (cancelling, 0, 0.5), 1e-12);
}
