// The generator's own randomness, in integers only, so that a seed gives the
// same level on every machine, compiler and thread count: a small stream of
// random numbers, a hash of a position, and smooth value noise built on it.
#pragma once

#include <cstdint>

// A stream of 64-bit random numbers from a seed (the SplitMix step): short,
// fast, and with no state beyond one word, so a generator can keep several
// streams that do not disturb each other.
class RandomStream {
public:
    explicit RandomStream(std::uint64_t seed)
        : m_state(seed)
    {
    }

    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // A number 0..bound-1 (0 when bound is 0), without the bias of a remainder
    // that matters for small bounds.
    std::uint32_t below(std::uint32_t bound) { return std::uint32_t(((next() >> 32) * bound) >> 32); }

private:
    std::uint64_t m_state;
};

// A well-mixed 32-bit hash of a lattice point and a salt.
inline std::uint32_t latticeHash(std::uint32_t x, std::uint32_t y, std::uint32_t salt)
{
    std::uint32_t h = x * 0x8DA6B343u ^ y * 0xD8163841u ^ salt * 0xCB1AB31Fu;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

// Smooth noise over the cells: random heights 0..65535 at the corners of a
// square lattice of period cells, blended across each square with a smooth
// step, and octaves of half the period (half the weight) added on top. Whole
// numbers throughout.
class ValueNoise {
public:
    // period: cells between lattice points of the first octave (at least 2);
    // octaves: 1..4.
    ValueNoise(std::uint32_t salt, std::uint32_t period, int octaves);

    // The noise at a cell, 0..65535.
    std::uint32_t at(std::uint32_t column, std::uint32_t row) const;

private:
    static constexpr int MaxOctaves = 4;
    std::uint32_t m_salt[MaxOctaves];
    std::uint32_t m_period[MaxOctaves];
    int m_octaves;
    std::uint32_t m_weightSum = 0;
};
