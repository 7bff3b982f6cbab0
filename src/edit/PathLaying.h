// Laying and erasing rivers and roads along a line of cells, for the path
// tools of the editor: the cells of a straight drag, and the path laid along
// them with the river and road rules applied to it and its side neighbours.
#pragma once

#include "edit/CellEditor.h"
#include "edit/CellPosition.h"
#include "rules/PathRules.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The cells of a straight line from one cell to another, both included, in
// order from the first: the cells Bresenham's line visits, with a cell put in
// at every diagonal step (first along the row, then along the column) so that
// each cell is a side neighbour of the one before it.
std::vector<CellPosition> pathCells(CellPosition from, CellPosition to);

struct PathLaid {
    std::size_t changed = 0;     // cells written, the path's and its neighbours'
    bool rulesMissing = false;   // the type has no rules: laid with the fallback picture
};

// Gives the cells inside the map the type on the layer (1..the layer's last
// type), through the editor; a cell that did not have the type gets the
// fallback picture (up to the layer's last) and the layer's mirror bits
// cleared. Then applies the layer's rules to the cells and their four side
// neighbours. Without rules for the type, its cells keep the fallback picture
// and the result says so. Nothing happens when the editor cannot edit.
PathLaid layPath(CellEditor &editor, const PathRules &rules, PathLayer path, std::uint8_t type,
                 std::span<const CellPosition> cells, std::uint8_t fallbackPicture);

// Takes the layer's path off the cells (type 0, picture 0, the layer's mirror
// bits cleared) through the editor and mends their side neighbours by the
// rules; returns the number of cells written.
std::size_t erasePath(CellEditor &editor, const PathRules &rules, PathLayer path, std::span<const CellPosition> cells);
