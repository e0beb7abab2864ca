#pragma once

#include <array>
#include <functional>

namespace brevalon
{

// The points the magnitude display draws: the filter's level in dB at up to 180 logarithmically
// spaced frequencies from 10 kHz up to, not including, half the sample rate. The arrays live as
// long as this object; the display keeps pointers to them.
class ResponseCurve
{
public:
    static constexpr int maxPoints = 180;
    // Levels of magnitudes below this are drawn far below the plot.
    static constexpr double silentMagnitude = 1e-15;
    static constexpr double silentLevelDb = -300.0;

    // Samples `magnitudeAt` (frequency in Hz to linear magnitude). A negative magnitude (above
    // the rate of the last filter design) ends the curve without storing that point.
    void update (double sampleRate, const std::function<double (double)>& magnitudeAt);

    static double frequencyOfPoint (int index, double sampleRate) noexcept;

    const double* getFrequencies() const noexcept { return frequencies.data(); }
    const double* getLevels() const noexcept { return levels.data(); }
    int getCount() const noexcept { return count; }

private:
    std::array<double, maxPoints> frequencies{};
    std::array<double, maxPoints> levels{};
    int count = 0;
};

} // namespace brevalon
