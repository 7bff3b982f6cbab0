// Flipping and turning cells: of a whole level, of a rectangle of a level (in
// place), and the rules that say where a cell goes and what becomes of its
// mirror bits.
//
// A flip moves the cells and toggles the matching mirror bit of every layer of
// every moved cell (terrain, river and road): its picture is then drawn the
// other way round, so the map looks mirrored. A half turn toggles both bits. A
// quarter turn or a diagonal flip cannot be drawn with mirror bits (the game
// mirrors pictures but never turns them): the cells move with their pictures
// and bits unchanged, and where terrain edge rules are given the moved area and
// its border take their terrain pictures from the rules. Types never change.
#pragma once

#include "edit/CellEditor.h"
#include "edit/CellPosition.h"
#include "map/TerrainLayer.h"
#include "rules/TerrainEdgeRules.h"

#include <QRect>
#include <QString>

#include <cstddef>
#include <cstdint>

enum class Transform {
    FlipHorizontal,  // left and right change places (mirror across the vertical middle line)
    FlipVertical,    // top and bottom change places
    FlipDiagonal,    // mirror across the main diagonal: column and row change places
    Turn90,          // a quarter turn clockwise
    Turn180,
    Turn270,         // three quarter turns clockwise, one anticlockwise
};

// Mirror bits of all three layers, by direction.
inline constexpr std::uint8_t LeftRightMirrorBits =
    MirrorBit::TerrainLeftRight | MirrorBit::RiverLeftRight | MirrorBit::RoadLeftRight;
inline constexpr std::uint8_t UpsideDownMirrorBits =
    MirrorBit::TerrainUpsideDown | MirrorBit::RiverUpsideDown | MirrorBit::RoadUpsideDown;

// True for the transforms that exchange width and height (quarter turns and the
// diagonal flip): done in place they need a square area, and mirror bits cannot
// express them.
bool swapsSides(Transform transform);

// The mirror bits the transform toggles in every cell it moves.
std::uint8_t toggledMirrorBits(Transform transform);

// A moved cell: the same bytes with the transform's mirror bits toggled.
inline TerrainCell transformedCell(TerrainCell cell, std::uint8_t toggledBits)
{
    cell.mirror ^= toggledBits;
    return cell;
}

// Where the cell at position (inside an area of width x height cells, counted
// from the area's top-left corner) lands after the transform; an area whose
// sides swap is height cells wide afterwards.
CellPosition transformedPosition(Transform transform, std::uint32_t width, std::uint32_t height, CellPosition position);

// Why a transform of cells did nothing, with what its words name.
struct TransformRefusal {
    enum class Cause {
        None,           // done
        NoCells,        // the area is empty
        OutsideLevel,   // the area reaches outside the level of the side
        NotSquare,      // a quarter turn or diagonal flip in place of an area that is not square
        NoMemory,       // no room for the copy of the area a quarter turn reads from
        NoLevelShown,   // the editor has no level of an open map to edit
        NoCopiedCells,  // a transform of the copied cells when none are copied
    };
    Cause cause = Cause::None;
    QRect area;              // the area asked for (inclusive cell numbers)
    std::uint32_t side = 0;  // the side of the level

    bool operator==(const TransformRefusal &) const = default;
};

// The refusal in one English line, as the command-line tool prints it; empty
// when there is none.
QString transformRefusalText(const TransformRefusal &refusal);

// What a transform of cells did, or why it did nothing.
struct TransformResult {
    TransformRefusal refusal;
    std::size_t changed = 0;    // cells whose bytes differ afterwards (edges included), each once
    bool edgesApplied = false;  // the terrain edge rules chose the moved area's pictures

    bool ok() const { return refusal.cause == TransformRefusal::Cause::None; }
};

// Transforms the cells of area (inclusive cell numbers) of the layer in place,
// written directly with no undo records (the command-line tool). Refused when
// the area is empty or reaches outside the layer, or when a quarter turn or
// diagonal flip is asked of an area that is not square, or when the copy of the
// area that a quarter turn reads from cannot be had. rules, when given, give
// the cells that met new neighbours their terrain pictures and river and road
// pieces: after a quarter turn or diagonal flip the area and the ring of cells
// around it; after a flip or half turn of part of a level the cells along the
// area's edge, inside and out; after a flip or half turn of a whole level none,
// as the mirror bits already draw every cell the other way round.
TransformResult transformArea(TerrainLayer &layer, const QRect &area, Transform transform,
                              const TerrainEdgeRules *rules = nullptr);

// The same for the whole layer (a layer is always square).
TransformResult transformLayer(TerrainLayer &layer, Transform transform, const TerrainEdgeRules *rules = nullptr);

// The same on the editor's layer, through the editor: one undo record for each
// cell that changes, so that the caller's step takes all of it back at once.
// Rows are written as runs, and room for the records is made at the start.
// Also refused when the editor cannot edit.
TransformResult transformArea(CellEditor &editor, const QRect &area, Transform transform,
                              const TerrainEdgeRules *rules = nullptr);

// The same for the editor's whole level.
TransformResult transformLevel(CellEditor &editor, Transform transform, const TerrainEdgeRules *rules = nullptr);

// Which half of a level is kept and copied, mirrored, onto the other.
enum class LevelHalf {
    Left,    // the right half becomes the left half flipped horizontally
    Top,     // the bottom half becomes the top half flipped vertically
    Right,   // the left half becomes the right half flipped horizontally
    Bottom,  // the top half becomes the bottom half flipped vertically
};

// Copies the half onto the other half of the layer, each copied cell flipped
// (its mirror bits toggled as by the flip). On an odd side the middle column
// (or row) is its own mirror and stays as it is. With rules, the cells along
// the seam, which meet new neighbours, then take their terrain pictures and
// river and road pieces from them. Returns the cells changed, each once.
std::size_t mirrorHalf(TerrainLayer &layer, LevelHalf half, const TerrainEdgeRules *rules = nullptr);

// The same through the editor; nothing happens when the editor cannot edit.
std::size_t mirrorHalf(CellEditor &editor, LevelHalf half, const TerrainEdgeRules *rules = nullptr);
