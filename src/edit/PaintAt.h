// Painting with the brush: a rectangle of cells whose top-left corner is the
// pressed cell, or a fill of the connected region of the pressed cell's terrain.
#pragma once

#include "edit/BrushSettings.h"
#include "edit/CellEditor.h"
#include "edit/CellPosition.h"
#include "map/ProgressMeter.h"

#include <cstddef>
#include <cstdint>

// The cell as the brush leaves it. A cell painted by a fill keeps its terrain
// configuration; mirror bits 6 and 7 are never touched.
TerrainCell applyBrush(const TerrainCell &old, const BrushSettings &brush, bool filling);

// Whether a fill pressed on a cell of this terrain type spreads over the
// region: a fill keeps configurations, so it runs only between types whose
// configuration ranges are equal (or when it paints no terrain); otherwise the
// pressed cell is painted alone, as a one-cell brush.
bool fillSpreadsFrom(std::uint8_t tertype, const BrushSettings &brush);

// Paints at (column, row) of the editor's layer and returns the number of cells
// that changed; each gets one undo record and one redraw notification, in the
// order they change. The brush is clipped at the map's right and bottom edges.
// With "fill" as width and/or height, the region of the pressed cell's terrain
// type is painted depth first; a one-way fill spreads across its band only from
// cells in the band of brushHeight rows (or brushWidth columns) that starts at
// anchorCell. A fill between types whose configuration ranges differ paints
// the pressed cell alone. Nothing happens when the editor cannot edit. A
// fill reports its progress in cells painted out of the level's cells.
std::size_t PaintAt(CellEditor &editor, const BrushSettings &brush, CellPosition anchorCell,
                    std::uint16_t column, std::uint16_t row, const ProgressCallback &progress = {});
