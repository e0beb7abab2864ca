#include "processor/dsp/CornerCompensationTable.h"
#include "processor/dsp/FirDesign.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace brevalon;
using Table = CornerCompensationTable;

TEST (CornerCompensationTable, FlatLayoutWithRatesAndKeys)
{
    ASSERT_EQ (Table::values.size(), 5u * 562u);
    for (int s = 0; s < Table::sectionCount; ++s)
    {
        const double* section = Table::values.data() + s * Table::sectionSize;
        EXPECT_EQ (section[0], Table::sectionRates[(size_t)s]);
        EXPECT_EQ (Table::sectionFor (section[0]), section);
        for (int row = 0; row < Table::rowCount; ++row)
            EXPECT_EQ (section[1 + row * Table::rowSize], 20000.0 + 100.0 * row);
    }
    EXPECT_EQ (Table::sectionFor (352800.0), nullptr);
    EXPECT_EQ (Table::sectionFor (96000.5), nullptr);
}

TEST (CornerCompensationTable, PublishedRowsAreKeptVerbatim)
{
    const struct
    {
        double rate, key, c0, c9;
    } rows[] = {
        { 192000, 20000, 6180522.59909121, 105.1310929035981 },   { 192000, 21000, -11646689.2697828, -179.8441048521556 },
        { 192000, 22500, 1561475.606850985, 8.879567063029434 },  { 192000, 25000, -6731669.969551548, -143.9534906324992 },
        { 88200, 21000, 46350302.31525184, -1646.43852357376 },   { 96000, 21000, -31631735.35644773, 357.3920092805113 },
        { 176400, 21000, -10070239.9600338, -184.2023217388054 }, { 384000, 21000, -514651.7652128075, 15.8234308353126 },
    };
    for (const auto& r : rows)
    {
        const double* c = Table::rowFor (r.key, r.rate);
        ASSERT_NE (c, nullptr);
        EXPECT_EQ (c[-1], r.key);
        EXPECT_EQ (c[0], r.c0);
        EXPECT_EQ (c[9], r.c9);
    }
    EXPECT_EQ (Table::rowFor (21000, 192000)[3], -12780086.35426425);
}

TEST (CornerCompensationTable, NearestRowWithTiesToTheLowerKey)
{
    const struct
    {
        double corner, key;
    } cases[] = {
        { 21000, 21000 },         { 21049.9, 21000 }, { 21050, 21000 }, { 21050.001, 21100 },
        { 21051, 21100 },         { 19999, 20000 },   { 0, 20000 },     { -5, 20000 },
        { 24950, 24900 },         { 24951, 25000 },   { 25000, 25000 }, { 1e9, 25000 },
        { std::nan (""), 20000 },
    };
    for (const auto& c : cases)
        EXPECT_EQ (Table::rowFor (c.corner, 96000)[-1], c.key) << c.corner;
}

// Every row meets its defining property: at its section's rate, over the whole slope range, the
// designed filter is within 0.02 dB of -0.1 dB at the row's key.
TEST (CornerCompensationTable, EveryRowPlacesTheCornerAtMinusPointOneDecibel)
{
    double worst = 0.0;
    for (const double rate : Table::sectionRates)
        for (int row = 0; row < Table::rowCount; ++row)
        {
            const double key = Table::firstKey + row * Table::keyStep;
            for (int step = 0; step <= 20; ++step)
            {
                const double slope = step * 0.05;
                const auto d = designLowpass (key, slope, rate);
                const double db = 20.0 * std::log10 (magnitudeAt (d.coefficients.data(), d.count, key / rate * 2.0));
                worst = std::fmax (worst, std::abs (db + 0.1));
                ASSERT_NEAR (db, -0.1, 0.02) << rate << " Hz, key " << key << ", slope " << slope;
            }
        }
    RecordProperty ("worstDeviationDb", std::to_string (worst));
}
