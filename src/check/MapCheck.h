// The map check: every cell of a level compared with what the terrain, river
// and road rules would give it, its paths' ends and joins, and its mirror
// places under a symmetry; for the whole level, or again for the cells around
// an edit.
//
// A cell's problems depend only on the cells within one step of it (eight
// neighbours for terrain, four for paths) and, for the mirror, on its mirror
// places; a mirror problem is listed once for all the places that mirror each
// other, at the first of them in reading order. So a whole check is the same
// whatever order the cells are visited in, and re-checking the cells an edit
// could have affected gives the same list as a whole check after it.
#pragma once

#include "check/Problem.h"
#include "edit/Symmetry.h"
#include "map/TerrainLayer.h"
#include "rules/TerrainEdgeRules.h"

#include <QRect>

#include <cstddef>
#include <span>
#include <vector>

struct CheckSettings {
    const TerrainEdgeRules *rules = nullptr;  // none: only the symmetry is checked
    SymmetryMode symmetry = SymmetryMode::Off;
};

// Appends the problems of the cell at position (inside the layer), in the
// order of their kinds.
void checkCell(const TerrainLayer &layer, const CheckSettings &settings, CellPosition position,
               std::vector<Problem> &problems);

// The problems of every cell of the layer, by row, column and kind; the rows
// are shared among threads (0: as many as the machine has cores).
std::vector<Problem> checkLevel(const TerrainLayer &layer, const CheckSettings &settings, unsigned threads = 0);

// A level's problems, kept up to date as cells change.
class ProblemList {
public:
    const std::vector<Problem> &problems() const { return m_problems; }

    // Checks the whole layer again.
    void checkAll(const TerrainLayer &layer, const CheckSettings &settings);
    // Checks again the cells whose problems a change of the cells in the
    // rectangle (cell numbers) could have changed: those within a step of it
    // and their mirror places. A change too large to pay for cell by cell
    // checks the whole layer.
    void recheck(const TerrainLayer &layer, const CheckSettings &settings, const QRect &changed);
    // The same for changes of the cells at the positions (inside the layer):
    // the cells within a step of each and their mirror places.
    void recheck(const TerrainLayer &layer, const CheckSettings &settings, std::span<const CellPosition> changed);
    void clear() { m_problems.clear(); }

    // Index of the first problem at or after the cell in reading order (the
    // count when none is).
    std::size_t firstAtOrAfter(CellPosition cell) const;

private:
    // Checks the cells again (indices in file order; sorted here), replacing
    // what the list held for them.
    void recheckCells(const TerrainLayer &layer, const CheckSettings &settings, std::vector<std::uint32_t> &cells);

    std::vector<Problem> m_problems;
};
