// Benchmarks of the terrain edge rules (the sample rules) on a 2000 x 2000
// sample level: edging the whole level, and the edges after a 3 x 3 stroke;
// and a whole 9000 x 9000 level of random terrain, the worst case of the
// command-line tool (every cell a border, nothing alike to skip).
#include "edit/PaintAt.h"
#include "edit/TerrainEdges.h"
#include "writers/LoadedMap.h"
#include "writers/SampleMap.h"

#include <benchmark/benchmark.h>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <chrono>
#include <cstdlib>
#include <memory>
#include <random>

namespace {

constexpr std::uint32_t Side = 2000;

const TerrainEdgeRules &sampleRules()
{
    static const TerrainEdgeRules rules = [] {
        const TerrainEdgeRulesResult result = readTerrainEdgeRules(QStringLiteral(BRACKWEN_SAMPLE_RULES));
        return result.rules.value_or(TerrainEdgeRules());
    }();
    return rules;
}

// The sample surface of the given side, without edges or with them.
const MapDocument &sampleDocument(bool edged)
{
    static const auto make = [](bool withEdges) {
        MapDocument document = loadedMap(sampleSurface(Side, 2000));
        if (withEdges)
            applyTerrainEdgesToLayer(document.ground, sampleRules());
        return document;
    };
    static const MapDocument plain = make(false);
    static const MapDocument edgedDocument = make(true);
    return edged ? edgedDocument : plain;
}

bool rulesMissing(benchmark::State &state)
{
    if (sampleRules().hasRules(0))
        return false;
    state.SkipWithError("the sample rules could not be read");
    return true;
}

// Every cell of a level through the editor, undo records and all, as the
// editor's "Fix all edges" runs it. The level was never edged (most cells
// change) or is edged already (only the matching is paid for); the undo list
// is emptied and keeps its memory, as after opening another map, or is new, as
// at the first fix after starting the editor.
enum class WholeLevel { FirstTime, FirstTimeFreshUndoList, AlreadyEdged };

void edgeWholeLevel(benchmark::State &state, WholeLevel kind)
{
    if (rulesMissing(state))
        return;
    const MapDocument &original = sampleDocument(kind == WholeLevel::AlreadyEdged);
    MapDocument document = original;
    auto undoList = std::make_unique<UndoList>();
    std::size_t changed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        document.ground = original.ground;
        if (kind == WholeLevel::FirstTimeFreshUndoList) {
            undoList = std::make_unique<UndoList>();
#ifdef __GLIBC__
            // The memory the last list freed goes back to the system, so the
            // new list's records land on fresh pages, as in a new editor.
            malloc_trim(0);
#endif
        }
        undoList->clear();
        CellEditor editor(document, 0, *undoList);
        state.ResumeTiming();
        changed = applyTerrainEdgesToLevel(editor, sampleRules());
        benchmark::DoNotOptimize(editor.changedCells());
    }
    state.counters["changed"] = double(changed);
}

void BM_EdgesWholeLevelFirstTime(benchmark::State &state) { edgeWholeLevel(state, WholeLevel::FirstTime); }
void BM_EdgesWholeLevelFirstTimeFreshUndoList(benchmark::State &state)
{
    edgeWholeLevel(state, WholeLevel::FirstTimeFreshUndoList);
}
void BM_EdgesWholeLevelAlreadyEdged(benchmark::State &state) { edgeWholeLevel(state, WholeLevel::AlreadyEdged); }

// Edges a fresh copy of original at each iteration, without undo records;
// only the edges are timed.
void edgeFreshCopies(benchmark::State &state, const TerrainLayer &original)
{
    TerrainLayer layer = original;
    for (auto _ : state) {
        state.PauseTiming();
        layer = original;
        state.ResumeTiming();
        benchmark::DoNotOptimize(applyTerrainEdgesToLayer(layer, sampleRules()));
    }
}

// The whole sample level without undo records, as the command-line tool does it.
void BM_EdgesWholeLayerWithoutUndo(benchmark::State &state)
{
    if (rulesMissing(state))
        return;
    const TerrainLayer &original = sampleDocument(false).ground;
    edgeFreshCopies(state, original);
}

// Every cell of a 9000 x 9000 level whose terrain types are drawn at random,
// without undo records, as "brackwen-cli edges" runs it on a huge map.
void BM_EdgesRandomLayer9000(benchmark::State &state)
{
    if (rulesMissing(state))
        return;
    static const TerrainLayer original = [] {
        TerrainLayer layer(9000);
        std::mt19937 random(9000);
        for (std::size_t i = 0; i < layer.cellCount(); ++i) {
            const std::uint32_t value = random();
            layer.data()[i] = {std::uint8_t(value % TerrainTypeCount), std::uint8_t(value >> 8), 0, 0, 0, 0, std::uint8_t(value >> 16)};
        }
        return layer;
    }();
    edgeFreshCopies(state, original);
}

// A 3 x 3 stroke of water or grass, in turn, at places spread over the level;
// only the edges after it are timed: taking the stroke's positions from its
// undo records and edging them and their neighbours.
void BM_EdgesAfterThreeByThreeStroke(benchmark::State &state)
{
    if (rulesMissing(state))
        return;
    MapDocument document = sampleDocument(true);
    UndoList undoList;
    CellEditor editor(document, 0, undoList);
    const BrushSettings water = BrushSettings::fromSelectors({.CBtertype = 8, .CBbrushx = 2, .CBbrushy = 2}, {});
    const BrushSettings grass = BrushSettings::fromSelectors({.CBtertype = 2, .CBbrushx = 2, .CBbrushy = 2}, {});
    std::uint32_t stroke = 0;
    std::size_t edged = 0;
    for (auto _ : state) {
        const std::uint16_t column = std::uint16_t(1 + (stroke * 37) % (Side - 4));
        const std::uint16_t row = std::uint16_t(1 + (stroke * 53) % (Side - 4));
        undoList.clear();
        PaintAt(editor, stroke % 2 ? grass : water, {column, row}, column, row);
        ++stroke;
        const auto start = std::chrono::steady_clock::now();
        const std::vector<CellPosition> changed = recordedPositions(undoList, 0, 0);
        edged += applyTerrainEdges(editor, sampleRules(), changed);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    state.counters["edged_per_stroke"] = double(edged) / double(stroke);
}

}  // namespace

BENCHMARK(BM_EdgesWholeLevelFirstTime)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EdgesWholeLevelFirstTimeFreshUndoList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EdgesWholeLevelAlreadyEdged)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EdgesWholeLayerWithoutUndo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EdgesRandomLayer9000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_EdgesAfterThreeByThreeStroke)->UseManualTime()->Unit(benchmark::kMicrosecond);
