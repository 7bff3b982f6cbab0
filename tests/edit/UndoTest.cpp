// Tests of the undo list, of taking back one record, and of the scroll rule.
#include "edit/UndoStep.h"

#include "edit/PaintAt.h"
#include "MapFixture.h"

#include <gtest/gtest.h>

namespace {

TEST(UndoList, KeepsRecordsInOrderAcrossChunksAndKeepsItsMemoryWhenCleared)
{
    UndoList list;
    const std::size_t total = UndoList::ChunkRecords * 2 + 5;
    for (std::size_t i = 0; i < total; ++i)
        list.append({std::uint16_t(i), std::uint16_t(i >> 16), 0, {std::uint8_t(i)}});
    ASSERT_EQ(list.count(), total);
    EXPECT_EQ(list.at(UndoList::ChunkRecords).column, std::uint16_t(UndoList::ChunkRecords));
    EXPECT_EQ(list.capacity(), UndoList::ChunkRecords * 3);

    for (std::size_t i = total; i-- > UndoList::ChunkRecords - 2;)
        EXPECT_EQ(list.takeLast().column, std::uint16_t(i));
    EXPECT_EQ(list.count(), UndoList::ChunkRecords - 2);
    list.append({7, 7, 1, {}});
    EXPECT_EQ(list.at(UndoList::ChunkRecords - 2), (UndoRecord{7, 7, 1, {}}));

    list.clear();
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(list.capacity(), UndoList::ChunkRecords * 3);
}

// Runs of records land like single ones: a run that crosses two chunk
// boundaries after a few single records, and an empty run.
TEST(UndoList, AppendsRunsAcrossChunks)
{
    UndoList list;
    std::vector<UndoRecord> run(UndoList::ChunkRecords * 2);
    for (std::size_t i = 0; i < run.size(); ++i)
        run[i] = {std::uint16_t(i + 3), std::uint16_t(i >> 16), 1, {std::uint8_t(i)}};
    for (std::uint16_t i = 0; i < 3; ++i)
        list.append({i, 0, 0, {}});
    list.append(run);
    list.append(std::span<const UndoRecord>());
    ASSERT_EQ(list.count(), run.size() + 3);
    EXPECT_EQ(list.capacity(), UndoList::ChunkRecords * 3);
    for (std::size_t i = 0; i < list.count(); ++i)
        ASSERT_EQ(list.at(i).column, std::uint16_t(i)) << i;
    EXPECT_EQ(list.at(list.count() - 1), run.back());
}

// Reserved chunks come as one block that appending fills without allocating;
// the block goes back only when none of its chunks is kept.
TEST(UndoList, ReservedChunksAreOneBlock)
{
    constexpr std::size_t Chunk = UndoList::ChunkRecords;
    UndoList list;
    list.append({0, 0, 0, {}});
    list.reserve(Chunk * 3 + 1);
    EXPECT_EQ(list.capacity(), Chunk * 4);
    list.reserve(Chunk * 2);
    EXPECT_EQ(list.capacity(), Chunk * 4);
    for (std::size_t i = 1; i <= Chunk * 3; ++i)
        list.append({std::uint16_t(i), std::uint16_t(i >> 16), 0, {std::uint8_t(i)}});
    EXPECT_EQ(list.capacity(), Chunk * 4);
    for (std::size_t i = 0; i < list.count(); ++i)
        ASSERT_EQ(list.at(i).column, std::uint16_t(i)) << i;

    while (list.count() > Chunk - 1)
        list.takeLast();
    list.releaseSpareChunks();
    EXPECT_EQ(list.capacity(), Chunk * 4) << "the block holds the spare chunk";
    list.clear();
    list.releaseSpareChunks();
    EXPECT_EQ(list.capacity(), Chunk);
    list.append({5, 5, 1, {}});
    EXPECT_EQ(list.at(0), (UndoRecord{5, 5, 1, {}}));
}

TEST(UndoLast, RestoresABrushStrokeNewestFirstWithEveryBit)
{
    MapDocument map = openMap(10);
    for (std::uint32_t row = 0; row < 10; ++row)
        for (std::uint32_t column = 0; column < 10; ++column)
            map.ground.at(row, column) = {1, std::uint8_t(row), 2, 3, 1, std::uint8_t(column), 0xC5};
    const TerrainLayer before = map.ground;
    RecordingEditor recorder(map);
    BrushSettings brush = BrushSettings::fromSelectors({.CBtertype = 4, .CBterconf = 7, .CBmirror = 0, .CBbrushx = 2, .CBbrushy = 2}, {});
    ASSERT_EQ(PaintAt(recorder.editor, brush, {}, 3, 4), 9u);

    for (int step = 0; step < 9; ++step) {
        const UndoStep undone = undoLast(map, recorder.undoList);
        ASSERT_EQ(undone.outcome, UndoStep::Outcome::Restored);
        // The bottom-right cell of the brush comes back first.
        EXPECT_EQ(undone.column, 5 - step % 3);
        EXPECT_EQ(undone.row, 6 - step / 3);
    }
    EXPECT_EQ(map.ground, before);
    EXPECT_EQ(undoLast(map, recorder.undoList).outcome, UndoStep::Outcome::Nothing);
}

TEST(UndoLast, WritesTheRecordsLevelWhicheverIsShown)
{
    MapDocument map = openMap(8, true);
    chooseLevel(map, 1);
    RecordingEditor recorder(map);
    PaintAt(recorder.editor, BrushSettings::fromSelectors({.CBtertype = 6}, {}), {}, 2, 3);
    chooseLevel(map, 0);

    const UndoStep undone = undoLast(map, recorder.undoList);
    EXPECT_EQ(undone.outcome, UndoStep::Outcome::Restored);
    EXPECT_EQ(undone.level, 1);
    EXPECT_EQ(map.underground.at(3, 2).tertype, 0);
    EXPECT_TRUE(recorder.undoList.isEmpty());
}

TEST(UndoLast, RecordsOutsideTheMapAreConsumedWithoutEffect)
{
    MapDocument map = openMap(72);
    RecordingEditor recorder(map);
    PaintAt(recorder.editor, BrushSettings::fromSelectors({.CBtertype = 6}, {}), {}, 50, 2);
    PaintAt(recorder.editor, BrushSettings::fromSelectors({.CBtertype = 6}, {}), {}, 2, 50);
    ASSERT_TRUE(map.redimension(36));
    const TerrainLayer shrunk = map.ground;

    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(undoLast(map, recorder.undoList).outcome, UndoStep::Outcome::Consumed);
    EXPECT_TRUE(recorder.undoList.isEmpty());
    EXPECT_EQ(map.ground, shrunk);

    // An underground record after a map without that level was put in place.
    UndoList list;
    list.append({1, 1, 1, {9}});
    EXPECT_EQ(undoLast(map, list).outcome, UndoStep::Outcome::Consumed);
    EXPECT_EQ(map.ground, shrunk);
}

TEST(UndoScrollPosition, ScrollsOnlyWhenTheCellIsOutOfView)
{
    const struct {
        int position;
        int first;
        int visible;
        int expected;
    } cases[] = {
        {5, 40, 20, 0},    // before the view, near the start
        {60, 0, 20, 50},   // after the view
        {20, 0, 20, 0},    // the partly visible column counts as in view
        {21, 0, 20, 11},
        {11, 30, 20, 1},
        {10, 30, 20, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.position);
        EXPECT_EQ(undoScrollPosition(c.position, c.first, c.visible), c.expected);
    }
}

}  // namespace
