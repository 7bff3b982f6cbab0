// Tests of the undo list, of taking back one record (the cell button), and of
// the scroll rule.
#include "edit/EditHistory.h"

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

// Records taken back stay behind the count until appending a new one forgets
// them; their chunks then go, but for one spare.
TEST(UndoList, KeepsRetreatedRecordsUntilTheNextAppend)
{
    constexpr std::size_t Chunk = UndoList::ChunkRecords;
    UndoList list;
    for (std::size_t i = 0; i < Chunk * 3; ++i)
        list.append({std::uint16_t(i), std::uint16_t(i >> 16), 0, {}});
    list.retreat(Chunk * 2 + 1);
    EXPECT_EQ(list.count(), Chunk - 1);
    EXPECT_EQ(list.retreatedCount(), Chunk * 2 + 1);
    EXPECT_EQ(list.runBefore(Chunk + 2, 1).size(), 2u) << "a run ends at its chunk";
    EXPECT_EQ(list.runFrom(Chunk - 1, Chunk * 3).size(), 1u);
    list.advance(Chunk);
    list.releaseSpareChunks();
    EXPECT_EQ(list.capacity(), Chunk * 3) << "retreated records keep their chunks";
    EXPECT_EQ(list.at(Chunk * 3 - 1).column, std::uint16_t(Chunk * 3 - 1));

    list.retreat(Chunk + 2);
    list.append({9, 9, 1, {}});
    EXPECT_EQ(list.retreatedCount(), 0u);
    EXPECT_EQ(list.count(), Chunk - 2);
    list.releaseSpareChunks();
    EXPECT_EQ(list.capacity(), Chunk * 2);
}

// The cell button: EditHistory::undoOneCell on a fixture map.
struct OneCellFixture {
    explicit OneCellFixture(std::uint32_t side, bool hasUnderground = false)
        : map(openMap(side, hasUnderground))
    {
    }

    void paint(const BrushSettings &brush, std::uint16_t column, std::uint16_t row)
    {
        history.openStep();
        CellEditor editor(map, level, history.undoList());
        PaintAt(editor, brush, {}, column, row);
        history.closeStep();
    }

    MapDocument map;
    EditHistory history;
    int level = 0;  // the level painted
};

TEST(UndoOneCell, RestoresABrushStrokeNewestFirstWithEveryBit)
{
    OneCellFixture f(10);
    for (std::uint32_t row = 0; row < 10; ++row)
        for (std::uint32_t column = 0; column < 10; ++column)
            f.map.ground.at(row, column) = {1, std::uint8_t(row), 2, 3, 1, std::uint8_t(column), 0xC5};
    const TerrainLayer before = f.map.ground;
    f.paint(BrushSettings::fromSelectors({.CBtertype = 4, .CBterconf = 7, .CBmirror = 0, .CBbrushx = 2, .CBbrushy = 2}, {}), 3, 4);
    ASSERT_EQ(f.history.undoList().count(), 9u);

    for (int step = 0; step < 9; ++step) {
        const UndoStep undone = f.history.undoOneCell(f.map).firstCell;
        ASSERT_EQ(undone.outcome, UndoStep::Outcome::Restored);
        // The bottom-right cell of the brush comes back first.
        EXPECT_EQ(undone.column, 5 - step % 3);
        EXPECT_EQ(undone.row, 6 - step / 3);
        EXPECT_EQ(f.history.undoList().count(), 8u - std::size_t(step));
    }
    EXPECT_EQ(f.map.ground, before);
    EXPECT_EQ(f.history.undoOneCell(f.map).firstCell.outcome, UndoStep::Outcome::Nothing);
}

TEST(UndoOneCell, WritesTheRecordsLevelWhicheverIsShown)
{
    OneCellFixture f(8, true);
    f.level = 1;
    f.paint(BrushSettings::fromSelectors({.CBtertype = 6}, {}), 2, 3);
    f.level = 0;

    const UndoStep undone = f.history.undoOneCell(f.map).firstCell;
    EXPECT_EQ(undone.outcome, UndoStep::Outcome::Restored);
    EXPECT_EQ(undone.level, 1);
    EXPECT_EQ(f.map.underground.at(3, 2).tertype, 0);
    EXPECT_TRUE(f.history.undoList().isEmpty());
}

// A side changed behind the history's back leaves records without a cell:
// they are used up without effect and never written out of the layer.
TEST(UndoOneCell, RecordsOutsideTheMapAreConsumedWithoutEffect)
{
    OneCellFixture f(72);
    f.paint(BrushSettings::fromSelectors({.CBtertype = 6}, {}), 50, 2);
    f.paint(BrushSettings::fromSelectors({.CBtertype = 6}, {}), 2, 50);
    ASSERT_TRUE(f.map.redimension(36));
    const TerrainLayer shrunk = f.map.ground;

    for (int i = 0; i < 2; ++i) {
        const HistoryChange change = f.history.undoOneCell(f.map);
        EXPECT_EQ(change.firstCell.outcome, UndoStep::Outcome::Consumed);
        EXPECT_EQ(change.written, 0u);
    }
    EXPECT_TRUE(f.history.undoList().isEmpty());
    EXPECT_EQ(f.map.ground, shrunk);
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
