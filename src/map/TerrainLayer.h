// One level's terrain: a square grid of cells, row after row, as in the file.
#pragma once

#include "map/TerrainCell.h"

#include <QtGlobal>

#include <cstdint>
#include <functional>
#include <memory>

class TerrainLayer {
public:
    // Largest side a layer accepts; coordinates elsewhere are 16-bit.
    static constexpr std::uint32_t MaxSide = 65535;

    TerrainLayer() = default;

    // A layer of side N with all cells zero; throws std::bad_alloc when the
    // memory cannot be had.
    explicit TerrainLayer(std::uint32_t side);

    std::uint32_t side() const { return m_side; }
    bool isEmpty() const { return m_side == 0; }

    // Copies hold cells of their own; moves hand the cells over.
    TerrainLayer(const TerrainLayer &other);
    TerrainLayer &operator=(const TerrainLayer &other);
    TerrainLayer(TerrainLayer &&other) noexcept;
    TerrainLayer &operator=(TerrainLayer &&other) noexcept;
    ~TerrainLayer() = default;

    // Callers keep row and column inside 0..side-1.
    TerrainCell &at(std::uint32_t row, std::uint32_t column) { return m_cells[std::size_t(row) * m_side + column]; }
    const TerrainCell &at(std::uint32_t row, std::uint32_t column) const { return m_cells[std::size_t(row) * m_side + column]; }

    // The cells in file order.
    TerrainCell *data() { return m_cells; }
    const TerrainCell *data() const { return m_cells; }
    std::size_t cellCount() const { return m_count; }
    std::size_t byteCount() const { return m_count * sizeof(TerrainCell); }

    // A layer of side N holding the side * side cells that start at cells, in
    // file order; throws std::bad_alloc when the memory cannot be had.
    static TerrainLayer fromCells(std::uint32_t side, const TerrainCell *cells);

    // A layer of side N whose side * side cells are the bytes at `cells`, in
    // file order, inside a block of memory that `block` keeps alive (the map
    // data a loader inflated, shared by both levels): no copy is made. When
    // the layer lets go of them, the whole pages of its cells are given back
    // to the system at once, even while the other level still holds the block.
    static TerrainLayer inBlock(std::uint32_t side, TerrainCell *cells, std::shared_ptr<void> block);

    // A copy of side N keeping the top-left square both sides share; new cells are
    // zero. Throws std::bad_alloc when the memory cannot be had. rowDone, when
    // given, is told after each new row how many bytes of it are built.
    TerrainLayer resized(std::uint32_t side, const std::function<void(qint64 bytes)> &rowDone = {}) const;

    // Re-dimensions this layer as resized() would, giving back the pages of
    // the old rows as they are copied, so that no more than the larger of
    // the old and the new layer is held at once. Throws std::bad_alloc, with
    // the layer unchanged, when the new layer's memory cannot be had.
    void resize(std::uint32_t side, const std::function<void(qint64 bytes)> &rowDone = {});

    friend bool operator==(const TerrainLayer &a, const TerrainLayer &b);

private:
    std::uint32_t m_side = 0;
    std::size_t m_count = 0;
    TerrainCell *m_cells = nullptr;
    std::shared_ptr<void> m_memory;  // owns (or keeps alive) the cells

    void swap(TerrainLayer &other) noexcept;
};
