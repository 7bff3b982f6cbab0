// The open map: its terrain, and every other byte of the file carried through as is.
#pragma once

#include "map/ProgressMeter.h"
#include "map/TerrainLayer.h"

#include <QByteArray>

#include <cstdint>

struct MapDocument {
    // The largest side a map file may have.
    static constexpr std::uint32_t LargestSide = 9000;

    std::uint32_t version = 0;
    QByteArray headerBytes;      // everything in front of the first surface cell
    std::uint32_t mapSize = 0;   // side N, in cells
    bool hasUnderground = false;
    TerrainLayer ground;
    TerrainLayer underground;    // empty unless hasUnderground
    QByteArray trailingBytes;    // everything behind the last cell of the last layer

    bool isLoaded = false;

    int levelCount() const { return hasUnderground ? 2 : 1; }

    TerrainLayer &layer(int level) { return level == 1 ? underground : ground; }
    const TerrainLayer &layer(int level) const { return level == 1 ? underground : ground; }

    // Whether the map has the level: the ground always, the underground when
    // the map has one.
    bool hasLevel(int level) const { return level == 0 || (level == 1 && hasUnderground); }

    // Re-dimensions both layers to the new side, keeping the shared top-left
    // square and zeroing new cells. When the memory cannot be had, nothing
    // changes and the result is false. No more than the old and the new
    // layers are held at once. Progress counts bytes of the new layers.
    bool redimension(std::uint32_t side, const ProgressCallback &progress = {});

    // Re-dimensions as redimension does, one level after the other, each
    // giving back its old rows as they are copied: no more than the larger of
    // the old and the new map is held at once. For a caller that drops the
    // map when it fails (the command-line tool): when the memory cannot be
    // had the result is false and a level may be left re-dimensioned.
    bool redimensionLevelByLevel(std::uint32_t side, const ProgressCallback &progress = {});

    // True when a cell of either level outside the top-left square of the given
    // side is not all zero: re-dimensioning to that side would lose it.
    bool hasCellsOutside(std::uint32_t side) const;
};
