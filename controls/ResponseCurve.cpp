#include "controls/ResponseCurve.h"

#include <cmath>

namespace brevalon
{

double ResponseCurve::frequencyOfPoint (int index, double sampleRate) noexcept
{
    return std::pow (10.0, 4.0 + index * (std::log10 (sampleRate / 2.0) - 4.0) / maxPoints);
}

void ResponseCurve::update (double sampleRate, const std::function<double (double)>& magnitudeAt)
{
    count = 0;
    for (int i = 0; i < maxPoints; ++i)
    {
        const double frequency = frequencyOfPoint (i, sampleRate);
        const double magnitude = magnitudeAt (frequency);
        if (magnitude < 0.0)
            break;
        frequencies[(size_t)i] = frequency;
        levels[(size_t)i] = magnitude < silentMagnitude ? silentLevelDb : 20.0 * std::log10 (magnitude);
        ++count;
    }
}

} // namespace brevalon
