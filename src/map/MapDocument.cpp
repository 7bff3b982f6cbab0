// Level choice and re-dimensioning of the open map.
#include "map/MapDocument.h"

#include <new>
#include <utility>

bool MapDocument::redimension(std::uint32_t side, const ProgressCallback &progress)
{
    // A side no layer can take fails below; it must not overflow the total first.
    const qint64 layerBytes = side > TerrainLayer::MaxSide ? 0 : qint64(side) * side * qint64(sizeof(TerrainCell));
    ProgressMeter meter(progress, layerBytes * levelCount());
    qint64 built = 0;
    const auto rowDone = [&](qint64 bytes) { meter.reach(built += bytes); };
    // Both new layers are built before either replaces its old one, so a
    // failure part-way leaves the map as it was.
    try {
        TerrainLayer newGround = ground.resized(side, rowDone);
        TerrainLayer newUnderground = hasUnderground ? underground.resized(side, rowDone) : TerrainLayer();
        ground = std::move(newGround);
        underground = std::move(newUnderground);
    } catch (const std::bad_alloc &) {
        return false;
    }
    mapSize = side;
    meter.finish();
    return true;
}

bool MapDocument::redimensionLevelByLevel(std::uint32_t side, const ProgressCallback &progress)
{
    const qint64 layerBytes = side > TerrainLayer::MaxSide ? 0 : qint64(side) * side * qint64(sizeof(TerrainCell));
    ProgressMeter meter(progress, layerBytes * levelCount());
    qint64 built = 0;
    const auto rowDone = [&](qint64 bytes) { meter.reach(built += bytes); };
    try {
        ground.resize(side, rowDone);
        if (hasUnderground)
            underground.resize(side, rowDone);
    } catch (const std::bad_alloc &) {
        return false;
    }
    mapSize = side;
    meter.finish();
    return true;
}

bool MapDocument::hasCellsOutside(std::uint32_t side) const
{
    const TerrainCell empty{};
    for (int level = 0; level < levelCount(); ++level) {
        const TerrainLayer &cells = layer(level);
        for (std::uint32_t row = 0; row < cells.side(); ++row) {
            // Rows inside the square are checked only right of it.
            const std::uint32_t first = row < side ? side : 0;
            for (std::uint32_t column = first; column < cells.side(); ++column)
                if (!(cells.at(row, column) == empty))
                    return true;
        }
    }
    return false;
}
