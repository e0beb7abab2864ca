#pragma once

#include <cstddef>
#include <random>

namespace brevalon::test
{

// Uniform white noise in -amplitude..amplitude from a fixed seed, so a failing test sees the same
// signal again. Every noise signal of the tests comes from here; buffers of several channels
// take them one after another from one generator.
class WhiteNoise
{
public:
    WhiteNoise (unsigned seed, float amplitude)
        : random (seed),
          value (-amplitude, amplitude)
    {
    }

    float next() { return value (random); }

    void fill (float* samples, size_t count)
    {
        for (size_t i = 0; i < count; ++i)
            samples[i] = next();
    }

private:
    std::mt19937 random;
    std::uniform_real_distribution<float> value;
};

} // namespace brevalon::test
