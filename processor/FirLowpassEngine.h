#pragma once

#include "FirDesign.h"
#include "StereoDelayLine.h"
#include "StereoDotProduct.h"

#include <array>
#include <atomic>

namespace brevalon
{

// Runs the linear-phase low-pass on a stereo stream. While active (filtering or bypassed) the
// output is delayed by N >> 1 samples, so switching bypass or amount never shifts the signal.
// setFilter, setMixGains, setBypassed, resetDelay, process and magnitudeAt must not run
// concurrently (the caller serialises them with its processing lock); takeResponseChanged may
// be called from any thread.
class FirLowpassEngine
{
public:
    static constexpr double minSampleRate = 88200.0;
    static constexpr double maxSampleRate = 384000.0;

    FirLowpassEngine() noexcept;

    // Installs a new design. Allocates only when the rate changes the nominal length.
    void setFilter (double cornerHz, double slope, double sampleRate);
    void setMixGains (double dry) noexcept;
    void setBypassed (bool shouldBypass) noexcept { bypassed = shouldBypass; }
    void resetDelay() noexcept { delay.reset(); }

    int latencySamples() const noexcept { return active ? static_cast<int> (delay.getLength() >> 1) : 0; }
    bool takeResponseChanged() noexcept { return responseChanged.exchange (false); }

    // Linear magnitude of the whole path (wet filter plus dry) at a frequency in Hz; -1 above
    // half the design rate, 1 while inactive.
    double magnitudeAt (double frequencyHz) const noexcept;

    // Processes numSamples frames; inputs and outputs may alias (in place, or mono with all four
    // pointers equal).
    void process (const float* inLeft, const float* inRight, float* outLeft, float* outRight, int numSamples, bool hostBypassed) noexcept;

    bool isActive() const noexcept { return active; }
    bool isBypassed() const noexcept { return bypassed; }
    int getTapCount() const noexcept { return count; }
    int getReadOffset() const noexcept { return readOffset; }
    int getNominalLength() const noexcept { return static_cast<int> (delay.getLength()); }
    const double* getTaps() const noexcept { return taps.data(); }
    double getDryGain() const noexcept { return dryGain; }
    double getWetGain() const noexcept { return wetGain; }
    double getDesignCorner() const noexcept { return designCorner; }
    double getDesignSlope() const noexcept { return designSlope; }
    double getDesignRate() const noexcept { return designRate; }

private:
    bool bypassed = false;
    bool active = false;
    alignas (32) std::array<double, kMaxPaddedTaps> taps{};
    StereoDelayLine delay;
    int count = 0;
    int readOffset = 0;
    double designCorner = 0.0;
    double designSlope = 0.0;
    double designRate = 0.0;
    double dryGain = 0.0;
    double wetGain = 1.0;
    std::atomic<bool> responseChanged{ true };
    FilterBlockFunction filterBlock;
};

} // namespace brevalon
