// Tests of the river and road pieces: the piece and mirror bits chosen from
// the joining sides (a cross, ends, straights, bends, T pieces, types that
// join and types that do not, the map's edge), nothing else in a cell
// changing, the whole level through the editor and on a plain layer, and the
// path tools: the cells of a straight drag, laying and erasing along them,
// with the result equal to the whole level's after any drags.
#include "edit/PathLaying.h"
#include "edit/PathPieces.h"
#include "edit/TerrainEdges.h"
#include "edit/UndoStep.h"

#include "MapFixture.h"

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr std::uint8_t RoadBits = MirrorBit::RoadLeftRight | MirrorBit::RoadUpsideDown;

// Road 1 has a piece for the shapes the tests draw, road 2 the same rules but
// joins only itself, road 3 no rules; river 1 three variants whatever joins.
const QByteArray TestRules = R"(
[road 1]
joins = 2
rule = j j j j : 10            ; cross
rule = j o j o : 1             ; straights
rule = o j o j : 0
rule = j j o o : 2             ; bends: one picture mirrored
rule = o j j o : 2 : ud
rule = o o j j : 2 : lr ud
rule = j o o j : 2 : lr
rule = j j j o : 3             ; T pieces closed to the west and the east
rule = j o j j : 3 : lr
rule = j o o o : 11            ; ends
rule = o j o o : 12
rule = o o j o : 11 : ud
rule = o o o j : 12 : lr
rule = * * * * : 15            ; anything else
[road 2]
like = 1
[river 1]
rule = * * * * : 5 6 7 : lr
)";

PathRules testRules()
{
    const TerrainEdgeRulesResult result = parseTerrainEdgeRules(TestRules);
    EXPECT_TRUE(result.ok()) << result.reason.toStdString();
    return result.ok() ? result.rules->paths() : PathRules();
}

// A layer from rows of letters: "1".."3" a road of that type, "r" a river
// of type 1, anything else nothing. Every cell has terrain, a river or road
// picture and all mirror bits set, which the rules must keep where they do
// not own them.
TerrainLayer layerFrom(const std::vector<const char *> &rows)
{
    TerrainLayer layer(std::uint32_t(rows.size()));
    for (std::uint32_t row = 0; row < rows.size(); ++row)
        for (std::uint32_t column = 0; column < rows.size(); ++column) {
            const char letter = rows[row][column];
            TerrainCell &cell = layer.at(row, column);
            cell = {std::uint8_t(row % 10), 9, 0, 4, 0, 8, 0xFF};
            if (letter >= '1' && letter <= '3')
                cell.roadtype = std::uint8_t(letter - '0');
            if (letter == 'r')
                cell.rivtype = 1;
        }
    return layer;
}

struct Piece {
    std::uint32_t column;
    std::uint32_t row;
    std::uint8_t picture;
    std::uint8_t mirror;  // the road's two bits
};

struct ShapeCase {
    const char *name;
    std::vector<const char *> rows;
    std::vector<Piece> pieces;
};

TEST(PathPieces, ShapesGetTheirPieces)
{
    const PathRules rules = testRules();
    const ShapeCase cases[] = {
        {"a plus: a cross in the middle, ends at the tips, straights between",
         {".......", "...1...", "...1...", ".11111.", "...1...", "...1...", "......."},
         {{3, 3, 10, 0}, {3, 1, 11, MirrorBit::RoadUpsideDown}, {3, 5, 11, 0}, {1, 3, 12, 0},
          {5, 3, 12, MirrorBit::RoadLeftRight}, {3, 2, 1, 0}, {3, 4, 1, 0}, {2, 3, 0, 0}, {4, 3, 0, 0}}},
        {"a bend, each corner", {"11.", "11.", "..."},
         {{0, 0, 2, MirrorBit::RoadUpsideDown}, {1, 0, 2, RoadBits}, {0, 1, 2, 0}, {1, 1, 2, MirrorBit::RoadLeftRight}}},
        {"a T", {".1.", ".11", ".1."}, {{1, 1, 3, 0}, {2, 1, 12, MirrorBit::RoadLeftRight}}},
        {"a T closed to the east", {".1.", "11.", ".1."}, {{1, 1, 3, MirrorBit::RoadLeftRight}}},
        {"a T closed to the north: the catch-all", {"...", "111", ".1."}, {{1, 1, 15, 0}}},
        {"a lone cell", {"...", ".1.", "..."}, {{1, 1, 15, 0}}},
        {"the map's edge does not join", {"111", "...", "..."}, {{0, 0, 12, 0}, {1, 0, 0, 0}, {2, 0, 12, MirrorBit::RoadLeftRight}}},
        {"road 2 joins road 1, not the other way round", {"...", "12.", "..."}, {{0, 1, 12, 0}, {1, 1, 15, 0}}},
        {"a road without rules joins nothing and keeps its picture", {"...", "13.", "..."}, {{0, 1, 15, 0}, {1, 1, 8, RoadBits}}},
        {"a river does not join a road", {"...", "1r.", "..."}, {{0, 1, 15, 0}}},
        {"no road: kept", {"...", "...", "..."}, {{1, 1, 8, RoadBits}}},
    };
    for (const ShapeCase &c : cases) {
        SCOPED_TRACE(c.name);
        const TerrainLayer layer = layerFrom(c.rows);
        for (const Piece &piece : c.pieces) {
            SCOPED_TRACE(testing::Message() << piece.column << ',' << piece.row);
            const TerrainCell before = layer.at(piece.row, piece.column);
            const TerrainCell pieced = piecedCell(rules, PathLayer::Road, layer, piece.column, piece.row);
            EXPECT_EQ(int(pieced.roadconf), int(piece.picture));
            EXPECT_EQ(pieced.mirror, (0xFF & ~RoadBits) | piece.mirror);
            // Only the road's picture and bits change.
            TerrainCell others = pieced;
            others.roadconf = before.roadconf;
            others.mirror = before.mirror;
            EXPECT_EQ(others, before);
        }
    }
}

TEST(PathPieces, RiversTakeVariantsByPositionAndTheirOwnBits)
{
    const PathRules rules = testRules();
    TerrainLayer layer = layerFrom({"rrrr", "r1r.", "rrrr", "...."});
    const TerrainLayer before = layer;
    EXPECT_EQ(applyPathPiecesToLayer(layer, rules, PathLayer::Road), 1u);  // the lone road
    EXPECT_EQ(layer.at(1, 1).roadconf, 15);
    TerrainLayer rivers = before;
    applyPathPiecesToLayer(rivers, rules, PathLayer::River);
    for (std::uint32_t row = 0; row < 4; ++row)
        for (std::uint32_t column = 0; column < 4; ++column) {
            const TerrainCell &cell = rivers.at(row, column);
            if (before.at(row, column).rivtype == 0) {
                EXPECT_EQ(cell, before.at(row, column));
                continue;
            }
            EXPECT_EQ(cell.rivconf, 5 + edgeVariant(column, row, 3));
            // The river's bits: left to right set, upside down cleared; the road's kept.
            EXPECT_EQ(cell.mirror, 0xFF & ~MirrorBit::RiverUpsideDown);
        }
}

TEST(PathPieces, WholeLevelIsIdempotentAndTheSameThroughTheEditor)
{
    const PathRules rules = testRules();
    MapDocument document = openMap(5, true);
    document.underground = layerFrom({"11.2r", "1.123", "11111", "r.1.2", "2.21r"});
    const TerrainLayer ground = document.ground;
    TerrainLayer reference = document.underground;
    const std::size_t changed = applyPathPiecesToLayer(reference, rules, PathLayer::Road);
    ASSERT_GT(changed, 0u);

    RecordingEditor recording(document, 1);
    EXPECT_EQ(applyPathPiecesToLevel(recording.editor, rules, PathLayer::Road), changed);
    EXPECT_EQ(document.underground, reference);
    EXPECT_EQ(document.ground, ground);
    EXPECT_EQ(recording.undoList.count(), changed);
    EXPECT_EQ(recording.redrawn, recording.recordedCells());
    for (std::uint32_t row = 0; row < 5; ++row)
        for (std::uint32_t column = 0; column < 5; ++column)
            EXPECT_EQ(piecedCell(rules, PathLayer::Road, reference, column, row), reference.at(row, column));

    EXPECT_EQ(applyPathPiecesToLevel(recording.editor, rules, PathLayer::Road), 0u);
    EXPECT_EQ(applyPathPiecesToLayer(reference, rules, PathLayer::Road), 0u);
    // Rivers are a layer of their own: their pieces leave the roads alone.
    TerrainLayer rivers = reference;
    EXPECT_GT(applyPathPiecesToLayer(rivers, rules, PathLayer::River), 0u);
    EXPECT_EQ(applyPathPiecesToLayer(rivers, rules, PathLayer::Road), 0u);

    // Level 1 on a one-level map: nothing to edit.
    MapDocument oneLevel = openMap(5);
    RecordingEditor none(oneLevel, 1);
    EXPECT_EQ(applyPathPiecesToLevel(none.editor, rules, PathLayer::Road), 0u);
    const std::vector<CellPosition> cells = {{1, 1}};
    EXPECT_EQ(applyPathPieces(none.editor, rules, PathLayer::Road, cells), 0u);
    EXPECT_EQ(layPath(none.editor, rules, PathLayer::Road, 1, cells, 0).changed, 0u);
    EXPECT_TRUE(none.undoList.isEmpty());
}

// Both layers at once, as Fix all roads and rivers runs: the same cells as
// one layer after the other, one undo record for a cell that both change,
// and one step back to the level as it was. Random types of both layers
// (with and without rules) in every cell, so that cells change in one layer,
// in the other, in both or in neither.
TEST(PathPieces, BothLayersOfALevelTakeOneRecordACell)
{
    const PathRules rules = testRules();
    MapDocument document = openMap(40);
    std::mt19937 random(7);
    for (TerrainCell &cell : std::span(document.ground.data(), document.ground.cellCount()))
        cell = {1, 2, std::uint8_t(random() % 3), std::uint8_t(random() % 13), std::uint8_t(random() % 4),
                std::uint8_t(random() % 17), std::uint8_t(random())};
    const TerrainLayer before = document.ground;
    TerrainLayer reference = before;
    applyPathPiecesToLayer(reference, rules, PathLayer::River);
    applyPathPiecesToLayer(reference, rules, PathLayer::Road);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < before.cellCount(); ++i)
        differing += !(before.data()[i] == reference.data()[i]);
    ASSERT_GT(differing, 0u);

    RecordingEditor recording(document);
    EXPECT_EQ(applyPathPiecesToLevel(recording.editor, rules, PathLayers), differing);
    EXPECT_EQ(document.ground, reference);
    EXPECT_EQ(recording.undoList.count(), differing);
    EXPECT_EQ(recording.redrawn, recording.recordedCells());
    while (!recording.undoList.isEmpty()) {
        const UndoRecord record = recording.undoList.takeLast();
        document.ground.at(record.row, record.column) = record.previous;
    }
    EXPECT_EQ(document.ground, before);
}

TEST(PathCells, StraightLinesAreFourConnected)
{
    struct Case {
        CellPosition from;
        CellPosition to;
        std::vector<CellPosition> cells;
    };
    const Case cases[] = {
        {{4, 4}, {4, 4}, {{4, 4}}},
        {{2, 1}, {5, 1}, {{2, 1}, {3, 1}, {4, 1}, {5, 1}}},
        {{3, 3}, {3, 0}, {{3, 3}, {3, 2}, {3, 1}, {3, 0}}},
        {{0, 0}, {2, 2}, {{0, 0}, {1, 0}, {1, 1}, {2, 1}, {2, 2}}},
        {{2, 2}, {0, 0}, {{2, 2}, {1, 2}, {1, 1}, {0, 1}, {0, 0}}},
        {{0, 0}, {4, 1}, {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {3, 1}, {4, 1}}},
        {{0, 0}, {1, 3}, {{0, 0}, {0, 1}, {1, 1}, {1, 2}, {1, 3}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.from.column << ',' << c.from.row << " to " << c.to.column << ',' << c.to.row);
        EXPECT_EQ(pathCells(c.from, c.to), c.cells);
    }

    // Any line: from its first cell to its last, one side step at a time,
    // close to the ideal line: Bresenham's cells lie within half a cell of it,
    // and a cell put in at a diagonal step one side step further off (at most
    // the square root of 1.25 cells in all).
    std::mt19937 random(7);
    for (int line = 0; line < 200; ++line) {
        const CellPosition from{std::uint16_t(random() % 60), std::uint16_t(random() % 60)};
        const CellPosition to{std::uint16_t(random() % 60), std::uint16_t(random() % 60)};
        const std::vector<CellPosition> cells = pathCells(from, to);
        const int dx = int(to.column) - int(from.column);
        const int dy = int(to.row) - int(from.row);
        ASSERT_EQ(cells.front(), from);
        ASSERT_EQ(cells.back(), to);
        ASSERT_EQ(cells.size(), std::size_t(std::abs(dx) + std::abs(dy) + 1));
        for (std::size_t i = 1; i < cells.size(); ++i) {
            const int stepX = int(cells[i].column) - int(cells[i - 1].column);
            const int stepY = int(cells[i].row) - int(cells[i - 1].row);
            ASSERT_EQ(std::abs(stepX) + std::abs(stepY), 1);
            ASSERT_TRUE(stepX == 0 || (stepX > 0) == (dx > 0));
            ASSERT_TRUE(stepY == 0 || (stepY > 0) == (dy > 0));
            // Distance from the line through the two ends, in cells.
            const double cross = double(dx) * (int(cells[i].row) - int(from.row)) - double(dy) * (int(cells[i].column) - int(from.column));
            ASSERT_LE(std::abs(cross) / std::hypot(dx, dy), 1.12);
        }
    }
}

TEST(PathLaying, LaysAndErasesWithTheirNeighboursMended)
{
    const PathRules rules = testRules();
    MapDocument document = openMap(8);
    document.ground = layerFrom({"........", "........", "........", "........", "........", "........", "........", "........"});
    const TerrainLayer start = document.ground;
    RecordingEditor recording(document);
    TerrainLayer &layer = document.ground;

    // A road along row 2 from column 1 to 6, then one down column 4 through it.
    const PathLaid first = layPath(recording.editor, rules, PathLayer::Road, 1, pathCells({1, 2}, {6, 2}), 9);
    EXPECT_FALSE(first.rulesMissing);
    EXPECT_EQ(layer.at(2, 1).roadconf, 12);
    EXPECT_EQ(layer.at(2, 3).roadconf, 0);
    EXPECT_EQ(layer.at(2, 6).mirror & RoadBits, MirrorBit::RoadLeftRight);
    const PathLaid second = layPath(recording.editor, rules, PathLayer::Road, 1, pathCells({4, 0}, {4, 5}), 9);
    EXPECT_EQ(layer.at(2, 4).roadconf, 10);
    EXPECT_EQ(layer.at(0, 4).roadconf, 11);
    EXPECT_EQ(layer.at(0, 4).mirror & RoadBits, MirrorBit::RoadUpsideDown);
    EXPECT_EQ(recording.redrawn, recording.recordedCells());
    EXPECT_EQ(recording.undoList.count(), first.changed + second.changed);

    // Erasing the crossing leaves four ends around it.
    const std::vector<CellPosition> crossing = {{4, 2}};
    const std::size_t erased = erasePath(recording.editor, rules, PathLayer::Road, crossing);
    EXPECT_EQ(erased, 5u);
    EXPECT_EQ(layer.at(2, 4), (TerrainCell{2, 9, 0, 4, 0, 0, std::uint8_t(0xFF & ~RoadBits)}));
    EXPECT_EQ(layer.at(2, 3).roadconf, 12);
    EXPECT_EQ(layer.at(2, 3).mirror & RoadBits, MirrorBit::RoadLeftRight);
    EXPECT_EQ(layer.at(2, 5).roadconf, 12);
    EXPECT_EQ(layer.at(1, 4).roadconf, 11);
    EXPECT_EQ(layer.at(3, 4).roadconf, 11);
    EXPECT_EQ(layer.at(3, 4).mirror & RoadBits, MirrorBit::RoadUpsideDown);

    // A type without rules is laid with the fallback picture, and said so;
    // road 1 beside it does not join it and keeps its piece.
    const PathLaid plain = layPath(recording.editor, rules, PathLayer::Road, 3, pathCells({6, 3}, {6, 4}), 14);
    EXPECT_TRUE(plain.rulesMissing);
    EXPECT_EQ(plain.changed, 2u);
    EXPECT_EQ(layer.at(3, 6).roadtype, 3);
    EXPECT_EQ(layer.at(4, 6).roadconf, 14);
    EXPECT_EQ(layer.at(4, 6).mirror & RoadBits, 0);
    // Cells outside the map are skipped.
    const std::vector<CellPosition> outside = {{8, 0}, {0, 8}};
    EXPECT_EQ(layPath(recording.editor, rules, PathLayer::River, 1, outside, 0).changed, 0u);

    while (!recording.undoList.isEmpty())
        undoLast(document, recording.undoList);
    EXPECT_EQ(document.ground, start);
}

// Random drags of rivers and roads, laid and erased, over random terrain:
// afterwards every cell is what the whole level's rules make of it, the
// terrain is as it was, and undoing everything gives the map back.
TEST(PathLaying, DragsEndAsTheWholeLevelWouldMakeThem)
{
    const PathRules rules = testRules();
    constexpr std::uint32_t Side = 24;
    MapDocument document = openMap(Side);
    std::mt19937 random(11);
    for (std::size_t i = 0; i < document.ground.cellCount(); ++i)
        document.ground.data()[i] = {std::uint8_t(random() % 10), std::uint8_t(random() % 79), 0, 0, 0, 0,
                                     std::uint8_t(random())};
    const TerrainLayer start = document.ground;
    RecordingEditor recording(document);
    for (int drag = 0; drag < 60; ++drag) {
        const PathLayer path = drag % 3 == 0 ? PathLayer::River : PathLayer::Road;
        // A drag: a few straight steps from where the last one ended.
        CellPosition at{std::uint16_t(random() % (Side + 2)), std::uint16_t(random() % Side)};
        const std::uint8_t type = drag % 5 == 4 ? 0 : std::uint8_t(1 + random() % 3);
        for (int step = 0; step < 3; ++step) {
            const CellPosition next{std::uint16_t(random() % Side), std::uint16_t(random() % Side)};
            const std::vector<CellPosition> cells = pathCells(at, next);
            if (type == 0)
                erasePath(recording.editor, rules, path, cells);
            else
                layPath(recording.editor, rules, path, type, cells, std::uint8_t(random() % 20));
            at = next;
        }
    }
    TerrainLayer whole = document.ground;
    EXPECT_EQ(applyPathPiecesToLayer(whole, rules, PathLayer::Road), 0u);
    EXPECT_EQ(applyPathPiecesToLayer(whole, rules, PathLayer::River), 0u);
    std::size_t roads = 0;
    for (std::size_t i = 0; i < whole.cellCount(); ++i) {
        const TerrainCell &cell = whole.data()[i];
        const TerrainCell &before = start.data()[i];
        roads += cell.roadtype != 0;
        EXPECT_EQ(cell.tertype, before.tertype);
        EXPECT_EQ(cell.terconf, before.terconf);
        EXPECT_EQ(cell.mirror & ~(RoadBits | MirrorBit::RiverLeftRight | MirrorBit::RiverUpsideDown),
                  before.mirror & ~(RoadBits | MirrorBit::RiverLeftRight | MirrorBit::RiverUpsideDown));
        EXPECT_LE(cell.rivconf, 12);
        EXPECT_LE(cell.roadconf, 16);
    }
    EXPECT_GT(roads, Side);
    while (!recording.undoList.isEmpty())
        undoLast(document, recording.undoList);
    EXPECT_EQ(document.ground, start);
}

}  // namespace
