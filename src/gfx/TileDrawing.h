// Drawing of tile pictures: mirroring and colour-keyed transparency of one
// tile, the sprite-mode drawing of a map cell, and the brush preview.
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRgb>

#include <array>
#include <optional>

class QPainter;
class TileSprites;
struct TerrainCell;

// River and road pictures leave out every pixel of exactly this colour.
inline constexpr QRgb TileTransparentColour = 0xFF00FFFF;  // red 0, green 255, blue 255

// Mirrors the top-left 32 x 32 pixels of the bitmap in place (fewer on a
// smaller bitmap): left to right maps column x to 31 - x, upside down row y to
// 31 - y; both turn the tile by 180 degrees.
void MirrorTile(QImage &bitmap, bool leftToRight, bool upsideDown);

// Makes every pure cyan pixel of the bitmap fully transparent. An 8-bit bitmap
// keeps its pixels and gets a transparent palette entry for each cyan one.
void MakeTileTransparent(QImage &bitmap);

// The tiles of a cell in sprite mode at a cell size, in drawing order: the
// terrain tile (mirrored by bits 0 and 1), the river tile when rivtype is not
// 0 (bits 2 and 3) and the road tile when roadtype is not 0 (bits 4 and 5).
// A layer whose value lies outside the tables or whose slot is empty has none.
std::array<const QImage *, 3> spriteCellTiles(const TerrainCell &cell, const TileSprites &sprites, int cellSize);

// Draws a cell's tiles (spriteCellTiles) with their top-left corners at topLeft.
void drawSpriteCell(QPainter &painter, QPoint topLeft, const TerrainCell &cell, const TileSprites &sprites,
                    int cellSize = 32);

// A tile of the brush preview: the cell value (tertype, rivtype or roadtype),
// the sprite number and the mirror flags.
struct PreviewTile {
    int type = 0;
    int sprite = 0;
    bool leftToRight = false;
    bool upsideDown = false;
};

// The 32 x 32 preview of a brush tile: the background colour, the terrain tile
// over it, then river and road tiles with cyan left out. A layer that is not
// given, or whose slot is empty, adds nothing.
QImage composeBrushPreview(const TileSprites &sprites, const std::optional<PreviewTile> &terrain,
                           const std::optional<PreviewTile> &river, const std::optional<PreviewTile> &road,
                           const QColor &background);
