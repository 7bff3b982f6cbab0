// Tests of painting: the per-cell brush rules, the brush rectangle, and the fill
// in its three modes (checked against a small recursive rendering of the rule).
#include "edit/PaintAt.h"

#include "MapFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace {

// Terrain "not change" with "n/c": the cases below that test another part of
// the cell start from these.
constexpr int TerrainNotChange = BrushSelectors::TerrainNotChange;
constexpr int TerrainKeep = 79;

BrushSettings brushFrom(const BrushSelectors &selectors)
{
    return BrushSettings::fromSelectors(selectors, {});
}

struct CellCase {
    const char *name;
    BrushSelectors selectors;
    TerrainCell old;
    TerrainCell expected;
};

void expectCases(const std::vector<CellCase> &cases)
{
    for (const CellCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(applyBrush(c.old, brushFrom(c.selectors), false), c.expected);
    }
}

TEST(ApplyBrush, TerrainAndItsConfiguration)
{
    expectCases({
        {"type 2 conf 50 on type 0", {.CBtertype = 2, .CBterconf = 50}, {0, 7}, {2, 50}},
        {"n/c keeps a configuration above the new range", {.CBtertype = 1, .CBterconf = 24}, {2, 60}, {1, 60}},
        {"not change writes a configuration the old type has", {.CBtertype = TerrainNotChange, .CBterconf = 45}, {0, 3}, {0, 45}},
        {"not change skips one the old type lacks", {.CBtertype = TerrainNotChange, .CBterconf = 45}, {1, 3}, {1, 3}},
        {"not change, type above 10 uses the 78 entry", {.CBtertype = TerrainNotChange, .CBterconf = 70}, {12, 3}, {12, 70}},
        {"not change with n/c", {.CBtertype = TerrainNotChange, .CBterconf = TerrainKeep}, {2, 60}, {2, 60}},
    });
    // A fill keeps every cell's configuration.
    EXPECT_EQ(applyBrush({2, 50}, brushFrom({.CBtertype = 3, .CBterconf = 9}), true), (TerrainCell{3, 50}));
}

TEST(ApplyBrush, RiverItems)
{
    const auto river = [](int type, int conf) {
        return BrushSelectors{.CBtertype = TerrainNotChange, .CBterconf = TerrainKeep, .CBrivtype = type, .CBrivconf = conf};
    };
    expectCases({
        {"Any>River n/c on no river", river(1, 13), {2, 5, 0, 7}, {2, 5, 0, 7}},
        {"Any>River 5 on no river", river(1, 5), {2, 5, 0, 7}, {2, 5, 0, 5}},
        {"Any>River n/c on a mud river", river(1, 13), {2, 5, 3, 7}, {2, 5, 1, 7}},
        {"Any>Lava 12 on an ice river", river(7, 12), {2, 5, 2, 7}, {2, 5, 4, 12}},
        {"NoRiver n/c removes the river", river(0, 13), {2, 5, 2, 4}, {2, 5, 0, 4}},
        {"IceRiver 12 on nothing", river(4, 12), {2, 5}, {2, 5, 2, 12}},
        {"MudRiver 0", river(6, 0), {2, 5, 1, 9}, {2, 5, 3, 0}},
        {"not change ignores the configuration", river(9, 5), {2, 5, 1, 9}, {2, 5, 1, 9}},
    });
}

TEST(ApplyBrush, RoadItems)
{
    const auto road = [](int type, int conf) {
        return BrushSelectors{.CBtertype = TerrainNotChange, .CBterconf = TerrainKeep, .CBroadtype = type, .CBroadconf = conf};
    };
    expectCases({
        {"Any>Dirt n/c on no road", road(1, 17), {2, 5, 0, 0, 0, 9}, {2, 5, 0, 0, 0, 9}},
        {"Any>Gravel n/c on a dirt road", road(3, 17), {2, 5, 0, 0, 1, 16}, {2, 5, 0, 0, 2, 16}},
        {"Any>Stone 0 on no road", road(5, 0), {2, 5, 0, 0, 0, 9}, {2, 5, 0, 0, 0, 0}},
        {"StoneRoad 16", road(6, 16), {2, 5}, {2, 5, 0, 0, 3, 16}},
        {"DirtRoad 3 over gravel", road(2, 3), {2, 5, 0, 0, 2, 9}, {2, 5, 0, 0, 1, 3}},
        {"NoRoad n/c", road(0, 17), {2, 5, 0, 0, 3, 9}, {2, 5, 0, 0, 0, 9}},
        {"not change", road(7, 3), {2, 5, 0, 0, 3, 9}, {2, 5, 0, 0, 3, 9}},
    });
}

TEST(ApplyBrush, MirrorModesNeverTouchBits6And7)
{
    const auto mirror = [](int mode) {
        BrushSelectors selectors{.CBtertype = TerrainNotChange, .CBterconf = TerrainKeep, .CBmirror = mode};
        selectors.LBmirror[5] = true;  // "Road horz" only
        return selectors;
    };
    const auto flags = [](std::uint8_t mirror) { return TerrainCell{2, 5, 0, 0, 0, 0, mirror}; };
    expectCases({
        {"Set Mirror", mirror(0), flags(0x0F), flags(0x20)},
        {"Set Mirror with bits 6 and 7", mirror(0), flags(0xCF), flags(0xE0)},
        {"Set marked", mirror(1), flags(0x0F), flags(0x2F)},
        {"Set marked with bits 6 and 7", mirror(1), flags(0xC0), flags(0xE0)},
        {"not change", mirror(2), flags(0xDF), flags(0xDF)},
    });
}

TEST(PaintAt, BrushGoesRowByRowAndIsClippedAtTheMapEdges)
{
    MapDocument map = openMap(144);
    RecordingEditor recorder(map);
    BrushSettings brush = brushFrom({.CBtertype = 2, .CBterconf = 50, .CBbrushx = 2, .CBbrushy = 1});

    EXPECT_EQ(PaintAt(recorder.editor, brush, {}, 142, 10), 4u);
    const CellList painted = {{142, 10}, {143, 10}, {142, 11}, {143, 11}};
    EXPECT_EQ(recorder.recordedCells(), painted);
    EXPECT_EQ(recorder.redrawn, painted);
    EXPECT_EQ(map.ground.at(11, 143), (TerrainCell{2, 50}));
    EXPECT_EQ(recorder.undoList.at(0), (UndoRecord{142, 10, 0, {}}));

    // The bottom-right corner: one cell of the 3 x 2 brush lies inside.
    recorder.redrawn.clear();
    EXPECT_EQ(PaintAt(recorder.editor, brush, {}, 143, 143), 1u);
    EXPECT_EQ(recorder.redrawn, (CellList{{143, 143}}));
}

TEST(PaintAt, UnchangedCellsGetNoRecordAndNoRedraw)
{
    MapDocument map = openMap(8);
    map.ground.at(3, 5) = {5, 3, 1, 2, 3, 4, 0xFF};
    RecordingEditor recorder(map);
    // The selectors as start-up leaves them: terrain 0 with configuration 0,
    // everything else "not change", brush 1 x 1.
    const BrushSettings startUp = brushFrom({});

    EXPECT_EQ(PaintAt(recorder.editor, startUp, {}, 0, 0), 0u);
    EXPECT_EQ(PaintAt(recorder.editor, startUp, {}, 5, 3), 1u);
    EXPECT_EQ(map.ground.at(3, 5), (TerrainCell{0, 0, 1, 2, 3, 4, 0xFF}));
    EXPECT_EQ(PaintAt(recorder.editor, startUp, {}, 5, 3), 0u);
    EXPECT_EQ(recorder.undoList.count(), 1u);
    EXPECT_EQ(recorder.redrawn, (CellList{{5, 3}}));
}

TEST(PaintAt, PaintsTheChosenLevelOnly)
{
    MapDocument twoLevels = openMap(4, true);
    RecordingEditor recorder(twoLevels, 1);
    PaintAt(recorder.editor, brushFrom({.CBtertype = 7}), {}, 1, 2);
    EXPECT_EQ(twoLevels.underground.at(2, 1).tertype, 7);
    EXPECT_EQ(twoLevels.ground.at(2, 1).tertype, 0);
    EXPECT_EQ(recorder.undoList.at(0).level, 1);

    // Level 1 of a one-level map has no layer: nothing is painted anywhere.
    MapDocument oneLevel = openMap(4);
    RecordingEditor refused(oneLevel, 1);
    EXPECT_EQ(PaintAt(refused.editor, brushFrom({.CBtertype = 7}), {}, 1, 2), 0u);
    EXPECT_EQ(oneLevel.ground, TerrainLayer(4));
}

// A map whose cells have the types of the rows of text, one digit a cell;
// every cell's configuration is its index, so a fill can be seen keeping it.
MapDocument mapOfTypes(const std::vector<std::string> &rows)
{
    MapDocument map = openMap(std::uint32_t(rows.size()));
    for (std::size_t row = 0; row < rows.size(); ++row)
        for (std::size_t column = 0; column < rows.size(); ++column)
            map.ground.at(std::uint32_t(row), std::uint32_t(column)) = {std::uint8_t(rows[row][column] - '0'), std::uint8_t(row * rows.size() + column)};
    return map;
}

std::vector<std::string> typesOf(const MapDocument &map)
{
    std::vector<std::string> rows(map.mapSize);
    for (std::uint32_t row = 0; row < map.mapSize; ++row)
        for (std::uint32_t column = 0; column < map.mapSize; ++column)
            rows[row] += char('0' + map.ground.at(row, column).tertype);
    return rows;
}

// The brush after choosing a size of width x height and then "fill" for the
// width and/or the height.
BrushSettings fillBrush(BrushSelectors selectors, bool fillX, bool fillY, int width = 1, int height = 1)
{
    selectors.CBbrushx = width - 1;
    selectors.CBbrushy = height - 1;
    const BrushSettings sized = BrushSettings::fromSelectors(selectors, {});
    selectors.CBbrushx = fillX ? BrushSelectors::BrushFill : width - 1;
    selectors.CBbrushy = fillY ? BrushSelectors::BrushFill : height - 1;
    return BrushSettings::fromSelectors(selectors, sized);
}

BrushSelectors terrain(int type, int config = 9)
{
    return {.CBtertype = type, .CBterconf = config};
}

TEST(PaintAtFill, BothWaysFillsTheFourConnectedRegionKeepingConfigurations)
{
    MapDocument map = mapOfTypes({
        "22000",
        "02020",
        "02202",
        "00020",
        "22220",
    });
    RecordingEditor recorder(map);
    EXPECT_EQ(PaintAt(recorder.editor, fillBrush(terrain(3), true, true), {}, 1, 2), 5u);
    EXPECT_EQ(typesOf(map), (std::vector<std::string>{
        "33000",
        "03020",
        "03302",
        "00020",
        "22220",
    }));
    EXPECT_EQ(map.ground.at(0, 0).terconf, 0);
    EXPECT_EQ(map.ground.at(2, 2).terconf, 12);
    EXPECT_EQ(recorder.recordedCells().front(), (std::pair<int, int>{1, 2}));
    EXPECT_EQ(recorder.redrawn, recorder.recordedCells());
}

TEST(PaintAtFill, OneWayFillsCrossOnlyFromTheAnchorBand)
{
    // Rows 1 and 2 are the band (anchor row 1, brush height 2): only from them
    // does a width fill go up and down, so it reaches rows 0 and 3 but not 4.
    MapDocument widthMap = mapOfTypes({"22222", "22222", "22222", "22222", "22222"});
    RecordingEditor width(widthMap);
    EXPECT_EQ(PaintAt(width.editor, fillBrush(terrain(3), true, false, 1, 2), {0, 1}, 2, 1), 20u);
    EXPECT_EQ(typesOf(widthMap), (std::vector<std::string>{"33333", "33333", "33333", "33333", "22222"}));

    // The same turned: columns 3 and 4 are the band of a height fill.
    MapDocument heightMap = mapOfTypes({"22222", "22222", "22222", "22222", "22222"});
    RecordingEditor height(heightMap);
    EXPECT_EQ(PaintAt(height.editor, fillBrush(terrain(3), false, true, 2, 1), {3, 4}, 4, 0), 15u);
    EXPECT_EQ(typesOf(heightMap), (std::vector<std::string>{"22333", "22333", "22333", "22333", "22333"}));
}

TEST(PaintAtFill, DifferentConfigurationRangesPaintThePressedCellAlone)
{
    MapDocument map = mapOfTypes({"222", "222", "222"});
    RecordingEditor recorder(map);
    EXPECT_EQ(PaintAt(recorder.editor, fillBrush(terrain(0), true, true), {}, 1, 1), 1u);
    EXPECT_EQ(map.ground.at(1, 1), (TerrainCell{0, 9}));

    EXPECT_EQ(PaintAt(recorder.editor, fillBrush(terrain(1, 24), true, true), {}, 0, 0), 1u);
    EXPECT_EQ(map.ground.at(0, 0), (TerrainCell{1, 0}));
    EXPECT_EQ(typesOf(map), (std::vector<std::string>{"122", "202", "222"}));
}

TEST(PaintAtFill, SameTypeChangesOnlyThePressedCell)
{
    MapDocument map = mapOfTypes({"222", "222", "222"});
    RecordingEditor recorder(map);
    const BrushSettings brush = fillBrush({.CBtertype = 2, .CBterconf = 9, .CBrivtype = 2}, true, true);
    EXPECT_EQ(PaintAt(recorder.editor, brush, {}, 1, 1), 1u);
    EXPECT_EQ(map.ground.at(1, 1).rivtype, 1);
    EXPECT_EQ(map.ground.at(0, 1).rivtype, 0);
}

TEST(PaintAtFill, NotChangeTerrainPaintsEachCellOfTheRegionOnce)
{
    MapDocument map = mapOfTypes({"2220", "0202", "2220", "0000"});
    RecordingEditor recorder(map);
    const BrushSettings brush = fillBrush(
        {.CBtertype = TerrainNotChange, .CBterconf = TerrainKeep, .CBroadtype = 2, .CBroadconf = 3}, true, true);
    EXPECT_EQ(PaintAt(recorder.editor, brush, {}, 0, 0), 7u);
    EXPECT_EQ(recorder.undoList.count(), 7u);
    EXPECT_EQ(map.ground.at(2, 2).roadtype, 1);
    EXPECT_EQ(map.ground.at(1, 3).roadtype, 0);  // type 2, but not connected
    EXPECT_EQ(typesOf(map), (std::vector<std::string>{"2220", "0202", "2220", "0000"}));
}

TEST(PaintAtFill, TenThousandCellRegionLeavesTenThousandRecords)
{
    MapDocument map = openMap(120);
    for (std::uint32_t row = 10; row < 110; ++row)
        for (std::uint32_t column = 10; column < 110; ++column)
            map.ground.at(row, column).tertype = 2;
    RecordingEditor recorder(map);
    EXPECT_EQ(PaintAt(recorder.editor, fillBrush(terrain(3), true, true), {}, 50, 60), 10000u);
    EXPECT_EQ(recorder.undoList.count(), 10000u);
    EXPECT_EQ(map.ground.at(109, 109).tertype, 3);
    EXPECT_EQ(map.ground.at(110, 109).tertype, 0);
}

// The fill as the rule states it: a nested paint for every qualifying
// neighbour, tried in the stated order. It lists the cells in change order.
struct RecursiveFill {
    RecursiveFill(MapDocument &map, const BrushSettings &brush, CellPosition anchor)
        : map(map), brush(brush), anchor(anchor), visited(std::size_t(map.mapSize) * map.mapSize)
    {
    }

    MapDocument &map;
    const BrushSettings &brush;
    CellPosition anchor;
    std::vector<bool> visited;
    CellList changed;

    void paintAt(int column, int row)
    {
        bool fillX = brush.fillX;
        bool fillY = brush.fillY;
        TerrainCell &cell = map.ground.at(std::uint32_t(row), std::uint32_t(column));
        const TerrainCell old = cell;
        if (brush.paintTerrain && maxTerrainSpriteFor(old.tertype) != maxTerrainSpriteFor(brush.terrainType))
            fillX = fillY = false;
        cell = applyBrush(old, brush, fillX || fillY);
        visited[std::size_t(row) * map.mapSize + column] = true;
        if (!(cell == old))
            changed.emplace_back(column, row);
        if (old.tertype == brush.terrainType || !(fillX || fillY))
            return;
        const auto tryCell = [&](int c, int r) {
            const int size = int(map.mapSize);
            if (c >= 0 && r >= 0 && c < size && r < size
                && map.ground.at(std::uint32_t(r), std::uint32_t(c)).tertype == old.tertype
                && !(!brush.paintTerrain && visited[std::size_t(r) * map.mapSize + c]))
                paintAt(c, r);
        };
        if (fillX && fillY) {
            tryCell(column, row + 1);
            tryCell(column, row - 1);
            tryCell(column + 1, row);
            tryCell(column - 1, row);
        }
        if (fillY || (anchor.row <= row && row < anchor.row + brush.brushHeight)) {
            tryCell(column, row - 1);
            tryCell(column, row + 1);
        }
        if (fillX || (anchor.column <= column && column < anchor.column + brush.brushWidth)) {
            tryCell(column + 1, row);
            tryCell(column - 1, row);
        }
    }
};

TEST(PaintAtFill, VisitsCellsInTheOrderOfTheRecursiveRule)
{
    std::mt19937 random(20240611);
    const int side = 9;
    for (int round = 0; round < 60; ++round) {
        // Regions of types 2, 3 and 5 (equal ranges) with some 0s (a shorter
        // range, where a fill is abandoned).
        MapDocument map = openMap(side);
        const std::uint8_t types[] = {2, 2, 2, 3, 3, 5, 0};
        std::uniform_int_distribution<int> type(0, 6);
        for (int row = 0; row < side; ++row)
            for (int column = 0; column < side; ++column)
                map.ground.at(row, column) = {types[type(random)], std::uint8_t(column)};
        std::uniform_int_distribution<int> coordinate(0, side - 1);
        std::uniform_int_distribution<int> size(1, 4);
        const int mode = round % 3;
        const int terrain = (round / 3) % 4 == 3 ? TerrainNotChange : 2 + (round / 3) % 2;
        const BrushSettings brush = fillBrush({.CBtertype = terrain, .CBterconf = 9, .CBrivtype = 4, .CBrivconf = 4},
                                              mode != 2, mode != 1, size(random), size(random));
        const CellPosition anchor{std::uint16_t(coordinate(random)), std::uint16_t(coordinate(random))};
        const int column = coordinate(random);
        const int row = coordinate(random);

        MapDocument reference = map;
        RecursiveFill recursive(reference, brush, anchor);
        recursive.paintAt(column, row);

        RecordingEditor recorder(map);
        PaintAt(recorder.editor, brush, anchor, std::uint16_t(column), std::uint16_t(row));
        SCOPED_TRACE(testing::Message() << "round " << round);
        EXPECT_EQ(recorder.recordedCells(), recursive.changed);
        EXPECT_EQ(map.ground, reference.ground);
    }
}

}  // namespace
