// Refilling the terrain configuration list when the terrain type changes.
#include "edit/BrushSelectors.h"

#include "map/TerrainCell.h"

#include <algorithm>

TerrainConfigList terrainConfigListFor(int terrainTypeIndex, std::uint8_t previousConfig)
{
    const int type = terrainTypeIndex >= 0 && terrainTypeIndex <= BrushSelectors::TerrainNotChange
        ? terrainTypeIndex : BrushSelectors::TerrainNotChange;
    const int highest = maxTerrainSprite[type];
    // A previous "n/c" index becomes a plain number when the new list reaches it.
    return {highest + 2, previousConfig <= highest ? previousConfig : 0};
}

BrushSelectors selectorsForCell(const TerrainCell &cell, const BrushSelectors &current)
{
    BrushSelectors selectors = current;
    const bool knownTerrain = cell.tertype < BrushSelectors::TerrainNotChange;
    selectors.CBtertype = knownTerrain ? cell.tertype : BrushSelectors::TerrainNotChange;
    // The type's picture list, whose last item is "not change".
    selectors.CBterconf = knownTerrain && cell.terconf <= maxTerrainSprite[cell.tertype]
        ? cell.terconf : maxTerrainSprite[selectors.CBtertype] + 1;
    // Type t is item 2t of the river and road lists ("Any>" items lie between).
    selectors.CBrivtype = 2 * cell.rivtype < BrushSelectors::RiverNotChange ? 2 * cell.rivtype
                                                                           : BrushSelectors::RiverNotChange;
    selectors.CBrivconf = std::min<int>(cell.rivconf, BrushSelectors::RiverConfigNotChange);
    selectors.CBroadtype = 2 * cell.roadtype < BrushSelectors::RoadNotChange ? 2 * cell.roadtype
                                                                            : BrushSelectors::RoadNotChange;
    selectors.CBroadconf = std::min<int>(cell.roadconf, BrushSelectors::RoadConfigNotChange);
    for (int bit = 0; bit < int(selectors.LBmirror.size()); ++bit)
        selectors.LBmirror[bit] = (cell.mirror >> bit) & 1;
    selectors.CBmirror = BrushSelectors::MirrorModeSet;
    return selectors;
}
