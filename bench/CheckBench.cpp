// Benchmarks of the map check with the sample rules: a whole check of a
// sample level of 144 x 144 and of 9000 x 9000 (on one thread and on two),
// the re-check after a 3 x 3 stroke on the big level, which the problems
// list pays for at every step of a drag, and a drag of the editor session
// under symmetry with the problems list following it.
#include "check/MapCheck.h"
#include "edit/PathPieces.h"
#include "edit/TerrainEdges.h"
#include "edit/Transforms.h"
#include "session/EditorSession.h"
#include "session/ProblemWatch.h"
#include "writers/MapWriter.h"
#include "writers/SampleMap.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <random>

namespace {

const TerrainEdgeRules &sampleRules()
{
    static const TerrainEdgeRules rules = [] {
        const TerrainEdgeRulesResult result = readTerrainEdgeRules(QStringLiteral(BRACKWEN_SAMPLE_RULES));
        return result.rules.value_or(TerrainEdgeRules());
    }();
    return rules;
}

// The sample surface of the side with the rules' pictures and pieces, as a
// finished map is: the check looks at every cell and finds little.
const TerrainLayer &sampleLevel(std::uint32_t side)
{
    static std::map<std::uint32_t, TerrainLayer> levels;
    auto found = levels.find(side);
    if (found == levels.end()) {
        TerrainLayer layer = sampleSurface(side, 2000);
        applyTerrainEdgesToLayer(layer, sampleRules());
        for (const PathLayer path : PathLayers)
            applyPathPiecesToLayer(layer, sampleRules().paths(), path);
        found = levels.emplace(side, std::move(layer)).first;
    }
    return found->second;
}

// Arguments: the side, the threads, and 1 for four-way symmetry.
void BM_CheckLevel(benchmark::State &state)
{
    const TerrainLayer &layer = sampleLevel(std::uint32_t(state.range(0)));
    const CheckSettings settings{&sampleRules(), state.range(2) ? SymmetryMode::FourWay : SymmetryMode::Off};
    std::size_t problems = 0;
    for (auto _ : state) {
        problems = checkLevel(layer, settings, unsigned(state.range(1))).size();
        benchmark::DoNotOptimize(problems);
    }
    state.counters["problems"] = double(problems);
    state.counters["cells/s"] = benchmark::Counter(double(layer.cellCount()), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_CheckLevel)->Args({144, 1, 0})->Args({144, 2, 0})->Args({144, 1, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckLevel)
    ->Args({9000, 1, 0})
    ->Args({9000, 2, 0})
    ->Args({9000, 2, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

// A 3 x 3 stroke of another terrain somewhere on the big level, then the
// list re-checked around the 5 x 5 cells the step changed (the stroke and
// the neighbours the edge brush mends). With four-way symmetry the level is
// made symmetric first, as a map edited under it is, and the stroke is not
// mirrored: each stroke adds mirror problems at its four places.
void BM_RecheckStroke(benchmark::State &state)
{
    TerrainLayer layer = sampleLevel(9000);
    const bool fourWay = state.range(0) != 0;
    if (fourWay) {
        mirrorHalf(layer, LevelHalf::Left);
        mirrorHalf(layer, LevelHalf::Top);
        applyTerrainEdgesToLayer(layer, sampleRules());
        for (const PathLayer path : PathLayers)
            applyPathPiecesToLayer(layer, sampleRules().paths(), path);
    }
    const CheckSettings settings{&sampleRules(), fourWay ? SymmetryMode::FourWay : SymmetryMode::Off};
    ProblemList list;
    list.checkAll(layer, settings);
    std::mt19937 random(3);
    for (auto _ : state) {
        state.PauseTiming();
        const int left = 1 + int(random() % 8990), top = 1 + int(random() % 8990);
        const std::uint8_t type = std::uint8_t(random() % 10);
        for (int row = top; row < top + 3; ++row)
            for (int column = left; column < left + 3; ++column)
                layer.at(std::uint32_t(row), std::uint32_t(column)).tertype = type;
        state.ResumeTiming();
        list.recheck(layer, settings, QRect(left - 1, top - 1, 5, 5));
    }
    state.counters["problems"] = double(list.problems().size());
}
BENCHMARK(BM_RecheckStroke)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Edits near the top-left corner of a 3000 x 3000 sample level in the editor
// session, under a symmetry mode (the first argument), with the rules loaded
// and the problems list following the session as the editor's does. The
// second argument: 0 a click of a 3 x 3 brush, a step of its own (its copies
// and their edges are made as it closes); 1 a step of a road's drag (laid and
// taken off in turn), whose copies and pieces are made as it goes. Under
// four-way symmetry the level is made symmetric first, as a map edited under
// it is.
void BM_EditWithProblemWatch(benchmark::State &state)
{
    constexpr std::uint32_t Side = 3000;
    const auto mode = SymmetryMode(state.range(0));
    const bool road = state.range(1) != 0;
    TerrainLayer level = sampleLevel(Side);
    if (mode == SymmetryMode::FourWay) {
        mirrorHalf(level, LevelHalf::Left);
        mirrorHalf(level, LevelHalf::Top);
        applyTerrainEdgesToLayer(level, sampleRules());
        for (const PathLayer path : PathLayers)
            applyPathPiecesToLayer(level, sampleRules().paths(), path);
    }
    QTemporaryDir folder;
    MapWriter map = MapWriter::patterned(Side, false);
    map.layers = {std::move(level)};
    QFile file(folder.filePath("map.vdm"));
    if (!file.open(QIODevice::WriteOnly) || file.write(map.data()) < 0) {
        state.SkipWithError("the map cannot be written");
        return;
    }
    file.close();
    EditorSession session;
    if (!session.open(file.fileName()).ok() || !session.loadEdgeRules(QStringLiteral(BRACKWEN_SAMPLE_RULES)).isEmpty()) {
        state.SkipWithError("the map or the rules cannot be read");
        return;
    }
    session.setSymmetry(mode);
    session.setEdgeBrush(true);
    ProblemWatch watch(session);
    BrushSettings brush;
    brush.brushWidth = brush.brushHeight = 3;
    std::uint8_t type = 0;
    if (road)
        session.beginStep(StepKind::Path);
    bool erase = false;
    for (auto _ : state) {
        if (road) {
            session.layPath(PathLayer::Road, 1, {40, 40}, {48, 40}, erase, 0);
            erase = !erase;
        } else {
            brush.terrainType = std::uint8_t(type++ % 8);
            session.beginStep(StepKind::Stroke);
            session.paint(brush, 40, 40);
            session.endStep();
        }
    }
    if (road)
        session.endStep();
    state.counters["problems"] = double(watch.problems().size());
}
BENCHMARK(BM_EditWithProblemWatch)
    ->Args({int(SymmetryMode::Off), 0})
    ->Args({int(SymmetryMode::FourWay), 0})
    ->Args({int(SymmetryMode::Off), 1})
    ->Args({int(SymmetryMode::FourWay), 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
