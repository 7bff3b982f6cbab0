// Writing the pictures that a set of rules chooses into cells: of the cells
// around changed ones, of a whole level through the cell editor, or of a
// layer nobody edits. The terrain edges and the river and road pieces share
// it; each says which picture byte it writes and works out the pictures.
#pragma once

#include "edit/CellEditor.h"
#include "edit/CellPosition.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

// What rules write into a cell: one of its three picture bytes and its whole
// mirror byte (the bits the rules do not own as they were).
struct CellPicture {
    std::uint8_t picture = 0;
    std::uint8_t mirror = 0;
};

// Which picture byte of a cell: terconf, rivconf or roadconf.
using PictureByte = std::uint8_t TerrainCell::*;

inline CellPicture pictureOf(const TerrainCell &cell, PictureByte field)
{
    return {cell.*field, cell.mirror};
}

inline TerrainCell withPicture(TerrainCell cell, PictureByte field, CellPicture picture)
{
    cell.*field = picture.picture;
    cell.mirror = picture.mirror;
    return cell;
}

// Which neighbours of a changed cell may change with it (Self: none, the
// cell alone).
enum class Reach { Self, Sides, SidesAndCorners };

// Cell indexes (row * side + column) of the changed cells and their
// neighbours of the reach inside a map of the side, ascending and each once.
std::vector<std::uint32_t> cellsAround(std::span<const CellPosition> changed, std::uint32_t side, Reach reach);

// Writes cellAt(column, row) into each cell around the changed ones through
// the editor (one undo record per cell that changes, in row-major order);
// positions outside the map are skipped. Returns the number of cells that
// changed; nothing happens when the editor cannot edit.
std::size_t rewriteCellsAround(CellEditor &editor, std::span<const CellPosition> changed, Reach reach,
                               const std::function<TerrainCell(std::uint32_t column, std::uint32_t row)> &cellAt);

// Works out the pictures of one row into pictures (a row's worth), from the
// layer as it is; the rules must read nothing a row's pictures change, so that
// a row written before the next is worked out changes nothing that row sees.
using RowPictures = std::function<void(std::uint32_t row, std::span<CellPicture> pictures)>;

// One set of rules' part in rewriting a level: the picture byte it writes, the
// mirror bits it owns (the rest of a cell's mirror byte is left as it is), and
// its pictures, a row at a time.
struct PictureRows {
    PictureByte field = nullptr;
    std::uint8_t mirrorBits = 0;
    RowPictures rows;
};

// Every row of the editor's layer through the editor, with the pictures of
// every set (which must write different bytes and own different mirror bits):
// one undo record per cell that changes, in row-major order, however many sets
// change it. Returns the number of cells that changed; nothing happens when
// the editor cannot edit.
std::size_t rewriteLevel(CellEditor &editor, std::span<const PictureRows> sets);

// The same on a layer nobody edits: cells are written directly.
std::size_t rewriteLayer(TerrainLayer &layer, PictureByte field, const RowPictures &rowPictures);
