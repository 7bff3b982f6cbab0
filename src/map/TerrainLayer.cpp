// Square terrain grids and their re-dimensioning.
#include "map/TerrainLayer.h"

#include "base/LargeMemory.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace {

// Memory for `count` cells, freed with std::free when the last owner goes.
std::shared_ptr<void> cellMemory(std::size_t count, bool zeroed)
{
    const std::size_t bytes = std::max<std::size_t>(count * sizeof(TerrainCell), 1);
    // Zeroed memory is the system's fresh pages, not written first, so
    // untouched cells cost nothing.
    void *memory = zeroed ? allocateLargeZeroed(bytes) : allocateLarge(bytes);
    if (!memory)
        throw std::bad_alloc();
    return std::shared_ptr<void>(memory, FreeLarge());
}

}  // namespace

TerrainLayer::TerrainLayer(std::uint32_t side)
{
    if (side > MaxSide)
        throw std::bad_alloc();
    const std::size_t count = std::size_t(side) * side;
    m_memory = cellMemory(count, true);
    m_cells = static_cast<TerrainCell *>(m_memory.get());
    m_count = count;
    m_side = side;
}

TerrainLayer TerrainLayer::fromCells(std::uint32_t side, const TerrainCell *cells)
{
    if (side > MaxSide)
        throw std::bad_alloc();
    // The cells are written once, not zeroed first.
    TerrainLayer layer;
    const std::size_t count = std::size_t(side) * side;
    layer.m_memory = cellMemory(count, false);
    layer.m_cells = static_cast<TerrainCell *>(layer.m_memory.get());
    if (count > 0)
        std::memcpy(layer.m_cells, cells, count * sizeof(TerrainCell));
    layer.m_count = count;
    layer.m_side = side;
    return layer;
}

TerrainLayer TerrainLayer::inBlock(std::uint32_t side, TerrainCell *cells, std::shared_ptr<void> block)
{
    TerrainLayer layer;
    layer.m_side = side;
    layer.m_count = std::size_t(side) * side;
    layer.m_cells = cells;
    const std::size_t bytes = layer.m_count * sizeof(TerrainCell);
    // The deleter holds the block; it gives back this layer's pages first, so
    // that a replaced level does not stay in memory beside its successor.
    layer.m_memory = std::shared_ptr<void>(cells, [block = std::move(block), bytes](void *start) mutable {
        if (block.use_count() > 1)
            releasePages(start, bytes);
        block.reset();
    });
    return layer;
}

TerrainLayer::TerrainLayer(const TerrainLayer &other)
{
    if (other.m_count > 0)
        *this = fromCells(other.m_side, other.m_cells);
    m_side = other.m_side;
}

TerrainLayer &TerrainLayer::operator=(const TerrainLayer &other)
{
    if (this != &other) {
        TerrainLayer copy(other);
        swap(copy);
    }
    return *this;
}

TerrainLayer::TerrainLayer(TerrainLayer &&other) noexcept
{
    swap(other);
}

TerrainLayer &TerrainLayer::operator=(TerrainLayer &&other) noexcept
{
    if (this != &other) {
        TerrainLayer taken(std::move(other));
        swap(taken);
    }
    return *this;
}

void TerrainLayer::swap(TerrainLayer &other) noexcept
{
    std::swap(m_side, other.m_side);
    std::swap(m_count, other.m_count);
    std::swap(m_cells, other.m_cells);
    std::swap(m_memory, other.m_memory);
}

bool operator==(const TerrainLayer &a, const TerrainLayer &b)
{
    return a.m_side == b.m_side && a.m_count == b.m_count
        && (a.m_count == 0 || std::memcmp(a.m_cells, b.m_cells, a.m_count * sizeof(TerrainCell)) == 0);
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

void TerrainLayer::resize(std::uint32_t side, const std::function<void(qint64 bytes)> &rowDone)
{
    TerrainLayer result(side);
    const std::uint32_t shared = std::min(side, m_side);
    // Old rows are given back a few megabytes at a time, whole pages only.
    constexpr std::size_t ReleaseStep = 4 * 1024 * 1024;
    const std::size_t rowBytes = std::size_t(m_side) * sizeof(TerrainCell);
    char *const oldBytes = reinterpret_cast<char *>(m_cells);
    std::size_t released = 0;
    for (std::uint32_t row = 0; row < side; ++row) {
        if (row < shared) {
            const TerrainCell *from = &at(row, 0);
            std::copy(from, from + shared, &result.at(row, 0));
            const std::size_t copied = (std::size_t(row) + 1) * rowBytes;
            if (copied - released >= ReleaseStep || row + 1 == shared) {
                releasePages(oldBytes + released, copied - released);
                released = copied;
            }
        }
        if (rowDone)
            rowDone(qint64(side) * qint64(sizeof(TerrainCell)));
    }
    swap(result);
}
