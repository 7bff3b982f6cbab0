// The cells where two layers of one side differ, for the session's tests.
#pragma once

#include "map/TerrainLayer.h"

#include <cstdint>
#include <set>
#include <utility>

using Cells = std::set<std::pair<std::uint32_t, std::uint32_t>>;  // (column, row)

inline Cells differences(const TerrainLayer &before, const TerrainLayer &after)
{
    Cells cells;
    for (std::uint32_t row = 0; row < before.side(); ++row)
        for (std::uint32_t column = 0; column < before.side(); ++column)
            if (!(before.at(row, column) == after.at(row, column)))
                cells.emplace(column, row);
    return cells;
}
