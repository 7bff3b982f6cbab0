// What the obstacle window shows: a battlefield code and a map position.
#pragma once

#include <cstdint>

// Battlefield code of a cell that has no battlefield (rock).
inline constexpr std::uint8_t NoBattlefield = 255;
// Battlefield code of the shore; codes 0..8 are the battlefields of terrain types 0..8.
inline constexpr std::uint8_t ShoreBattlefield = 9;

struct ObstacleView {
    std::uint8_t battlefield = 0;  // 0..9, or NoBattlefield
    std::uint8_t x = 0;            // map column, low 8 bits
    std::uint8_t y = 0;            // map row, low 8 bits

    friend bool operator==(const ObstacleView &, const ObstacleView &) = default;
};
