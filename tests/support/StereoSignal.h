#pragma once

#include "tests/support/WhiteNoise.h"

#include <cstring>
#include <vector>

namespace brevalon::test
{

// A stereo signal as two float channels, for feeding the engine in tests.
struct Stereo
{
    std::vector<float> left, right;

    explicit Stereo (size_t n = 0)
        : left (n, 0.0f),
          right (n, 0.0f)
    {
    }
    size_t size() const { return left.size(); }
    bool operator== (const Stereo& o) const
    {
        return left.size() == o.left.size() && std::memcmp (left.data(), o.left.data(), left.size() * sizeof (float)) == 0 &&
               std::memcmp (right.data(), o.right.data(), right.size() * sizeof (float)) == 0;
    }
};

// True when both signals hold the same samples, bit for bit, from `from` up to `to`.
inline bool identical (const Stereo& a, const Stereo& b, size_t from, size_t to)
{
    return std::memcmp (a.left.data() + from, b.left.data() + from, (to - from) * sizeof (float)) == 0 &&
           std::memcmp (a.right.data() + from, b.right.data() + from, (to - from) * sizeof (float)) == 0;
}

// White noise in -amplitude..amplitude, the left channel then the right from one generator (see
// WhiteNoise).
inline Stereo makeStereoNoise (size_t n, unsigned seed, float amplitude = 1.0f)
{
    WhiteNoise noise (seed, amplitude);
    Stereo s (n);
    noise.fill (s.left.data(), n);
    noise.fill (s.right.data(), n);
    return s;
}

} // namespace brevalon::test
