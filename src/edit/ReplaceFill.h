// Filling with any terrain: the region of the pressed cell's terrain type (or
// every cell of that type on the level) takes the brush's terrain type,
// whatever the picture counts of the two types, and every filled cell gets a
// picture its new type has.
#pragma once

#include "edit/BrushSettings.h"
#include "edit/CellEditor.h"
#include "edit/RegionSelection.h"
#include "map/ProgressMeter.h"
#include "rules/TerrainEdgeRules.h"

#include <cstdint>

struct ReplaceFillOptions {
    bool wholeLevel = false;                      // every cell of the type, connected or not
    const TerrainEdgeRules *edgeRules = nullptr;  // pictures from the rules when given
};

// Without rules, a filled cell whose brush names no picture of its new type
// (the brush's "n/c") gets one of the first PlainPictureCount pictures, chosen
// by its position as edge rule variants are. Every terrain type has at least
// these, and the rules of the sample pictures draw open ground with them; what
// a type's open ground really looks like only its rules can say.
inline constexpr std::uint8_t PlainPictureCount = 4;
std::uint8_t plainPicture(std::uint32_t column, std::uint32_t row);

// Fills from (column, row) of the editor's layer: the 4-connected region of
// the cell's terrain type, or with options.wholeLevel every cell of that type.
// Each filled cell takes the terrain the brush writes into one cell of its
// rectangle (type, picture and terrain mirror bits) and keeps its river and
// road; its picture is the brush's when the brush names one its new type has,
// else a plain picture. With edge rules, the filled cells and their eight
// neighbours then get the pictures and terrain mirror bits of the rules, in
// the same step. With terrain "not change" nothing changes.
//
// Every cell is written once, through the editor: one undo record per cell
// that changes, row by row, a run of a row at a time. Nothing happens when
// the editor cannot edit or the cell lies outside the map. Progress counts the
// cells worked out and written.
FillResult replaceFill(CellEditor &editor, const BrushSettings &brush, std::uint16_t column, std::uint16_t row,
                       const ReplaceFillOptions &options = {}, const ProgressCallback &progress = {});
