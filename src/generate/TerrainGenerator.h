// The symmetric terrain generator: a whole level's terrain, rivers and roads
// from a seed and a few options, the same on every machine and with any
// number of threads, and exactly symmetric under the chosen mode.
//
// What a generated level guarantees:
// - terrain, river and road types are the same at every image of a cell under
//   the symmetry mode, so each players' side has the same terrain counts;
// - with rules, every picture and piece is the rules' own (applying them again
//   changes nothing), and every cell of a type with rules has a rule that fits;
// - the water share is within WaterTolerance points of the one asked for;
// - roads (when asked for) join every start zone to every other over land,
//   and every river runs from its source to water or the map's edge.
// Options that cannot be met are refused, and then the level is not touched.
#pragma once

#include "edit/CellPosition.h"
#include "generate/GenerateOptions.h"
#include "map/ProgressMeter.h"
#include "map/TerrainLayer.h"
#include "rules/TerrainEdgeRules.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

// Where the players start: one zone for each side, the images of the first.
struct GeneratePlan {
    std::vector<CellPosition> zones;  // the middles of the start zones, the first zone's images in turn
    CellPosition centre;              // the map's middle cell (of the four middle ones, the top-left)
    std::uint32_t zoneRadius = 0;     // cells of a zone: within this distance of its middle (squared distance <= radius²)
};

GeneratePlan generatePlan(const GenerateOptions &options, std::uint32_t side);

// Progress and cancelling for long work; both may be left empty.
struct GenerateControl {
    ProgressCallback progress;           // told done and total in steps of the work
    std::function<bool()> cancelled;     // asked between steps; true stops the work
};

struct GenerateResult {
    std::optional<GenerateRefusal> refusal;
    bool cancelled = false;
    std::size_t waterCells = 0;  // of the finished level

    bool ok() const { return !refusal && !cancelled; }
};

// Generates the level into layer: every cell's seven bytes are replaced (bits 6
// and 7 of the mirror byte are kept). With rules, the terrain pictures and the
// river and road pieces are the rules' own; without, every picture is 0. The
// layer is written only at the end, all at once: refused or cancelled, it is as
// it was. Uses every core for a large level; the result does not depend on
// how many there are.
GenerateResult generateTerrain(TerrainLayer &layer, const GenerateOptions &options, const TerrainEdgeRules *rules,
                               const GenerateControl &control = {});
