// Refilling the terrain configuration list when the terrain type changes.
#include "edit/BrushSelectors.h"

#include "map/TerrainCell.h"

TerrainConfigList terrainConfigListFor(int terrainTypeIndex, std::uint8_t previousConfig)
{
    const int type = terrainTypeIndex >= 0 && terrainTypeIndex <= BrushSelectors::TerrainNotChange
        ? terrainTypeIndex : BrushSelectors::TerrainNotChange;
    const int highest = maxTerrainSprite[type];
    // A previous "n/c" index becomes a plain number when the new list reaches it.
    return {highest + 2, previousConfig <= highest ? previousConfig : 0};
}
