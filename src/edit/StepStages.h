// The stages that follow an editing operation inside its step, in this order:
// symmetry copies what the operation wrote to the mirrored places (see
// Symmetry.h), then the rules give pictures to what the operation and its
// copies changed, then the history keeps one record per changed cell
// (EditHistory::compactOpenStep) and the journal takes the closed step.
//
// Each stage sees only what the step recorded: symmetry sees the operation's
// cells, never what the rules did after it, and the rules see the cells whose
// bytes the operation and the copies changed.
#pragma once

#include "edit/CellEditor.h"
#include "edit/CellPosition.h"
#include "edit/Symmetry.h"
#include "map/TerrainLayer.h"
#include "rules/TerrainEdgeRules.h"

#include <cstddef>
#include <span>
#include <utility>
#include <vector>

// The cells whose pictures the rules choose again after changes, by layer.
struct RulesTargets {
    // Cells whose terrain type changed, with their eight neighbours, and
    // cells whose terrain picture or terrain mirror bits were written.
    std::vector<CellPosition> terrain;
    // Per path layer (river, road): cells whose type on that layer changed,
    // with their four side neighbours, and cells whose piece or that layer's
    // mirror bits were written.
    std::array<std::vector<CellPosition>, 2> paths;
};

// What the rules must look at after the changes, on the layer as it is now.
RulesTargets rulesTargets(const TerrainLayer &layer, std::span<const CellChange> changes);

// Applies the rules to the targets through the editor: terrain pictures to
// the terrain targets, river and road pieces to theirs. Types never change.
// Returns the number of cell writes.
std::size_t applyRules(CellEditor &editor, const TerrainEdgeRules &rules, const RulesTargets &targets);

// The rules applied to exactly these cells, for every layer: terrain
// pictures, river and road pieces (the cells an operation knows met new
// neighbours, such as the border of a flipped area).
std::size_t applyRulesAt(CellEditor &editor, const TerrainEdgeRules &rules, std::span<const CellPosition> cells);
// The same on a layer nobody edits (the command-line tool).
std::size_t applyRulesAt(TerrainLayer &layer, const TerrainEdgeRules &rules, std::span<const CellPosition> cells);

// What the stages after an operation do: the symmetry its cells are copied
// under (Off: none), the rules that then give pictures (none: no rules
// stage), and the cells a path tool went over, whose pieces (and their mirror
// images') the rules mend even where the path wrote nothing.
struct StageWork {
    SymmetryMode symmetry = SymmetryMode::Off;
    const TerrainEdgeRules *rules = nullptr;
    std::span<const CellPosition> pathCells;
    PathLayer pathLayer = PathLayer::Road;
};

// Runs the symmetry and rules stages, through the editor, on what the
// records from firstRecord on changed on the editor's level; returns the
// records the stages appended, [first, end).
std::pair<std::size_t, std::size_t> runStages(CellEditor &editor, const UndoList &records, std::size_t firstRecord,
                                              const StageWork &work);
