// A map document as the editor holds an open map, made from layers instead
// of read from a file (it has no header or trailing bytes): for the tests,
// benchmarks and fuzz targets that edit or draw levels.
#pragma once

#include "map/MapDocument.h"

#include <optional>
#include <utility>

inline MapDocument loadedMap(TerrainLayer ground, std::optional<TerrainLayer> underground = std::nullopt)
{
    MapDocument document;
    document.mapSize = ground.side();
    document.ground = std::move(ground);
    if (underground) {
        document.hasUnderground = true;
        document.underground = std::move(*underground);
    }
    document.isLoaded = true;
    return document;
}
