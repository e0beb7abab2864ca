// Prints a summary of a filter design: nominal length N, trimmed length M, latency and the
// measured -0.1 dB point.
//
// Usage: brevalon-design [RATE_HZ [CORNER_HZ [SLOPE_PERCENT]]]
//        without arguments: the default filter (21000 Hz, 75 %) at 96000 and 192000 Hz.

#include "processor/dsp/FirDesign.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace
{

double magnitudeDb (const brevalon::FirDesign& design, double frequency, double rate)
{
    return 20.0 * std::log10 (brevalon::magnitudeAt (design.coefficients.data(), design.count, frequency / rate * 2.0));
}

// The highest frequency below Nyquist where the response is still at or above -0.1 dB, found by
// scanning down from the top of the band and bisecting the crossing.
double measuredCorner (const brevalon::FirDesign& design, double rate)
{
    double high = rate * 0.5;
    double low = high;
    while (low > 0.0 && magnitudeDb (design, low, rate) < -0.1)
    {
        high = low;
        low -= 10.0;
    }
    for (int i = 0; i < 60; ++i)
    {
        const double mid = 0.5 * (low + high);
        (magnitudeDb (design, mid, rate) >= -0.1 ? low : high) = mid;
    }
    return low;
}

void printDesign (double rate, double corner, double slopePercent)
{
    const auto design = brevalon::designLowpass (corner, slopePercent / 100.0, rate);
    std::printf ("%.0f Hz, corner %.1f Hz, slope %.1f %%: N = %d, M = %d, latency = %d samples, "
                 "measured -0.1 dB point = %.1f Hz (%.3f dB at the corner)\n",
                 rate, corner, slopePercent, design.nominalLength, design.count, design.nominalLength >> 1, measuredCorner (design, rate),
                 magnitudeDb (design, corner, rate));
}

} // namespace

int main (int argc, char** argv)
{
    if (argc == 1)
    {
        printDesign (96000.0, 21000.0, 75.0);
        printDesign (192000.0, 21000.0, 75.0);
        return 0;
    }

    const double rate = std::atof (argv[1]);
    const double corner = argc > 2 ? std::atof (argv[2]) : 21000.0;
    const double slope = argc > 3 ? std::atof (argv[3]) : 75.0;
    if (! (rate >= 88200.0 && rate <= 384000.0))
    {
        std::fprintf (stderr, "brevalon-design: sample rate %s outside 88200..384000 Hz\n", argv[1]);
        return 2;
    }
    printDesign (rate, corner, slope);
    return 0;
}
