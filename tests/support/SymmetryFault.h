// Whether a level's types are symmetric under a mode, for the tests of
// whatever must keep or make them so.
#pragma once

#include "edit/Symmetry.h"
#include "map/TerrainLayer.h"

#include <QString>

// Terrain, river and road types are the same at every place the editor's own
// symmetry mapping mirrors a cell to.
inline QString symmetryFault(const TerrainLayer &layer, SymmetryMode mode)
{
    const std::uint32_t side = layer.side();
    for (std::uint32_t row = 0; row < side; ++row)
        for (std::uint32_t column = 0; column < side; ++column) {
            const TerrainCell &cell = layer.at(row, column);
            for (const MirrorPlace &place : mirrorPlaces(mode, side, {std::uint16_t(column), std::uint16_t(row)})) {
                const TerrainCell &image = layer.at(place.position.row, place.position.column);
                if (image.tertype != cell.tertype || image.rivtype != cell.rivtype || image.roadtype != cell.roadtype)
                    return QStringLiteral("cell %1,%2 and its image %3,%4 differ")
                        .arg(column)
                        .arg(row)
                        .arg(place.position.column)
                        .arg(place.position.row);
        }
        }
    return {};
}
