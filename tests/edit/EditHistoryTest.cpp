// Tests of the edit history: strokes, fills and pastes undone and redone as
// steps, single cells taken back out of a step and redone alone, redo cleared
// by a new edit, the saved mark, records outside a smaller map, steps over two
// levels, and a long random run checked against copies of the layers.
#include "edit/EditHistory.h"

#include "edit/CellClipboard.h"
#include "edit/PaintAt.h"
#include "edit/TerrainEdges.h"
#include "MapFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <random>
#include <vector>

namespace {

constexpr std::uint8_t Grass = 2, Rough = 3;

BrushSettings brushOf(std::uint8_t tertype, std::uint8_t width = 1, std::uint8_t height = 1)
{
    BrushSettings brush;
    brush.terrainType = tertype;
    brush.brushWidth = width;
    brush.brushHeight = height;
    return brush;
}

BrushSettings fillOf(std::uint8_t tertype)
{
    BrushSettings brush = brushOf(tertype);
    brush.fillX = brush.fillY = true;
    return brush;
}

struct Layers {
    TerrainLayer ground;
    TerrainLayer underground;

    explicit Layers(const MapDocument &document)
        : ground(document.ground)
        , underground(document.underground)
    {
    }
    friend bool operator==(const Layers &, const Layers &) = default;
};

// A two-level map with its history; edits go through a cell editor on the
// history's undo list, each run as one step.
struct HistoryFixture {
    explicit HistoryFixture(std::uint32_t side)
        : map(openMap(side, true))
    {
    }

    // Runs edit as one step on the shown level; returns the records it added.
    std::size_t step(const std::function<void(CellEditor &)> &edit)
    {
        const std::size_t before = history.undoList().count();
        history.openStep();
        CellEditor editor(map, history.undoList());
        edit(editor);
        history.closeStep();
        return history.undoList().count() - before;
    }

    // One press-to-release stroke of the brush over the given cells.
    std::size_t stroke(const BrushSettings &brush, const CellList &cells)
    {
        return step([&](CellEditor &editor) {
            for (const auto &[column, row] : cells)
                PaintAt(editor, brush, {}, std::uint16_t(column), std::uint16_t(row));
        });
    }

    std::vector<UndoRecord> records() const
    {
        std::vector<UndoRecord> list;
        for (std::size_t i = 0; i < history.undoList().count(); ++i)
            list.push_back(history.undoList().at(i));
        return list;
    }

    MapDocument map;
    EditHistory history;
};

void expectChange(const HistoryChange &change, int level, CellPosition first, const QRect &ground, const QRect &underground)
{
    EXPECT_EQ(change.firstCell.outcome, UndoStep::Outcome::Restored);
    EXPECT_EQ(change.firstCell.level, level);
    EXPECT_EQ(change.firstCell.column, first.column);
    EXPECT_EQ(change.firstCell.row, first.row);
    EXPECT_EQ(change.changedCells[0], ground);
    EXPECT_EQ(change.changedCells[1], underground);
}

// Every terrain type 3 cell gets picture 5, so a stroke of type 3 is followed
// by edge records for its cells.
TerrainEdgeRules roughPictureRules()
{
    const TerrainEdgeRulesResult result = parseTerrainEdgeRules("[terrain 3]\nrule = *** *.* *** : 5\n");
    EXPECT_TRUE(result.ok()) << result.reason.toStdString();
    return result.rules.value_or(TerrainEdgeRules());
}

struct StepCase {
    const char *name;
    std::function<std::size_t(HistoryFixture &)> run;  // the step; returns its records
    CellPosition first;
    QRect changed;
};

class WholeStep : public testing::TestWithParam<StepCase> {};

TEST_P(WholeStep, IsUndoneAndRedoneAsOneStep)
{
    const StepCase &c = GetParam();
    HistoryFixture f(16);
    // A grass cross around (8, 8) for the fill, and an earlier step that stays.
    f.stroke(brushOf(Grass, 5, 1), {{6, 8}});
    f.stroke(brushOf(Grass, 1, 5), {{8, 6}});
    ASSERT_EQ(f.history.undoStepCount(), 2u);
    const Layers before(f.map);
    const std::vector<UndoRecord> recordsBefore = f.records();

    const std::size_t records = c.run(f);
    ASSERT_GT(records, 0u);
    EXPECT_EQ(f.history.undoStepCount(), 3u);
    const Layers after(f.map);
    const std::vector<UndoRecord> recordsAfter = f.records();

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        const HistoryChange undone = f.history.undoStep(f.map);
        expectChange(undone, 0, c.first, c.changed, QRect());
        EXPECT_EQ(undone.written, records);
        EXPECT_EQ(Layers(f.map), before);
        EXPECT_EQ(f.records(), recordsBefore);
        EXPECT_TRUE(f.history.canRedo());

        const HistoryChange redone = f.history.redoStep(f.map);
        expectChange(redone, 0, c.first, c.changed, QRect());
        EXPECT_EQ(redone.written, records);
        EXPECT_EQ(Layers(f.map), after);
        // Put back as the records it was, so it undoes alike a second time.
        EXPECT_EQ(f.records(), recordsAfter);
        EXPECT_FALSE(f.history.canRedo());
        EXPECT_EQ(f.history.undoStepCount(), 3u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EditHistory, WholeStep,
    testing::Values(
        // A 2 x 2 brush dragged over three cells, then the edges of its cells.
        StepCase{"StrokeWithEdges",
                 [](HistoryFixture &f) {
                     const TerrainEdgeRules rules = roughPictureRules();
                     return f.step([&](CellEditor &editor) {
                         const std::size_t start = f.history.undoList().count();
                         for (const auto &[column, row] : CellList{{3, 4}, {4, 4}, {5, 5}})
                             PaintAt(editor, brushOf(Rough, 2, 2), {}, std::uint16_t(column), std::uint16_t(row));
                         const std::vector<CellPosition> changed = recordedPositions(f.history.undoList(), start, 0);
                         EXPECT_GT(applyTerrainEdges(editor, rules, changed), 0u);
                     });
                 },
                 {3, 4}, QRect(3, 4, 4, 3)},
        // A fill of the grass cross pressed at its centre.
        StepCase{"Fill", [](HistoryFixture &f) { return f.stroke(fillOf(Rough), {{8, 8}}); }, {8, 8}, QRect(6, 6, 5, 5)},
        StepCase{"Paste",
                 [](HistoryFixture &f) {
                     CellClipboard clipboard;
                     EXPECT_TRUE(clipboard.copy(f.map, QRect(6, 8, 3, 1)));
                     return f.step([&](CellEditor &editor) { clipboard.paste(editor, 1, 12); });
                 },
                 {1, 12}, QRect(1, 12, 3, 1)}),
    [](const testing::TestParamInfo<StepCase> &info) { return std::string(info.param.name); });

TEST(EditHistory, SingleCellsComeOutOfAStepAndAreRedoneOneAtATime)
{
    HistoryFixture f(12);
    f.stroke(brushOf(Grass), {{0, 0}, {1, 0}});
    const Layers afterFirst(f.map);
    f.stroke(brushOf(Rough), {{2, 2}, {3, 3}, {4, 4}});
    const Layers afterSecond(f.map);

    // The newest records come back one at a time, each its own redo step.
    for (int cell = 4; cell >= 3; --cell) {
        const HistoryChange undone = f.history.undoOneCell(f.map);
        expectChange(undone, 0, {std::uint16_t(cell), std::uint16_t(cell)}, QRect(cell, cell, 1, 1), QRect());
        EXPECT_EQ(f.map.ground.at(cell, cell).tertype, 0);
    }
    EXPECT_EQ(f.history.undoList().count(), 3u);
    EXPECT_EQ(f.history.undoStepCount(), 2u);
    EXPECT_EQ(f.history.redoStepCount(), 2u);

    // What is left of the stroke is a one-cell step now.
    const HistoryChange rest = f.history.undoStep(f.map);
    expectChange(rest, 0, {2, 2}, QRect(2, 2, 1, 1), QRect());
    EXPECT_EQ(Layers(f.map), afterFirst);
    EXPECT_EQ(f.history.redoStepCount(), 3u);

    // Redo brings the cells back one by one, oldest first.
    for (int cell = 2; cell <= 4; ++cell) {
        const HistoryChange redone = f.history.redoStep(f.map);
        expectChange(redone, 0, {std::uint16_t(cell), std::uint16_t(cell)}, QRect(cell, cell, 1, 1), QRect());
        EXPECT_EQ(f.map.ground.at(cell, cell).tertype, Rough);
    }
    EXPECT_EQ(Layers(f.map), afterSecond);
    EXPECT_FALSE(f.history.canRedo());
    EXPECT_EQ(f.history.undoStepCount(), 4u);

    // Taking back cell by cell past the start of a step, into the one before.
    for (int i = 0; i < 4; ++i)
        f.history.undoOneCell(f.map);
    EXPECT_EQ(f.history.undoStepCount(), 1u);
    EXPECT_EQ(f.map.ground.at(0, 1).tertype, 0);
    EXPECT_EQ(f.map.ground.at(0, 0).tertype, Grass);
    f.history.undoOneCell(f.map);
    EXPECT_FALSE(f.history.canUndo());
    EXPECT_EQ(f.history.undoStepCount(), 0u);
    EXPECT_EQ(f.history.undoOneCell(f.map).firstCell.outcome, UndoStep::Outcome::Nothing);
    EXPECT_EQ(f.history.undoStep(f.map).firstCell.outcome, UndoStep::Outcome::Nothing);
}

TEST(EditHistory, ANewEditClearsWhatCouldBeRedone)
{
    HistoryFixture f(8);
    f.stroke(brushOf(Grass), {{1, 1}});
    f.stroke(brushOf(Rough), {{2, 2}});
    f.history.undoStep(f.map);
    f.history.undoOneCell(f.map);
    ASSERT_EQ(f.history.redoStepCount(), 2u);

    // A press that changes nothing is no edit.
    EXPECT_EQ(f.stroke(brushOf(0), {{5, 5}}), 0u);
    f.history.openStep();
    f.history.closeStep();
    EXPECT_EQ(f.history.redoStepCount(), 2u);

    EXPECT_EQ(f.stroke(brushOf(Rough), {{6, 6}}), 1u);
    EXPECT_FALSE(f.history.canRedo());
    EXPECT_EQ(f.history.redoStep(f.map).firstCell.outcome, UndoStep::Outcome::Nothing);
    EXPECT_EQ(f.map.ground.at(1, 1).tertype, 0);
    EXPECT_EQ(f.map.ground.at(6, 6).tertype, Rough);

    // Records written with no step open are an edit too, a step of their own.
    f.history.undoStep(f.map);
    ASSERT_TRUE(f.history.canRedo());
    CellEditor loose(f.map, f.history.undoList());
    PaintAt(loose, brushOf(Grass), {}, 7, 7);
    EXPECT_EQ(f.history.undoStepCount(), 1u);
    EXPECT_EQ(f.history.redoStep(f.map).firstCell.outcome, UndoStep::Outcome::Nothing);
    expectChange(f.history.undoStep(f.map), 0, {7, 7}, QRect(7, 7, 1, 1), QRect());
}

TEST(EditHistory, TheSavedMarkFollowsUndoRedoAndNewEdits)
{
    HistoryFixture f(8);
    EditHistory &h = f.history;
    EXPECT_TRUE(h.isAtSavedState());
    f.stroke(brushOf(Grass), {{1, 1}, {2, 1}, {3, 1}});
    EXPECT_FALSE(h.isAtSavedState());
    h.markSaved();
    EXPECT_TRUE(h.isAtSavedState());

    f.stroke(brushOf(Rough), {{1, 2}});
    EXPECT_FALSE(h.isAtSavedState());
    h.undoStep(f.map);
    EXPECT_TRUE(h.isAtSavedState());
    h.undoOneCell(f.map);
    EXPECT_FALSE(h.isAtSavedState());
    h.redoStep(f.map);
    EXPECT_TRUE(h.isAtSavedState());
    h.redoStep(f.map);
    EXPECT_FALSE(h.isAtSavedState());
    h.undoStep(f.map);
    ASSERT_TRUE(h.isAtSavedState());

    // A new edit from the marked state can be undone back to it.
    f.stroke(brushOf(Rough), {{5, 5}});
    EXPECT_FALSE(h.isAtSavedState());
    h.undoStep(f.map);
    EXPECT_TRUE(h.isAtSavedState());

    // While a step records, the cells are not the marked ones, even when the
    // record count passes the mark on its way.
    h.undoStep(f.map);
    h.markSaved();
    h.redoStep(f.map);
    h.undoOneCell(f.map);
    h.markSaved();
    h.undoStep(f.map);
    h.openStep();
    CellEditor editor(f.map, h.undoList());
    PaintAt(editor, brushOf(Rough, 2, 1), {}, 4, 4);
    ASSERT_EQ(h.undoList().count(), 2u);
    EXPECT_FALSE(h.isAtSavedState());
    h.closeStep();
    EXPECT_FALSE(h.isAtSavedState());

    // The mark lay among the records that edit replaced: nothing reaches it.
    while (h.canUndo()) {
        h.undoOneCell(f.map);
        EXPECT_FALSE(h.isAtSavedState());
    }
    while (h.canRedo()) {
        h.redoStep(f.map);
        EXPECT_FALSE(h.isAtSavedState());
    }
    const std::size_t reachable = h.undoList().count();
    const std::size_t reachableSteps = h.undoStepCount();

    // Records taken off the list directly leave the history, and a mark past
    // them is out of reach.
    f.stroke(brushOf(Grass), {{0, 7}});
    h.markSaved();
    undoLast(f.map, h.undoList());
    EXPECT_FALSE(h.isAtSavedState());
    f.stroke(brushOf(Grass), {{1, 7}});
    EXPECT_FALSE(h.isAtSavedState());
    EXPECT_EQ(h.undoList().count(), reachable + 1);
    EXPECT_EQ(h.undoStepCount(), reachableSteps + 1);

    // A map was opened: nothing to redo, and the cells match the file.
    h.clear();
    EXPECT_TRUE(h.isAtSavedState());
    EXPECT_FALSE(h.canUndo());
    EXPECT_FALSE(h.canRedo());
}

TEST(EditHistory, RecordsOutsideASmallerMapAreDroppedOnBothSides)
{
    HistoryFixture f(72);
    EditHistory &h = f.history;
    // Steps with cells that the smaller map loses, first or last in the step.
    f.stroke(brushOf(Grass), {{50, 2}, {2, 2}});
    f.stroke(brushOf(Rough), {{3, 40}});
    f.stroke(brushOf(Rough), {{4, 4}, {60, 60}});
    f.stroke(brushOf(Rough), {{5, 5}, {70, 70}});
    h.markSaved();
    h.undoStep(f.map);
    ASSERT_TRUE(f.map.redimension(36));

    // Redo drops the record outside and puts back the one inside. The dropped
    // cell is not in the map, so the marked cells are back.
    const HistoryChange redone = h.redoStep(f.map);
    expectChange(redone, 0, {5, 5}, QRect(5, 5, 1, 1), QRect());
    EXPECT_EQ(redone.written, 1u);
    EXPECT_EQ(redone.dropped, 1u);
    EXPECT_TRUE(h.isAtSavedState());

    // Undo drops them likewise; redo then returns to the mark.
    h.undoStep(f.map);
    const HistoryChange undone = h.undoStep(f.map);
    expectChange(undone, 0, {4, 4}, QRect(4, 4, 1, 1), QRect());
    EXPECT_EQ(undone.dropped, 1u);
    EXPECT_EQ(f.map.ground.at(4, 4).tertype, 0);
    EXPECT_FALSE(h.isAtSavedState());
    h.redoStep(f.map);
    h.redoStep(f.map);
    EXPECT_TRUE(h.isAtSavedState());
    EXPECT_EQ(f.map.ground.at(4, 4).tertype, Rough);
    EXPECT_EQ(h.undoList().count(), 5u);
    h.undoStep(f.map);
    h.undoStep(f.map);
    const TerrainLayer shrunk = f.map.ground;

    // A step wholly outside is used up without effect and leaves nothing to redo.
    const std::size_t redoSteps = h.redoStepCount();
    const HistoryChange outside = h.undoStep(f.map);
    EXPECT_EQ(outside.firstCell.outcome, UndoStep::Outcome::Consumed);
    EXPECT_EQ(outside.written, 0u);
    EXPECT_EQ(outside.dropped, 1u);
    EXPECT_EQ(outside.changedCells[0], QRect());
    EXPECT_EQ(h.redoStepCount(), redoSteps);
    EXPECT_EQ(f.map.ground, shrunk);

    // The first cell of the step is outside: the first cell written is next.
    const HistoryChange partly = h.undoStep(f.map);
    expectChange(partly, 0, {2, 2}, QRect(2, 2, 1, 1), QRect());
    EXPECT_EQ(partly.dropped, 1u);
    EXPECT_FALSE(h.canUndo());
    EXPECT_EQ(f.map.ground.at(2, 2).tertype, 0);
    h.redoStep(f.map);
    EXPECT_EQ(f.map.ground.at(2, 2).tertype, Grass);
    EXPECT_EQ(h.undoList().count(), 1u);
}

TEST(EditHistory, AStepOverBothLevelsComesBackOnBoth)
{
    HistoryFixture f(16);
    f.history.openStep();
    CellEditor editor(f.map, f.history.undoList());
    PaintAt(editor, brushOf(Grass), {}, 1, 1);
    chooseLevel(f.map, 1);
    PaintAt(editor, brushOf(Rough, 2, 2), {}, 5, 6);
    f.history.closeStep();
    const Layers after(f.map);

    // Undone and redone while the ground level is shown.
    chooseLevel(f.map, 0);
    expectChange(f.history.undoStep(f.map), 0, {1, 1}, QRect(1, 1, 1, 1), QRect(5, 6, 2, 2));
    EXPECT_EQ(Layers(f.map), Layers(openMap(16, true)));
    expectChange(f.history.redoStep(f.map), 0, {1, 1}, QRect(1, 1, 1, 1), QRect(5, 6, 2, 2));
    EXPECT_EQ(Layers(f.map), after);

    // The newest cell alone is an underground one.
    expectChange(f.history.undoOneCell(f.map), 1, {6, 7}, QRect(), QRect(6, 7, 1, 1));
}

// The reference: every state of the cells as a copy of the layers, with an id
// that only a new edit makes new. A step is the chain of states its records
// went through.
struct Snapshot {
    int id;
    Layers layers;
};
using Chain = std::vector<Snapshot>;

struct ReferenceHistory {
    std::vector<Chain> undo;
    std::vector<Chain> redo;
    Snapshot current;
    int savedId;
    int nextId = 1;

    explicit ReferenceHistory(const MapDocument &map)
        : current{0, Layers(map)}
        , savedId(0)
    {
    }

    std::size_t recordCount() const
    {
        std::size_t count = 0;
        for (const Chain &chain : undo)
            count += chain.size() - 1;
        return count;
    }

    // The states of an edit, rebuilt backwards from the cells after it through
    // the records it added.
    void edit(const MapDocument &map, const UndoList &records, std::size_t firstRecord)
    {
        if (records.count() == firstRecord)
            return;
        Chain chain(records.count() - firstRecord + 1, Snapshot{0, Layers(map)});
        for (std::size_t i = records.count(); i-- > firstRecord;) {
            const UndoRecord &record = records.at(i);
            Layers &layers = chain[i - firstRecord].layers;
            layers = chain[i - firstRecord + 1].layers;
            (record.level == 1 ? layers.underground : layers.ground).at(record.row, record.column) = record.previous;
        }
        chain.front().id = current.id;
        for (std::size_t i = 1; i < chain.size(); ++i)
            chain[i].id = nextId++;
        current = chain.back();
        undo.push_back(std::move(chain));
        redo.clear();
    }

    void undoStep()
    {
        if (undo.empty())
            return;
        current = undo.back().front();
        redo.push_back(std::move(undo.back()));
        undo.pop_back();
    }

    void undoOneCell()
    {
        if (undo.empty())
            return;
        Chain &chain = undo.back();
        redo.push_back({chain[chain.size() - 2], chain.back()});
        chain.pop_back();
        if (chain.size() == 1)
            undo.pop_back();
        current = redo.back().front();
    }

    void redoStep()
    {
        if (redo.empty())
            return;
        current = redo.back().back();
        undo.push_back(std::move(redo.back()));
        redo.pop_back();
    }
};

// Every changed cell of a level lies inside the rectangle given for it.
void expectCovered(const TerrainLayer &before, const TerrainLayer &after, const QRect &changed)
{
    for (std::uint32_t row = 0; row < before.side(); ++row) {
        for (std::uint32_t column = 0; column < before.side(); ++column) {
            if (!(before.at(row, column) == after.at(row, column))) {
                EXPECT_TRUE(changed.contains(int(column), int(row))) << column << "/" << row;
            }
        }
    }
}

TEST(EditHistory, ALongRandomRunMatchesCopiesOfTheLayers)
{
    for (const unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        const auto pick = [&random](int limit) { return int(random() % unsigned(limit)); };
        HistoryFixture f(8);
        ReferenceHistory reference(f.map);
        CellClipboard clipboard;

        for (int operation = 0; operation < 3000; ++operation) {
            const Layers before(f.map);
            const int choice = pick(12);
            std::optional<HistoryChange> change;  // of an undo or a redo
            if (choice < 5) {
                // A stroke, a fill or a paste, on either level, now and then
                // changing level halfway, or nothing at all.
                const std::size_t firstRecord = f.history.undoList().count();
                chooseLevel(f.map, pick(2));
                f.step([&](CellEditor &editor) {
                    for (int i = pick(4); i > 0; --i) {
                        if (pick(4) == 0)
                            chooseLevel(f.map, pick(2));
                        const auto column = std::uint16_t(pick(8)), row = std::uint16_t(pick(8));
                        if (pick(4) == 0) {
                            if (clipboard.isEmpty() || pick(2) == 0)
                                clipboard.copy(f.map, QRect(pick(4), pick(4), 1 + pick(4), 1 + pick(4)));
                            clipboard.paste(editor, column, row);
                            continue;
                        }
                        BrushSettings brush = brushOf(std::uint8_t(pick(4)), std::uint8_t(1 + pick(3)), std::uint8_t(1 + pick(3)));
                        brush.terrainConfig = std::uint8_t(pick(3));
                        brush.fillX = brush.fillY = pick(5) == 0;
                        PaintAt(editor, brush, {}, column, row);
                    }
                });
                reference.edit(f.map, f.history.undoList(), firstRecord);
            } else if (choice < 7) {
                change = f.history.undoStep(f.map);
                reference.undoStep();
            } else if (choice < 9) {
                change = f.history.redoStep(f.map);
                reference.redoStep();
            } else if (choice < 11) {
                change = f.history.undoOneCell(f.map);
                reference.undoOneCell();
            } else if (pick(20) == 0) {
                f.history.clear();
                reference = ReferenceHistory(f.map);
            } else {
                f.history.markSaved();
                reference.savedId = reference.current.id;
            }

            SCOPED_TRACE(operation);
            ASSERT_EQ(Layers(f.map), reference.current.layers);
            ASSERT_EQ(f.history.isAtSavedState(), reference.current.id == reference.savedId);
            ASSERT_EQ(f.history.undoList().count(), reference.recordCount());
            ASSERT_EQ(f.history.undoStepCount(), reference.undo.size());
            ASSERT_EQ(f.history.redoStepCount(), reference.redo.size());
            if (change) {
                expectCovered(before.ground, f.map.ground, change->changedCells[0]);
                expectCovered(before.underground, f.map.underground, change->changedCells[1]);
            }
        }
    }
}

}  // namespace
