// Benchmark of a fill over a whole 1000 x 1000 level with its million undo records.
#include "GrassMap.h"
#include "edit/PaintAt.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// Type 2 -> 3 with "fill" both ways, pressed in the middle; every cell changes.
// "fresh" starts each fill with a new undo list (its chunks are allocated during
// the fill), otherwise the list is emptied and keeps its memory, as after opening
// another map.
void fillWholeLevel(benchmark::State &state, bool freshUndoList)
{
    const std::uint32_t side = 1000;
    const MapDocument original = grassMap(side);
    BrushSettings brush = BrushSettings::fromSelectors({.CBtertype = 3, .CBterconf = 0}, {});
    brush.fillX = brush.fillY = true;
    auto undoList = std::make_unique<UndoList>();
    std::size_t redraws = 0;
    for (auto _ : state) {
        state.PauseTiming();
        MapDocument document = original;
        if (freshUndoList)
            undoList = std::make_unique<UndoList>();
        undoList->clear();
        CellEditor editor(document, 0, *undoList, [&redraws](std::uint16_t, std::uint16_t) { ++redraws; });
        state.ResumeTiming();
        benchmark::DoNotOptimize(PaintAt(editor, brush, {}, 500, 500));
    }
    if (undoList->count() != std::size_t(side) * side)
        state.SkipWithError("the fill did not change every cell");
    state.counters["records"] = double(undoList->count());
    state.counters["bytes_per_record"] = double(undoList->allocatedBytes()) / double(undoList->count());
}

void BM_FillWholeLevelFreshUndoList(benchmark::State &state) { fillWholeLevel(state, true); }
void BM_FillWholeLevelReusedUndoList(benchmark::State &state) { fillWholeLevel(state, false); }

}  // namespace

BENCHMARK(BM_FillWholeLevelFreshUndoList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillWholeLevelReusedUndoList)->Unit(benchmark::kMillisecond);
