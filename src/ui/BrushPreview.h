// The picture of the panel's brush: the terrain, river and road tiles it
// paints, each with the mirror bits it sets, drawn over one another.
#pragma once

#include <QColor>
#include <QImage>

struct BrushSettings;
class TileSprites;

QImage brushPreview(const TileSprites &sprites, const BrushSettings &brush, QColor background);
