#pragma once

#include "processor/dsp/FirDesign.h"
#include "processor/dsp/StereoDelayLine.h"
#include "processor/dsp/StereoDotProduct.h"

#include <array>
#include <atomic>

namespace brevalon
{

// Runs the linear-phase low-pass on a stereo stream. While active (filtering or bypassed) the
// output is delayed by N >> 1 samples, so switching bypass or amount never shifts the signal.
// setFilter, setMixGains, setBypassed, resetDelay, process and magnitudeAt must not run
// concurrently (the caller serialises them with its processing lock); takeResponseChanged may
// be called from any thread.
//
// Changes are heard without clicks: a change of the dry/wet gains or of the bypass state (the
// parameter's or the host's) moves the output linearly from the old mix to the new one over
// getRampLength() samples (5 ms), and new taps at the same rate are crossfaded in from the
// previous ones over the same length, both filters reading the one shared history. A change
// during a running ramp starts a new ramp from the gains heard at that moment; a new design
// during a crossfade first folds what is heard (previous and current taps at their gains) into
// one filter, which then fades out. Ramps run sample by sample, independent of block sizes;
// once a ramp ends, the output is exactly that of an engine that had the new settings all
// along. The stream's start (first block, after resetDelay, a new rate or leaving the inactive
// state) takes the settings at once.
class FirLowpassEngine
{
public:
    static constexpr double minSampleRate = 88200.0;
    static constexpr double maxSampleRate = 384000.0;

    // Which block kernels to run: the fastest this processor supports, or the SSE2 baseline
    // (which rounds each product on its own, so its output may differ in the last bits).
    enum class Kernels
    {
        fastest,
        baseline
    };

    explicit FirLowpassEngine (Kernels kernels = Kernels::fastest) noexcept;

    // Installs a new design. Allocates only when the rate changes the nominal length.
    void setFilter (double cornerHz, double slope, double sampleRate);
    void setMixGains (double dry) noexcept;
    void setBypassed (bool shouldBypass) noexcept { bypassed = shouldBypass; }

    // Clears the history and ends any ramp: the next block starts a new stream.
    void resetDelay() noexcept;

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

    // Length of the ramps in samples at the design rate: round(5 ms * rate).
    int getRampLength() const noexcept { return rampLength; }
    bool isRamping() const noexcept { return rampLeft > 0; }

private:
    MixGains heardGains() const noexcept;
    void startRamp (const MixGains& target) noexcept;
    void beginCrossfade (const FirDesign& design) noexcept;
    void endRamps() noexcept;

    bool bypassed = false;
    // Read by the editor on the message thread while the audio thread designs.
    std::atomic<bool> active{ false };
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
    RampBlockFunction rampBlock;

    // Ramp state. rampTo is the mix being moved to (or held, once the ramp has ended); rampFrom
    // the mix heard when the ramp started. from.previous != 0 means the previous taps are
    // being faded out.
    bool streaming = false; // a block has been output since the stream started
    MixGains rampFrom{ 0.0, 1.0, 0.0 };
    MixGains rampTo{ 0.0, 1.0, 0.0 };
    int rampLength = 1;
    int rampDone = 0;
    int rampLeft = 0;

    // Crossfade taps: the previous filter and a copy of `taps`, both placed from history frame
    // fadeOffset. fadeExtent is the odd number of frames, centred on the dry sample, that either
    // set covers; the slots beyond it are 0.
    alignas (32) std::array<double, kMaxPaddedTaps> fadePrevious{};
    alignas (32) std::array<double, kMaxPaddedTaps> fadeCurrent{};
    uint32_t fadeOffset = 0;
    int fadeExtent = 0;
};

} // namespace brevalon
