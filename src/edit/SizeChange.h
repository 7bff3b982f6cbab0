// The sides the map-size list offers, and a change of the map's side as a
// step of the edit history: the old side, the new side, and the cells a
// shrink cuts away.
#pragma once

#include "map/MapDocument.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The sides the map-size list offers, count of them a step apart: 36, 72,
// 108, 144 for a map opened with one of these standard sides, steps of 18 up
// to the largest side for any other. They stay as chosen while the side changes.
struct SizeSteps {
    static constexpr std::uint8_t StandardStep = 36;
    static constexpr std::uint16_t StandardCount = 4;
    static constexpr std::uint8_t OtherStep = 18;
    static constexpr std::uint16_t OtherCount = MapDocument::LargestSide / OtherStep;

    std::uint8_t step = StandardStep;
    std::uint16_t count = StandardCount;

    // The steps for a map opened with the side.
    static SizeSteps forSide(std::uint32_t side);
};

class SizeChange {
public:
    // Re-dimensions the map to the side, keeping what undo needs to bring the
    // old side and its cells back. None, with nothing changed, when the
    // memory cannot be had. Progress counts bytes of the new layers.
    static std::optional<SizeChange> make(MapDocument &document, std::uint32_t side, const ProgressCallback &progress = {});

    std::uint32_t oldSide() const { return m_oldSide; }
    std::uint32_t newSide() const { return m_newSide; }

    // Brings the old side back with every cell the change cut away, or makes
    // the change again; false, with nothing changed, when the memory cannot
    // be had.
    bool undo(MapDocument &document, const ProgressCallback &progress = {}) const;
    bool redo(MapDocument &document, const ProgressCallback &progress = {}) const;

    // Bytes held for the cut cells.
    std::size_t allocatedBytes() const { return m_cutCells.capacity() * sizeof(TerrainCell); }

private:
    SizeChange(std::uint32_t oldSide, std::uint32_t newSide);

    std::uint32_t m_oldSide = 0;
    std::uint32_t m_newSide = 0;
    // What a shrink cut away, level by level, in file order: of each row
    // inside the new side the cells right of it, then the rows below it whole.
    // Kept as plain cells, seven bytes each, as the layers held them: a shrink
    // keeps at most the memory it frees. Empty for a growth, whose new cells
    // are zero, and zero again by the time it is undone.
    std::vector<TerrainCell> m_cutCells;
};
