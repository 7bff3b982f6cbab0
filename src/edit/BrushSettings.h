// The brush as painting applies it, read from the side panel's selectors.
#pragma once

#include "edit/BrushSelectors.h"

#include <array>
#include <cstdint>

struct BrushSettings {
    bool paintTerrain = true;
    std::uint8_t terrainType = 0;     // 0..9, or 10 for "not change"
    std::uint8_t terrainConfig = 0;   // sprite index; above the type's highest means "n/c"
    bool keepTerrainConfig = false;
    bool riverOnlyExisting = false;   // an "Any>" river item: only cells with a river change type
    bool paintRiver = false;
    std::uint8_t riverType = 0;       // 0..4
    std::uint8_t riverConfig = 13;    // 0..12, 13 = "n/c"
    bool paintRoad = false;
    bool roadOnlyExisting = false;
    std::uint8_t roadType = 0;        // 0..3
    std::uint8_t roadConfig = 17;     // 0..16, 17 = "n/c"
    std::array<bool, 6> mirrorBits{}; // wanted state of mirror bits 0..5
    bool mirrorApply = false;
    bool mirrorSetOnly = false;
    std::uint8_t brushWidth = 1;      // 1..36 columns
    std::uint8_t brushHeight = 1;     // 1..36 rows
    bool fillX = false;
    bool fillY = false;

    static constexpr std::uint8_t RiverConfigCount = 13;
    static constexpr std::uint8_t RoadConfigCount = 17;

    // The settings the selectors describe. The brush width and height keep their
    // previous values while "fill" is chosen, since the band rule of a one-way
    // fill still uses them. An index outside its list counts as the list's
    // "not change" item (or, for a brush size, as no change of the size).
    static BrushSettings fromSelectors(const BrushSelectors &selectors, const BrushSettings &previous);

    friend bool operator==(const BrushSettings &, const BrushSettings &) = default;
};
