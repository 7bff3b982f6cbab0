// Tests of the fairness figures: which side each cell belongs to under every
// symmetry, and the counts, water share, road length and land regions of
// each side of a small asymmetric level.
#include "check/Fairness.h"
#include "check/SymmetryNames.h"

#include <gtest/gtest.h>

namespace {

// Every cell off the mirror lines belongs to a side, its mirror places to
// the others, one each; the sides are named where they lie.
TEST(Fairness, SidesOfEverySymmetry)
{
    struct Case {
        SymmetryMode mode;
        std::vector<const char *> names;
        std::uint64_t shared;  // on a 9 x 9 level
    };
    const Case cases[] = {
        {SymmetryMode::Off, {"whole"}, 0},
        {SymmetryMode::LeftRight, {"left", "right"}, 9},
        {SymmetryMode::TopBottom, {"top", "bottom"}, 9},
        {SymmetryMode::FourWay, {"top-left", "top-right", "bottom-left", "bottom-right"}, 17},
        {SymmetryMode::HalfTurn, {"top", "bottom"}, 1},
        {SymmetryMode::QuarterTurn, {"top", "right", "bottom", "left"}, 1},
        {SymmetryMode::Diagonal, {"top-right", "bottom-left"}, 9},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.mode));
        constexpr std::uint32_t Side = 9;
        const SideMap map = sideMap(c.mode, Side);
        ASSERT_EQ(map.count, int(c.names.size()));
        for (std::uint32_t i = 0; i < Side * Side; ++i) {
            const CellPosition cell{std::uint16_t(i % Side), std::uint16_t(i / Side)};
            if (map.cells[i] == SharedCell)
                continue;
            std::vector<int> seen = {map.cells[i]};
            for (const MirrorPlace &place : mirrorPlaces(c.mode, Side, cell))
                seen.push_back(map.cells[place.position.row * Side + place.position.column]);
            std::sort(seen.begin(), seen.end());
            EXPECT_EQ(std::unique(seen.begin(), seen.end()), seen.end()) << "mirror places on different sides";
            EXPECT_EQ(seen.size(), c.names.size());
        }
        const Fairness fairness = fairnessOf(TerrainLayer(Side), c.mode);
        EXPECT_EQ(fairness.sharedCells, c.shared);
        for (std::size_t s = 0; s < c.names.size(); ++s)
            EXPECT_EQ(sideName(fairness.sides[s]).toStdString(), c.names[s]);
    }
}

// An 8 x 8 level, split left and right:
//     left      right
//   g g w g | g g g g      g grass, w water, r rock, = road
//   g g w g | g g g g
//   = = w g | g g r g
//   g g w = | = g r g
//   g g w g | g g r g
//   g g w g | g g r g
//   g g w g | g g r r
//   g g w g | g g r g
// The left has two land regions (2 x 8 with the road, and 1 x 8 joined to
// the right); the right two (24 cells round the rock, and the cell the rock
// shuts in at the bottom right).
TEST(Fairness, FiguresOfEachSide)
{
    TerrainLayer layer(8);
    for (std::uint32_t row = 0; row < 8; ++row)
        for (std::uint32_t column = 0; column < 8; ++column) {
            TerrainCell &cell = layer.at(row, column);
            cell.tertype = column == 2 ? WaterTerrain : (column == 6 && row >= 2) || (row == 6 && column == 7) ? RockTerrain : 2;
            cell.roadtype = (row == 2 && column < 2) || (row == 3 && (column == 3 || column == 4)) ? 1 : 0;
        }
    layer.at(0, 0).rivtype = 2;
    const Fairness fairness = fairnessOf(layer, SymmetryMode::LeftRight);
    ASSERT_EQ(fairness.sides.size(), 2u);
    const SideFigures &left = fairness.sides[0];
    const SideFigures &right = fairness.sides[1];
    EXPECT_EQ(left.cells, 32u);
    EXPECT_EQ(left.terrain[2], 24u);
    EXPECT_EQ(left.terrain[WaterTerrain], 8u);
    EXPECT_EQ(left.water, 8u);
    EXPECT_DOUBLE_EQ(left.waterPercent, 25.0);
    EXPECT_EQ(left.rivers[2], 1u);
    EXPECT_EQ(left.rivers[0], 31u);
    EXPECT_EQ(left.roadLength, 3u);
    EXPECT_EQ(left.roads[1], 3u);
    EXPECT_EQ(left.regions, 2u);
    EXPECT_EQ(left.largestRegion, 16u);
    EXPECT_TRUE(left.joinsOtherSides);
    EXPECT_EQ(right.terrain[RockTerrain], 7u);
    EXPECT_EQ(right.water, 0u);
    EXPECT_EQ(right.roadLength, 1u);
    EXPECT_EQ(right.regions, 2u);
    EXPECT_EQ(right.largestRegion, 24u);
    EXPECT_TRUE(right.joinsOtherSides);

    // The largest difference comes first: the water share, 25 points.
    const std::vector<FigureRow> rows = figureRows(fairness);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0].what, FigureRow::What::WaterShare);
    EXPECT_DOUBLE_EQ(rows[0].spread, 25.0);
    EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end(),
                               [](const FigureRow &a, const FigureRow &b) { return a.spread > b.spread; }));

    // Water all down the middle cuts the sides' land apart.
    for (std::uint32_t row = 0; row < 8; ++row)
        layer.at(row, 3).tertype = layer.at(row, 4).tertype = WaterTerrain;
    for (const SideFigures &side : fairnessOf(layer, SymmetryMode::LeftRight).sides)
        EXPECT_FALSE(side.joinsOtherSides);
}

}  // namespace
