// Maps drawn as rows of digits, random maps with areas of one type, and a
// plain breadth-first search of a region, for the tests of the region tools.
#pragma once

#include "MapFixture.h"

#include <cstdint>
#include <deque>
#include <random>
#include <string>
#include <vector>

// A loaded map whose cells have the types of the rows of text, one digit a
// cell, with picture 30 and a river, a road and mirror bits 6 and 7 that a
// fill must leave alone unless its brush says otherwise.
inline MapDocument mapOfTypeRows(const std::vector<std::string> &rows)
{
    MapDocument map = openMap(std::uint32_t(rows.size()));
    for (std::uint32_t row = 0; row < rows.size(); ++row)
        for (std::uint32_t column = 0; column < rows.size(); ++column)
            map.ground.at(row, column) = {std::uint8_t(rows[row][column] - '0'), 30, 2, 5, 1, 7, 0xC0};
    return map;
}

inline std::vector<std::string> typeRowsOf(const TerrainLayer &layer)
{
    std::vector<std::string> rows(layer.side());
    for (std::uint32_t row = 0; row < layer.side(); ++row)
        for (std::uint32_t column = 0; column < layer.side(); ++column)
            rows[row] += char('0' + layer.at(row, column).tertype);
    return rows;
}

// A loaded map of random types 0..typeCount-1, mostly in areas: a cell often
// takes the type of the cell above or to its left.
inline MapDocument randomTypeMap(std::uint32_t side, int typeCount, unsigned seed)
{
    std::mt19937 random(seed);
    MapDocument map = openMap(side);
    for (std::uint32_t row = 0; row < side; ++row)
        for (std::uint32_t column = 0; column < side; ++column) {
            TerrainCell &cell = map.ground.at(row, column);
            const unsigned pick = random() % 4;
            if (pick == 0 && row > 0)
                cell.tertype = map.ground.at(row - 1, column).tertype;
            else if (pick == 1 && column > 0)
                cell.tertype = map.ground.at(row, column - 1).tertype;
            else
                cell.tertype = std::uint8_t(random() % unsigned(typeCount));
            cell.terconf = std::uint8_t(random() % 24);
        }
    return map;
}

// The region of the cell's type around it, by a breadth-first search over
// the four neighbours: true for each cell of the region, row * side + column.
inline std::vector<bool> plainRegion(const TerrainLayer &layer, std::uint32_t column, std::uint32_t row)
{
    const std::uint32_t side = layer.side();
    std::vector<bool> region(std::size_t(side) * side, false);
    const std::uint8_t type = layer.at(row, column).tertype;
    std::deque<std::pair<std::uint32_t, std::uint32_t>> queue{{column, row}};
    region[std::size_t(row) * side + column] = true;
    while (!queue.empty()) {
        const auto [x, y] = queue.front();
        queue.pop_front();
        const std::pair<std::int64_t, std::int64_t> steps[] = {{x + 1, y}, {std::int64_t(x) - 1, y}, {x, y + 1}, {x, std::int64_t(y) - 1}};
        for (const auto &[nx, ny] : steps) {
            if (nx < 0 || ny < 0 || nx >= side || ny >= side)
                continue;
            const std::size_t index = std::size_t(ny) * side + std::size_t(nx);
            if (!region[index] && layer.at(std::uint32_t(ny), std::uint32_t(nx)).tertype == type) {
                region[index] = true;
                queue.emplace_back(std::uint32_t(nx), std::uint32_t(ny));
            }
        }
    }
    return region;
}
