// Tests of copying and pasting blocks of cells.
#include "edit/CellClipboard.h"

#include "MapFixture.h"

#include <gtest/gtest.h>

namespace {

// A map whose every cell is distinct, with bits 6 and 7 set in some.
MapDocument numberedMap(std::uint32_t side, bool hasUnderground = false)
{
    MapDocument map = openMap(side, hasUnderground);
    for (std::uint32_t row = 0; row < side; ++row)
        for (std::uint32_t column = 0; column < side; ++column)
            map.ground.at(row, column) = {2, std::uint8_t(row), 1, std::uint8_t(column), 0, 0, std::uint8_t(0x40 * (column % 4))};
    return map;
}

TEST(CellClipboard, PasteGoesColumnByColumnAndIsClippedAtTheMapEdges)
{
    MapDocument map = numberedMap(144);
    CellClipboard clipboard;
    ASSERT_TRUE(clipboard.copy(map, 0, QRect(QPoint(1, 2), QPoint(3, 3))));  // 3 columns, 2 rows
    EXPECT_EQ(clipboard.width(), 3);
    EXPECT_EQ(clipboard.height(), 2);
    EXPECT_EQ(clipboard.cell(2, 1), map.ground.at(3, 3));

    RecordingEditor recorder(map);
    EXPECT_EQ(clipboard.paste(recorder.editor, 142, 10), 4u);
    const CellList written = {{142, 10}, {142, 11}, {143, 10}, {143, 11}};
    EXPECT_EQ(recorder.recordedCells(), written);
    EXPECT_EQ(recorder.redrawn, written);
    EXPECT_EQ(map.ground.at(11, 143), clipboard.cell(1, 1));
    EXPECT_EQ(map.ground.at(11, 143).mirror & 0xC0, 0x80);
}

TEST(CellClipboard, PastingOntoTheCopiedCellsChangesNothing)
{
    MapDocument map = numberedMap(10);
    CellClipboard clipboard;
    ASSERT_TRUE(clipboard.copy(map, 0, QRect(2, 2, 4, 4)));
    RecordingEditor recorder(map);
    EXPECT_EQ(clipboard.paste(recorder.editor, 2, 2), 0u);
    EXPECT_TRUE(recorder.undoList.isEmpty());
    EXPECT_TRUE(recorder.redrawn.empty());
}

TEST(CellClipboard, CarriesCellsToTheOtherLevel)
{
    MapDocument map = numberedMap(10, true);
    CellClipboard clipboard;
    ASSERT_TRUE(clipboard.copy(map, 0, QRect(4, 5, 1, 1)));
    RecordingEditor recorder(map, 1);
    EXPECT_EQ(clipboard.paste(recorder.editor, 0, 0), 1u);
    EXPECT_EQ(map.underground.at(0, 0), map.ground.at(5, 4));
    EXPECT_EQ(recorder.undoList.at(0), (UndoRecord{0, 0, 1, {}}));
}

TEST(CellClipboard, RefusesWhatCannotBeReadOrWritten)
{
    MapDocument map = numberedMap(10);
    CellClipboard clipboard;
    RecordingEditor recorder(map);
    EXPECT_EQ(clipboard.paste(recorder.editor, 0, 0), 0u);  // nothing copied yet

    EXPECT_FALSE(clipboard.copy(map, 0, QRect(8, 8, 3, 1)));  // reaches past the map
    EXPECT_TRUE(clipboard.isEmpty());
    ASSERT_TRUE(clipboard.copy(map, 0, QRect(0, 0, 2, 2)));

    // Level 1 of a one-level map: neither copy nor paste touches a layer.
    EXPECT_FALSE(clipboard.copy(map, 1, QRect(5, 5, 1, 1)));
    EXPECT_EQ(clipboard.cell(0, 0), map.ground.at(0, 0));
    RecordingEditor underground(map, 1);
    EXPECT_EQ(clipboard.paste(underground.editor, 5, 5), 0u);

    map.isLoaded = false;
    EXPECT_FALSE(clipboard.copy(map, 0, QRect(5, 5, 1, 1)));
    EXPECT_EQ(clipboard.paste(recorder.editor, 5, 5), 0u);
    EXPECT_TRUE(recorder.undoList.isEmpty());
}

}  // namespace

namespace {

// An L of three cells copied as a region: the paste writes those three and
// leaves the fourth cell of the block as it was, also after a turn.
TEST(CellClipboard, ARegionPastesOnlyItsCells)
{
    MapDocument map = numberedMap(12);
    const RegionSelection l = RegionSelection::rectangle(QRect(1, 1, 2, 2), 12).combined(
        RegionSelection::rectangle(QRect(2, 1, 1, 1), 12), SelectionChange::Remove);  // (1,1) (1,2) (2,2)
    CellClipboard clipboard;
    ASSERT_TRUE(clipboard.copy(map, 0, l));
    EXPECT_TRUE(clipboard.isRegion());
    EXPECT_EQ(clipboard.width(), 2);
    EXPECT_FALSE(clipboard.holds(1, 0));

    const TerrainCell untouched = map.ground.at(5, 9);
    RecordingEditor recorder(map);
    EXPECT_EQ(clipboard.paste(recorder.editor, 8, 5), 3u);
    EXPECT_EQ(map.ground.at(5, 8), map.ground.at(1, 1));
    EXPECT_EQ(map.ground.at(6, 9), map.ground.at(2, 2));
    EXPECT_EQ(map.ground.at(5, 9), untouched) << "the cell the region leaves out";

    // A quarter turn clockwise takes the empty top-right corner to the bottom right.
    clipboard.transform(Transform::Turn90);
    EXPECT_TRUE(clipboard.holds(0, 0));
    EXPECT_TRUE(clipboard.holds(1, 0));
    EXPECT_TRUE(clipboard.holds(0, 1));
    EXPECT_FALSE(clipboard.holds(1, 1));

    // A rectangle copied afterwards is whole again.
    ASSERT_TRUE(clipboard.copy(map, 0, QRect(0, 0, 2, 2)));
    EXPECT_FALSE(clipboard.isRegion());
    EXPECT_TRUE(clipboard.holds(1, 1));
}

}  // namespace
