// A rectangle of whole cells copied from the map, to be pasted elsewhere, on
// another level or into another map; or the cells of a region, kept as the
// block that holds them with a mark on each cell of the region, so that a
// paste writes the region's cells only.
#pragma once

#include "edit/CellEditor.h"
#include "edit/RegionSelection.h"
#include "edit/Transforms.h"
#include "map/TerrainCell.h"

#include <QRect>

#include <cstddef>
#include <cstdint>
#include <vector>

class CellClipboard {
public:
    std::uint16_t width() const { return m_width; }
    std::uint16_t height() const { return m_height; }
    bool isEmpty() const { return m_width == 0 || m_height == 0; }

    // The cell copied from column left + column, row top + row of the selection.
    const TerrainCell &cell(int column, int row) const { return m_cells[std::size_t(row) * m_width + column]; }
    // Whether that cell belongs to what was copied: always for a rectangle.
    bool holds(int column, int row) const
    {
        return m_inRegion.empty() || m_inRegion[std::size_t(row) * m_width + column] != 0;
    }
    // Whether a region, not a whole rectangle, was copied.
    bool isRegion() const { return !m_inRegion.empty(); }

    // Replaces the block with the cells of the selection (inclusive column and
    // row numbers) on the level. Nothing happens without an open map, on
    // a level the map does not have, or when the selection does not lie inside
    // the map; the result says whether the block was replaced.
    bool copy(const MapDocument &document, int level, const QRect &selection);

    // Replaces the block with the cells of a region of the current layer, the
    // block being the region's bounds; the same refusals as above.
    bool copy(const MapDocument &document, int level, const RegionSelection &region);

    // Writes the block (a region's cells only) with its top-left cell at (left, top), clipped at the
    // map's right and bottom edges; cells that already hold the copied bytes are
    // left alone. Changes go column by column, top to bottom within a column.
    // Returns the number of cells changed.
    std::size_t paste(CellEditor &editor, int left, int top) const;

    // Flips or turns the block as the transform does to an area of a level; a
    // quarter turn or diagonal flip exchanges its width and height. A block
    // has no neighbours to take edges from: the pictures of a turned block are
    // for the edge rules to set once it is pasted.
    void transform(Transform transform);

private:
    std::uint16_t m_width = 0;
    std::uint16_t m_height = 0;
    std::vector<TerrainCell> m_cells;  // row after row
    std::vector<std::uint8_t> m_inRegion;  // 1 for a cell of a copied region, row after row; empty for a rectangle
};
