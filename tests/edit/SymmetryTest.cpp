// Tests of symmetric painting: the mirror places of each mode on odd and even
// sides, the mirrored copy of an edited cell layer by layer, the changes a
// step recorded, and the copies of a stroke written into the same undo step
// without overwriting what was painted.
#include "edit/PaintAt.h"
#include "edit/Symmetry.h"

#include "MapFixture.h"

#include <gtest/gtest.h>

namespace {

using Places = std::vector<std::pair<CellPosition, Transform>>;

Places placesOf(SymmetryMode mode, std::uint32_t side, CellPosition position)
{
    Places places;
    for (const MirrorPlace &place : mirrorPlaces(mode, side, position))
        places.emplace_back(place.position, place.transform);
    return places;
}

TEST(Symmetry, MirrorPlacesOfEachModeOnOddAndEvenSides)
{
    constexpr Transform H = Transform::FlipHorizontal, V = Transform::FlipVertical, T = Transform::Turn180,
                        D = Transform::FlipDiagonal, Q = Transform::Turn90, Q3 = Transform::Turn270;
    struct Case {
        const char *name;
        SymmetryMode mode;
        std::uint32_t side;
        CellPosition position;
        Places expected;
    };
    const Case cases[] = {
        {"off", SymmetryMode::Off, 6, {1, 2}, {}},
        {"left-right, even", SymmetryMode::LeftRight, 6, {1, 2}, {{{4, 2}, H}}},
        {"left-right, next to the middle line", SymmetryMode::LeftRight, 6, {2, 0}, {{{3, 0}, H}}},
        {"left-right, odd", SymmetryMode::LeftRight, 7, {1, 2}, {{{5, 2}, H}}},
        {"left-right, on the middle line", SymmetryMode::LeftRight, 7, {3, 5}, {}},
        {"top-bottom, even", SymmetryMode::TopBottom, 6, {1, 2}, {{{1, 3}, V}}},
        {"top-bottom, on the middle line", SymmetryMode::TopBottom, 7, {1, 3}, {}},
        {"four-way, even", SymmetryMode::FourWay, 6, {1, 2}, {{{4, 2}, H}, {{1, 3}, V}, {{4, 3}, T}}},
        {"four-way, odd", SymmetryMode::FourWay, 7, {0, 6}, {{{6, 6}, H}, {{0, 0}, V}, {{6, 0}, T}}},
        {"four-way, on the vertical middle line", SymmetryMode::FourWay, 7, {3, 1}, {{{3, 5}, V}}},
        {"four-way, on the horizontal middle line", SymmetryMode::FourWay, 7, {5, 3}, {{{1, 3}, H}}},
        {"four-way, the centre", SymmetryMode::FourWay, 7, {3, 3}, {}},
        {"half turn, even", SymmetryMode::HalfTurn, 6, {1, 2}, {{{4, 3}, T}}},
        {"half turn, on a middle line", SymmetryMode::HalfTurn, 7, {3, 1}, {{{3, 5}, T}}},
        {"half turn, the centre", SymmetryMode::HalfTurn, 7, {3, 3}, {}},
        {"quarter turn, even", SymmetryMode::QuarterTurn, 6, {1, 2}, {{{3, 1}, Q}, {{4, 3}, T}, {{2, 4}, Q3}}},
        {"quarter turn, on a middle line", SymmetryMode::QuarterTurn, 7, {3, 1}, {{{5, 3}, Q}, {{3, 5}, T}, {{1, 3}, Q3}}},
        {"quarter turn, the centre", SymmetryMode::QuarterTurn, 7, {3, 3}, {}},
        {"diagonal", SymmetryMode::Diagonal, 6, {1, 4}, {{{4, 1}, D}}},
        {"diagonal, on the diagonal", SymmetryMode::Diagonal, 7, {5, 5}, {}},
        {"a one-cell map", SymmetryMode::FourWay, 1, {0, 0}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(placesOf(c.mode, c.side, c.position), c.expected);
    }
}

TEST(Symmetry, CopyTakesTheWrittenLayersMirrored)
{
    const TerrainCell before{2, 5, 1, 3, 2, 7, 0x00};
    const TerrainCell target{8, 9, 4, 4, 3, 3, 0xC0 | 0x3F};  // bits 6 and 7 belong to the target
    struct Case {
        const char *name;
        TerrainCell after;
        Transform transform;
        TerrainCell expected;
    };
    const Case cases[] = {
        {"terrain painted, left-right", {6, 1, 1, 3, 2, 7, 0x00}, Transform::FlipHorizontal, {6, 1, 4, 4, 3, 3, 0xC0 | 0x3D}},
        {"terrain painted mirrored, left-right", {6, 1, 1, 3, 2, 7, 0x01}, Transform::FlipHorizontal, {6, 1, 4, 4, 3, 3, 0xC0 | 0x3C}},
        {"river painted, top-bottom", {2, 5, 3, 8, 2, 7, 0x00}, Transform::FlipVertical, {8, 9, 3, 8, 3, 3, 0xC0 | 0x3B}},
        {"river removed, half turn", {2, 5, 0, 0, 2, 7, 0x00}, Transform::Turn180, {8, 9, 0, 0, 3, 3, 0xC0 | 0x3F}},
        {"road bit set only, half turn", {2, 5, 1, 3, 2, 7, 0x20}, Transform::Turn180, {8, 9, 4, 4, 2, 7, 0xC0 | 0x1F}},
        {"all painted, diagonal keeps bits", {0, 2, 2, 2, 1, 1, 0x05}, Transform::FlipDiagonal, {0, 2, 2, 2, 1, 1, 0xC0 | 0x05}},
        {"nothing written", before, Transform::FlipHorizontal, target},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(mirroredCopy(before, c.after, target, c.transform), c.expected);
    }
}

TEST(Symmetry, RecordedChangesKeepEachCellOnceWithItsFirstPreviousCell)
{
    UndoList undoList;
    undoList.append({0, 0, 0, {9}});  // before the step
    undoList.append({2, 1, 0, {1}});
    undoList.append({3, 1, 1, {2}});  // the other level
    undoList.append({4, 1, 0, {3}});
    undoList.append({2, 1, 0, {4}});  // the same cell again, later in the step
    undoList.append({9, 9, 0, {5}});  // outside a side-8 map
    const std::vector<CellChange> expected = {{{2, 1}, {1}}, {{4, 1}, {3}}};
    EXPECT_EQ(recordedChanges(undoList, 1, 0, 8), expected);
}

// A 3 x 1 stroke of water across the middle line of a side-8 map (columns 3..5),
// then its left-right copies, as a session does it at the end of a stroke.
TEST(Symmetry, StrokeCopiesJoinItsStepAndLeavePaintedCellsAlone)
{
    MapDocument map = openMap(8);
    RecordingEditor recorder(map);
    const BrushSettings water = BrushSettings::fromSelectors({.CBtertype = 8, .CBterconf = 4, .CBbrushx = 2}, {});
    ASSERT_EQ(PaintAt(recorder.editor, water, {3, 2}, 3, 2), 3u);
    // The user also drew cell (1, 2) mirrored left to right.
    recorder.editor.replaceCell(1, 2, {8, 4, 0, 0, 0, 0, MirrorBit::TerrainLeftRight});

    const std::vector<CellChange> changes = recordedChanges(recorder.undoList, 0, 0, 8);
    ASSERT_EQ(changes.size(), 4u);
    const std::vector<CellPosition> copies = applySymmetry(recorder.editor, SymmetryMode::LeftRight, changes);
    // (3,2) and (4,2) mirror each other and were both painted; (5,2)'s place
    // (2,2) gets a copy drawn mirrored, and (1,2)'s place (6,2) one that is not.
    const std::vector<CellPosition> expectedCopies = {{2, 2}, {6, 2}};
    EXPECT_EQ(copies, expectedCopies);
    EXPECT_EQ(map.ground.at(2, 2), (TerrainCell{8, 4, 0, 0, 0, 0, MirrorBit::TerrainLeftRight}));
    EXPECT_EQ(map.ground.at(2, 6), (TerrainCell{8, 4}));
    EXPECT_EQ(map.ground.at(2, 3), (TerrainCell{8, 4}));
    EXPECT_EQ(recorder.undoList.count(), 6u);  // the copies' records follow the stroke's
    EXPECT_EQ(recorder.recordedCells().back(), (std::pair<int, int>{6, 2}));

    // Over the whole step, copies included, every mirror place is a change
    // of its own: nothing more is written.
    const std::vector<CellChange> again = recordedChanges(recorder.undoList, 0, 0, 8);
    EXPECT_TRUE(applySymmetry(recorder.editor, SymmetryMode::LeftRight, again).empty());
    EXPECT_EQ(recorder.undoList.count(), 6u);
}

TEST(Symmetry, CellOnAMiddleLineIsWrittenOnce)
{
    MapDocument map = openMap(7);
    RecordingEditor recorder(map);
    recorder.editor.replaceCell(3, 1, {5, 2});
    const std::vector<CellPosition> copies =
        applySymmetry(recorder.editor, SymmetryMode::FourWay, recordedChanges(recorder.undoList, 0, 0, 7));
    const std::vector<CellPosition> expected = {{3, 5}};
    EXPECT_EQ(copies, expected);
    EXPECT_EQ(map.ground.at(5, 3), (TerrainCell{5, 2, 0, 0, 0, 0, MirrorBit::TerrainUpsideDown}));
    EXPECT_EQ(recorder.undoList.count(), 2u);
    EXPECT_EQ(recorder.redrawn.size(), 2u);
}

TEST(Symmetry, NothingWithModeOffOrWithoutALevelToEdit)
{
    MapDocument map = openMap(6);
    RecordingEditor recorder(map);
    recorder.editor.replaceCell(0, 0, {5, 2});
    const std::vector<CellChange> changes = recordedChanges(recorder.undoList, 0, 0, 6);
    EXPECT_TRUE(applySymmetry(recorder.editor, SymmetryMode::Off, changes).empty());
    map.isLoaded = false;
    EXPECT_TRUE(applySymmetry(recorder.editor, SymmetryMode::FourWay, changes).empty());
    EXPECT_EQ(recorder.undoList.count(), 1u);
}

}  // namespace
