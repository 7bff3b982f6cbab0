// Tests of the terrain statistics: counts and shares of every type, bytes the
// game does not know, and the names of the types.
#include "edit/TerrainStats.h"

#include <gtest/gtest.h>

namespace {

using Line = TerrainStats::Line;

TEST(TerrainStats, CountsEveryTypeOfTheLevel)
{
    // A 5 x 5 level (an odd cell count): 20 grass cells, 4 water, one of a
    // type byte 12 no game type has; a river in 5 cells, 2 roads.
    TerrainLayer layer(5);
    for (std::size_t i = 0; i < layer.cellCount(); ++i)
        layer.data()[i].tertype = 2;
    for (std::uint32_t column = 0; column < 4; ++column)
        layer.at(4, column).tertype = 8;
    layer.at(4, 4).tertype = 12;
    for (std::uint32_t row = 0; row < 5; ++row)
        layer.at(row, 2).rivtype = 3;
    layer.at(0, 0).roadtype = 1;
    layer.at(0, 1).roadtype = 3;

    const TerrainStats stats = TerrainStats::of(layer);
    EXPECT_EQ(stats.cellCount(), 25u);
    EXPECT_EQ(stats.terrainLines(), (std::vector<Line>{{0, "Dirt", 0, 0},
                                                      {1, "Sand", 0, 0},
                                                      {2, "Grass", 20, 80},
                                                      {3, "Snow", 0, 0},
                                                      {4, "Swamp", 0, 0},
                                                      {5, "Rough", 0, 0},
                                                      {6, "Subterranean", 0, 0},
                                                      {7, "Lava", 0, 0},
                                                      {8, "Water", 4, 16},
                                                      {9, "Rock", 0, 0},
                                                      {12, "", 1, 4}}));
    EXPECT_EQ(stats.riverLines(), (std::vector<Line>{{0, "none", 20, 80},
                                                    {1, "River", 0, 0},
                                                    {2, "IceRiver", 0, 0},
                                                    {3, "MudRiver", 5, 20},
                                                    {4, "LavaRiver", 0, 0}}));
    EXPECT_EQ(stats.roadLines(), (std::vector<Line>{{0, "none", 23, 92},
                                                   {1, "DirtRoad", 1, 4},
                                                   {2, "GravelRoad", 0, 0},
                                                   {3, "StoneRoad", 1, 4}}));
}

TEST(TerrainStats, AnEmptyLayerHasNoShares)
{
    const TerrainStats stats = TerrainStats::of(TerrainLayer());
    EXPECT_EQ(stats.cellCount(), 0u);
    ASSERT_EQ(stats.terrainLines().size(), 10u);
    EXPECT_EQ(stats.terrainLines()[0], (Line{0, "Dirt", 0, 0}));
    EXPECT_EQ(stats.roadLines().size(), 4u);
}

TEST(TerrainStats, NamesOnlyTheTypesTheGameHas)
{
    struct Case {
        QString (*name)(std::uint8_t);
        std::uint8_t last;
        const char *lastName;
    };
    const Case cases[] = {{terrainTypeName, 9, "Rock"}, {riverTypeName, 4, "LavaRiver"}, {roadTypeName, 3, "StoneRoad"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.lastName);
        EXPECT_EQ(c.name(c.last), c.lastName);
        EXPECT_TRUE(c.name(std::uint8_t(c.last + 1)).isEmpty());
        EXPECT_TRUE(c.name(255).isEmpty());
    }
}

}  // namespace
