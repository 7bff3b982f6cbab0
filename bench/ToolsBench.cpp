// Benchmarks of the map maker's tools: filling a region of about a million
// cells with any terrain (with the sample edge rules, and without), finding
// the region alone, and the statistics of a 9000 x 9000 level.
#include "GrassMap.h"
#include "edit/RegionSelection.h"
#include "edit/ReplaceFill.h"
#include "edit/TerrainStats.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr std::uint32_t FillSide = 1024;

const TerrainEdgeRules &sampleRules()
{
    static const TerrainEdgeRules rules =
        readTerrainEdgeRules(QStringLiteral(BRACKWEN_SAMPLE_RULES)).rules.value_or(TerrainEdgeRules());
    return rules;
}

// Grass over the whole level with a 3 x 3 sand island every 32 cells each way:
// the grass region is 1,039,360 cells, and about a tenth of them border sand.
const MapDocument &grassWithIslands()
{
    static const MapDocument document = [] {
        MapDocument map = grassMap(FillSide);
        for (std::uint32_t row = 0; row < FillSide; ++row)
            for (std::uint32_t column = 0; column < FillSide; ++column)
                if (row % 32 >= 14 && row % 32 < 17 && column % 32 >= 14 && column % 32 < 17)
                    map.ground.at(row, column).tertype = 1;
        return map;
    }();
    return document;
}

// Grass to water from the top-left cell, each time on a fresh copy of the
// level with the undo list emptied (keeping its memory, as after opening
// another map).
void fillRegion(benchmark::State &state, bool withEdges)
{
    if (withEdges && !sampleRules().hasRules(8)) {
        state.SkipWithError("the sample rules could not be read");
        return;
    }
    const BrushSettings water = BrushSettings::fromSelectors({.CBtertype = 8, .CBterconf = 33}, {});
    const ReplaceFillOptions options{false, withEdges ? &sampleRules() : nullptr};
    auto undoList = std::make_unique<UndoList>();
    std::size_t changed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        MapDocument document = grassWithIslands();
        undoList->clear();
        CellEditor editor(document, 0, *undoList);
        state.ResumeTiming();
        changed = replaceFill(editor, water, 0, 0, options).changed;
        benchmark::DoNotOptimize(changed);
    }
    state.counters["cells_changed"] = double(changed);
}

void BM_ReplaceFillMillionCellsWithEdges(benchmark::State &state) { fillRegion(state, true); }
void BM_ReplaceFillMillionCellsPlain(benchmark::State &state) { fillRegion(state, false); }

void BM_SelectSameMillionCells(benchmark::State &state)
{
    const TerrainLayer &layer = grassWithIslands().ground;
    std::size_t cells = 0;
    for (auto _ : state) {
        const RegionSelection region = RegionSelection::connectedRegion(layer, 0, 0);
        cells = region.cellCount();
        benchmark::DoNotOptimize(cells);
    }
    state.counters["cells"] = double(cells);
}

// A 9000 x 9000 level (567 MB) of bands of every terrain type, with rivers
// and roads in some of them.
void BM_TerrainStatsOfLargestLevel(benchmark::State &state)
{
    constexpr std::uint32_t Side = 9000;
    const auto layer = std::make_unique<TerrainLayer>(Side);
    for (std::uint32_t row = 0; row < Side; ++row)
        for (std::uint32_t column = 0; column < Side; ++column)
            layer->at(row, column) = {std::uint8_t((row / 7 + column / 11) % 10), 0,
                                      std::uint8_t(column % 97 == 0 ? 1 + row % 4 : 0), 0,
                                      std::uint8_t(row % 89 == 0 ? 1 + column % 3 : 0)};
    for (auto _ : state)
        benchmark::DoNotOptimize(TerrainStats::of(*layer).cellCount());
    state.counters["cells"] = double(layer->cellCount());
}

}  // namespace

BENCHMARK(BM_ReplaceFillMillionCellsWithEdges)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceFillMillionCellsPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectSameMillionCells)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TerrainStatsOfLargestLevel)->Unit(benchmark::kMillisecond);
