// Benchmarks of flipping and turning a whole 9000 x 9000 level (the largest
// side a map may have), straight into the layer as the command-line tool does
// it and through the cell editor with an undo record per cell as the editor
// does it. The goal for the flips and the half turn is a second or less.
#include "GrassMap.h"
#include "edit/Transforms.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr std::uint32_t Side = 9000;

MapDocument &largeMap()
{
    static MapDocument document = grassMap(Side);
    return document;
}

void transformLayerBench(benchmark::State &state, Transform transform)
{
    TerrainLayer &layer = largeMap().ground;
    std::size_t changed = 0;
    for (auto _ : state)
        changed = transformLayer(layer, transform).changed;
    state.counters["changed"] = double(changed);
}

// The undo list is emptied before each run and keeps its memory, as after
// opening another map, or is new, as at the first edit after starting.
void transformLevelBench(benchmark::State &state, Transform transform, bool freshUndoList)
{
    MapDocument &document = largeMap();
    auto undoList = std::make_unique<UndoList>();
    if (!freshUndoList)
        undoList->reserve(std::size_t(Side) * Side);
    std::size_t changed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (freshUndoList)
            undoList = std::make_unique<UndoList>();
        undoList->clear();
        CellEditor editor(document, 0, *undoList);
        state.ResumeTiming();
        changed = transformLevel(editor, transform).changed;
        benchmark::DoNotOptimize(editor.changedCells());
    }
    if (undoList->count() != changed)
        state.SkipWithError("the records do not match the changed cells");
    state.counters["changed"] = double(changed);
}

void BM_FlipHorizontalLayer(benchmark::State &state) { transformLayerBench(state, Transform::FlipHorizontal); }
void BM_FlipVerticalLayer(benchmark::State &state) { transformLayerBench(state, Transform::FlipVertical); }
void BM_HalfTurnLayer(benchmark::State &state) { transformLayerBench(state, Transform::Turn180); }
void BM_QuarterTurnLayer(benchmark::State &state) { transformLayerBench(state, Transform::Turn90); }

void BM_FlipHorizontalLevel(benchmark::State &state) { transformLevelBench(state, Transform::FlipHorizontal, false); }
void BM_FlipHorizontalLevelFreshUndoList(benchmark::State &state)
{
    transformLevelBench(state, Transform::FlipHorizontal, true);
}
void BM_FlipVerticalLevel(benchmark::State &state) { transformLevelBench(state, Transform::FlipVertical, false); }
void BM_HalfTurnLevel(benchmark::State &state) { transformLevelBench(state, Transform::Turn180, false); }
void BM_QuarterTurnLevel(benchmark::State &state) { transformLevelBench(state, Transform::Turn90, false); }

}  // namespace

BENCHMARK(BM_FlipHorizontalLayer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FlipVerticalLayer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HalfTurnLayer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuarterTurnLayer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FlipHorizontalLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FlipHorizontalLevelFreshUndoList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FlipVerticalLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HalfTurnLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuarterTurnLevel)->Unit(benchmark::kMillisecond);
