// Symmetric painting: the places that mirror a cell under a symmetry mode, the
// mirrored copy of an edited cell, and the copies of a whole edit written
// through the editor so that they join the edit's undo step.
//
// How a session uses it: open a step, paint (stroke, fill, paste), then take
// the step's changes with recordedChanges and hand them to applySymmetry; when
// terrain edge rules are in use, apply them last, to every cell the step
// changed (the painted cells and the copies), so that pictures match across
// the mirror lines; then close the step.
//
// Diagonal and quarter-turn copies: a mirror across the diagonal is a quarter
// turn and a flip in one, and neither can be drawn by the mirror bits (the game
// mirrors pictures, never turns them). Such a copy therefore keeps the pictures
// and mirror bits of the cell it copies, and relies on the edge rules to give
// its terrain the right picture.
#pragma once

#include "edit/CellEditor.h"
#include "edit/CellPosition.h"
#include "edit/Transforms.h"
#include "edit/UndoList.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

enum class SymmetryMode {
    Off,
    LeftRight,  // mirror across the vertical middle line
    TopBottom,  // mirror across the horizontal middle line
    FourWay,    // both, and so also through the centre
    HalfTurn,   // point symmetry through the centre
    QuarterTurn,  // four images, each the last turned a quarter about the centre; maps are square
    Diagonal,   // mirror across the main diagonal (top-left to bottom-right); maps are square
};

// A place that mirrors a cell, and the transform that takes the cell there.
struct MirrorPlace {
    CellPosition position;
    Transform transform = Transform::FlipHorizontal;

    friend bool operator==(const MirrorPlace &, const MirrorPlace &) = default;
};

// At most three places mirror a cell (four-way and quarter-turn symmetry).
struct MirrorPlaces {
    std::array<MirrorPlace, 3> places{};
    std::size_t count = 0;

    const MirrorPlace *begin() const { return places.data(); }
    const MirrorPlace *end() const { return places.data() + count; }
};

// The places that mirror the cell at position on a map of the side, each once
// and never the cell itself: a cell on a middle line (of an odd side) or on the
// diagonal is its own mirror there, the places of a cell on a middle line
// under four-way symmetry coincide in pairs, and the centre cell of an odd side
// is its own image under the turns.
MirrorPlaces mirrorPlaces(SymmetryMode mode, std::uint32_t side, CellPosition position);

// The cell at a mirror place after an edit changed a cell from before to
// after: each of its layers (terrain, river, road: type, picture and that
// layer's two mirror bits) that the edit wrote takes the edited values, with
// the transform's mirror bits toggled; the layers the edit left alone, and
// mirror bits 6 and 7, stay as target had them.
TerrainCell mirroredCopy(const TerrainCell &before, const TerrainCell &after, const TerrainCell &target,
                         Transform transform);

// A cell an edit changed, and what it held before the edit.
struct CellChange {
    CellPosition position;
    TerrainCell before;

    friend bool operator==(const CellChange &, const CellChange &) = default;
};

// The cells of level changed by the undo records from firstRecord on (the
// records of the open step, when firstRecord is the count at its start), in
// the order they were first changed, each once with what it held before its
// first record. side is the map's side; records outside it are skipped.
std::vector<CellChange> recordedChanges(const UndoList &undoList, std::size_t firstRecord, int level,
                                        std::uint32_t side);

// Where the undo records from firstRecord on wrote cells of level, as the
// bounding rectangle of those in each quarter of a level of the given side
// (left or right of the middle column, above or below the middle row; on an
// odd side the middle line goes with the left and top quarters), quarters
// without one left out. The copies an edit under symmetry makes lie apart, one
// in each quarter, where a single rectangle would hold all that lies between.
std::vector<QRect> changedQuarters(const UndoList &undoList, std::size_t firstRecord, int level, std::uint32_t side);

// Writes the mirrored copy of every changed cell (as it is now) at each of its
// mirror places on the editor's layer, through the editor. A place that is
// itself among the changes is left as the edit left it: a stroke that crosses
// a middle line keeps what was painted on both sides; but where the types
// painted there differ from the copy's (a pasted block that is not symmetric
// across the line), the copy of the earlier change is written, so that a
// symmetric map keeps symmetric types. When two changed cells
// mirror onto the same place, the later in changes wins. Returns the places
// that changed, each once, for the edge rules; nothing happens with mode Off
// or when the editor cannot edit.
std::vector<CellPosition> applySymmetry(CellEditor &editor, SymmetryMode mode, std::span<const CellChange> changes);
