// The kinds of edit step and what each asks of the step's closing stages: the
// long work it is shown as (progress and the busy pointer), whether symmetry
// copies it, and when the rules give its cells their pictures. A new tool adds
// a kind here, not a flag to the session.
#pragma once

#include "rules/PathRules.h"
#include "edit/Transforms.h"

// Work that can take long enough to show: the window gives each its pointer
// and progress.
enum class EditWork {
    None,    // a gesture's part, quick: nothing shown
    Open,
    Save,
    Resize,
    Fill,    // a fill of unknown extent: progress as it goes
    Edit,    // a whole-level command, an undo or redo: the busy pointer
};

enum class StepKind {
    Stroke,         // the brush along a drag
    Fill,           // the brush's fill from one cell
    Paste,
    FillSelection,  // the brush into the selected cells
    ReplaceFill,    // fill any terrain: the terrain alone
    Path,           // a river or road along a drag, or taken off
    FixEdges,       // the terrain rules over the whole level
    FixPaths,       // the river and road rules over the whole level
    Transform,      // a flip or turn of the level or of a rectangle
    MirrorHalf,
    Replay,         // a step read back from the journal
    Generate,       // terrain made for the whole level
};

// What a closed step was, for naming it in the history: its kind, and for
// the kinds that hold several commands, which one.
struct StepLabel {
    StepKind kind = StepKind::Stroke;
    PathLayer pathLayer = PathLayer::Road;         // Path
    bool pathTakenOff = false;                     // Path: it only took the path off
    Transform transform = Transform::FlipHorizontal;  // Transform
    LevelHalf half = LevelHalf::Left;              // MirrorHalf
};

// When the rules choose the pictures of a step's cells, after its operation
// and symmetry.
enum class RulesUse {
    Never,          // the operation chose every picture it wanted itself
    WithEdgeBrush,  // while the edge brush is on
    Always,         // whenever rules are loaded (the operation writes types)
};

struct StepTraits {
    EditWork work = EditWork::None;
    bool mirrored = false;  // symmetry copies what the operation wrote
    RulesUse rules = RulesUse::Never;
    // The stages run after each operation of the step, so a drag shows their
    // work as it goes (a path's pieces), rather than once as the step closes.
    bool live = false;
};

constexpr StepTraits stepTraits(StepKind kind)
{
    switch (kind) {
    case StepKind::Stroke: return {EditWork::None, true, RulesUse::WithEdgeBrush};
    case StepKind::Fill: return {EditWork::Fill, true, RulesUse::WithEdgeBrush};
    case StepKind::Paste: return {EditWork::Edit, true, RulesUse::WithEdgeBrush};
    case StepKind::FillSelection: return {EditWork::Fill, true, RulesUse::WithEdgeBrush};
    case StepKind::ReplaceFill: return {EditWork::Fill, true, RulesUse::Always};
    case StepKind::Path: return {EditWork::None, true, RulesUse::Always, true};
    // Whole-level commands and transforms move or re-picture cells by rules
    // of their own; mirroring them would undo what they did.
    case StepKind::FixEdges:
    case StepKind::FixPaths:
    case StepKind::Transform:
    case StepKind::MirrorHalf: return {EditWork::Edit, false, RulesUse::Never};
    case StepKind::Replay: return {EditWork::None, false, RulesUse::Never};
    case StepKind::Generate: return {EditWork::Fill, false, RulesUse::Never};
    }
    return {};
}
