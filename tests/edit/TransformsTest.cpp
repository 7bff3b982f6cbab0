// Tests of flips and turns: where cells go and what becomes of their mirror
// bits (checked cell by cell against the position rule), round trips, areas
// that leave the rest of the level alone, refusals, the edge rules after a
// quarter turn, the editor's undo records, the clipboard block, and copying a
// half of a level onto the other.
#include "edit/CellClipboard.h"
#include "edit/PathPieces.h"
#include "edit/TerrainEdges.h"
#include "edit/Transforms.h"

#include "MapFixture.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

constexpr Transform AllTransforms[] = {Transform::FlipHorizontal, Transform::FlipVertical, Transform::FlipDiagonal,
                                       Transform::Turn90,         Transform::Turn180,      Transform::Turn270};

const char *nameOf(Transform transform)
{
    constexpr const char *Names[] = {"flip horizontal", "flip vertical", "flip diagonal", "turn 90", "turn 180", "turn 270"};
    return Names[int(transform)];
}

// A layer whose every cell is different (picture = column, river picture =
// row), with every mirror bit, 6 and 7 included, set in some cells.
TerrainLayer numberedLayer(std::uint32_t side)
{
    TerrainLayer layer(side);
    for (std::uint32_t row = 0; row < side; ++row)
        for (std::uint32_t column = 0; column < side; ++column)
            layer.at(row, column) = {std::uint8_t((column * 3 + row * 7) % 10), std::uint8_t(column),
                                     std::uint8_t(row % 5),                      std::uint8_t(row),
                                     std::uint8_t((column + row) % 4),           std::uint8_t(column * row),
                                     std::uint8_t(column * 5 + row * 11)};
    return layer;
}

MapDocument numberedMap(std::uint32_t side)
{
    MapDocument map = openMap(side);
    map.ground = numberedLayer(side);
    return map;
}

// Types 0..2 have rules; a cell's picture tells which neighbours differ.
TerrainEdgeRules testRules()
{
    const TerrainEdgeRulesResult result = parseTerrainEdgeRules("[terrain 0]\n"
                                                                "rule = *s* s.s *s* : 1 2 3\n"
                                                                "rule = *o* *.* *** : 4 : ud\n"
                                                                "rule = *** o.* *** : 5 : lr\n"
                                                                "[terrain 1]\n"
                                                                "same = 0\n"
                                                                "like = 0\n"
                                                                "[terrain 2]\n"
                                                                "like = 0\n");
    EXPECT_TRUE(result.ok()) << result.reason.toStdString();
    return result.rules.value_or(TerrainEdgeRules());
}

// Terrain rules as testRules() gives them, with pieces for road 1 and river 2.
TerrainEdgeRules pathRules()
{
    const TerrainEdgeRulesResult result = parseTerrainEdgeRules("[terrain 0]\n"
                                                                "rule = *s* s.s *s* : 1 2 3\n"
                                                                "rule = *o* *.* *** : 4 : ud\n"
                                                                "rule = *** o.* *** : 5 : lr\n"
                                                                "[terrain 1]\nlike = 0\n[terrain 2]\nlike = 0\n"
                                                                "[road 1]\n"
                                                                "rule = j o j o : 1\n"
                                                                "rule = o j o j : 0\n"
                                                                "rule = * * * * : 15\n"
                                                                "[river 2]\n"
                                                                "rule = j o j o : 3\n"
                                                                "rule = o j o j : 4\n"
                                                                "rule = * * * * : 9\n");
    EXPECT_TRUE(result.ok()) << result.reason.toStdString();
    return result.rules.value_or(TerrainEdgeRules());
}

// The layer with every rule applied to every cell.
TerrainLayer mendedEverywhere(TerrainLayer layer, const TerrainEdgeRules &rules)
{
    applyTerrainEdgesToLayer(layer, rules);
    for (const PathLayer path : PathLayers)
        applyPathPiecesToLayer(layer, rules.paths(), path);
    return layer;
}

// The area of before transformed cell by cell, as the position rule and the
// mirror bits say, and everything outside it as it was.
TerrainLayer expectedAfter(const TerrainLayer &before, const QRect &area, Transform transform)
{
    TerrainLayer expected = before;
    for (int row = 0; row < area.height(); ++row)
        for (int column = 0; column < area.width(); ++column) {
            const CellPosition to = transformedPosition(transform, std::uint32_t(area.width()),
                                                        std::uint32_t(area.height()),
                                                        {std::uint16_t(column), std::uint16_t(row)});
            expected.at(std::uint32_t(area.top() + to.row), std::uint32_t(area.left() + to.column)) =
                transformedCell(before.at(std::uint32_t(area.top() + row), std::uint32_t(area.left() + column)),
                                toggledMirrorBits(transform));
        }
    return expected;
}

std::size_t differingCells(const TerrainLayer &one, const TerrainLayer &other)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < one.cellCount(); ++i)
        count += !(one.data()[i] == other.data()[i]);
    return count;
}

// Writes back the previous cells of the records, newest first: the layer as
// it was before the records were made.
TerrainLayer undone(TerrainLayer layer, const UndoList &undoList)
{
    for (std::size_t i = undoList.count(); i-- > 0;) {
        const UndoRecord &record = undoList.at(i);
        layer.at(record.row, record.column) = record.previous;
    }
    return layer;
}

TEST(Transforms, PositionsAndMirrorBitsOfEachTransform)
{
    // A 3 x 2 area: where its top-left (0,0) and bottom-left (0,1) cells land.
    struct Case {
        Transform transform;
        CellPosition topLeft;
        CellPosition bottomLeft;
        std::uint8_t toggled;
    };
    const Case cases[] = {
        {Transform::FlipHorizontal, {2, 0}, {2, 1}, 0x15}, {Transform::FlipVertical, {0, 1}, {0, 0}, 0x2A},
        {Transform::Turn180, {2, 1}, {2, 0}, 0x3F},        {Transform::Turn90, {1, 0}, {0, 0}, 0},
        {Transform::Turn270, {0, 2}, {1, 2}, 0},           {Transform::FlipDiagonal, {0, 0}, {1, 0}, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(nameOf(c.transform));
        EXPECT_EQ(transformedPosition(c.transform, 3, 2, {0, 0}), c.topLeft);
        EXPECT_EQ(transformedPosition(c.transform, 3, 2, {0, 1}), c.bottomLeft);
        EXPECT_EQ(toggledMirrorBits(c.transform), c.toggled);
        EXPECT_EQ(swapsSides(c.transform), c.toggled == 0);
    }
}

TEST(Transforms, WholeLayerMovesEveryCellAndTogglesItsBits)
{
    for (const std::uint32_t side : {1u, 6u, 7u, 70u}) {  // 70: quarter turns work in bands of rows
        const TerrainLayer before = numberedLayer(side);
        for (const Transform transform : AllTransforms) {
            SCOPED_TRACE(std::string(nameOf(transform)) + ", side " + std::to_string(side));
            TerrainLayer layer = before;
            const TransformResult result = transformLayer(layer, transform);
            ASSERT_TRUE(result.ok()) << transformRefusalText(result.refusal).toStdString();
            EXPECT_FALSE(result.edgesApplied);
            const TerrainLayer expected = expectedAfter(before, QRect(0, 0, int(side), int(side)), transform);
            EXPECT_EQ(layer, expected);
            EXPECT_EQ(result.changed, differingCells(layer, before));
        }
    }
}

TEST(Transforms, RoundTrips)
{
    const TerrainLayer before = numberedLayer(9);
    const auto apply = [](TerrainLayer layer, std::initializer_list<Transform> transforms,
                          const TerrainEdgeRules *rules = nullptr) {
        for (const Transform transform : transforms)
            transformLayer(layer, transform, rules);
        return layer;
    };
    // Every flip undoes itself, byte for byte, and so does a half turn.
    for (const Transform transform : {Transform::FlipHorizontal, Transform::FlipVertical, Transform::FlipDiagonal,
                                      Transform::Turn180}) {
        SCOPED_TRACE(nameOf(transform));
        EXPECT_EQ(apply(before, {transform, transform}), before);
    }
    EXPECT_EQ(apply(before, {Transform::Turn90, Transform::Turn270}), before);
    EXPECT_EQ(apply(before, {Transform::Turn90, Transform::Turn90, Transform::Turn90, Transform::Turn90}), before);
    EXPECT_EQ(apply(before, {Transform::Turn180}), apply(before, {Transform::FlipHorizontal, Transform::FlipVertical}));
    EXPECT_EQ(apply(before, {Transform::Turn270}), apply(before, {Transform::Turn90, Transform::Turn90, Transform::Turn90}));

    // With edge rules, four quarter turns give back every type, river and
    // road; only terrain pictures and their bits may differ.
    const TerrainEdgeRules rules = testRules();
    const TerrainLayer turned = apply(
        before, {Transform::Turn90, Transform::Turn90, Transform::Turn90, Transform::Turn90}, &rules);
    const auto withoutTerrainPicture = [](TerrainCell cell) {
        cell.terconf = 0;
        cell.mirror &= ~(MirrorBit::TerrainLeftRight | MirrorBit::TerrainUpsideDown);
        return cell;
    };
    for (std::size_t i = 0; i < before.cellCount(); ++i)
        EXPECT_EQ(withoutTerrainPicture(turned.data()[i]), withoutTerrainPicture(before.data()[i])) << "cell " << i;
}

TEST(Transforms, AreaChangesNothingOutsideIt)
{
    const TerrainLayer before = numberedLayer(10);
    for (const QRect &area : {QRect(2, 3, 4, 4), QRect(1, 2, 5, 3), QRect(0, 0, 10, 1), QRect(9, 0, 1, 10)}) {
        for (const Transform transform : AllTransforms) {
            if (swapsSides(transform) && area.width() != area.height())
                continue;
            SCOPED_TRACE(std::string(nameOf(transform)) + " of " + std::to_string(area.width()) + " x "
                         + std::to_string(area.height()));
            TerrainLayer layer = before;
            ASSERT_TRUE(transformArea(layer, area, transform).ok());
            EXPECT_EQ(layer, expectedAfter(before, area, transform));
        }
    }
}

TEST(Transforms, RefusesAreasItCannotTransformAndChangesNothing)
{
    struct Case {
        const char *name;
        QRect area;
        Transform transform;
        const char *refusal;
    };
    const Case cases[] = {
        {"quarter turn of a 5 x 3 area", QRect(1, 1, 5, 3), Transform::Turn90,
         "a quarter turn or diagonal flip in place needs a square area, not 5 x 3 cells"},
        {"diagonal flip of a 2 x 4 area", QRect(0, 0, 2, 4), Transform::FlipDiagonal,
         "a quarter turn or diagonal flip in place needs a square area, not 2 x 4 cells"},
        {"area past the right edge", QRect(8, 0, 3, 3), Transform::FlipHorizontal,
         "the area from column 8, row 0 to column 10, row 2 does not lie inside the level of side 10"},
        {"area above the top", QRect(0, -1, 2, 2), Transform::Turn180,
         "the area from column 0, row -1 to column 1, row 0 does not lie inside the level of side 10"},
        {"empty area", QRect(), Transform::FlipVertical, "there are no cells to transform"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TerrainLayer layer = numberedLayer(10);
        const TransformResult plain = transformArea(layer, c.area, c.transform);
        EXPECT_EQ(transformRefusalText(plain.refusal).toStdString(), c.refusal);
        EXPECT_EQ(layer, numberedLayer(10));

        MapDocument map = numberedMap(10);
        RecordingEditor recorder(map);
        const TransformResult edited = transformArea(recorder.editor, c.area, c.transform);
        EXPECT_EQ(edited.refusal, plain.refusal);
        EXPECT_TRUE(recorder.undoList.isEmpty());
    }
    // Level 1 of a one-level map has nothing to edit.
    MapDocument map = numberedMap(10);
    RecordingEditor recorder(map, 1);
    EXPECT_EQ(transformRefusalText(transformLevel(recorder.editor, Transform::FlipVertical).refusal).toStdString(),
              "no level of an open map is shown to edit");
    EXPECT_EQ(mirrorHalf(recorder.editor, LevelHalf::Left), 0u);
    EXPECT_EQ(map.ground, numberedLayer(10));
}

TEST(Transforms, QuarterTurnTakesPicturesFromTheRulesInTheAreaAndItsRing)
{
    const TerrainEdgeRules rules = testRules();
    const TerrainLayer before = numberedLayer(12);
    for (const QRect &area : {QRect(3, 4, 5, 5), QRect(0, 0, 12, 12)}) {
        TerrainLayer layer = before;
        const TransformResult result = transformArea(layer, area, Transform::Turn90, &rules);
        ASSERT_TRUE(result.ok());
        EXPECT_TRUE(result.edgesApplied);
        TerrainLayer expected = expectedAfter(before, area, Transform::Turn90);
        const TerrainLayer moved = expected;
        const QRect ring = area.adjusted(-1, -1, 1, 1);
        for (std::uint32_t row = 0; row < 12; ++row)
            for (std::uint32_t column = 0; column < 12; ++column)
                if (ring.contains(int(column), int(row)))
                    expected.at(row, column) = edgedCell(rules, moved, column, row);
        EXPECT_EQ(layer, expected);
        EXPECT_EQ(result.changed, differingCells(layer, before));  // moved and edged cells count once

        // The same through the editor, whose records take it all back.
        MapDocument map = openMap(12);
        map.ground = before;
        RecordingEditor recorder(map);
        const TransformResult edited = transformArea(recorder.editor, area, Transform::Turn90, &rules);
        EXPECT_TRUE(edited.edgesApplied);
        EXPECT_EQ(edited.changed, result.changed);
        EXPECT_EQ(map.ground, expected);
        EXPECT_EQ(undone(map.ground, recorder.undoList), before);
    }
    // A flip is drawn by the mirror bits: the rules are not needed.
    TerrainLayer layer = before;
    EXPECT_FALSE(transformLayer(layer, Transform::FlipHorizontal, &rules).edgesApplied);
    EXPECT_EQ(layer, expectedAfter(before, QRect(0, 0, 12, 12), Transform::FlipHorizontal));
}

// With rules, a transform gives exactly the cells that met new neighbours
// their terrain pictures and their river and road pieces: after a quarter
// turn the area and its ring, rivers and roads included (they were left
// with the pieces of the old direction); after a flip of part of a level the
// cells along its edge, inside and out, and no others; after a whole-level
// flip none.
TEST(Transforms, RulesMendOnlyTheCellsThatMetNewNeighbours)
{
    const TerrainEdgeRules rules = pathRules();
    const auto piecedEverywhere = [&](TerrainLayer layer) {
        for (const PathLayer path : PathLayers)
            applyPathPiecesToLayer(layer, rules.paths(), path);
        return layer;
    };
    // An east-west road along row 2 and a north-south river down column 6,
    // pieced, on terrain of three types in stripes.
    TerrainLayer before(10);
    for (std::uint32_t row = 0; row < 10; ++row)
        for (std::uint32_t column = 0; column < 10; ++column)
            before.at(row, column).tertype = std::uint8_t((column / 3 + row / 4) % 3);
    for (std::uint32_t i = 1; i < 9; ++i) {
        before.at(2, i).roadtype = 1;
        before.at(i, 6).rivtype = 2;
    }
    applyTerrainEdgesToLayer(before, rules);
    before = piecedEverywhere(before);

    // A quarter turn of the whole level: the road now runs north to south.
    TerrainLayer turned = before;
    ASSERT_TRUE(transformLayer(turned, Transform::Turn90, &rules).ok());
    EXPECT_EQ(piecedEverywhere(turned), turned) << "rivers and roads keep the pieces of the old direction";
    EXPECT_EQ(turned.at(4, 7).roadconf, 1);

    // A flip of a 4 x 4 area: inside it, away from its edge, the cells are as
    // the flip alone leaves them; its edge and ring take the rules.
    const QRect area(2, 1, 4, 4);
    TerrainLayer flipped = before;
    ASSERT_TRUE(transformArea(flipped, area, Transform::FlipHorizontal, &rules).ok());
    const TerrainLayer moved = expectedAfter(before, area, Transform::FlipHorizontal);
    const QRect inner = area.adjusted(1, 1, -1, -1);
    TerrainLayer mended = moved;
    applyTerrainEdgesToLayer(mended, rules);
    mended = piecedEverywhere(mended);
    for (std::uint32_t row = 0; row < 10; ++row)
        for (std::uint32_t column = 0; column < 10; ++column) {
            SCOPED_TRACE(std::to_string(column) + "," + std::to_string(row));
            const bool edge = area.adjusted(-1, -1, 1, 1).contains(int(column), int(row)) && !inner.contains(int(column), int(row));
            EXPECT_EQ(flipped.at(row, column), edge ? mended.at(row, column) : moved.at(row, column));
        }

    // A whole-level flip is drawn by the mirror bits alone.
    TerrainLayer whole = before;
    ASSERT_TRUE(transformLayer(whole, Transform::FlipVertical, &rules).ok());
    EXPECT_EQ(whole, expectedAfter(before, QRect(0, 0, 10, 10), Transform::FlipVertical));
}

TEST(Transforms, ThroughTheEditorOneRecordPerChangedCell)
{
    for (const Transform transform : AllTransforms) {
        SCOPED_TRACE(nameOf(transform));
        for (const QRect &area : {QRect(0, 0, 8, 8), QRect(2, 1, 3, 3)}) {
            TerrainLayer plain = numberedLayer(8);
            MapDocument map = openMap(8);
            map.ground = plain;
            const TerrainLayer before = plain;
            const TransformResult expected = transformArea(plain, area, transform);

            RecordingEditor recorder(map);
            const TransformResult result = transformArea(recorder.editor, area, transform);
            ASSERT_TRUE(result.ok());
            EXPECT_EQ(map.ground, plain);
            EXPECT_EQ(result.changed, expected.changed);
            EXPECT_EQ(recorder.undoList.count(), result.changed);
            EXPECT_EQ(recorder.redrawn.size(), result.changed);
            EXPECT_TRUE(area.contains(recorder.editor.changedCells()));
            EXPECT_EQ(undone(map.ground, recorder.undoList), before);
        }
    }
}

TEST(Transforms, ClipboardBlockTurnsAndFlips)
{
    MapDocument map = numberedMap(10);
    CellClipboard clipboard;
    ASSERT_TRUE(clipboard.copy(map, 0, QRect(2, 3, 3, 2)));  // 3 columns, 2 rows
    for (const Transform transform : AllTransforms) {
        SCOPED_TRACE(nameOf(transform));
        CellClipboard block = clipboard;
        block.transform(transform);
        EXPECT_EQ(block.width(), swapsSides(transform) ? 2 : 3);
        EXPECT_EQ(block.height(), swapsSides(transform) ? 3 : 2);
        for (std::uint16_t row = 0; row < 2; ++row)
            for (std::uint16_t column = 0; column < 3; ++column) {
                const CellPosition to = transformedPosition(transform, 3, 2, {column, row});
                EXPECT_EQ(block.cell(to.column, to.row),
                          transformedCell(clipboard.cell(column, row), toggledMirrorBits(transform)));
            }
    }
    // Turned four times, it is the block that was copied.
    CellClipboard block = clipboard;
    for (int turn = 0; turn < 4; ++turn)
        block.transform(Transform::Turn270);
    RecordingEditor recorder(map);
    EXPECT_EQ(block.paste(recorder.editor, 2, 3), 0u);
}

TEST(Transforms, MirrorHalfCopiesOneHalfOntoTheOther)
{
    for (const std::uint32_t side : {6u, 7u}) {
        for (const LevelHalf half : {LevelHalf::Left, LevelHalf::Top}) {
            SCOPED_TRACE(std::string(half == LevelHalf::Left ? "left" : "top") + ", side " + std::to_string(side));
            const TerrainLayer before = numberedLayer(side);
            const Transform flip = half == LevelHalf::Left ? Transform::FlipHorizontal : Transform::FlipVertical;
            TerrainLayer expected = before;
            for (std::uint32_t row = 0; row < side; ++row)
                for (std::uint32_t column = 0; column < side; ++column) {
                    const bool kept = (half == LevelHalf::Left ? column : row) < (side + 1) / 2;
                    if (!kept)
                        continue;
                    const CellPosition to = transformedPosition(flip, side, side, {std::uint16_t(column), std::uint16_t(row)});
                    if (!(to == CellPosition{std::uint16_t(column), std::uint16_t(row)}))
                        expected.at(to.row, to.column) = transformedCell(before.at(row, column), toggledMirrorBits(flip));
                }
            TerrainLayer layer = before;
            const std::size_t changed = mirrorHalf(layer, half);
            EXPECT_EQ(layer, expected);
            EXPECT_EQ(changed, side * (side / 2));  // every cell of the numbered layer differs

            MapDocument map = openMap(side);
            map.ground = before;
            RecordingEditor recorder(map);
            EXPECT_EQ(mirrorHalf(recorder.editor, half), changed);
            EXPECT_EQ(map.ground, expected);
            EXPECT_EQ(recorder.undoList.count(), changed);
            EXPECT_EQ(undone(map.ground, recorder.undoList), before);
        }
    }
}

// Each direction on an even and an odd side, without and with rules: every
// cell past the middle line on the copy's side is its mirror image flipped,
// the kept half and an odd side's middle line stay; with rules the columns
// (or rows) along the seam, the middle one included, are mended, rivers and
// roads too, and no other cell. Through the editor the same bytes, which the
// undo records take back.
TEST(Transforms, MirrorHalfInEachDirection)
{
    struct Case {
        LevelHalf half;
        const char *name;
        Transform flip;
        bool sideBySide;
        bool copyBeforeMiddle;  // the copy lands on the left or top, before the middle line
    };
    const Case cases[] = {
        {LevelHalf::Left, "left", Transform::FlipHorizontal, true, false},
        {LevelHalf::Right, "right", Transform::FlipHorizontal, true, true},
        {LevelHalf::Top, "top", Transform::FlipVertical, false, false},
        {LevelHalf::Bottom, "bottom", Transform::FlipVertical, false, true},
    };
    const TerrainEdgeRules rules = pathRules();
    for (const Case &c : cases)
        for (const std::uint32_t side : {6u, 7u})
            for (const bool withRules : {false, true}) {
                SCOPED_TRACE(std::string(c.name) + ", side " + std::to_string(side) + (withRules ? ", rules" : ""));
                const TerrainLayer before = numberedLayer(side);
                TerrainLayer expected = before;
                for (std::uint32_t row = 0; row < side; ++row)
                    for (std::uint32_t column = 0; column < side; ++column) {
                        // Twice the distance from the middle line, so an odd side's middle is 0.
                        const int across = int(c.sideBySide ? column : row) * 2 - int(side - 1);
                        if (c.copyBeforeMiddle ? across >= 0 : across <= 0)
                            continue;
                        const CellPosition from =
                            transformedPosition(c.flip, side, side, {std::uint16_t(column), std::uint16_t(row)});
                        expected.at(row, column) =
                            transformedCell(before.at(from.row, from.column), toggledMirrorBits(c.flip));
                    }
                if (withRules) {
                    const TerrainLayer mended = mendedEverywhere(expected, rules);
                    for (std::uint32_t row = 0; row < side; ++row)
                        for (std::uint32_t column = 0; column < side; ++column) {
                            const std::uint32_t across = c.sideBySide ? column : row;
                            if (across + 1 >= side / 2 && across <= (side - 1) / 2 + 1)
                                expected.at(row, column) = mended.at(row, column);
                        }
                }
                const TerrainEdgeRules *given = withRules ? &rules : nullptr;
                TerrainLayer layer = before;
                const std::size_t changed = mirrorHalf(layer, c.half, given);
                EXPECT_EQ(layer, expected);
                EXPECT_EQ(changed, differingCells(before, expected));

                MapDocument map = openMap(side);
                map.ground = before;
                RecordingEditor recorder(map);
                EXPECT_EQ(mirrorHalf(recorder.editor, c.half, given), changed);
                EXPECT_EQ(map.ground, expected);
                // A mended cell of the copy is recorded when copied and again when mended.
                if (!withRules)
                    EXPECT_EQ(recorder.undoList.count(), changed);
                EXPECT_EQ(undone(map.ground, recorder.undoList), before);
            }
}

// Keeping the right (bottom) half is keeping the left (top) half of the
// level flipped, and flipping the result back; the same the other way round.
TEST(Transforms, MirrorHalfOfOneSideIsTheOtherSideBetweenTwoFlips)
{
    const std::tuple<LevelHalf, LevelHalf, Transform> pairs[] = {
        {LevelHalf::Right, LevelHalf::Left, Transform::FlipHorizontal},
        {LevelHalf::Left, LevelHalf::Right, Transform::FlipHorizontal},
        {LevelHalf::Bottom, LevelHalf::Top, Transform::FlipVertical},
        {LevelHalf::Top, LevelHalf::Bottom, Transform::FlipVertical},
    };
    for (const auto &[half, opposite, flip] : pairs)
        for (const std::uint32_t side : {6u, 7u}) {
            SCOPED_TRACE(std::to_string(int(half)) + ", side " + std::to_string(side));
            TerrainLayer direct = numberedLayer(side);
            mirrorHalf(direct, half);
            TerrainLayer composed = numberedLayer(side);
            transformLayer(composed, flip);
            mirrorHalf(composed, opposite);
            transformLayer(composed, flip);
            EXPECT_EQ(direct, composed);
        }
}

}  // namespace
