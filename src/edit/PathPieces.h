// Applying the river and road rules to cells of a level: to the cells a step
// changed and their four side neighbours, or to the whole level.
//
// A river or road cell's piece depends only on which of its side neighbours
// join it (their types on the same layer) and on its position, never on the
// pictures, and applying the rules never changes a type, the terrain or the
// other layer; so the result does not depend on the order cells are visited,
// and applying the rules to their own output changes nothing. Neighbours
// outside the map never join: a path runs off the map's edge only where a
// rule gives it a picture that does.
#pragma once

#include "edit/CellEditor.h"
#include "edit/CellPosition.h"
#include "rules/PathRules.h"

#include <cstddef>
#include <cstdint>
#include <span>

// The sides of the cell at (column, row) whose neighbour joins the cell's
// path on the layer: bit n set for side n (PathRules::Side). The cell's type
// must have rules.
std::uint8_t joiningSides(const PathRules &rules, PathLayer path, const TerrainLayer &layer, std::uint32_t column,
                          std::uint32_t row);

// The cell at (column, row) as the rules leave it: the layer's picture and two
// mirror bits of its first fitting rule, everything else as it was. A cell
// with no type on the layer, whose type has no rules, or that no rule fits,
// stays as it is.
TerrainCell piecedCell(const PathRules &rules, PathLayer path, const TerrainLayer &layer, std::uint32_t column,
                       std::uint32_t row);

// Applies the rules of the layer to the changed cells and their four side
// neighbours on the editor's level, through the editor (one undo record per
// cell that changes, in row-major order); positions outside the map are
// skipped. Returns the number of cells that changed; nothing happens when the
// editor cannot edit.
std::size_t applyPathPieces(CellEditor &editor, const PathRules &rules, PathLayer path,
                            std::span<const CellPosition> changed);

// Applies the rules of the layers to every cell of the editor's level, both
// layers of a cell in one undo record, through the editor; returns the number
// of cells that changed.
std::size_t applyPathPiecesToLevel(CellEditor &editor, const PathRules &rules, std::span<const PathLayer> paths);
// The same for one layer.
std::size_t applyPathPiecesToLevel(CellEditor &editor, const PathRules &rules, PathLayer path);

// The same on a layer nobody edits (the command-line tool, the sample maps).
std::size_t applyPathPiecesToLayer(TerrainLayer &layer, const PathRules &rules, PathLayer path);
