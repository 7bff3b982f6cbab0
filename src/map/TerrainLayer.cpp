// Square terrain grids and their re-dimensioning.
#include "map/TerrainLayer.h"

#include <algorithm>
#include <new>
#include <utility>

TerrainLayer::TerrainLayer(std::uint32_t side)
{
    if (side > MaxSide)
        throw std::bad_alloc();
    m_cells.resize(std::size_t(side) * side);
    m_side = side;
}

TerrainLayer::TerrainLayer(std::uint32_t side, std::vector<TerrainCell> &&cells)
    : m_side(side)
    , m_cells(std::move(cells))
{
}

TerrainLayer TerrainLayer::fromCells(std::uint32_t side, const TerrainCell *cells)
{
    if (side > MaxSide)
        throw std::bad_alloc();
    // Built from the range at once: the cells are written once, not zeroed first.
    TerrainLayer layer;
    layer.m_cells.assign(cells, cells + std::size_t(side) * side);
    layer.m_side = side;
    return layer;
}

TerrainLayer TerrainLayer::resized(std::uint32_t side, const std::function<void(qint64 bytes)> &rowDone) const
{
    TerrainLayer result(side);
    const std::uint32_t shared = std::min(side, m_side);
    for (std::uint32_t row = 0; row < side; ++row) {
        if (row < shared) {
            const TerrainCell *from = &at(row, 0);
            std::copy(from, from + shared, &result.at(row, 0));
        }
        if (rowDone)
            rowDone(qint64(side) * qint64(sizeof(TerrainCell)));
    }
    return result;
}
