// One cell of a terrain grid: seven bytes, in the order the map file stores them.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

struct TerrainCell {
    std::uint8_t tertype = 0;   // terrain type 0..9
    std::uint8_t terconf = 0;   // terrain sprite index within the type's tile set
    std::uint8_t rivtype = 0;   // 0 = no river, 1..4
    std::uint8_t rivconf = 0;   // river sprite index 0..12
    std::uint8_t roadtype = 0;  // 0 = no road, 1..3
    std::uint8_t roadconf = 0;  // road sprite index 0..16
    std::uint8_t mirror = 0;    // bits 0..5: mirror flags; bits 6 and 7 are carried, never edited

    // Two overlapping four-byte words compared at once: the member-by-member
    // comparison branches on every byte, and editors compare millions of
    // cells whose differences follow no pattern.
    friend bool operator==(const TerrainCell &a, const TerrainCell &b)
    {
        std::uint32_t a0, a1, b0, b1;
        std::memcpy(&a0, &a.tertype, 4);
        std::memcpy(&a1, &a.rivconf, 4);
        std::memcpy(&b0, &b.tertype, 4);
        std::memcpy(&b1, &b.rivconf, 4);
        return ((a0 ^ b0) | (a1 ^ b1)) == 0;
    }
};
static_assert(sizeof(TerrainCell) == 7, "a cell is exactly its seven file bytes");

// Bits of TerrainCell::mirror.
namespace MirrorBit {
inline constexpr std::uint8_t TerrainLeftRight = 0x01;
inline constexpr std::uint8_t TerrainUpsideDown = 0x02;
inline constexpr std::uint8_t RiverLeftRight = 0x04;
inline constexpr std::uint8_t RiverUpsideDown = 0x08;
inline constexpr std::uint8_t RoadLeftRight = 0x10;
inline constexpr std::uint8_t RoadUpsideDown = 0x20;
inline constexpr std::uint8_t Editable = 0x3F;  // the six bits painting may change
}  // namespace MirrorBit

inline constexpr int TerrainTypeCount = 10;
inline constexpr int RiverTypeCount = 4;  // river types 1..4
inline constexpr int RoadTypeCount = 3;   // road types 1..3
inline constexpr int RiverSpriteCount = 13;
inline constexpr int RoadSpriteCount = 17;

// Highest terrain sprite index the brush may write, by terrain type. Index 10 is
// the position of the "not change" item of the terrain type list.
inline constexpr std::array<std::uint8_t, 11> maxTerrainSprite = {
    45, 23, 78, 78, 78, 78, 78, 78, 32, 47, 78};

// The entry for a terrain type byte as a file may hold it: types above 10 have
// no entry of their own and use the eleventh.
constexpr std::uint8_t maxTerrainSpriteFor(std::uint8_t tertype)
{
    return maxTerrainSprite[tertype < maxTerrainSprite.size() ? tertype : 10];
}
