// Benchmarks of the river and road pieces (the sample rules): a whole 2000 x
// 2000 level crowded with rivers and roads, through the editor as "Fix all
// edges" would run it and without undo as the command-line tool does; and one
// step of a path drag, laying its cells and mending their neighbours.
#include "edit/PathLaying.h"
#include "edit/PathPieces.h"
#include "rules/TerrainEdgeRules.h"
#include "writers/LoadedMap.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <random>

namespace {

constexpr std::uint32_t Side = 2000;

const PathRules &sampleRules()
{
    static const PathRules rules = [] {
        const TerrainEdgeRulesResult result = readTerrainEdgeRules(QStringLiteral(BRACKWEN_SAMPLE_RULES));
        return result.ok() ? result.rules->paths() : PathRules();
    }();
    return rules;
}

bool rulesMissing(benchmark::State &state)
{
    if (sampleRules().hasRules(PathLayer::Road, 1))
        return false;
    state.SkipWithError("the sample rules could not be read");
    return true;
}

// Three cells in four have a road and four in five a river, of random types
// (a few without rules), on random terrain: far more than any real map, and
// nothing alike to skip.
const TerrainLayer &crowdedLevel()
{
    static const TerrainLayer layer = [] {
        TerrainLayer crowded(Side);
        std::mt19937 random(2000);
        for (std::size_t i = 0; i < crowded.cellCount(); ++i) {
            const std::uint32_t value = random();
            crowded.data()[i] = {std::uint8_t(value % TerrainTypeCount), 0, std::uint8_t(value >> 8 & 7) % 5, 0,
                                 std::uint8_t(value >> 12 & 3), 0, 0};
        }
        return crowded;
    }();
    return layer;
}

// Both layers of the whole level through the editor, undo records and all.
void BM_PathPiecesWholeLevel(benchmark::State &state)
{
    if (rulesMissing(state))
        return;
    MapDocument document = loadedMap(crowdedLevel());
    UndoList undoList;
    std::size_t changed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        document.ground = crowdedLevel();
        undoList.clear();
        CellEditor editor(document, 0, undoList);
        state.ResumeTiming();
        changed = applyPathPiecesToLevel(editor, sampleRules(), PathLayers);
        benchmark::DoNotOptimize(editor.changedCells());
    }
    state.counters["changed"] = double(changed);
}

// The same without undo records.
void BM_PathPiecesWholeLayerWithoutUndo(benchmark::State &state)
{
    if (rulesMissing(state))
        return;
    TerrainLayer layer = crowdedLevel();
    for (auto _ : state) {
        state.PauseTiming();
        layer = crowdedLevel();
        state.ResumeTiming();
        benchmark::DoNotOptimize(applyPathPiecesToLayer(layer, sampleRules(), PathLayer::River)
                                 + applyPathPiecesToLayer(layer, sampleRules(), PathLayer::Road));
    }
}

// One step of a road drag over the pieced crowded level: the straight line
// from where the last step ended to a cell 5 columns and 3 rows on (9 cells),
// laid, pieced with its side neighbours, and recorded for undo. The time is
// per step; divide by the cells counter for the time per cell.
void BM_PathDragStep(benchmark::State &state)
{
    if (rulesMissing(state))
        return;
    TerrainLayer pieced = crowdedLevel();
    applyPathPiecesToLayer(pieced, sampleRules(), PathLayer::River);
    applyPathPiecesToLayer(pieced, sampleRules(), PathLayer::Road);
    MapDocument document = loadedMap(pieced);
    UndoList undoList;
    CellEditor editor(document, 0, undoList);
    CellPosition at{10, 10};
    std::size_t cells = 0;
    std::size_t steps = 0;
    for (auto _ : state) {
        const CellPosition next{std::uint16_t(10 + (at.column + 5 - 10) % (Side - 20)),
                                std::uint16_t(10 + (at.row + 3 - 10) % (Side - 20))};
        const auto start = std::chrono::steady_clock::now();
        const std::vector<CellPosition> line = pathCells(at, next);
        benchmark::DoNotOptimize(layPath(editor, sampleRules(), PathLayer::Road, std::uint8_t(1 + steps % 3), line, 0));
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        cells += line.size();
        ++steps;
        at = next;
    }
    state.counters["cells"] = double(cells) / double(steps);
}

}  // namespace

BENCHMARK(BM_PathPiecesWholeLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PathPiecesWholeLayerWithoutUndo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PathDragStep)->UseManualTime()->Unit(benchmark::kMicrosecond);
