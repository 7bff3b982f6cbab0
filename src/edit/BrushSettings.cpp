// Reading the brush selectors into BrushSettings.
#include "edit/BrushSettings.h"

#include "map/TerrainCell.h"

namespace {

// The index when the list has it, else the list's "not change" item (its last).
int indexOrNotChange(int index, int notChangeIndex)
{
    return index >= 0 && index <= notChangeIndex ? index : notChangeIndex;
}

}  // namespace

BrushSettings BrushSettings::fromSelectors(const BrushSelectors &selectors, const BrushSettings &previous)
{
    BrushSettings settings = previous;

    settings.terrainType = std::uint8_t(indexOrNotChange(selectors.CBtertype, BrushSelectors::TerrainNotChange));
    settings.paintTerrain = settings.terrainType != BrushSelectors::TerrainNotChange;
    const int highestConfig = maxTerrainSprite[settings.terrainType];
    settings.terrainConfig = std::uint8_t(indexOrNotChange(selectors.CBterconf, highestConfig + 1));
    settings.keepTerrainConfig = settings.terrainConfig > highestConfig;

    const int river = indexOrNotChange(selectors.CBrivtype, BrushSelectors::RiverNotChange);
    settings.riverType = std::uint8_t((river + 1) / 2);
    settings.paintRiver = river != BrushSelectors::RiverNotChange;
    settings.riverOnlyExisting = river % 2 == 1;
    settings.riverConfig = std::uint8_t(indexOrNotChange(selectors.CBrivconf, BrushSelectors::RiverConfigNotChange));

    const int road = indexOrNotChange(selectors.CBroadtype, BrushSelectors::RoadNotChange);
    settings.roadType = std::uint8_t((road + 1) / 2);
    settings.paintRoad = road != BrushSelectors::RoadNotChange;
    settings.roadOnlyExisting = road % 2 == 1;
    settings.roadConfig = std::uint8_t(indexOrNotChange(selectors.CBroadconf, BrushSelectors::RoadConfigNotChange));

    settings.mirrorBits = selectors.LBmirror;
    const int mirrorMode = indexOrNotChange(selectors.CBmirror, BrushSelectors::MirrorModeNotChange);
    settings.mirrorApply = mirrorMode != BrushSelectors::MirrorModeNotChange;
    settings.mirrorSetOnly = mirrorMode == BrushSelectors::MirrorModeSetMarked;

    settings.fillX = selectors.CBbrushx == BrushSelectors::BrushFill;
    if (selectors.CBbrushx >= 0 && selectors.CBbrushx < BrushSelectors::BrushFill)
        settings.brushWidth = std::uint8_t(selectors.CBbrushx + 1);
    settings.fillY = selectors.CBbrushy == BrushSelectors::BrushFill;
    if (selectors.CBbrushy >= 0 && selectors.CBbrushy < BrushSelectors::BrushFill)
        settings.brushHeight = std::uint8_t(selectors.CBbrushy + 1);
    return settings;
}
