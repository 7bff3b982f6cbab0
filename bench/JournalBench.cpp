// Benchmarks of the edit journal: what a 3 x 3 stroke step costs the window's
// thread (copying its cells and handing them over), and what a fill of a
// whole 1000 x 1000 level costs: copying on the window's thread, then
// compressing, writing and syncing on the writer thread, and its bytes in the
// journal.
#include "GrassMap.h"
#include "edit/EditHistory.h"
#include "edit/PaintAt.h"
#include "journal/JournalWriter.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr std::uint32_t Side = 1000;

// A map with one step done on it and a journal to write it to.
struct JournalledStep {
    JournalledStep(std::uint8_t width, std::uint8_t height, bool fill)
        : document(grassMap(Side))
    {
        BrushSettings brush = BrushSettings::fromSelectors({.CBtertype = 3, .CBterconf = 0}, {});
        brush.brushWidth = width;
        brush.brushHeight = height;
        brush.fillX = brush.fillY = fill;
        history.openStep();
        CellEditor editor(document, 0, history.undoList());
        PaintAt(editor, brush, {}, Side / 2, Side / 2);
        history.closeStep();
        writer.open(journalPath(), journalPath() + ".vdm", document);
    }

    QString journalPath() const { return folder.filePath("map.journal"); }
    // The step's record as the editor's journal keeper makes it: the cells
    // of its undo records, in the order they were written.
    JournalRecord record() const
    {
        return journalStepOfUndoRecords(document, history.undoList(), 0, history.undoList().count());
    }

    QTemporaryDir folder;
    MapDocument document;
    EditHistory history;
    JournalWriter writer;
};

void BM_StrokeStepOnCallingThread(benchmark::State &state)
{
    JournalledStep step(3, 3, false);
    if (step.history.undoList().count() != 9) {
        state.SkipWithError("the stroke did not change 9 cells");
        return;
    }
    for (auto _ : state)
        step.writer.append(step.record());
    step.writer.waitUntilWritten();
}

void BM_FillStepOnCallingThread(benchmark::State &state)
{
    JournalledStep step(1, 1, true);
    for (auto _ : state)
        benchmark::DoNotOptimize(step.record());
    state.counters["cells"] = double(step.history.undoList().count());
}

// From handing the step over to its bytes synced on the device.
void BM_FillStepOnWriterThread(benchmark::State &state)
{
    JournalledStep step(1, 1, true);
    if (step.history.undoList().count() != std::size_t(Side) * Side) {
        state.SkipWithError("the fill did not change every cell");
        return;
    }
    step.writer.waitUntilWritten();
    const qint64 headerBytes = QFileInfo(step.journalPath()).size();
    for (auto _ : state) {
        state.PauseTiming();
        JournalRecord record = step.record();
        state.ResumeTiming();
        step.writer.append(std::move(record));
        step.writer.waitUntilWritten();
    }
    const double journalBytes = double(QFileInfo(step.journalPath()).size() - headerBytes);
    state.counters["journal_bytes_per_step"] = journalBytes / double(state.iterations());
}

}  // namespace

BENCHMARK(BM_StrokeStepOnCallingThread)->Unit(benchmark::kMicrosecond)->Iterations(20000);
BENCHMARK(BM_FillStepOnCallingThread)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillStepOnWriterThread)->Unit(benchmark::kMillisecond);
