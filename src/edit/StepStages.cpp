// The symmetry and rules stages of an edit step.
#include "edit/StepStages.h"

#include "edit/CellPictures.h"
#include "edit/PathPieces.h"
#include "edit/TerrainEdges.h"

#include <algorithm>

namespace {

constexpr std::uint8_t TerrainBits = MirrorBit::TerrainLeftRight | MirrorBit::TerrainUpsideDown;

// The cell and its neighbours of the reach, inside a map of the side.
void addAround(std::vector<CellPosition> &cells, CellPosition position, std::uint32_t side, Reach reach)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            if (reach == Reach::Sides && dx != 0 && dy != 0)
                continue;
            const long column = long(position.column) + dx;
            const long row = long(position.row) + dy;
            if (column >= 0 && row >= 0 && column < long(side) && row < long(side))
                cells.push_back({std::uint16_t(column), std::uint16_t(row)});
        }
}

void keepEachOnce(std::vector<CellPosition> &cells)
{
    std::sort(cells.begin(), cells.end(), [](CellPosition a, CellPosition b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
}

std::vector<CellPosition> eachOnce(std::span<const CellPosition> cells)
{
    std::vector<CellPosition> sorted(cells.begin(), cells.end());
    keepEachOnce(sorted);
    return sorted;
}

// Rewrites exactly the cells (each once, in row order) with cellAt.
template <typename Write, typename CellAt>
std::size_t rewrite(std::span<const CellPosition> cells, std::uint32_t side, Write &&write, CellAt &&cellAt)
{
    std::size_t count = 0;
    for (const CellPosition &cell : cells)
        if (cell.column < side && cell.row < side)
            count += write(cell, cellAt(cell.column, cell.row));
    return count;
}

template <typename Write>
std::size_t applyRulesWith(TerrainLayer &layer, const TerrainEdgeRules &rules, std::span<const CellPosition> terrain,
                           std::span<const std::vector<CellPosition>> paths, Write &&write)
{
    const std::uint32_t side = layer.side();
    std::size_t count = rewrite(terrain, side, write, [&](std::uint32_t column, std::uint32_t row) {
        return edgedCell(rules, layer, column, row);
    });
    if (rules.paths().isEmpty())
        return count;
    for (std::size_t i = 0; i < PathLayers.size(); ++i)
        count += rewrite(paths[i], side, write, [&](std::uint32_t column, std::uint32_t row) {
            return piecedCell(rules.paths(), PathLayers[i], layer, column, row);
        });
    return count;
}

}  // namespace

RulesTargets rulesTargets(const TerrainLayer &layer, std::span<const CellChange> changes)
{
    RulesTargets targets;
    const std::uint32_t side = layer.side();
    for (const CellChange &change : changes) {
        const CellPosition at = change.position;
        if (at.column >= side || at.row >= side)
            continue;
        const TerrainCell &now = layer.at(at.row, at.column);
        const TerrainCell &before = change.before;
        if (now.tertype != before.tertype)
            addAround(targets.terrain, at, side, Reach::SidesAndCorners);
        else if (now.terconf != before.terconf || ((now.mirror ^ before.mirror) & TerrainBits) != 0)
            targets.terrain.push_back(at);
        for (std::size_t i = 0; i < PathLayers.size(); ++i) {
            const PathLayer path = PathLayers[i];
            const auto type = pathTypeField(path);
            const auto picture = pathPictureField(path);
            if (now.*type != before.*type)
                addAround(targets.paths[i], at, side, Reach::Sides);
            else if (now.*picture != before.*picture || ((now.mirror ^ before.mirror) & pathMirrorBits(path)) != 0)
                targets.paths[i].push_back(at);
        }
    }
    keepEachOnce(targets.terrain);
    for (auto &cells : targets.paths)
        keepEachOnce(cells);
    return targets;
}

std::size_t applyRules(CellEditor &editor, const TerrainEdgeRules &rules, const RulesTargets &targets)
{
    if (!editor.canEdit())
        return 0;
    return applyRulesWith(editor.layer(), rules, targets.terrain, targets.paths,
                          [&](CellPosition at, const TerrainCell &cell) { return editor.replaceCell(at.column, at.row, cell); });
}

std::size_t applyRulesAt(CellEditor &editor, const TerrainEdgeRules &rules, std::span<const CellPosition> cells)
{
    if (!editor.canEdit())
        return 0;
    const std::vector<CellPosition> sorted = eachOnce(cells);
    const std::array<std::vector<CellPosition>, 2> paths = {sorted, sorted};
    return applyRulesWith(editor.layer(), rules, sorted, paths,
                          [&](CellPosition at, const TerrainCell &cell) { return editor.replaceCell(at.column, at.row, cell); });
}

std::size_t applyRulesAt(TerrainLayer &layer, const TerrainEdgeRules &rules, std::span<const CellPosition> cells)
{
    const std::vector<CellPosition> sorted = eachOnce(cells);
    const std::array<std::vector<CellPosition>, 2> paths = {sorted, sorted};
    return applyRulesWith(layer, rules, sorted, paths, [&](CellPosition at, const TerrainCell &cell) {
        TerrainCell &target = layer.at(at.row, at.column);
        if (target == cell)
            return false;
        target = cell;
        return true;
    });
}

std::pair<std::size_t, std::size_t> runStages(CellEditor &editor, const UndoList &records, std::size_t firstRecord,
                                              const StageWork &work)
{
    const std::size_t start = records.count();
    const bool mirrored = work.symmetry != SymmetryMode::Off;
    const bool mends = work.rules && !work.pathCells.empty();
    if ((start == firstRecord && !mends) || (!work.rules && !mirrored) || !editor.canEdit())
        return {start, start};
    const int level = editor.level();
    const std::uint32_t side = editor.mapSize();
    std::vector<CellChange> changes = recordedChanges(records, firstRecord, level, side);
    if (mirrored) {
        // Symmetry sees only what the operation wrote; the rules then treat
        // its cells and the copies alike.
        applySymmetry(editor, work.symmetry, changes);
        if (work.rules)
            changes = recordedChanges(records, firstRecord, level, side);
    }
    if (work.rules) {
        RulesTargets targets = rulesTargets(editor.layer(), changes);
        std::vector<CellPosition> &pathTargets = targets.paths[work.pathLayer == PathLayer::River ? 0 : 1];
        for (const CellPosition &cell : work.pathCells) {
            if (cell.column >= side || cell.row >= side)
                continue;
            addAround(pathTargets, cell, side, Reach::Sides);
            for (const MirrorPlace &place : mirrorPlaces(work.symmetry, side, cell))
                addAround(pathTargets, place.position, side, Reach::Sides);
        }
        keepEachOnce(pathTargets);
        applyRules(editor, *work.rules, targets);
    }
    return {start, records.count()};
}
