// Tests of the region selection: the region finder against a plain search,
// its row runs and bounds, the whole-level, rectangle and neighbour forms,
// and painting every selected cell with the brush.
#include "edit/PaintAt.h"
#include "edit/RegionSelection.h"

#include "RegionFixture.h"

#include <gtest/gtest.h>

namespace {

std::vector<CellRun> runsOf(const RegionSelection &selection)
{
    std::vector<CellRun> runs;
    selection.forEachRun([&](const CellRun &run) { runs.push_back(run); });
    return runs;
}

// Every cell of the selection as the mask of the level, row * side + column;
// checks on the way that the runs come in order, are as long as they go and
// that contains() agrees with them.
std::vector<bool> maskOf(const RegionSelection &selection, std::uint32_t side)
{
    std::vector<bool> mask(std::size_t(side) * side, false);
    CellRun previous{0, 0, 0};
    bool first = true;
    for (const CellRun &run : runsOf(selection)) {
        EXPECT_GT(run.length, 0u);
        if (!first) {
            EXPECT_TRUE(run.row > previous.row || run.column > previous.column + previous.length);
        }
        first = false;
        previous = run;
        for (std::uint32_t i = 0; i < run.length; ++i)
            mask[std::size_t(run.row) * side + run.column + i] = true;
    }
    for (std::uint32_t row = 0; row < side; ++row)
        for (std::uint32_t column = 0; column < side; ++column)
            EXPECT_EQ(selection.contains(column, row), mask[std::size_t(row) * side + column]) << column << "," << row;
    return mask;
}

QRect boundsOfMask(const std::vector<bool> &mask, std::uint32_t side)
{
    QRect bounds;
    for (std::size_t index = 0; index < mask.size(); ++index)
        if (mask[index])
            bounds |= QRect(int(index % side), int(index / side), 1, 1);
    return bounds;
}

TEST(RegionSelection, ConnectedRegionRunsOfASmallMap)
{
    const MapDocument map = mapOfTypeRows({
        "22000",
        "02020",
        "02202",
        "00020",
        "22222",
    });
    const RegionSelection region = RegionSelection::connectedRegion(map.ground, 1, 2);
    EXPECT_EQ(runsOf(region), (std::vector<CellRun>{{0, 0, 2}, {1, 1, 1}, {2, 1, 2}}));
    EXPECT_EQ(region.cellCount(), 5u);
    EXPECT_EQ(region.bounds(), QRect(0, 0, 3, 3));
    EXPECT_TRUE(region.contains(2, 2));
    EXPECT_FALSE(region.contains(3, 1));  // type 2, touching only at a corner
    EXPECT_FALSE(region.contains(99, 99));

    // The 0s at the top right reach down on both sides of a 2; the 0 at (3, 2)
    // is cut off by 2s on all four sides.
    const RegionSelection zeros = RegionSelection::connectedRegion(map.ground, 4, 0);
    EXPECT_EQ(runsOf(zeros), (std::vector<CellRun>{{0, 2, 3}, {1, 2, 1}, {1, 4, 1}}));
    EXPECT_EQ(RegionSelection::connectedRegion(map.ground, 0, 3).cellCount(), 5u);
    EXPECT_EQ(RegionSelection::connectedRegion(map.ground, 3, 2).cellCount(), 1u);

    EXPECT_TRUE(RegionSelection::connectedRegion(map.ground, 5, 0).isEmpty());
    EXPECT_TRUE(RegionSelection::connectedRegion(map.ground, 0, 5).isEmpty());
}

TEST(RegionSelection, ConnectedRegionMatchesAPlainSearch)
{
    // Sides around the 64 cells of a mask word, and a map of one type.
    struct Case {
        std::uint32_t side;
        int typeCount;
    };
    const Case cases[] = {{1, 1}, {7, 2}, {63, 2}, {64, 3}, {65, 2}, {130, 2}, {131, 3}, {70, 1}};
    for (const Case &c : cases) {
        for (unsigned seed = 1; seed <= 3; ++seed) {
            SCOPED_TRACE(testing::Message() << "side " << c.side << " seed " << seed);
            const MapDocument map = randomTypeMap(c.side, c.typeCount, seed);
            std::mt19937 random(seed);
            for (int press = 0; press < 4; ++press) {
                const std::uint32_t column = random() % c.side;
                const std::uint32_t row = random() % c.side;
                const RegionSelection region = RegionSelection::connectedRegion(map.ground, column, row);
                const std::vector<bool> expected = plainRegion(map.ground, column, row);
                ASSERT_EQ(maskOf(region, c.side), expected);
                EXPECT_EQ(region.cellCount(), std::size_t(std::count(expected.begin(), expected.end(), true)));
                EXPECT_EQ(region.bounds(), boundsOfMask(expected, c.side));
            }
        }
    }
}

TEST(RegionSelection, TerrainOnLevelTakesEveryCellOfTheType)
{
    const MapDocument map = randomTypeMap(131, 3, 7);
    for (std::uint8_t type = 0; type < 4; ++type) {
        SCOPED_TRACE(int(type));
        const RegionSelection selection = RegionSelection::terrainOnLevel(map.ground, type);
        std::vector<bool> expected(std::size_t(131) * 131);
        for (std::size_t index = 0; index < expected.size(); ++index)
            expected[index] = map.ground.data()[index].tertype == type;
        EXPECT_EQ(maskOf(selection, 131), expected);
        EXPECT_EQ(selection.bounds(), boundsOfMask(expected, 131));
        EXPECT_EQ(selection.isEmpty(), type == 3);
    }
}

TEST(RegionSelection, RectanglesAndNeighboursStayInsideTheLevel)
{
    struct Case {
        const char *name;
        RegionSelection selection;
        QRect bounds;
        std::size_t cellCount;
    };
    const RegionSelection corner = RegionSelection::rectangle(QRect(0, 0, 1, 1), 100);
    const RegionSelection wide = RegionSelection::rectangle(QRect(60, 5, 10, 2), 100);
    const Case cases[] = {
        {"rectangle clipped at the right and bottom", RegionSelection::rectangle(QRect(90, 95, 20, 20), 100),
         QRect(90, 95, 10, 5), 50},
        {"rectangle clipped at the left and top", RegionSelection::rectangle(QRect(-5, -1, 10, 3), 100),
         QRect(0, 0, 5, 2), 10},
        {"rectangle outside", RegionSelection::rectangle(QRect(100, 0, 5, 5), 100), QRect(), 0},
        {"neighbours of the top-left cell", corner.withNeighbours(100), QRect(0, 0, 2, 2), 4},
        {"neighbours across a mask word", wide.withNeighbours(100), QRect(59, 4, 12, 4), 48},
        {"neighbours of the whole level", RegionSelection::rectangle(QRect(0, 0, 65, 65), 65).withNeighbours(65),
         QRect(0, 0, 65, 65), 65 * 65},
        {"neighbours of nothing", RegionSelection().withNeighbours(10), QRect(), 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.selection.bounds(), c.bounds);
        EXPECT_EQ(c.selection.cellCount(), c.cellCount);
        if (!c.bounds.isEmpty()) {
            const std::vector<bool> mask = maskOf(c.selection, 101);
            EXPECT_EQ(std::size_t(std::count(mask.begin(), mask.end(), true)), c.cellCount);
        }
    }

    // The neighbours of a diagonal line: each cell's 3 x 3 square.
    const MapDocument map = mapOfTypeRows({"10000", "01000", "00100", "00000", "00001"});
    const RegionSelection ones = RegionSelection::terrainOnLevel(map.ground, 1).withNeighbours(5);
    EXPECT_EQ(runsOf(ones), (std::vector<CellRun>{{0, 0, 3}, {1, 0, 4}, {2, 0, 4}, {3, 1, 4}, {4, 3, 2}}));
}

TEST(RegionSelection, FillSelectionPaintsEachCellAsTheBrushDoes)
{
    MapDocument map = mapOfTypeRows({"2220", "0202", "2220", "0000"});
    const MapDocument before = map;
    RecordingEditor recorder(map);
    // Terrain "not change", the road turned to gravel, rivers removed.
    const BrushSettings brush = BrushSettings::fromSelectors(
        {.CBtertype = BrushSelectors::TerrainNotChange, .CBterconf = 79, .CBrivtype = 0, .CBroadtype = 4, .CBroadconf = 3}, {});
    const RegionSelection region = RegionSelection::connectedRegion(map.ground, 0, 0);

    const FillResult result = fillSelection(recorder.editor, brush, region);
    EXPECT_EQ(result.changed, 7u);
    EXPECT_EQ(result.changedCells, QRect(0, 0, 3, 3));
    EXPECT_EQ(recorder.recordedCells(), (CellList{{0, 0}, {1, 0}, {2, 0}, {1, 1}, {0, 2}, {1, 2}, {2, 2}}));
    EXPECT_EQ(recorder.redrawn, recorder.recordedCells());
    for (std::uint32_t row = 0; row < 4; ++row)
        for (std::uint32_t column = 0; column < 4; ++column) {
            const TerrainCell &old = before.ground.at(row, column);
            const TerrainCell expected = region.contains(column, row) ? applyBrush(old, brush, false) : old;
            EXPECT_EQ(map.ground.at(row, column), expected) << column << "," << row;
        }

    // Painting it again changes nothing and records nothing.
    EXPECT_EQ(fillSelection(recorder.editor, brush, region).changed, 0u);
    EXPECT_EQ(recorder.undoList.count(), 7u);

    // A selection reaching beyond the level, or a level that cannot be
    // edited, is refused whole.
    EXPECT_EQ(fillSelection(recorder.editor, brush, RegionSelection::rectangle(QRect(0, 0, 5, 5), 5)).changed, 0u);
    recorder.editor.setLevel(1);
    EXPECT_EQ(fillSelection(recorder.editor, brush, RegionSelection::rectangle(QRect(3, 3, 1, 1), 4)).changed, 0u);
    EXPECT_EQ(recorder.undoList.count(), 7u);
}

TEST(RegionSelection, FillSelectionOfARectangleWritesRowRuns)
{
    MapDocument map = openMap(200);
    RecordingEditor recorder(map);
    const BrushSettings brush = BrushSettings::fromSelectors({.CBtertype = 8, .CBterconf = 3}, {});
    map.ground.at(10, 50) = {8, 3};  // already as the brush paints it
    const FillResult result = fillSelection(recorder.editor, brush, RegionSelection::rectangle(QRect(50, 10, 100, 3), 200));
    EXPECT_EQ(result.changed, 299u);
    EXPECT_EQ(result.changedCells, QRect(50, 10, 100, 3));
    EXPECT_EQ(recorder.recordedCells().front(), (std::pair<int, int>{51, 10}));
    EXPECT_EQ(recorder.recordedCells().back(), (std::pair<int, int>{149, 12}));
    EXPECT_EQ(map.ground.at(12, 149), (TerrainCell{8, 3}));
    EXPECT_EQ(map.ground.at(12, 150), TerrainCell{});
}

}  // namespace

namespace {

// Two regions of random maps combined, against the same sets made cell by cell.
TEST(RegionSelection, CombinedAddsAndRemovesCellByCell)
{
    for (const std::uint32_t side : {5u, 63u, 64u, 65u, 130u}) {
        for (unsigned seed = 1; seed <= 3; ++seed) {
            SCOPED_TRACE(testing::Message() << "side " << side << " seed " << seed);
            const MapDocument map = randomTypeMap(side, 2, seed);
            std::mt19937 random(seed);
            const RegionSelection a = RegionSelection::connectedRegion(map.ground, random() % side, random() % side);
            const RegionSelection b = RegionSelection::terrainOnLevel(map.ground, std::uint8_t(random() % 2))
                                          .combined(RegionSelection::rectangle(QRect(int(side / 3), 0, int(side / 3 + 1), int(side)), side),
                                                    SelectionChange::Remove);
            const std::vector<bool> maskA = maskOf(a, side), maskB = maskOf(b, side);
            std::vector<bool> added(maskA.size()), removed(maskA.size());
            for (std::size_t i = 0; i < maskA.size(); ++i) {
                added[i] = maskA[i] || maskB[i];
                removed[i] = maskA[i] && !maskB[i];
            }
            const RegionSelection sum = a.combined(b, SelectionChange::Add);
            const RegionSelection difference = a.combined(b, SelectionChange::Remove);
            EXPECT_EQ(maskOf(sum, side), added);
            EXPECT_EQ(maskOf(difference, side), removed);
            EXPECT_EQ(sum.cellCount(), std::size_t(std::count(added.begin(), added.end(), true)));
            EXPECT_EQ(difference.bounds(), boundsOfMask(removed, side));
            EXPECT_EQ(maskOf(a.combined(b, SelectionChange::Replace), side), maskB);
        }
    }
    // Taking everything out leaves nothing; adding to nothing gives the other.
    const RegionSelection square = RegionSelection::rectangle(QRect(2, 2, 3, 3), 9);
    EXPECT_TRUE(square.combined(RegionSelection::rectangle(QRect(0, 0, 9, 9), 9), SelectionChange::Remove).isEmpty());
    EXPECT_EQ(RegionSelection().combined(square, SelectionChange::Add).cellCount(), 9u);
}

TEST(RegionSelection, ARegionLargerThanTheLimitIsNotLookedFor)
{
    const MapDocument map = mapOfTypeRows({"1100", "1100", "0000", "0000"});
    const auto grass = RegionSelection::connectedRegionWithin(map.ground, 0, 0, 4);
    ASSERT_TRUE(grass);
    EXPECT_EQ(grass->cellCount(), 4u);
    EXPECT_FALSE(RegionSelection::connectedRegionWithin(map.ground, 3, 3, 11)) << "12 cells of dirt";
    EXPECT_EQ(RegionSelection::connectedRegionWithin(map.ground, 3, 3, 12)->cellCount(), 12u);
}

}  // namespace
