#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

namespace brevalon::app
{

// The demo's test signal, stereo: a progression of chords of harmonic tones, all partials below
// 19 kHz (the programme the filter must leave alone), plus steady ultrasonic tones at 27.5, 32
// and 39 kHz and band-limited noise from 25.5 to 45 kHz (what it must remove). Deterministic.
// Peaks stay below -1 dBFS. The sample rate must be at least 96 kHz.
juce::AudioBuffer<float> makeDemoSignal (double sampleRate, double seconds);

} // namespace brevalon::app
