// A loaded one-level map of grass whose pictures vary by position, for the
// editing benchmarks.
#pragma once

#include "map/MapDocument.h"

#include <cstdint>

inline MapDocument grassMap(std::uint32_t side)
{
    MapDocument document;
    document.mapSize = side;
    document.ground = TerrainLayer(side);
    for (std::uint32_t row = 0; row < side; ++row)
        for (std::uint32_t column = 0; column < side; ++column)
            document.ground.at(row, column) = {2, std::uint8_t((row + column) % 79)};
    document.isLoaded = true;
    return document;
}
