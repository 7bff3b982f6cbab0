// Tests of filling with any terrain: exactly the region (or every cell of its
// type) changes, each cell once, with a picture its new type has; with edge
// rules the result is that of painting the region and then edging it.
#include "edit/PaintAt.h"
#include "edit/ReplaceFill.h"
#include "edit/TerrainEdges.h"

#include "RegionFixture.h"

#include <gtest/gtest.h>

#include <set>

namespace {

constexpr std::uint8_t Grass = 2, Water = 8;

// Grass in a ring round a hole, and four more grass areas that touch the ring
// at most at a corner.
const std::vector<std::string> GrassAreas = {
    "222000",
    "202022",
    "222002",
    "000200",
    "220002",
    "220002",
};

BrushSettings brushOf(const BrushSelectors &selectors)
{
    return BrushSettings::fromSelectors(selectors, {});
}

// The picture the fill is expected to give a cell.
enum class Picture { Plain, Brush, Kept };

struct FillCase {
    const char *name;
    BrushSelectors selectors;
    Picture picture;
};

TEST(ReplaceFill, ChangesExactlyTheRegionWithPicturesOfTheNewType)
{
    const FillCase cases[] = {
        {"water, picture n/c: plain pictures", {.CBtertype = Water, .CBterconf = 33}, Picture::Plain},
        {"water, picture 31", {.CBtertype = Water, .CBterconf = 31}, Picture::Brush},
        {"sand, picture n/c", {.CBtertype = 1, .CBterconf = 24}, Picture::Plain},
        {"grass over grass, picture n/c", {.CBtertype = Grass, .CBterconf = 79}, Picture::Plain},
        {"water, the brush's river, road and mirror bits left out",
         {.CBtertype = Water, .CBterconf = 12, .CBrivtype = 0, .CBroadtype = 6, .CBroadconf = 16,
          .LBmirror = {true, false, false, false, false, true}, .CBmirror = BrushSelectors::MirrorModeSet},
         Picture::Brush},
    };
    for (const bool wholeLevel : {false, true}) {
        for (const FillCase &c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << (wholeLevel ? ", whole level" : ""));
            const MapDocument before = mapOfTypeRows(GrassAreas);
            MapDocument map = before;
            RecordingEditor recorder(map);
            const BrushSettings brush = brushOf(c.selectors);

            const FillResult result = replaceFill(recorder.editor, brush, 1, 2, {.wholeLevel = wholeLevel});
            const std::size_t regionCells = wholeLevel ? 18 : 8;
            EXPECT_EQ(result.changed, regionCells);
            EXPECT_EQ(result.changedCells, wholeLevel ? QRect(0, 0, 6, 6) : QRect(0, 0, 3, 3));
            EXPECT_EQ(recorder.undoList.count(), regionCells);
            EXPECT_EQ(recorder.redrawn, recorder.recordedCells());
            const std::set<std::pair<int, int>> recorded(recorder.redrawn.begin(), recorder.redrawn.end());
            EXPECT_EQ(recorded.size(), regionCells);

            const std::vector<bool> ring = plainRegion(before.ground, 1, 2);
            for (std::uint32_t row = 0; row < 6; ++row)
                for (std::uint32_t column = 0; column < 6; ++column) {
                    const TerrainCell &old = before.ground.at(row, column);
                    const bool filled = wholeLevel ? old.tertype == Grass : ring[row * 6 + column];
                    TerrainCell expected = old;
                    if (filled) {
                        // The terrain alone: type, picture and the terrain's mirror bits.
                        const TerrainCell painted = applyBrush(old, brush, false);
                        expected.tertype = painted.tertype;
                        expected.terconf = painted.terconf;
                        expected.mirror = std::uint8_t((old.mirror & ~3) | (painted.mirror & 3));
                        if (c.picture == Picture::Plain)
                            expected.terconf = plainPicture(column, row);
                        EXPECT_LE(expected.terconf, maxTerrainSpriteFor(expected.tertype));
                    }
                    EXPECT_EQ(map.ground.at(row, column), expected) << column << "," << row;
                    EXPECT_EQ(recorded.count({int(column), int(row)}), filled ? 1u : 0u);
                }
        }
    }
}

// With terrain "not change" the fill has nothing to write: it never takes a
// river, a road or mirror bits from the brush.
TEST(ReplaceFill, TerrainNotChangeWritesNothing)
{
    const MapDocument before = mapOfTypeRows(GrassAreas);
    MapDocument map = before;
    RecordingEditor recorder(map);
    const BrushSettings gravel = brushOf({.CBtertype = 10, .CBterconf = 79, .CBroadtype = 4});
    EXPECT_EQ(replaceFill(recorder.editor, gravel, 1, 2).changed, 0u);
    EXPECT_EQ(map.ground, before.ground);
}

TEST(ReplaceFill, PlainPicturesAreAmongTheFirstFewAndVary)
{
    std::set<std::uint8_t> seen;
    for (std::uint32_t row = 0; row < 16; ++row)
        for (std::uint32_t column = 0; column < 16; ++column) {
            EXPECT_LT(plainPicture(column, row), PlainPictureCount);
            EXPECT_EQ(plainPicture(column, row), edgeVariant(column, row, PlainPictureCount));
            seen.insert(plainPicture(column, row));
        }
    EXPECT_EQ(seen.size(), std::size_t(PlainPictureCount));
}

// Water and grass with edge pictures; swamp counts as grass for grass's
// borders. Pictures up to 32, so every picture exists for both.
const QByteArray Rules = R"(
[terrain 8]
rule = sss s.s sss : 0 1 2 3
rule = *o* s.s sss : 10
rule = sss s.s *o* : 10 : ud
rule = *ss o.s *ss : 13 : lr
rule = *o* s.o ss* : 16
rule = *o* o.o *o* : 22
[terrain 2]
same = 4
like = 8
)";

TEST(ReplaceFill, WithRulesIsPaintingThenEdgingWithOneRecordACell)
{
    const TerrainEdgeRules rules = *parseTerrainEdgeRules(Rules).rules;
    const BrushSettings brushes[] = {
        brushOf({.CBtertype = Water, .CBterconf = 33}),
        brushOf({.CBtertype = Grass, .CBterconf = 5, .CBmirror = BrushSelectors::MirrorModeSet}),
        brushOf({.CBtertype = 0, .CBterconf = 46, .CBroadtype = 2}),  // dirt has no rules
    };
    for (const std::uint32_t side : {9u, 70u}) {
        for (const bool wholeLevel : {false, true}) {
            for (std::size_t b = 0; b < std::size(brushes); ++b) {
                SCOPED_TRACE(testing::Message() << "side " << side << (wholeLevel ? " whole level" : "") << " brush " << b);
                const MapDocument before = randomTypeMap(side, 5, unsigned(side + b));
                const std::uint16_t column = std::uint16_t(side / 2), row = std::uint16_t(side / 3);

                // The reference: the fill without rules, then the edges of the
                // region's cells and their neighbours, each a step of its own.
                MapDocument reference = before;
                RecordingEditor painted(reference);
                replaceFill(painted.editor, brushes[b], column, row, {.wholeLevel = wholeLevel});
                const RegionSelection region = wholeLevel
                    ? RegionSelection::terrainOnLevel(before.ground, before.ground.at(row, column).tertype)
                    : RegionSelection::connectedRegion(before.ground, column, row);
                std::vector<CellPosition> filled;
                region.forEachRun([&](const CellRun &run) {
                    for (std::uint32_t i = 0; i < run.length; ++i)
                        filled.push_back({std::uint16_t(run.column + i), std::uint16_t(run.row)});
                });
                applyTerrainEdges(painted.editor, rules, filled);

                MapDocument map = before;
                RecordingEditor recorder(map);
                std::vector<std::pair<qint64, qint64>> reports;
                const FillResult result = replaceFill(
                    recorder.editor, brushes[b], column, row, {wholeLevel, &rules},
                    [&](qint64 done, qint64 total) { reports.emplace_back(done, total); });
                ASSERT_EQ(map.ground, reference.ground);

                std::size_t differing = 0;
                QRect differingBounds;
                for (std::uint32_t y = 0; y < side; ++y)
                    for (std::uint32_t x = 0; x < side; ++x)
                        if (!(map.ground.at(y, x) == before.ground.at(y, x))) {
                            ++differing;
                            differingBounds |= QRect(int(x), int(y), 1, 1);
                        }
                EXPECT_EQ(result.changed, differing);
                EXPECT_EQ(recorder.undoList.count(), differing);
                EXPECT_EQ(result.changedCells, differingBounds);
                const std::set<std::pair<int, int>> recorded(recorder.redrawn.begin(), recorder.redrawn.end());
                EXPECT_EQ(recorded.size(), differing);
                for (std::size_t i = 0; i < recorder.undoList.count(); ++i) {
                    const UndoRecord &record = recorder.undoList.at(i);
                    EXPECT_EQ(record.previous, before.ground.at(record.row, record.column));
                }

                ASSERT_GE(reports.size(), 2u);
                EXPECT_EQ(reports.front().first, 0);
                EXPECT_EQ(reports.back().first, reports.back().second);
                for (std::size_t i = 1; i < reports.size(); ++i)
                    EXPECT_LE(reports[i - 1].first, reports[i].first);
            }
        }
    }
}

TEST(ReplaceFill, TheEdgesOfTheRegionAndOfItsBorder)
{
    // A lake dug into grass: the water's shore and the grass around it take
    // their edge pictures; grass farther away keeps picture 30.
    const TerrainEdgeRules rules = *parseTerrainEdgeRules(Rules).rules;
    MapDocument map = mapOfTypeRows({
        "22222",
        "20002",
        "20002",
        "22222",
        "22222",
    });
    RecordingEditor recorder(map);
    replaceFill(recorder.editor, brushOf({.CBtertype = Water, .CBterconf = 33}), 2, 1, {.edgeRules = &rules});
    EXPECT_EQ(map.ground.at(1, 2).terconf, 10);                   // water, grass to the north
    EXPECT_EQ(map.ground.at(0, 2).terconf, 10);                   // grass, water to the south
    EXPECT_EQ(map.ground.at(0, 2).mirror, 0xC0 | MirrorBit::TerrainUpsideDown);
    EXPECT_EQ(map.ground.at(4, 2).terconf, 30);                   // beyond the border
    EXPECT_EQ(map.ground.at(4, 2).mirror, 0xC0);
}

TEST(ReplaceFill, OutsideTheMapOrWithoutAnEditableLevelNothingHappens)
{
    MapDocument map = mapOfTypeRows(GrassAreas);
    const MapDocument before = map;
    RecordingEditor recorder(map);
    const BrushSettings water = brushOf({.CBtertype = Water, .CBterconf = 33});
    EXPECT_EQ(replaceFill(recorder.editor, water, 6, 0).changed, 0u);
    EXPECT_EQ(replaceFill(recorder.editor, water, 0, 6, {.wholeLevel = true}).changed, 0u);
    recorder.editor.setLevel(1);
    EXPECT_EQ(replaceFill(recorder.editor, water, 0, 0).changed, 0u);
    EXPECT_TRUE(replaceFill(recorder.editor, water, 0, 0).changedCells.isEmpty());
    EXPECT_EQ(map.ground, before.ground);
    EXPECT_EQ(recorder.undoList.count(), 0u);
}

}  // namespace
