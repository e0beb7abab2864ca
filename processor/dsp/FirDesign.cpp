#include "processor/dsp/FirDesign.h"

#include "processor/dsp/CornerCompensationTable.h"

#include <cmath>

namespace brevalon
{
namespace
{
constexpr double kPi = 3.14159265358979323846;
constexpr double kKaiserBeta = 14.0;
const double kTrimThreshold = std::pow (10.0, -5.5);
} // namespace

int nominalLengthFor (double sampleRate) noexcept
{
    auto n = static_cast<int> (std::floor (sampleRate / 192000.0 * 180.0 + 0.5));
    return (n % 2 == 0) ? n + 1 : n;
}

double windowParameterFor (double slope, double sampleRate) noexcept
{
    const double gLow = std::log (sampleRate * 18.0 / 192000.0);
    const double gHigh = std::log (sampleRate * 180.0 / 192000.0);
    return gLow + slope * (gHigh - gLow);
}

FirDesign designLowpass (double cornerHz, double slope, double sampleRate) noexcept
{
    const double g = windowParameterFor (slope, sampleRate);
    return designWindowedSinc (compensatedCutoff (cornerHz, g, sampleRate), g, sampleRate);
}

FirDesign designWindowedSinc (double sincCutoffHz, double windowParameter, double sampleRate) noexcept
{
    FirDesign design;
    const int n = nominalLengthFor (sampleRate);
    const int half = n >> 1;
    design.nominalLength = n;

    const double windowLength = std::exp (windowParameter) + 1.0;
    const double centre = (n - 1) / 2.0;
    const double omega = 2.0 * kPi * sincCutoffHz / sampleRate;
    const double besselAtBeta = besselI0 (kKaiserBeta);

    // Untrimmed taps. Only the left half is computed and then mirrored, so the filter is
    // symmetric bit for bit; the centre tap's window value is exactly 1.
    std::array<double, kMaxNominalLength + 1> untrimmed{};
    for (int i = 0; i < half; ++i)
    {
        const double d = i - centre;
        const double u = d / windowLength + 0.5;
        double tap = 0.0;
        if (u >= 0.0 && u <= 1.0)
        {
            const double t = 2.0 * u - 1.0;
            const double window = besselI0 (kKaiserBeta * std::sqrt (1.0 - t * t)) / besselAtBeta;
            tap = std::sin (omega * d) / (kPi * d) * window;
        }
        untrimmed[static_cast<size_t> (i)] = tap;
        untrimmed[static_cast<size_t> (n - 1 - i)] = tap;
    }
    untrimmed[static_cast<size_t> (half)] = 2.0 * sincCutoffHz / sampleRate;

    // Trim the outer taps below the threshold, symmetrically.
    int z = 0;
    while (z < half && std::abs (untrimmed[static_cast<size_t> (z)]) < kTrimThreshold)
        ++z;

    const int m = n - 2 * z;
    double sum = 0.0;
    for (int i = z; i < n - z; ++i)
        sum += untrimmed[static_cast<size_t> (i)];

    for (int k = 0; k < m; ++k)
        design.coefficients[static_cast<size_t> (k)] = untrimmed[static_cast<size_t> (z + k)] / sum;

    design.count = m;
    design.readOffset = half - (m >> 1);
    return design;
}

double compensatedCutoff (double cornerHz, double windowParameter, double sampleRate) noexcept
{
    const double* row = CornerCompensationTable::rowFor (cornerHz, sampleRate);
    if (row == nullptr)
        return 25000.0;

    // Horner's scheme for c0 + c1 g + ... + c9 g^9.
    double fc = row[CornerCompensationTable::polynomialDegree];
    for (int k = CornerCompensationTable::polynomialDegree - 1; k >= 0; --k)
        fc = fc * windowParameter + row[k];
    return fc;
}

double besselI0 (double x) noexcept
{
    const double q = (x * 0.5) * (x * 0.5);
    double sum = 1.0;
    double term = 1.0;
    for (int k = 1; k <= 79; ++k)
    {
        term = term * q / (static_cast<double> (k) * k);
        sum += term;
        if (term < 1e-6)
            break;
    }
    return sum;
}

double magnitudeAt (const double* taps, int count, double nu) noexcept
{
    const double x = 2.0 * std::cos (kPi * nu);
    double sPrev = 0.0;
    double sPrev2 = 0.0;
    for (int n = 0; n < count; ++n)
    {
        const double s = taps[n] + x * sPrev - sPrev2;
        sPrev2 = sPrev;
        sPrev = s;
    }
    const double power = sPrev * sPrev + sPrev2 * sPrev2 - x * sPrev * sPrev2;
    return power > 0.0 ? std::sqrt (power) : 1e-12;
}

} // namespace brevalon
