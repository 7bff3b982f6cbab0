// Applying the terrain edge rules to cells of the edited level: to the cells a
// step changed and their neighbours, or to the whole level.
//
// A cell's picture depends only on the terrain types around it and on its
// position, never on the pictures themselves, and applying the rules never
// changes a terrain type; so the result does not depend on the order cells are
// visited, and applying the rules to their own output changes nothing.
#pragma once

#include "edit/CellEditor.h"
#include "edit/CellPictures.h"
#include "edit/CellPosition.h"
#include "rules/TerrainEdgeRules.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// A small hash of a cell's position, for choosing among a rule's variants:
// painting the same map twice gives the same pictures.
inline std::uint32_t positionHash(std::uint32_t column, std::uint32_t row)
{
    std::uint32_t hash = column * 0x9E3779B1u ^ (row + 0x7F4A7C15u) * 0x85EBCA77u;
    hash ^= hash >> 15;
    hash *= 0x2C1B3C6Du;
    hash ^= hash >> 12;
    return hash;
}

// The hash scaled into 0..count-1 (0 for a count of 0): a multiplication
// where a division would cost several times as much on every cell of a level.
inline std::size_t scaledVariant(std::uint32_t hash, std::size_t count)
{
    return std::size_t((std::uint64_t(hash) * count) >> 32);
}

// Which of a rule's count variants the cell at (column, row) gets. Inline, as
// it runs for every cell of a level; most terrain rules have one variant, and
// then the hash is not worked out.
inline std::size_t edgeVariant(std::uint32_t column, std::uint32_t row, std::size_t count)
{
    return count <= 1 ? 0 : scaledVariant(positionHash(column, row), count);
}

// The neighbourhood of the cell at (column, row), whose type has rules: bit n
// set when neighbour n (TerrainEdgeRules::Neighbour) counts as "same".
// Neighbours outside the map count as "same".
std::uint8_t sameNeighbours(const TerrainEdgeRules &rules, const TerrainLayer &layer, std::uint32_t column, std::uint32_t row);

// The cell at (column, row) as the rules leave it: the picture and terrain
// mirror bits of its first matching rule, everything else as it was. A cell
// whose type has no rules, or that no rule matches, stays as it is.
TerrainCell edgedCell(const TerrainEdgeRules &rules, const TerrainLayer &layer, std::uint32_t column, std::uint32_t row);

// Applies the rules to the cells at the changed positions and their eight
// neighbours on the editor's layer, through the editor (one undo record per
// cell that changes, in row-major order); positions outside the map are skipped. Returns the number of cells that changed.
// Nothing happens when the editor cannot edit.
std::size_t applyTerrainEdges(CellEditor &editor, const TerrainEdgeRules &rules, std::span<const CellPosition> changed);

// Applies the rules to every cell of the editor's layer through the editor, a
// row at a time (one undo record per cell that changes, in row-major order);
// returns the number of cells that changed.
std::size_t applyTerrainEdgesToLevel(CellEditor &editor, const TerrainEdgeRules &rules);

// The same on a layer nobody edits (the command-line tool, the sample maps):
// cells are written directly, with no undo records to pay for.
std::size_t applyTerrainEdgesToLayer(TerrainLayer &layer, const TerrainEdgeRules &rules);

// The positions of the undo records of level from index firstRecord on: the
// cells a step changed, when firstRecord is the record count before the step.
std::vector<CellPosition> recordedPositions(const UndoList &undoList, std::size_t firstRecord, int level);
