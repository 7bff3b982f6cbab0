// Drawing of tile pictures.
#include "gfx/TileDrawing.h"

#include "gfx/BitmapHelpers.h"
#include "gfx/TileSprites.h"
#include "map/TerrainCell.h"

#include <QPainter>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr int TileSide = 32;

void drawLayer(QPainter &painter, QPoint topLeft, const QImage *tile)
{
    if (tile)
        painter.drawImage(topLeft, *tile);
}

}  // namespace

void MirrorTile(QImage &bitmap, bool leftToRight, bool upsideDown)
{
    const int width = std::min(bitmap.width(), TileSide);
    const int height = std::min(bitmap.height(), TileSide);
    if (width == 0 || height == 0 || (!leftToRight && !upsideDown))
        return;
    const int bytesPerPixel = BytesPerPixel(bitmap);
    if (upsideDown) {
        const size_t rowBytes = size_t(width) * bytesPerPixel;
        for (int y = 0; y < height / 2; ++y)
            std::swap_ranges(bitmap.scanLine(y), bitmap.scanLine(y) + rowBytes, bitmap.scanLine(height - 1 - y));
    }
    if (leftToRight) {
        for (int y = 0; y < height; ++y) {
            uchar *row = bitmap.scanLine(y);
            for (int x = 0; x < width / 2; ++x)
                std::swap_ranges(row + x * bytesPerPixel, row + (x + 1) * bytesPerPixel,
                                 row + (width - 1 - x) * bytesPerPixel);
        }
    }
}

void MakeTileTransparent(QImage &bitmap)
{
    if (bitmap.format() == QImage::Format_Indexed8) {
        QList<QRgb> palette = bitmap.colorTable();
        for (QRgb &colour : palette)
            if (colour == TileTransparentColour)
                colour = qRgba(0, 0, 0, 0);
        bitmap.setColorTable(palette);
        return;
    }
    bitmap = bitmap.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < bitmap.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(bitmap.scanLine(y));
        std::replace(row, row + bitmap.width(), TileTransparentColour, qRgba(0, 0, 0, 0));
    }
}

std::array<const QImage *, 3> spriteCellTiles(const TerrainCell &cell, const TileSprites &sprites, int cellSize)
{
    return {
        sprites.prepared(TileKind::Terrain, cell.tertype, cell.terconf, cell.mirror & MirrorBit::TerrainLeftRight,
                         cell.mirror & MirrorBit::TerrainUpsideDown, cellSize),
        cell.rivtype == 0 ? nullptr
                          : sprites.prepared(TileKind::River, cell.rivtype, cell.rivconf,
                                             cell.mirror & MirrorBit::RiverLeftRight,
                                             cell.mirror & MirrorBit::RiverUpsideDown, cellSize),
        cell.roadtype == 0 ? nullptr
                           : sprites.prepared(TileKind::Road, cell.roadtype, cell.roadconf,
                                              cell.mirror & MirrorBit::RoadLeftRight,
                                              cell.mirror & MirrorBit::RoadUpsideDown, cellSize),
    };
}

void drawSpriteCell(QPainter &painter, QPoint topLeft, const TerrainCell &cell, const TileSprites &sprites,
                    int cellSize)
{
    for (const QImage *tile : spriteCellTiles(cell, sprites, cellSize))
        drawLayer(painter, topLeft, tile);
}

QImage composeBrushPreview(const TileSprites &sprites, const std::optional<PreviewTile> &terrain,
                           const std::optional<PreviewTile> &river, const std::optional<PreviewTile> &road,
                           const QColor &background)
{
    QImage preview(TileSide, TileSide, QImage::Format_ARGB32_Premultiplied);
    preview.fill(background);
    QPainter painter(&preview);
    const std::pair<TileKind, const std::optional<PreviewTile> *> layers[] = {
        {TileKind::Terrain, &terrain}, {TileKind::River, &river}, {TileKind::Road, &road}};
    for (const auto &[kind, tile] : layers)
        if (*tile)
            drawLayer(painter, QPoint(0, 0),
                      sprites.prepared(kind, (*tile)->type, (*tile)->sprite, (*tile)->leftToRight, (*tile)->upsideDown));
    return preview;
}
