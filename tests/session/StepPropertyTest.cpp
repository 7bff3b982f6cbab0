// Random sequences of the session's editing operations on small asymmetric
// maps, under every symmetry mode, with the edge brush on and off and with or
// without rules, checking after every step what must hold whatever the
// combination:
// - history: undo gives back the bytes before the step, redo those after it,
//   and the step holds one undo record per cell it changed;
// - terrain only: fill any terrain changes the terrain and nothing else;
// - rules: with rules and the edge brush on, a map the rules would not change
//   stays so after painting, fills, paths, pastes and fix-all commands;
// - symmetry: a map whose types are symmetric under the mode keeps them so
//   after painting, fills, paths and pastes;
// - regions: without symmetry and rules, a copied region pastes its own cells only;
// - notices: every cell a step, undo or redo changed lies in a rectangle the
//   session told as changed, so the grid, the overview and the problems list
//   see it;
// - tool agreement: fill any terrain, whole-level transforms, mirror half and
//   fix all edges give the bytes of the engine the command-line tool runs.
// BRACKWEN_PROPERTY_STEPS (a number of steps) and BRACKWEN_PROPERTY_SEED
// make a longer or another run, as the soak script does.
#include "session/EditorSession.h"

#include "edit/BrushSettings.h"
#include "edit/CellEditor.h"
#include "edit/PathPieces.h"
#include "edit/ReplaceFill.h"
#include "edit/TerrainEdges.h"
#include "edit/Transforms.h"
#include "writers/LoadedMap.h"
#include "writers/MapWriter.h"

#include "SymmetryFault.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

namespace {

// A small, fixed generator: the same seed gives the same sequence everywhere.
class Random {
public:
    explicit Random(std::uint64_t seed)
        : m_state(seed * 0x9E3779B97F4A7C15ull + 1)
    {
    }
    std::uint32_t next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return std::uint32_t(m_state >> 11);
    }
    int below(int count) { return count <= 0 ? 0 : int(next() % std::uint32_t(count)); }
    bool chance(int percent) { return below(100) < percent; }

private:
    std::uint64_t m_state;
};

constexpr SymmetryMode Modes[] = {SymmetryMode::Off,      SymmetryMode::LeftRight, SymmetryMode::TopBottom,
                                  SymmetryMode::FourWay,  SymmetryMode::HalfTurn,  SymmetryMode::Diagonal};

// Terrain in patches (so that fills have regions), rivers and roads here and
// there, pictures and mirror bits at random: nothing lines up with a mirror.
TerrainLayer randomLayer(Random &random, std::uint32_t side)
{
    TerrainLayer layer(side);
    for (std::uint32_t row = 0; row < side; ++row)
        for (std::uint32_t column = 0; column < side; ++column) {
            TerrainCell &cell = layer.at(row, column);
            if (column > 0 && random.chance(45))
                cell.tertype = layer.at(row, column - 1).tertype;
            else if (row > 0 && random.chance(45))
                cell.tertype = layer.at(row - 1, column).tertype;
            else
                cell.tertype = std::uint8_t(random.below(10));
            cell.terconf = std::uint8_t(random.below(maxTerrainSpriteFor(cell.tertype) + 1));
            if (random.chance(20)) {
                cell.rivtype = std::uint8_t(1 + random.below(4));
                cell.rivconf = std::uint8_t(random.below(13));
            }
            if (random.chance(20)) {
                cell.roadtype = std::uint8_t(1 + random.below(3));
                cell.roadconf = std::uint8_t(random.below(17));
            }
            cell.mirror = std::uint8_t(random.below(256));
        }
    return layer;
}

// Gives every cell the types of the first cell of its mirror images, so the
// types are symmetric under the mode while the pictures are not.
void makeTypesSymmetric(TerrainLayer &layer, SymmetryMode mode)
{
    const std::uint32_t side = layer.side();
    for (std::uint32_t row = 0; row < side; ++row)
        for (std::uint32_t column = 0; column < side; ++column) {
            const CellPosition here{std::uint16_t(column), std::uint16_t(row)};
            CellPosition first = here;
            for (const MirrorPlace &place : mirrorPlaces(mode, side, here))
                if (std::pair(place.position.row, place.position.column) < std::pair(first.row, first.column))
                    first = place.position;
            const TerrainCell &source = layer.at(first.row, first.column);
            TerrainCell &cell = layer.at(row, column);
            cell.tertype = source.tertype;
            cell.terconf = std::uint8_t(std::min<int>(cell.terconf, maxTerrainSpriteFor(cell.tertype)));
            cell.rivtype = source.rivtype;
            cell.roadtype = source.roadtype;
        }
}

// The layer as the command-line tool's edges leaves it.
TerrainLayer withRules(TerrainLayer layer, const TerrainEdgeRules &rules)
{
    applyTerrainEdgesToLayer(layer, rules);
    for (const PathLayer path : PathLayers)
        applyPathPiecesToLayer(layer, rules.paths(), path);
    return layer;
}

bool pathsEqual(const TerrainLayer &one, const TerrainLayer &other)
{
    constexpr std::uint8_t pathBits = 0x3C;
    for (std::uint32_t row = 0; row < one.side(); ++row)
        for (std::uint32_t column = 0; column < one.side(); ++column) {
            const TerrainCell &a = one.at(row, column);
            const TerrainCell &b = other.at(row, column);
            if (a.rivtype != b.rivtype || a.rivconf != b.rivconf || a.roadtype != b.roadtype || a.roadconf != b.roadconf
                || ((a.mirror ^ b.mirror) & pathBits) != 0)
                return false;
        }
    return true;
}

// The cells where two layers differ, with both sides' bytes, for a failure's message.
std::string describeDifferences(const TerrainLayer &one, const TerrainLayer &other)
{
    std::ostringstream text;
    const auto bytes = [](const TerrainCell &cell) {
        std::ostringstream out;
        out << int(cell.tertype) << '/' << int(cell.terconf) << ' ' << int(cell.rivtype) << '/' << int(cell.rivconf)
            << ' ' << int(cell.roadtype) << '/' << int(cell.roadconf) << " m" << int(cell.mirror);
        return out.str();
    };
    for (std::uint32_t row = 0; row < one.side(); ++row)
        for (std::uint32_t column = 0; column < one.side(); ++column)
            if (!(one.at(row, column) == other.at(row, column)))
                text << "\n  (" << column << ',' << row << "): " << bytes(one.at(row, column)) << " | "
                     << bytes(other.at(row, column));
    return text.str();
}

std::size_t differingCells(const TerrainLayer &one, const TerrainLayer &other)
{
    std::size_t count = 0;
    for (std::uint32_t row = 0; row < one.side(); ++row)
        for (std::uint32_t column = 0; column < one.side(); ++column)
            count += !(one.at(row, column) == other.at(row, column));
    return count;
}

BrushSettings randomBrush(Random &random)
{
    BrushSettings brush;
    brush.terrainType = std::uint8_t(random.below(11));  // 10: not change
    brush.paintTerrain = brush.terrainType < 10;
    brush.terrainConfig = std::uint8_t(random.below(80));
    if (random.chance(30)) {
        brush.paintRiver = true;
        brush.riverType = std::uint8_t(random.below(5));
        brush.riverConfig = std::uint8_t(random.below(14));
    }
    if (random.chance(30)) {
        brush.paintRoad = true;
        brush.roadType = std::uint8_t(random.below(4));
        brush.roadConfig = std::uint8_t(random.below(18));
    }
    if (random.chance(20)) {
        brush.mirrorApply = true;
        for (bool &bit : brush.mirrorBits)
            bit = random.chance(50);
    }
    brush.brushWidth = std::uint8_t(1 + random.below(3));
    brush.brushHeight = std::uint8_t(1 + random.below(3));
    return brush;
}

enum class Operation { Click, Stroke, BrushFill, Paste, FillSelection, ReplaceFill, Path, FixEdges, FixPaths,
                       Transform, MirrorHalf, Undo, Redo, UndoCell, Count };

const char *operationName(Operation operation)
{
    static const char *const Names[] = {"click", "stroke", "brush fill", "paste", "fill selection", "fill any terrain",
                                        "path", "fix all edges", "fix all paths", "transform", "mirror half", "undo",
                                        "redo", "undo one cell"};
    return Names[int(operation)];
}

class StepProperty : public testing::Test {
protected:
    void SetUp() override
    {
        const TerrainEdgeRulesResult read = readTerrainEdgeRules(QStringLiteral(BRACKWEN_SAMPLE_RULES));
        ASSERT_TRUE(read.ok()) << read.reason.toStdString();
        rules = read.rules;
    }

    // Runs one sequence of steps from a seed; false (with the failure
    // reported) at the first broken invariant.
    void runSequence(std::uint64_t seed, int steps);

    const TerrainLayer &ground() const { return session->document().ground; }

    TempDir dir;
    std::unique_ptr<EditorSession> session;
    std::optional<TerrainEdgeRules> rules;
    std::pair<std::size_t, std::size_t> lastStep;
    std::vector<QRect> told;  // the ground's cells told as changed during the step
    // How often each invariant was checked, printed at the end: a run that
    // never reaches one checks nothing of it.
    std::map<std::string, int> checked;
};

void StepProperty::runSequence(std::uint64_t seed, int steps)
{
    Random random(seed);
    const std::uint32_t side = std::uint32_t(4 + random.below(5));
    const SymmetryMode mode = Modes[random.below(6)];
    const bool rulesLoaded = random.chance(70);
    const bool edgeBrush = random.chance(50);
    TerrainLayer start = randomLayer(random, side);
    const bool startSymmetric = mode != SymmetryMode::Off && random.chance(60);
    if (startSymmetric)
        makeTypesSymmetric(start, mode);
    if (rulesLoaded && edgeBrush && random.chance(60))
        start = withRules(std::move(start), *rules);

    MapWriter map = MapWriter::patterned(side, false);
    map.layers = {start};
    session = std::make_unique<EditorSession>();
    QObject::connect(session.get(), &EditorSession::stepRecorded,
                     [this](std::size_t first, std::size_t end) { lastStep = {first, end}; });
    QObject::connect(session.get(), &EditorSession::cellsChanged, [this](int level, const QRect &cells) {
        if (level == 0)
            told.push_back(cells);
    });
    ASSERT_TRUE(session->open(dir.write("map.vdm", map.data())).ok());
    if (rulesLoaded)
        ASSERT_EQ(session->loadEdgeRules(QStringLiteral(BRACKWEN_SAMPLE_RULES)).english(), QString());
    session->setSymmetry(mode);
    session->setEdgeBrush(edgeBrush);

    std::ostringstream trail;
    trail << "seed " << seed << ", side " << side << ", mode " << int(mode) << ", rules " << rulesLoaded
          << ", edge brush " << edgeBrush << ";";
    const auto randomCell = [&] { return QPoint(random.below(int(side)), random.below(int(side))); };

    for (int step = 0; step < steps; ++step) {
        const Operation operation = Operation(random.below(int(Operation::Count)));
        trail << ' ' << operationName(operation);
        const TerrainLayer before = ground();
        const bool cleanBefore = rulesLoaded && withRules(before, *rules) == before;
        const bool symmetricBefore = mode != SymmetryMode::Off && symmetryFault(before, mode).isEmpty();
        lastStep = {0, 0};
        told.clear();
        const std::size_t undoCountBefore = session->undoList().count();
        std::optional<TerrainLayer> expected;  // what the command-line engine gives
        bool painting = true;                  // the rules and symmetry invariants apply
        bool terrainOnly = false;
        bool severalOperations = false;
        switch (operation) {
        case Operation::Click: {
            const QPoint cell = randomCell();
            session->beginStep();
            session->paint(randomBrush(random), cell.x(), cell.y());
            session->endStep();
            break;
        }
        case Operation::Stroke: {
            const BrushSettings brush = randomBrush(random);
            session->beginStep();
            const int moves = 1 + random.below(4);
            severalOperations = moves > 1;
            for (int i = 0; i < moves; ++i) {
                const QPoint cell = randomCell();
                session->paint(brush, cell.x(), cell.y());
            }
            session->endStep();
            break;
        }
        case Operation::BrushFill: {
            BrushSettings brush = randomBrush(random);
            brush.fillX = random.chance(70);
            brush.fillY = !brush.fillX || random.chance(50);
            const QPoint cell = randomCell();
            session->setAnchorCell({std::uint16_t(cell.x()), std::uint16_t(cell.y())});
            session->beginStep(StepKind::Fill);
            session->paint(brush, cell.x(), cell.y());
            session->endStep();
            break;
        }
        case Operation::Paste: {
            const QPoint from = randomCell();
            const QRect block(from, QSize(1 + random.below(3), 1 + random.below(3)));
            if (random.chance(40)) {
                // A region: a terrain's region grown or cut by the block.
                session->selectSame(from.x(), from.y(), false);
                session->changeRegionSelection(RegionSelection::rectangle(block, side),
                                               random.chance(50) ? SelectionChange::Add : SelectionChange::Remove,
                                               QRect());
            }
            session->copy(block.intersected(QRect(0, 0, int(side), int(side))));
            session->clearRegionSelection();
            const QPoint at = randomCell();
            const TerrainLayer before = session->currentLayer();
            session->paste(at.x(), at.y());
            // Without symmetry and rules a region's paste writes its own cells and no others.
            const CellClipboard &copied = session->clipboard();
            if (session->symmetry() == SymmetryMode::Off && !rulesLoaded && !copied.isEmpty())
                for (int row = 0; row < copied.height() && std::uint32_t(at.y() + row) < side; ++row)
                    for (int column = 0; column < copied.width() && std::uint32_t(at.x() + column) < side; ++column)
                        if (!copied.holds(column, row))
                            ASSERT_EQ(session->currentLayer().at(std::uint32_t(at.y() + row), std::uint32_t(at.x() + column)),
                                      before.at(std::uint32_t(at.y() + row), std::uint32_t(at.x() + column)))
                                << "a cell outside the copied region";
            break;
        }
        case Operation::FillSelection: {
            const QPoint cell = randomCell();
            if (random.chance(50))
                session->selectSame(cell.x(), cell.y(), random.chance(30));
            else
                session->clearRegionSelection();
            session->fillSelection(randomBrush(random), QRect(cell, QSize(1 + random.below(3), 1 + random.below(3))));
            session->clearRegionSelection();
            break;
        }
        case Operation::ReplaceFill: {
            BrushSettings brush = randomBrush(random);
            // The picker may have put "no river, no road" into the panel.
            brush.paintRiver = brush.paintRoad = true;
            brush.riverType = brush.roadType = 0;
            const QPoint cell = randomCell();
            const bool whole = random.chance(30);
            if (mode == SymmetryMode::Off) {
                MapDocument twin = loadedMap(before);
                UndoList records;
                CellEditor editor(twin, 0, records);
                replaceFill(editor, brush, std::uint16_t(cell.x()), std::uint16_t(cell.y()),
                            {whole, rulesLoaded ? &*rules : nullptr});
                expected = twin.ground;
            }
            session->replaceFill(brush, cell.x(), cell.y(), whole);
            terrainOnly = true;
            break;
        }
        case Operation::Path: {
            const PathLayer layer = random.chance(50) ? PathLayer::River : PathLayer::Road;
            const std::uint8_t type = std::uint8_t(1 + random.below(layer == PathLayer::River ? 4 : 3));
            const bool erase = random.chance(25);
            session->beginStep(StepKind::Path);
            QPoint last = randomCell();
            const int moves = 1 + random.below(3);
            severalOperations = moves > 1;
            for (int i = 0; i < moves; ++i) {
                const QPoint next = randomCell();
                session->layPath(layer, type, last, next, erase, std::uint8_t(random.below(13)));
                last = next;
            }
            session->endStep();
            break;
        }
        case Operation::FixEdges:
            if (rulesLoaded) {
                TerrainLayer twin = before;
                applyTerrainEdgesToLayer(twin, *rules);
                expected = twin;
            }
            session->fixAllEdges();
            break;
        case Operation::FixPaths:
            session->fixAllPaths();
            break;
        case Operation::Transform: {
            static constexpr Transform Transforms[] = {Transform::FlipHorizontal, Transform::FlipVertical,
                                                       Transform::FlipDiagonal,   Transform::Turn90,
                                                       Transform::Turn180,        Transform::Turn270};
            const Transform transform = Transforms[random.below(6)];
            TransformTarget target;
            if (random.chance(50)) {
                TerrainLayer twin = before;
                transformLayer(twin, transform, rulesLoaded ? &*rules : nullptr);
                expected = twin;
            } else {
                target.kind = TransformTarget::Kind::Selection;
                const QPoint corner = randomCell();
                const int width = 1 + random.below(int(side) - corner.x());
                const int height = swapsSides(transform) ? width : 1 + random.below(int(side) - corner.y());
                target.selection = QRect(corner, QSize(width, height)).intersected(QRect(0, 0, int(side), int(side)));
            }
            session->transform(transform, target);
            painting = false;
            break;
        }
        case Operation::MirrorHalf: {
            static constexpr LevelHalf Halves[] = {LevelHalf::Left, LevelHalf::Right, LevelHalf::Top,
                                                   LevelHalf::Bottom};
            const LevelHalf half = Halves[random.below(4)];
            TerrainLayer twin = before;
            mirrorHalf(twin, half, rulesLoaded ? &*rules : nullptr);
            expected = twin;
            session->mirrorHalf(half);
            painting = false;
            break;
        }
        case Operation::Undo:
            session->undoStep();
            break;
        case Operation::Redo:
            session->redoStep();
            break;
        case Operation::UndoCell:
            session->undoLast();
            break;
        case Operation::Count:
            break;
        }
        const TerrainLayer after = ground();
        const bool moved = operation == Operation::Undo || operation == Operation::Redo
            || operation == Operation::UndoCell;
        SCOPED_TRACE(trail.str());
        if (expected)
            ++checked["tool agreement"];
        if (terrainOnly)
            ++checked["terrain only"];
        if (!moved && painting && cleanBefore && edgeBrush)
            ++checked["rules"];
        if (!moved && painting && symmetricBefore)
            ++checked["symmetry"];
        if (expected)
            ASSERT_TRUE(after == *expected) << "the command-line engine gives other bytes (session | engine):"
                                             << describeDifferences(after, *expected);
        if (terrainOnly)
            ASSERT_TRUE(pathsEqual(before, after)) << "fill any terrain changed a river or road";
        if (!moved && painting && cleanBefore && edgeBrush)
            ASSERT_TRUE(withRules(after, *rules) == after)
                << "the rules would change the map after the step (map | rules):"
                << describeDifferences(after, withRules(after, *rules));
        if (!moved && painting && symmetricBefore)
            ASSERT_EQ(symmetryFault(after, mode).toStdString(), "") << "the types are no longer symmetric";
        if (after.side() == before.side()) {
            ++checked["notices"];
            for (std::uint32_t row = 0; row < side; ++row)
                for (std::uint32_t column = 0; column < side; ++column)
                    if (!(after.at(row, column) == before.at(row, column)))
                        ASSERT_TRUE(std::any_of(told.begin(), told.end(),
                                                [&](const QRect &rect) { return rect.contains(int(column), int(row)); }))
                            << "the cell at column " << column << ", row " << row << " changed but was not told";
        }
        if (moved)
            continue;
        // One record per changed cell, and the step goes back and forth exactly.
        const std::size_t changed = differingCells(before, after);
        if (changed == 0) {
            if (!severalOperations)
                ASSERT_EQ(session->undoList().count(), undoCountBefore) << "a step that changed nothing left records";
            continue;
        }
        // A drag over a cell it painted before keeps a record of each state
        // the user made; every other step has one record per changed cell.
        if (severalOperations)
            ASSERT_GE(lastStep.second - lastStep.first, changed);
        else
            ASSERT_EQ(lastStep.second - lastStep.first, changed) << "not one undo record per changed cell";
        ++checked["history"];
        session->undoStep();
        ASSERT_TRUE(ground() == before) << "undo does not give back the bytes before the step:"
                                        << describeDifferences(ground(), before);
        session->redoStep();
        ASSERT_TRUE(ground() == after) << "redo does not give back the bytes after the step:"
                                       << describeDifferences(ground(), after);
    }
}

std::uint64_t environmentNumber(const char *name, std::uint64_t fallback)
{
    const char *value = std::getenv(name);
    return value && *value ? std::strtoull(value, nullptr, 10) : fallback;
}

// 10,000 steps in sequences of 25, from fixed seeds.
TEST_F(StepProperty, EveryInvariantHoldsAfterEveryStep)
{
    const std::uint64_t steps = environmentNumber("BRACKWEN_PROPERTY_STEPS", 10000);
    const std::uint64_t firstSeed = environmentNumber("BRACKWEN_PROPERTY_SEED", 1);
    constexpr int StepsPerSequence = 25;
    for (std::uint64_t seed = firstSeed; seed < firstSeed + steps / StepsPerSequence; ++seed) {
        runSequence(seed, StepsPerSequence);
        if (HasFatalFailure())
            return;
    }
    for (const auto &[invariant, count] : checked)
        std::cout << invariant << ": checked after " << count << " steps\n";
}

}  // namespace
