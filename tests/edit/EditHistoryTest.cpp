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
#include <set>
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
        CellEditor editor(map, level, history.undoList());
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
    int level = 0;  // the level the steps edit
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
                     EXPECT_TRUE(clipboard.copy(f.map, 0, QRect(6, 8, 3, 1)));
                     return f.step([&](CellEditor &editor) { clipboard.paste(editor, 1, 12); });
                 },
                 {1, 12}, QRect(1, 12, 3, 1)}),
    [](const testing::TestParamInfo<StepCase> &info) { return std::string(info.param.name); });

TEST(EditHistory, CellsUndoneSinglyGoBackWithTheRestOfTheirStep)
{
    HistoryFixture f(12);
    f.stroke(brushOf(Grass), {{0, 0}, {1, 0}});
    const Layers afterFirst(f.map);
    f.stroke(brushOf(Rough), {{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}});
    const Layers afterSecond(f.map);

    // Two cells come out of the six-cell stroke one at a time; the rest of
    // the stroke stays one step, and the two cells are one redo step with it.
    for (int cell = 5; cell >= 4; --cell) {
        const HistoryChange undone = f.history.undoOneCell(f.map);
        expectChange(undone, 0, {std::uint16_t(cell), 2}, QRect(cell, 2, 1, 1), QRect());
        EXPECT_EQ(f.map.ground.at(2, cell).tertype, 0);
    }
    EXPECT_EQ(f.history.undoList().count(), 6u);
    EXPECT_EQ(f.history.undoStepCount(), 2u);
    EXPECT_EQ(f.history.redoStepCount(), 1u);

    // Redo puts both back at once, and the stroke is whole again: one undo
    // takes back all six cells, one redo puts them all back.
    const HistoryChange redone = f.history.redoStep(f.map);
    expectChange(redone, 0, {4, 2}, QRect(4, 2, 2, 1), QRect());
    EXPECT_EQ(Layers(f.map), afterSecond);
    EXPECT_FALSE(f.history.canRedo());
    EXPECT_EQ(f.history.undoStepCount(), 2u);
    for (int round = 0; round < 2; ++round) {
        const HistoryChange undone = f.history.undoStep(f.map);
        expectChange(undone, 0, {0, 2}, QRect(0, 2, 6, 1), QRect());
        EXPECT_EQ(Layers(f.map), afterFirst);
        EXPECT_EQ(f.history.redoStepCount(), 1u);
        expectChange(f.history.redoStep(f.map), 0, {0, 2}, QRect(0, 2, 6, 1), QRect());
        EXPECT_EQ(Layers(f.map), afterSecond);
    }

    // A step undone partly by cells, then by the step: the step undoes the
    // rest of it and the whole stroke is one redo step.
    f.history.undoOneCell(f.map);
    const HistoryChange rest = f.history.undoStep(f.map);
    expectChange(rest, 0, {0, 2}, QRect(0, 2, 5, 1), QRect());
    EXPECT_EQ(Layers(f.map), afterFirst);
    EXPECT_EQ(f.history.undoStepCount(), 1u);
    EXPECT_EQ(f.history.redoStepCount(), 1u);
    EXPECT_EQ(f.history.redoStep(f.map).written, 6u);
    EXPECT_EQ(Layers(f.map), afterSecond);

    // Taking back cell by cell past the start of a step, into the one before:
    // each step keeps its own cells on the redo side.
    for (int i = 0; i < 7; ++i)
        f.history.undoOneCell(f.map);
    EXPECT_EQ(f.history.undoStepCount(), 1u);
    EXPECT_EQ(f.history.redoStepCount(), 2u);
    EXPECT_EQ(f.map.ground.at(0, 1).tertype, 0);
    EXPECT_EQ(f.map.ground.at(0, 0).tertype, Grass);
    f.history.undoOneCell(f.map);
    EXPECT_FALSE(f.history.canUndo());
    EXPECT_EQ(f.history.undoStepCount(), 0u);
    EXPECT_EQ(f.history.undoOneCell(f.map).firstCell.outcome, UndoStep::Outcome::Nothing);
    EXPECT_EQ(f.history.undoStep(f.map).firstCell.outcome, UndoStep::Outcome::Nothing);
    EXPECT_EQ(f.history.redoStep(f.map).written, 2u);
    EXPECT_EQ(Layers(f.map), afterFirst);
    EXPECT_EQ(f.history.redoStep(f.map).written, 6u);
    EXPECT_EQ(Layers(f.map), afterSecond);

    // A new edit after single cells were taken back keeps the rest of their
    // step as a shorter step and forgets the cells.
    f.history.undoOneCell(f.map);
    f.stroke(brushOf(Grass), {{9, 9}});
    EXPECT_FALSE(f.history.canRedo());
    EXPECT_EQ(f.history.undoStepCount(), 3u);
    f.history.undoStep(f.map);
    EXPECT_EQ(f.history.undoStep(f.map).written, 5u);
    EXPECT_EQ(Layers(f.map), afterFirst);
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
    CellEditor loose(f.map, 0, f.history.undoList());
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
    CellEditor editor(f.map, 0, h.undoList());
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
    // A map was opened: nothing to redo, and the cells match the file.
    h.clear();
    EXPECT_TRUE(h.isAtSavedState());
    EXPECT_FALSE(h.canUndo());
    EXPECT_FALSE(h.canRedo());
}

TEST(EditHistory, ASizeChangeIsAStepThatBringsBackTheCutCells)
{
    HistoryFixture f(72);
    EditHistory &h = f.history;
    // Cells the shrink cuts away on both levels, beside and below the square
    // that stays, and one inside it.
    f.stroke(brushOf(Grass), {{50, 2}, {2, 2}, {71, 71}});
    f.level = 1;
    f.stroke(brushOf(Rough, 2, 1), {{3, 40}});
    f.level = 0;
    h.markSaved();
    const Layers full(f.map);

    const HistoryChange shrunk = h.resize(f.map, 36);
    EXPECT_EQ(shrunk.newSide, 36u);
    EXPECT_EQ(shrunk.firstCell.outcome, UndoStep::Outcome::Consumed);
    EXPECT_EQ(f.map.mapSize, 36u);
    EXPECT_EQ(f.map.ground.side(), 36u);
    EXPECT_EQ(f.map.ground.at(2, 2).tertype, Grass);
    EXPECT_FALSE(h.isAtSavedState());
    EXPECT_EQ(h.undoStepCount(), 3u);
    const Layers small(f.map);
    f.stroke(brushOf(Rough), {{35, 35}});
    const Layers edited(f.map);

    // Undo takes back the edit, then the size change with every cut cell;
    // the map is the saved one again.
    EXPECT_EQ(h.undoStep(f.map).written, 1u);
    const HistoryChange grown = h.undoStep(f.map);
    EXPECT_EQ(grown.newSide, 72u);
    EXPECT_EQ(grown.firstCell.outcome, UndoStep::Outcome::Consumed);
    EXPECT_EQ(f.map.mapSize, 72u);
    EXPECT_EQ(Layers(f.map), full);
    EXPECT_TRUE(h.isAtSavedState());
    EXPECT_EQ(h.redoStepCount(), 2u);

    // Redo makes the change again, then the edit, twice over.
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(h.redoStep(f.map).newSide, 36u);
        EXPECT_EQ(Layers(f.map), small);
        EXPECT_FALSE(h.redoStep(f.map).newSide);
        EXPECT_EQ(Layers(f.map), edited);
        h.undoStep(f.map);
        h.undoOneCell(f.map);
        EXPECT_EQ(Layers(f.map), full);
    }

    // The cell button takes back the whole size change; a growth comes back
    // with zero cells, and undoing it brings back the smaller map.
    h.redoStep(f.map);
    ASSERT_EQ(h.resize(f.map, 54).newSide, 54u);
    EXPECT_EQ(f.map.ground.at(40, 40), TerrainCell());
    EXPECT_EQ(f.map.underground.side(), 54u);
    const HistoryChange back = h.undoOneCell(f.map);
    EXPECT_EQ(back.newSide, 36u);
    EXPECT_EQ(Layers(f.map), small);
    EXPECT_EQ(h.redoStepCount(), 1u);

    // The side the map has is no change; a new edit forgets the size changes
    // that could be redone.
    EXPECT_FALSE(h.resize(f.map, 36).newSide);
    EXPECT_EQ(h.undoStepCount(), 3u);
    f.stroke(brushOf(Grass), {{1, 1}});
    EXPECT_FALSE(h.canRedo());
    h.undoStep(f.map);
    h.undoStep(f.map);
    EXPECT_EQ(Layers(f.map), full);
}

TEST(EditHistory, UndoAndRedoKeepTheRecordsWhereTheyAre)
{
    // A small step, then a large one whose records were reserved in one
    // block, as "Fix all edges" writes them.
    HistoryFixture f(200);
    f.stroke(brushOf(Grass), {{1, 1}});
    f.step([](CellEditor &editor) {
        editor.reserveRecords(200 * 200);
        const std::vector<TerrainCell> row(200, TerrainCell{Rough});
        for (std::uint16_t y = 0; y < 200; ++y)
            editor.replaceCells(0, y, row);
    });
    const std::size_t bytes = f.history.allocatedBytes();
    const std::vector<UndoRecord> records = f.records();

    // Neither side copies records or takes memory for them.
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(f.history.undoStep(f.map).written, 200u * 200u);
        EXPECT_EQ(f.history.allocatedBytes(), bytes);
        EXPECT_EQ(f.history.redoStep(f.map).written, 200u * 200u);
        EXPECT_EQ(f.history.allocatedBytes(), bytes);
        EXPECT_EQ(f.records(), records);
    }
}

TEST(EditHistory, AStepOverBothLevelsComesBackOnBoth)
{
    HistoryFixture f(16);
    f.history.openStep();
    CellEditor editor(f.map, 0, f.history.undoList());
    PaintAt(editor, brushOf(Grass), {}, 1, 1);
    editor.setLevel(1);
    PaintAt(editor, brushOf(Rough, 2, 2), {}, 5, 6);
    f.history.closeStep();
    const Layers after(f.map);

    // Undone and redone whichever level is shown.
    expectChange(f.history.undoStep(f.map), 0, {1, 1}, QRect(1, 1, 1, 1), QRect(5, 6, 2, 2));
    EXPECT_EQ(Layers(f.map), Layers(openMap(16, true)));
    expectChange(f.history.redoStep(f.map), 0, {1, 1}, QRect(1, 1, 1, 1), QRect(5, 6, 2, 2));
    EXPECT_EQ(Layers(f.map), after);

    // The newest cell alone is an underground one.
    expectChange(f.history.undoOneCell(f.map), 1, {6, 7}, QRect(), QRect(6, 7, 1, 1));
}

// The reference: every state of the map held, as copies of the layers, with
// an id that only a new edit makes new, and the step of each change from one
// state to the next. Undo and redo move along the states: a step moves over
// all its changes on that side, a single cell over one change.
struct Snapshot {
    int id;
    Layers layers;
};

struct ReferenceHistory {
    std::vector<Snapshot> states;  // states[i + 1] follows change i
    std::vector<int> stepOf;       // the step of each change
    std::size_t at = 0;            // the state the map is in
    int savedId = 0;
    int nextId = 1;
    int nextStep = 0;

    explicit ReferenceHistory(const MapDocument &map)
        : states{{0, Layers(map)}}
    {
    }

    const Snapshot &current() const { return states[at]; }

    // Records count: a size change is one.
    std::size_t recordCount() const { return at; }

    // A new edit: the states it went through, rebuilt backwards from the map
    // after it through the records it added; a size change is one record.
    void edit(const MapDocument &map, const UndoList &records, std::size_t firstRecord)
    {
        if (records.count() == firstRecord)
            return;
        std::vector<Snapshot> chain(records.count() - firstRecord, Snapshot{0, Layers(map)});
        for (std::size_t i = records.count() - 1; i-- > firstRecord;) {
            const UndoRecord &record = records.at(i + 1);
            Layers &layers = chain[i - firstRecord].layers;
            layers = chain[i - firstRecord + 1].layers;
            (record.level == 1 ? layers.underground : layers.ground).at(record.row, record.column) = record.previous;
        }
        states.erase(states.begin() + std::ptrdiff_t(at) + 1, states.end());
        stepOf.resize(at);
        for (Snapshot &state : chain) {
            state.id = nextId++;
            states.push_back(std::move(state));
            stepOf.push_back(nextStep);
        }
        ++nextStep;
        at = states.size() - 1;
    }

    void undoStep()
    {
        if (at == 0)
            return;
        const int step = stepOf[at - 1];
        while (at > 0 && stepOf[at - 1] == step)
            --at;
    }

    void undoOneCell()
    {
        if (at > 0)
            --at;
    }

    void redoStep()
    {
        if (at == stepOf.size())
            return;
        const int step = stepOf[at];
        while (at < stepOf.size() && stepOf[at] == step)
            ++at;
    }

    // The steps with a change on either side of the state the map is in.
    std::size_t undoSteps() const { return std::set<int>(stepOf.begin(), stepOf.begin() + std::ptrdiff_t(at)).size(); }
    std::size_t redoSteps() const { return std::set<int>(stepOf.begin() + std::ptrdiff_t(at), stepOf.end()).size(); }
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
                f.level = pick(2);
                f.step([&](CellEditor &editor) {
                    for (int i = pick(4); i > 0; --i) {
                        if (pick(4) == 0)
                            editor.setLevel(pick(2));
                        const int side = int(f.map.mapSize);
                        const auto column = std::uint16_t(pick(side)), row = std::uint16_t(pick(side));
                        if (pick(4) == 0) {
                            if (clipboard.isEmpty() || pick(2) == 0)
                                clipboard.copy(f.map, editor.level(), QRect(pick(4), pick(4), 1 + pick(4), 1 + pick(4)));
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
            } else if (pick(3) == 0) {
                // A size change among the sides 5 to 10, which may cut cells
                // that were edited.
                const std::size_t firstRecord = f.history.undoList().count();
                f.history.resize(f.map, std::uint32_t(5 + pick(6)));
                reference.edit(f.map, f.history.undoList(), firstRecord);
            } else if (pick(20) == 0) {
                f.history.clear();
                reference = ReferenceHistory(f.map);
            } else {
                f.history.markSaved();
                reference.savedId = reference.current().id;
            }

            SCOPED_TRACE(operation);
            ASSERT_EQ(Layers(f.map), reference.current().layers);
            ASSERT_EQ(f.map.mapSize, f.map.ground.side());
            ASSERT_EQ(f.history.isAtSavedState(), reference.current().id == reference.savedId);
            ASSERT_EQ(f.history.undoList().count(), reference.recordCount());
            ASSERT_EQ(f.history.undoStepCount(), reference.undoSteps());
            ASSERT_EQ(f.history.redoStepCount(), reference.redoSteps());
            if (change && !change->newSide) {
                expectCovered(before.ground, f.map.ground, change->changedCells[0]);
                expectCovered(before.underground, f.map.underground, change->changedCells[1]);
            }
        }
    }
}

}  // namespace
