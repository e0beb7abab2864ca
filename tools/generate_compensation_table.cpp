// Regenerates processor/CornerCompensationTableData.cpp.
//
// Each row of the table is a degree-9 polynomial in the Kaiser window parameter g that gives the
// sinc cutoff placing the designed filter's -0.1 dB point at the row's key frequency. For every
// rate and key this program solves for that cutoff at many values of g across the slope range
// (bisection on the magnitude of the real design), fits the polynomial by least squares and
// reports the worst deviation from -0.1 dB it finds. The published reference rows are kept as
// they stand.
//
// Usage: generate_compensation_table OUTPUT.cpp

#include "processor/dsp/CornerCompensationTable.h"
#include "processor/dsp/FirDesign.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

using brevalon::CornerCompensationTable;

namespace
{

constexpr double kTargetDb = -0.1;
constexpr int kDegree = CornerCompensationTable::polynomialDegree;
constexpr int kFitPoints = 201;

// Reference rows, kept verbatim (rate, key) -> c0..c9.
const std::map<std::pair<int, int>, std::array<const char*, kDegree + 1>> kReferenceRows{
    { { 192000, 20000 },
      { "6180522.59909121", "-5594053.904599752", "-2908931.416005513", "6813212.731113618", "-4507802.047437186", "1615115.170331518",
        "-349012.4533407532", "45624.41054305751", "-3336.692491250952", "105.1310929035981" } },
    { { 192000, 21000 },
      { "-11646689.2697828", "10592861.89117091", "5617300.538562873", "-12780086.35426425", "8302125.888440602", "-2924522.76511436",
        "622016.6779769858", "-80122.89326688721", "5780.322285112058", "-179.8441048521556" } },
    { { 192000, 22500 },
      { "1561475.606850985", "-1133850.205836954", "-755934.5677639873", "1370501.422426445", "-800381.8165078941", "254896.1438197009",
        "-48576.31286665836", "5515.493336970121", "-342.6008582185665", "8.879567063029434" } },
    { { 192000, 25000 },
      { "-6731669.969551548", "6722982.619035864", "3153551.897455392", "-8186837.858631063", "5606137.847205091", "-2059647.335744484",
        "454517.1764136598", "-60524.03142253507", "4500.457008674336", "-143.9534906324992" } },
    { { 88200, 21000 },
      { "46350302.31525184", "-140925451.3643237", "187542618.7089973", "-143427103.173106", "69557020.07180224", "-22209537.86828119",
        "4673734.858107572", "-625587.0866439989", "48364.31518837043", "-1646.43852357376" } },
    { { 96000, 21000 },
      { "-31631735.35644773", "83140836.84294301", "-96061173.18265976", "64192354.26590635", "-27355403.19467175", "7710694.067382482",
        "-1437679.626852726", "170989.4704193302", "-11771.38482062724", "357.3920092805113" } },
    { { 176400, 21000 },
      { "-10070239.9600338", "9675624.919396305", "4475598.35202405", "-11284642.22186628", "7577080.581390005", "-2739377.36809308",
        "596585.132235246", "-78597.26209421628", "5795.389390144234", "-184.2023217388054" } },
    { { 384000, 21000 },
      { "-514651.7652128075", "-221824.5603114773", "310151.0321727676", "356521.5370797229", "-464892.675067885", "212121.3076260115",
        "-51158.95499779988", "6988.850636017654", "-513.3802032368951", "15.8234308353126" } },
};

double magnitudeDb (double cutoff, double g, double rate, double key)
{
    const auto design = brevalon::designWindowedSinc (cutoff, g, rate);
    return 20.0 * std::log10 (brevalon::magnitudeAt (design.coefficients.data(), design.count, key / rate * 2.0));
}

// The sinc cutoff whose design is at -0.1 dB at `key`: the first crossing above the key.
double solveCutoff (double key, double g, double rate)
{
    double low = key;
    double high = key;
    while (magnitudeDb (high, g, rate, key) < kTargetDb)
    {
        low = high;
        high += 250.0;
    }
    for (int i = 0; i < 80 && high - low > 1e-9; ++i)
    {
        const double mid = 0.5 * (low + high);
        (magnitudeDb (mid, g, rate, key) < kTargetDb ? low : high) = mid;
    }
    return 0.5 * (low + high);
}

// Least-squares polynomial fit in t = (g - centre) / halfWidth, by Householder QR in long
// double, then expanded into monomial coefficients of g.
std::array<double, kDegree + 1> fitPolynomial (const std::vector<double>& gs, const std::vector<double>& ys,
                                               const std::vector<double>& weights, double gLow, double gHigh)
{
    const int rows = static_cast<int> (gs.size());
    constexpr int cols = kDegree + 1;
    const long double centre = 0.5L * ((long double)gLow + gHigh);
    const long double halfWidth = 0.5L * ((long double)gHigh - gLow);

    std::vector<std::array<long double, cols>> a (static_cast<size_t> (rows));
    std::vector<long double> b (static_cast<size_t> (rows));
    for (int r = 0; r < rows; ++r)
    {
        const long double w = std::sqrt ((long double)weights[(size_t)r]);
        const long double t = ((long double)gs[(size_t)r] - centre) / halfWidth;
        long double power = w;
        for (int c = 0; c < cols; ++c, power *= t)
            a[(size_t)r][(size_t)c] = power;
        b[(size_t)r] = w * ys[(size_t)r];
    }

    for (int c = 0; c < cols; ++c)
    {
        long double norm = 0.0L;
        for (int r = c; r < rows; ++r)
            norm += a[(size_t)r][(size_t)c] * a[(size_t)r][(size_t)c];
        norm = std::sqrt (norm);
        const long double alpha = a[(size_t)c][(size_t)c] > 0 ? -norm : norm;
        std::vector<long double> v (static_cast<size_t> (rows), 0.0L);
        for (int r = c; r < rows; ++r)
            v[(size_t)r] = a[(size_t)r][(size_t)c];
        v[(size_t)c] -= alpha;
        long double vv = 0.0L;
        for (int r = c; r < rows; ++r)
            vv += v[(size_t)r] * v[(size_t)r];
        if (vv == 0.0L)
            continue;
        for (int k = c; k < cols; ++k)
        {
            long double dot = 0.0L;
            for (int r = c; r < rows; ++r)
                dot += v[(size_t)r] * a[(size_t)r][(size_t)k];
            for (int r = c; r < rows; ++r)
                a[(size_t)r][(size_t)k] -= 2.0L * dot / vv * v[(size_t)r];
        }
        long double dot = 0.0L;
        for (int r = c; r < rows; ++r)
            dot += v[(size_t)r] * b[(size_t)r];
        for (int r = c; r < rows; ++r)
            b[(size_t)r] -= 2.0L * dot / vv * v[(size_t)r];
    }

    std::array<long double, cols> inT{};
    for (int c = cols - 1; c >= 0; --c)
    {
        long double sum = b[(size_t)c];
        for (int k = c + 1; k < cols; ++k)
            sum -= a[(size_t)c][(size_t)k] * inT[(size_t)k];
        inT[(size_t)c] = sum / a[(size_t)c][(size_t)c];
    }

    // t = alpha g + beta; expand sum_j inT[j] (alpha g + beta)^j.
    const long double alpha = 1.0L / halfWidth;
    const long double beta = -centre / halfWidth;
    std::array<long double, cols> inG{};
    for (int j = 0; j < cols; ++j)
    {
        long double binomial = 1.0L;
        for (int i = 0; i <= j; ++i)
        {
            inG[(size_t)i] += inT[(size_t)j] * binomial * std::pow (alpha, (long double)i) * std::pow (beta, (long double)(j - i));
            binomial = binomial * (j - i) / (i + 1);
        }
    }

    std::array<double, cols> result{};
    for (int c = 0; c < cols; ++c)
        result[(size_t)c] = static_cast<double> (inG[(size_t)c]);
    return result;
}

double evaluate (const std::array<double, kDegree + 1>& coefficients, double g)
{
    double value = coefficients[kDegree];
    for (int k = kDegree - 1; k >= 0; --k)
        value = value * g + coefficients[(size_t)k];
    return value;
}

// Lawson's iteration: reweighting the least-squares fit by the residuals moves it towards the
// minimax fit, which keeps the worst deviation over the slope range small.
std::array<double, kDegree + 1> fitNearMinimax (const std::vector<double>& gs, const std::vector<double>& ys, double gLow, double gHigh)
{
    std::vector<double> weights (gs.size(), 1.0);
    auto coefficients = fitPolynomial (gs, ys, weights, gLow, gHigh);
    for (int iteration = 0; iteration < 40; ++iteration)
    {
        double total = 0.0;
        for (size_t i = 0; i < gs.size(); ++i)
        {
            weights[i] *= std::abs (evaluate (coefficients, gs[i]) - ys[i]) + 1e-12;
            total += weights[i];
        }
        for (auto& w : weights)
            w /= total;
        coefficients = fitPolynomial (gs, ys, weights, gLow, gHigh);
    }
    return coefficients;
}

double worstDeviationDb (const double* coefficients, double key, double rate)
{
    double worst = 0.0;
    for (int step = 0; step <= 200; ++step)
    {
        const double g = brevalon::windowParameterFor (step / 200.0, rate);
        double cutoff = coefficients[kDegree];
        for (int k = kDegree - 1; k >= 0; --k)
            cutoff = cutoff * g + coefficients[k];
        worst = std::fmax (worst, std::abs (magnitudeDb (cutoff, g, rate, key) - kTargetDb));
    }
    return worst;
}

} // namespace

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf (stderr, "usage: %s OUTPUT.cpp\n", argv[0]);
        return 2;
    }

    std::string body;
    char buffer[64];
    double worstOverall = 0.0;

    for (const double rate : CornerCompensationTable::sectionRates)
    {
        std::snprintf (buffer, sizeof (buffer), "    // %.0f Hz\n    %.1f,\n", rate, rate);
        body += buffer;

        const double gLow = brevalon::windowParameterFor (0.0, rate);
        const double gHigh = brevalon::windowParameterFor (1.0, rate);

        for (int row = 0; row < CornerCompensationTable::rowCount; ++row)
        {
            const double key = CornerCompensationTable::firstKey + row * CornerCompensationTable::keyStep;
            std::array<std::string, kDegree + 1> texts;
            std::array<double, kDegree + 1> coefficients{};

            const auto reference = kReferenceRows.find ({ static_cast<int> (rate), static_cast<int> (key) });
            if (reference != kReferenceRows.end())
            {
                for (size_t c = 0; c < texts.size(); ++c)
                {
                    texts[c] = reference->second[c];
                    coefficients[c] = std::strtod (reference->second[c], nullptr);
                }
            }
            else
            {
                std::vector<double> gs, cutoffs;
                for (int i = 0; i < kFitPoints; ++i)
                {
                    const double g = gLow + (gHigh - gLow) * i / (kFitPoints - 1);
                    gs.push_back (g);
                    cutoffs.push_back (solveCutoff (key, g, rate));
                }
                coefficients = fitNearMinimax (gs, cutoffs, gLow, gHigh);
                for (size_t c = 0; c < texts.size(); ++c)
                {
                    std::snprintf (buffer, sizeof (buffer), "%.17g", coefficients[c]);
                    texts[c] = buffer;
                }
            }

            const double worst = worstDeviationDb (coefficients.data(), key, rate);
            worstOverall = std::fmax (worstOverall, worst);
            std::fprintf (stderr, "%6.0f Hz  key %5.0f  worst deviation %.5f dB%s\n", rate, key, worst,
                          reference != kReferenceRows.end() ? "  (reference row)" : "");

            std::snprintf (buffer, sizeof (buffer), "    %.1f,", key);
            body += buffer;
            for (const auto& text : texts)
                body += " " + text + ",";
            body += "\n";
        }
    }

    std::FILE* out = std::fopen (argv[1], "w");
    if (out == nullptr)
    {
        std::fprintf (stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    std::fprintf (out,
                  "// Generated by tools/generate_compensation_table; do not edit by hand.\n"
                  "// Layout: per section the rate, then per row the key (Hz) and c0..c9.\n\n"
                  "#include \"CornerCompensationTable.h\"\n\n"
                  "namespace brevalon\n{\n\n"
                  "const std::array<double, CornerCompensationTable::totalSize> CornerCompensationTable::values { {\n"
                  "%s} };\n\n"
                  "} // namespace brevalon\n",
                  body.c_str());
    std::fclose (out);
    std::fprintf (stderr, "worst deviation over the table: %.5f dB\n", worstOverall);
    return 0;
}
