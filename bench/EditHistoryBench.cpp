// Benchmarks of the edit history: undoing and redoing one step that changes a
// whole level (a fill of 1000 x 1000 cells, and a rewrite of a 9000 x 9000
// level row by row as "Fix all edges" does), and the bytes the history holds
// per record with the step done, undone and redone; undoing a size change
// that halved the side of a 9000 x 9000 level, and the bytes it holds per cell
// it cut.
#include "GrassMap.h"
#include "edit/EditHistory.h"
#include "edit/PaintAt.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <vector>

namespace {

// One step of a fill over the whole grass level.
void fillWholeLevel(MapDocument &document, EditHistory &history)
{
    BrushSettings brush = BrushSettings::fromSelectors({.CBtertype = 3, .CBterconf = 0}, {});
    brush.fillX = brush.fillY = true;
    history.openStep();
    CellEditor editor(document, 0, history.undoList());
    PaintAt(editor, brush, {}, std::uint16_t(document.mapSize / 2), std::uint16_t(document.mapSize / 2));
    history.closeStep();
}

// A one-cell step, then one step rewriting every cell a row at a time into
// room reserved for all its records at once, as "Fix all edges" does.
void rewriteWholeLevelAfterAnEdit(MapDocument &document, EditHistory &history)
{
    const std::uint32_t side = document.mapSize;
    history.openStep();
    CellEditor first(document, 0, history.undoList());
    first.replaceCell(0, 0, {5});
    history.closeStep();

    history.openStep();
    CellEditor editor(document, 0, history.undoList());
    editor.reserveRecords(std::size_t(side) * side);
    std::vector<TerrainCell> cells(side);
    for (std::uint32_t row = 0; row < side; ++row) {
        for (std::uint32_t column = 0; column < side; ++column)
            cells[column] = {3, std::uint8_t((row * 7 + column) % 79)};
        editor.replaceCells(0, std::uint16_t(row), cells);
    }
    history.closeStep();
}

using StepWriter = std::function<void(MapDocument &, EditHistory &)>;

// Runs the timed operation (undo, or redo) of the newest step, which must hold
// one record per cell of the level; the other one, untimed, brings the step
// back between iterations.
void undoOrRedoWholeLevel(benchmark::State &state, std::uint32_t side, const StepWriter &writeStep, bool timeRedo)
{
    MapDocument document = grassMap(side);
    EditHistory history;
    const std::size_t recordsBefore = history.undoList().count();
    writeStep(document, history);
    const std::size_t records = std::size_t(side) * side;
    if (history.undoList().count() < recordsBefore + records) {
        state.SkipWithError("the step did not change every cell");
        return;
    }
    const double doneBytes = double(history.allocatedBytes());

    std::size_t written = 0;
    for (auto _ : state) {
        if (timeRedo) {
            state.PauseTiming();
            history.undoStep(document);
            state.ResumeTiming();
            written = history.redoStep(document).written;
        } else {
            written = history.undoStep(document).written;
            state.PauseTiming();
            history.redoStep(document);
            state.ResumeTiming();
        }
    }
    if (written != records)
        state.SkipWithError("the step did not move every record");

    history.undoStep(document);
    const double undoneBytes = double(history.allocatedBytes());
    history.redoStep(document);
    const double redoneBytes = double(history.allocatedBytes());
    state.counters["records"] = double(records);
    state.counters["bytes_per_record_done"] = doneBytes / double(records);
    state.counters["bytes_per_record_undone"] = undoneBytes / double(records);
    state.counters["bytes_per_record_redone"] = redoneBytes / double(records);
}

void BM_UndoStepOfWholeLevelFill(benchmark::State &state) { undoOrRedoWholeLevel(state, 1000, fillWholeLevel, false); }
void BM_RedoStepOfWholeLevelFill(benchmark::State &state) { undoOrRedoWholeLevel(state, 1000, fillWholeLevel, true); }

// The largest level: 81 million records of 12 bytes in one step.
constexpr std::uint32_t LargestSide = 9000;
void BM_UndoStepOfLargestLevelRewrite(benchmark::State &state)
{
    undoOrRedoWholeLevel(state, LargestSide, rewriteWholeLevelAfterAnEdit, false);
}
void BM_RedoStepOfLargestLevelRewrite(benchmark::State &state)
{
    undoOrRedoWholeLevel(state, LargestSide, rewriteWholeLevelAfterAnEdit, true);
}

// Times the undo of the shrink; its redo, untimed, makes the shrink again
// between iterations.
void BM_UndoOfLargestLevelShrink(benchmark::State &state)
{
    MapDocument document = grassMap(LargestSide);
    EditHistory history;
    const std::uint32_t side = LargestSide / 2;
    if (!history.resize(document, side).newSide) {
        state.SkipWithError("the size change failed");
        return;
    }
    const double cutCells = double(LargestSide) * LargestSide - double(side) * side;
    const double shrunkBytes = double(history.allocatedBytes());
    for (auto _ : state) {
        if (history.undoStep(document).newSide != LargestSide)
            state.SkipWithError("the size change was not undone");
        state.PauseTiming();
        history.redoStep(document);
        state.ResumeTiming();
    }
    state.counters["cut_cells"] = cutCells;
    state.counters["bytes_per_cut_cell"] = shrunkBytes / cutCells;
}

}  // namespace

BENCHMARK(BM_UndoStepOfWholeLevelFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoStepOfWholeLevelFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoStepOfLargestLevelRewrite)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_RedoStepOfLargestLevelRewrite)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_UndoOfLargestLevelShrink)->Unit(benchmark::kMillisecond)->Iterations(2);
