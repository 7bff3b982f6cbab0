// Fairness figures of a level's sides.
#include "check/Fairness.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace {

bool isLand(std::uint8_t tertype)
{
    return tertype < TerrainTypeCount && tertype != WaterTerrain && tertype != RockTerrain;
}

// Walks the regions of cells joined through side neighbours: a region starts
// at a cell for which member(cell, cell) holds and takes in the neighbours
// for which member(neighbour, start) holds. cell(index) is called for every
// cell of a region, then done() at its end.
template <typename Member, typename Cell, typename Done>
void eachRegion(std::uint32_t side, Member member, Cell cell, Done done)
{
    const std::size_t count = std::size_t(side) * side;
    std::vector<bool> seen(count, false);
    std::vector<std::uint32_t> stack;
    for (std::size_t start = 0; start < count; ++start) {
        if (seen[start] || !member(start, start))
            continue;
        seen[start] = true;
        stack.push_back(std::uint32_t(start));
        while (!stack.empty()) {
            const std::uint32_t at = stack.back();
            stack.pop_back();
            cell(at);
            const std::uint32_t column = at % side;
            const auto visit = [&](bool inside, std::uint32_t next) {
                if (inside && !seen[next] && member(next, start)) {
                    seen[next] = true;
                    stack.push_back(next);
                }
            };
            visit(at >= side, at - side);
            visit(at + side < count, at + side);
            visit(column > 0, at - 1);
            visit(column + 1 < side, at + 1);
        }
        done();
    }
}

}  // namespace

SideMap sideMap(SymmetryMode mode, std::uint32_t side)
{
    SideMap map;
    map.cells.assign(std::size_t(side) * side, mode == SymmetryMode::Off ? 0 : SharedCell);
    if (mode == SymmetryMode::Off)
        return map;
    // The most places a cell has: a corner off every mirror line has them all.
    std::size_t most = 0;
    for (const CellPosition corner : {CellPosition{0, 0}, CellPosition{0, std::uint16_t(side - 1)}})
        most = std::max(most, mirrorPlaces(mode, side, corner).count);
    map.count = int(most) + 1;
    for (std::uint32_t row = 0; row < side; ++row)
        for (std::uint32_t column = 0; column < side; ++column) {
            const std::size_t own = std::size_t(row) * side + column;
            if (map.cells[own] != SharedCell)
                continue;  // given its side from the first of its group
            const MirrorPlaces places = mirrorPlaces(mode, side, {std::uint16_t(column), std::uint16_t(row)});
            if (places.count != most)
                continue;  // on a mirror line: no side's alone
            map.cells[own] = 0;
            for (std::size_t i = 0; i < places.count; ++i)
                map.cells[std::size_t(places.places[i].position.row) * side + places.places[i].position.column] =
                    std::uint8_t(i + 1);
        }
    return map;
}

Fairness fairnessOf(const TerrainLayer &layer, SymmetryMode mode)
{
    const std::uint32_t side = layer.side();
    const SideMap sides = sideMap(mode, side);
    Fairness fairness;
    fairness.sides.resize(std::size_t(sides.count));
    std::vector<double> sumX(fairness.sides.size()), sumY(fairness.sides.size());
    const TerrainCell *cells = layer.data();
    for (std::size_t i = 0; i < layer.cellCount(); ++i) {
        const std::uint8_t s = sides.cells[i];
        if (s == SharedCell) {
            ++fairness.sharedCells;
            continue;
        }
        SideFigures &figures = fairness.sides[s];
        const TerrainCell &cell = cells[i];
        ++figures.cells;
        if (cell.tertype < TerrainTypeCount)
            ++figures.terrain[cell.tertype];
        if (cell.rivtype <= RiverTypeCount)
            ++figures.rivers[cell.rivtype];
        if (cell.roadtype <= RoadTypeCount)
            ++figures.roads[cell.roadtype];
        figures.water += cell.tertype == WaterTerrain;
        figures.roadLength += cell.roadtype != 0;
        sumX[s] += double(i % side);
        sumY[s] += double(i / side);
    }
    const double middle = (double(side) - 1) / 2;
    const double near = std::max(0.5, double(side) / 8);
    for (std::size_t s = 0; s < fairness.sides.size(); ++s) {
        SideFigures &figures = fairness.sides[s];
        if (figures.cells == 0)
            continue;
        figures.waterPercent = 100.0 * double(figures.water) / double(figures.cells);
        const double dx = sumX[s] / double(figures.cells) - middle;
        const double dy = sumY[s] / double(figures.cells) - middle;
        figures.across = std::abs(dx) < near ? 0 : dx < 0 ? -1 : 1;
        figures.down = std::abs(dy) < near ? 0 : dy < 0 ? -1 : 1;
    }

    // Regions within each side.
    std::uint64_t size = 0;
    std::uint8_t regionSide = 0;
    eachRegion(
        side,
        [&](std::size_t i, std::size_t start) {
            return sides.cells[i] != SharedCell && sides.cells[i] == sides.cells[start] && isLand(cells[i].tertype);
        },
        [&](std::uint32_t i) {
            regionSide = sides.cells[i];
            ++size;
        },
        [&] {
            SideFigures &figures = fairness.sides[regionSide];
            ++figures.regions;
            figures.largestRegion = std::max(figures.largestRegion, size);
            size = 0;
        });
    // Land joined across the whole level, the middle lines included.
    std::uint32_t touched = 0;  // bit per side
    eachRegion(
        side, [&](std::size_t i, std::size_t) { return isLand(cells[i].tertype); },
        [&](std::uint32_t i) {
            if (sides.cells[i] != SharedCell)
                touched |= 1u << sides.cells[i];
        },
        [&] {
            if (std::popcount(touched) > 1)
                for (std::size_t s = 0; s < fairness.sides.size(); ++s)
                    if (touched & (1u << s))
                        fairness.sides[s].joinsOtherSides = true;
            touched = 0;
        });
    return fairness;
}

QString sideName(const SideFigures &side)
{
    static const char *const names[3][3] = {
        {"top-left", "top", "top-right"}, {"left", "whole", "right"}, {"bottom-left", "bottom", "bottom-right"}};
    return QString::fromLatin1(names[side.down + 1][side.across + 1]);
}

std::vector<FigureRow> figureRows(const Fairness &fairness)
{
    std::vector<FigureRow> rows;
    const auto add = [&](FigureRow::What what, std::uint8_t type, auto value) {
        FigureRow row{what, type, {}, 0};
        for (const SideFigures &side : fairness.sides)
            row.values.push_back(double(value(side)));
        if (!row.values.empty()) {
            const auto [low, high] = std::minmax_element(row.values.begin(), row.values.end());
            row.spread = *high - *low;
        }
        rows.push_back(std::move(row));
    };
    using What = FigureRow::What;
    for (std::uint8_t t = 0; t < TerrainTypeCount; ++t)
        add(What::Terrain, t, [t](const SideFigures &s) { return s.terrain[t]; });
    for (std::uint8_t t = 1; t <= RiverTypeCount; ++t)
        add(What::River, t, [t](const SideFigures &s) { return s.rivers[t]; });
    for (std::uint8_t t = 1; t <= RoadTypeCount; ++t)
        add(What::Road, t, [t](const SideFigures &s) { return s.roads[t]; });
    add(What::WaterShare, 0, [](const SideFigures &s) { return s.waterPercent; });
    add(What::RoadLength, 0, [](const SideFigures &s) { return s.roadLength; });
    add(What::Regions, 0, [](const SideFigures &s) { return s.regions; });
    add(What::LargestRegion, 0, [](const SideFigures &s) { return s.largestRegion; });
    add(What::JoinsOthers, 0, [](const SideFigures &s) { return s.joinsOtherSides ? 1 : 0; });
    std::stable_sort(rows.begin(), rows.end(), [](const FigureRow &a, const FigureRow &b) { return a.spread > b.spread; });
    return rows;
}
