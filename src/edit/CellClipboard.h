// A rectangle of whole cells copied from the map, to be pasted elsewhere, on
// another level or into another map.
#pragma once

#include "edit/CellEditor.h"
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

    // Replaces the block with the cells of the selection (inclusive column and
    // row numbers) on the current layer. Nothing happens without an open map, on
    // a level the map does not have, or when the selection does not lie inside
    // the map; the result says whether the block was replaced.
    bool copy(const MapDocument &document, const QRect &selection);

    // Writes the block with its top-left cell at (left, top), clipped at the
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
};
