// Integer value noise.
#include "generate/IntegerNoise.h"

#include <algorithm>

namespace {

// The smooth step 3t² - 2t³ for t in 0..65536 (16 fraction bits).
inline std::int64_t smoothStep(std::int64_t t)
{
    return (t * t * (3 * 65536 - 2 * t)) >> 32;
}

inline std::int64_t blend(std::int64_t a, std::int64_t b, std::int64_t t)
{
    return a + (((b - a) * t) >> 16);
}

}  // namespace

ValueNoise::ValueNoise(std::uint32_t salt, std::uint32_t period, int octaves)
    : m_octaves(std::clamp(octaves, 1, MaxOctaves))
{
    RandomStream salts(salt);
    for (int octave = 0; octave < m_octaves; ++octave) {
        m_salt[octave] = std::uint32_t(salts.next());
        m_period[octave] = std::max<std::uint32_t>(2, period >> octave);
        m_weightSum += 1u << (m_octaves - 1 - octave);
    }
}

std::uint32_t ValueNoise::at(std::uint32_t column, std::uint32_t row) const
{
    std::uint64_t sum = 0;
    for (int octave = 0; octave < m_octaves; ++octave) {
        const std::uint32_t period = m_period[octave];
        const std::uint32_t x = column / period;
        const std::uint32_t y = row / period;
        const std::int64_t tx = smoothStep((std::int64_t(column % period) << 16) / period);
        const std::int64_t ty = smoothStep((std::int64_t(row % period) << 16) / period);
        const std::uint32_t salt = m_salt[octave];
        const std::int64_t top = blend(latticeHash(x, y, salt) & 0xFFFF, latticeHash(x + 1, y, salt) & 0xFFFF, tx);
        const std::int64_t bottom =
            blend(latticeHash(x, y + 1, salt) & 0xFFFF, latticeHash(x + 1, y + 1, salt) & 0xFFFF, tx);
        sum += std::uint64_t(blend(top, bottom, ty)) << (m_octaves - 1 - octave);
    }
    return std::uint32_t(std::min<std::uint64_t>(sum / m_weightSum, 0xFFFF));
}
