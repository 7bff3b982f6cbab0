// The brush's picture for the panel.
#include "ui/BrushPreview.h"

#include "edit/BrushSettings.h"
#include "gfx/TileDrawing.h"

#include <optional>

QImage brushPreview(const TileSprites &sprites, const BrushSettings &b, QColor background)
{
    const auto mirrored = [&b](int type, int sprite, int bit) {
        return PreviewTile{type, sprite, b.mirrorApply && b.mirrorBits[bit], b.mirrorApply && b.mirrorBits[bit + 1]};
    };
    std::optional<PreviewTile> terrain, river, road;
    if (b.paintTerrain)
        terrain = mirrored(b.terrainType, b.keepTerrainConfig ? 0 : b.terrainConfig, 0);
    if (b.paintRiver && b.riverType != 0 && b.riverConfig < BrushSettings::RiverConfigCount)
        river = mirrored(b.riverType, b.riverConfig, 2);
    if (b.paintRoad && b.roadType != 0 && b.roadConfig < BrushSettings::RoadConfigCount)
        road = mirrored(b.roadType, b.roadConfig, 4);
    return composeBrushPreview(sprites, terrain, river, road, background);
}
