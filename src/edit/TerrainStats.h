// How much of a level each terrain, river and road type covers, and the plain
// English names the command-line tool prints for the types.
#pragma once

#include "map/TerrainLayer.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// The name of a terrain type 0..9, river type 0..4 or road type 0..3 ("none"
// for river and road type 0); empty for any other byte a map may hold.
QString terrainTypeName(std::uint8_t tertype);
QString riverTypeName(std::uint8_t rivtype);
QString roadTypeName(std::uint8_t roadtype);

class TerrainStats {
public:
    // One line of the statistics: a type byte, its name (empty for a byte the
    // game does not know), how many cells hold it and their share in percent.
    struct Line {
        std::uint8_t type = 0;
        QString name;
        std::uint64_t count = 0;
        double percent = 0;

        friend bool operator==(const Line &, const Line &) = default;
    };

    // Counts every cell of the layer: one pass, three tallies per cell.
    static TerrainStats of(const TerrainLayer &layer);

    std::uint64_t cellCount() const { return m_cellCount; }

    // Cells by terrain type, river type and road type: every type the game
    // knows, also those with no cell, then every other byte the layer holds,
    // in the order of their values.
    std::vector<Line> terrainLines() const;
    std::vector<Line> riverLines() const;
    std::vector<Line> roadLines() const;

private:
    using Tally = std::array<std::uint64_t, 256>;  // cells by byte value

    std::vector<Line> lines(const Tally &tally, int knownTypes, QString (*name)(std::uint8_t)) const;

    std::uint64_t m_cellCount = 0;
    Tally m_terrain{};
    Tally m_river{};
    Tally m_road{};
};
