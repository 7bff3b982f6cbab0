// Benchmarks of the edit history on one step that fills a whole 1000 x 1000
// level (a million records): undoing it, redoing it, and the bytes the history
// holds per record with the step done and undone.
#include "GrassMap.h"
#include "edit/EditHistory.h"
#include "edit/PaintAt.h"

#include <benchmark/benchmark.h>

namespace {

constexpr std::uint32_t Side = 1000;

// Runs the timed operation (undo, or redo) on the filled map; the other one,
// untimed, brings the step back between iterations.
void undoOrRedoFill(benchmark::State &state, bool timeRedo)
{
    MapDocument document = grassMap(Side);
    EditHistory history;
    BrushSettings brush = BrushSettings::fromSelectors({.CBtertype = 3, .CBterconf = 0}, {});
    brush.fillX = brush.fillY = true;
    history.openStep();
    CellEditor editor(document, history.undoList());
    PaintAt(editor, brush, {}, Side / 2, Side / 2);
    history.closeStep();
    const std::size_t records = history.undoList().count();
    if (records != std::size_t(Side) * Side) {
        state.SkipWithError("the fill did not change every cell");
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

void BM_UndoStepOfWholeLevelFill(benchmark::State &state) { undoOrRedoFill(state, false); }
void BM_RedoStepOfWholeLevelFill(benchmark::State &state) { undoOrRedoFill(state, true); }

}  // namespace

BENCHMARK(BM_UndoStepOfWholeLevelFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoStepOfWholeLevelFill)->Unit(benchmark::kMillisecond);
