// The guarantees of a generated level, checked from its cells alone: each
// returns an empty string when it holds, or what is wrong at the first cell
// that breaks it.
#pragma once

#include "edit/PathPieces.h"
#include "edit/Symmetry.h"
#include "edit/TerrainEdges.h"
#include "generate/TerrainGenerator.h"

#include "SymmetryFault.h"

#include <QString>

#include <cstdlib>
#include <vector>

// The rules change nothing, and every cell of a type with rules has one that fits.
inline QString rulesFault(const TerrainLayer &layer, const TerrainEdgeRules &rules)
{
    TerrainLayer again = layer;
    const std::size_t changed = applyTerrainEdgesToLayer(again, rules)
        + applyPathPiecesToLayer(again, rules.paths(), PathLayer::River)
        + applyPathPiecesToLayer(again, rules.paths(), PathLayer::Road);
    if (changed != 0)
        return QStringLiteral("the rules change %1 pictures").arg(changed);
    const std::uint32_t side = layer.side();
    for (std::uint32_t row = 0; row < side; ++row)
        for (std::uint32_t column = 0; column < side; ++column) {
            const TerrainCell &cell = layer.at(row, column);
            if (rules.hasRules(cell.tertype) && !rules.ruleFor(cell.tertype, sameNeighbours(rules, layer, column, row)))
                return QStringLiteral("no terrain rule fits cell %1,%2").arg(column).arg(row);
            for (const PathLayer path : PathLayers) {
                const std::uint8_t type = cell.*pathTypeField(path);
                if (rules.paths().hasRules(path, type)
                    && !rules.paths().ruleFor(path, type, joiningSides(rules.paths(), path, layer, column, row)))
                    return QStringLiteral("no %1 rule fits cell %2,%3").arg(QLatin1String(pathLayerName(path))).arg(column).arg(row);
            }
        }
    return {};
}

inline std::size_t waterCells(const TerrainLayer &layer)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < layer.cellCount(); ++i)
        count += layer.data()[i].tertype == 8;
    return count;
}

inline QString waterFault(const TerrainLayer &layer, int percent)
{
    const std::int64_t cells = std::int64_t(layer.cellCount());
    const std::int64_t missed = std::int64_t(waterCells(layer)) * 100 - std::int64_t(percent) * cells;
    if (std::abs(missed) > WaterTolerance * cells)
        return QStringLiteral("%1 water cells of %2 for %3 %").arg(waterCells(layer)).arg(cells).arg(percent);
    return {};
}

// The cells 4-connected to start through cells that pass.
template <typename Passes>
std::vector<bool> reached(const TerrainLayer &layer, CellPosition start, Passes &&passes)
{
    const std::uint32_t side = layer.side();
    std::vector<bool> seen(layer.cellCount(), false);
    std::vector<CellPosition> queue;
    if (passes(layer.at(start.row, start.column))) {
        queue.push_back(start);
        seen[std::size_t(start.row) * side + start.column] = true;
    }
    while (!queue.empty()) {
        const CellPosition at = queue.back();
        queue.pop_back();
        const int steps[4][2] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};
        for (const auto &step : steps) {
            const std::int64_t c = std::int64_t(at.column) + step[0];
            const std::int64_t r = std::int64_t(at.row) + step[1];
            if (c < 0 || r < 0 || c >= side || r >= side)
                continue;
            const std::size_t index = std::size_t(r) * side + std::size_t(c);
            if (!seen[index] && passes(layer.at(std::uint32_t(r), std::uint32_t(c)))) {
                seen[index] = true;
                queue.push_back({std::uint16_t(c), std::uint16_t(r)});
            }
        }
    }
    return seen;
}

// Roads lie on dry land (neither water nor rock) and join every start zone
// (and the centre, when asked) to the first.
inline QString roadFault(const TerrainLayer &layer, const GenerateOptions &options)
{
    for (std::size_t i = 0; i < layer.cellCount(); ++i) {
        const TerrainCell &cell = layer.data()[i];
        if (cell.roadtype != 0 && (cell.tertype == 8 || cell.tertype == 9))
            return QStringLiteral("a road on water or rock at %1").arg(i);
    }
    if (options.roads == RoadPlan::None)
        return {};
    const GeneratePlan plan = generatePlan(options, layer.side());
    const std::vector<bool> joined = reached(layer, plan.zones.front(), [](const TerrainCell &cell) { return cell.roadtype != 0; });
    std::vector<CellPosition> ends = plan.zones;
    if (options.roads == RoadPlan::Centre)
        ends.push_back(plan.centre);
    for (const CellPosition &end : ends)
        if (!joined[std::size_t(end.row) * layer.side() + end.column])
            return QStringLiteral("no road joins %1,%2 to the first zone").arg(end.column).arg(end.row);
    return {};
}

// Every river lies on land, and each river (a 4-connected group of river
// cells) reaches the map's edge or touches water.
inline QString riverFault(const TerrainLayer &layer)
{
    const std::uint32_t side = layer.side();
    std::vector<bool> done(layer.cellCount(), false);
    const auto river = [](const TerrainCell &cell) { return cell.rivtype != 0; };
    for (std::uint32_t row = 0; row < side; ++row)
        for (std::uint32_t column = 0; column < side; ++column) {
            const std::size_t index = std::size_t(row) * side + column;
            if (done[index] || !river(layer.at(row, column)))
                continue;
            if (layer.at(row, column).tertype == 8)
                return QStringLiteral("a river on water at %1,%2").arg(column).arg(row);
            const std::vector<bool> group = reached(layer, {std::uint16_t(column), std::uint16_t(row)}, river);
            bool ends = false;
            for (std::uint32_t r = 0; r < side; ++r)
                for (std::uint32_t c = 0; c < side; ++c) {
                    if (!group[std::size_t(r) * side + c])
                        continue;
                    done[std::size_t(r) * side + c] = true;
                    ends |= c == 0 || r == 0 || c + 1 == side || r + 1 == side || layer.at(r - 1, c).tertype == 8
                        || layer.at(r + 1, c).tertype == 8 || layer.at(r, c - 1).tertype == 8
                        || layer.at(r, c + 1).tertype == 8;
                }
            if (!ends)
                return QStringLiteral("the river at %1,%2 reaches neither water nor the edge").arg(column).arg(row);
        }
    return {};
}
