// Tests of the battlefield choice: the battlefield of a map cell on either
// level, and the decision between cell mode, list mode and doing nothing.
#include "obstacles/BattlefieldChoice.h"

#include "map/MapDocument.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr std::uint8_t Grass = 2;
constexpr std::uint8_t Water = 8;
constexpr std::uint8_t Rock = 9;

struct Cell {
    std::uint32_t column;
    std::uint32_t row;
    std::uint8_t type;
};

// A 5 x 5 layer of grass with the given cells set.
TerrainLayer grassLayer(const std::vector<Cell> &cells)
{
    TerrainLayer layer(5);
    for (std::uint32_t row = 0; row < 5; ++row)
        for (std::uint32_t column = 0; column < 5; ++column)
            layer.at(row, column).tertype = Grass;
    for (const Cell &cell : cells)
        layer.at(cell.row, cell.column).tertype = cell.type;
    return layer;
}

struct CellCase {
    const char *name;
    std::vector<Cell> cells;
    int level;
    std::uint32_t column;
    std::uint32_t row;
    std::optional<std::uint8_t> battlefield;
};

class BattlefieldOfCellTest : public ::testing::TestWithParam<CellCase> {};

TEST_P(BattlefieldOfCellTest, Battlefield)
{
    const CellCase &c = GetParam();
    EXPECT_EQ(battlefieldOfCell(grassLayer(c.cells), c.column, c.row, c.level), c.battlefield);
}

// Water all around a corner cell: its three neighbours inside the map.
const std::vector<Cell> WaterAroundTopLeft = {{1, 0, Water}, {0, 1, Water}, {1, 1, Water}};

INSTANTIATE_TEST_SUITE_P(
    Cells, BattlefieldOfCellTest,
    ::testing::Values(
        CellCase{"SurfaceTerrainIsItsOwnBattlefield", {{2, 2, 4}}, 0, 2, 2, 4},
        CellCase{"GrassWithoutWater", {}, 0, 2, 2, Grass},
        CellCase{"ShoreByDiagonalWater", {{3, 3, Water}}, 0, 2, 2, ShoreBattlefield},
        CellCase{"ShoreByWaterAbove", {{2, 1, Water}}, 0, 2, 2, ShoreBattlefield},
        CellCase{"WaterTwoCellsAwayIsNoShore", {{4, 4, Water}}, 0, 2, 2, Grass},
        CellCase{"WaterOnSurface", {{2, 2, Water}, {2, 3, Grass}}, 0, 2, 2, Water},
        CellCase{"WaterUnderground", {{2, 2, Water}}, 1, 2, 2, Water},
        CellCase{"RockOnSurfaceNextToWater", {{2, 2, Rock}, {2, 3, Water}}, 0, 2, 2, NoBattlefield},
        CellCase{"RockUnderground", {{2, 2, Rock}}, 1, 2, 2, NoBattlefield},
        CellCase{"UndergroundIsSixWithoutShoreTest", {{2, 2, 3}, {2, 3, Water}}, 1, 2, 2, 6},
        CellCase{"UndergroundTypeAboveRockIsSix", {{2, 2, 12}}, 1, 2, 2, 6},
        CellCase{"TopLeftCorner", WaterAroundTopLeft, 0, 0, 0, Grass},
        CellCase{"TopRightCorner", {{3, 0, Water}, {3, 1, Water}, {4, 1, Water}}, 0, 4, 0, Grass},
        CellCase{"BottomLeftCorner", {{0, 3, Water}, {1, 3, Water}, {1, 4, Water}}, 0, 0, 4, Grass},
        CellCase{"BottomRightCorner", {{3, 3, Water}, {4, 3, Water}, {3, 4, Water}}, 0, 4, 4, Grass},
        CellCase{"EdgeCellByWater", {{1, 4, Water}}, 0, 2, 4, ShoreBattlefield},
        CellCase{"EdgeCellDry", {}, 0, 0, 2, Grass},
        CellCase{"TypeAboveRockHasNoBattlefield", {{2, 2, 10}}, 0, 2, 2, NoBattlefield},
        CellCase{"TypeAboveRockNextToWaterIsShore", {{2, 2, 200}, {1, 1, Water}}, 0, 2, 2, ShoreBattlefield},
        CellCase{"ColumnOutsideTheMap", {}, 0, 5, 0, std::nullopt},
        CellCase{"RowOutsideTheMap", {}, 1, 0, 5, std::nullopt}),
    [](const ::testing::TestParamInfo<CellCase> &info) { return std::string(info.param.name); });

TEST(BattlefieldOfCellTest, EmptyLayerHasNoCells)
{
    EXPECT_EQ(battlefieldOfCell(TerrainLayer(), 0, 0, 0), std::nullopt);
}

// An open two-level map of side N: grass on the surface, type 0 below.
MapDocument openMap(std::uint32_t side)
{
    MapDocument map;
    map.mapSize = side;
    map.hasUnderground = true;
    map.ground = TerrainLayer(side);
    map.underground = TerrainLayer(side);
    for (std::uint32_t row = 0; row < side; ++row)
        for (std::uint32_t column = 0; column < side; ++column)
            map.ground.at(row, column).tertype = Grass;
    map.isLoaded = true;
    return map;
}

using Action = ObstacleChoice::Action;
const ObstacleView Shown{3, 7, 8};

TEST(ChooseObstacleViewTest, CellModeShowsTheCellsBattlefieldAtItsPosition)
{
    MapDocument map = openMap(300);
    map.ground.at(299, 290).tertype = Water;
    ObstacleRequest request{true, CellModeItem, 0, 0, &map, 290, 298};
    const auto choice = chooseObstacleView(request, Shown);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->action, Action::Show);
    EXPECT_EQ(choice->view, (ObstacleView{ShoreBattlefield, 290 & 0xFF, 298 & 0xFF}));

    // The underground rule follows the current level.
    request.level = 1;
    ASSERT_TRUE(map.hasLevel(1));
    EXPECT_EQ(chooseObstacleView(request, Shown)->view, (ObstacleView{6, 290 & 0xFF, 298 & 0xFF}));
}

TEST(ChooseObstacleViewTest, RockSetsNoBattlefieldAndKeepsThePosition)
{
    MapDocument map = openMap(4);
    map.ground.at(1, 2).tertype = Rock;
    const auto choice = chooseObstacleView({true, CellModeItem, 0, 0, &map, 2, 1}, Shown);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->action, Action::NoBattlefield);
    EXPECT_EQ(choice->view, (ObstacleView{NoBattlefield, Shown.x, Shown.y}));
}

TEST(ChooseObstacleViewTest, ListModeNeedsNoMap)
{
    for (const int battlefield : {0, 4, 9}) {
        const auto choice = chooseObstacleView({true, battlefield, 143, 12, nullptr, 0, 0}, Shown);
        ASSERT_TRUE(choice) << battlefield;
        EXPECT_EQ(choice->action, Action::Show);
        EXPECT_EQ(choice->view, (ObstacleView{std::uint8_t(battlefield), 143, 12}));
    }
}

TEST(ChooseObstacleViewTest, NothingHappens)
{
    MapDocument open = openMap(4);
    const MapDocument closed;
    const struct {
        const char *name;
        ObstacleRequest request;
    } cases[] = {
        {"feature off, list mode", {false, 2, 1, 1, nullptr, 0, 0}},
        {"feature off, cell mode", {false, CellModeItem, 0, 0, &open, 1, 1}},
        {"cell mode without a map", {true, CellModeItem, 0, 0, nullptr, 0, 0}},
        {"cell mode with no map loaded", {true, CellModeItem, 0, 0, &closed, 0, 0}},
        {"anchor right of the map", {true, CellModeItem, 0, 0, &open, 4, 0}},
        {"anchor below the map", {true, CellModeItem, 0, 0, &open, 0, 4}},
        {"no battlefield item selected", {true, -1, 0, 0, nullptr, 0, 0}},
        {"no x item selected", {true, 1, -1, 0, nullptr, 0, 0}},
        {"no y item selected", {true, 1, 0, -1, nullptr, 0, 0}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(chooseObstacleView(c.request, Shown), std::nullopt) << c.name;
}

}  // namespace
