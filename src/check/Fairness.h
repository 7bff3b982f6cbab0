// Fairness figures: a level split into the players' sides of a symmetry mode
// (the places that mirror each other, one side each), and for each side its
// counts of every terrain, river and road type, its water share, its road
// length and its land regions.
#pragma once

#include "edit/Symmetry.h"
#include "map/TerrainLayer.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// No side: a cell that is its own mirror (a middle line, the diagonal).
inline constexpr std::uint8_t SharedCell = 0xFF;

// Which side every cell of a level of the side belongs to, in file order, and
// how many sides there are. A cell whose mirror places are all apart from it
// and from each other belongs to a side: the first of its group in reading
// order to side 0, the others to the side of the mirror place they are (the
// engine lists a group's places in the same order for every group). Mode Off
// makes one side of the whole level.
struct SideMap {
    std::vector<std::uint8_t> cells;
    int count = 1;
};
SideMap sideMap(SymmetryMode mode, std::uint32_t side);

struct SideFigures {
    // Where the side lies: -1 left (top), 0 across the middle, 1 right (bottom).
    int across = 0;
    int down = 0;
    std::uint64_t cells = 0;
    std::array<std::uint64_t, TerrainTypeCount> terrain{};
    std::array<std::uint64_t, RiverTypeCount + 1> rivers{};  // 0: no river
    std::array<std::uint64_t, RoadTypeCount + 1> roads{};    // 0: no road
    std::uint64_t water = 0;
    double waterPercent = 0;
    std::uint64_t roadLength = 0;  // cells with a road
    // Land (neither water nor rock) joined through side neighbours within the side.
    std::uint64_t regions = 0;
    std::uint64_t largestRegion = 0;
    // Some of the side's land is joined to another side's over land.
    bool joinsOtherSides = false;
};

struct Fairness {
    std::vector<SideFigures> sides;
    std::uint64_t sharedCells = 0;
};

inline constexpr std::uint8_t WaterTerrain = 8;
inline constexpr std::uint8_t RockTerrain = 9;

Fairness fairnessOf(const TerrainLayer &layer, SymmetryMode mode);

// "left", "top-right", "bottom", ... or "whole" for the one side of mode Off.
QString sideName(const SideFigures &side);

// One figure of every side, for the table that puts the largest differences first.
struct FigureRow {
    enum class What { Terrain, River, Road, WaterShare, RoadLength, Regions, LargestRegion, JoinsOthers };
    What what = What::Terrain;
    std::uint8_t type = 0;  // the terrain, river or road type
    std::vector<double> values;  // by side
    double spread = 0;           // largest value less the smallest
};
// Every figure, the largest spread first (figures of equal spread in the
// order above, types in their order).
std::vector<FigureRow> figureRows(const Fairness &fairness);
