// Tests of tile drawing: mirroring, transparency, sprite-mode cells against a
// plain per-cell reference, and the brush preview.
#include "gfx/TileDrawing.h"

#include "SpriteFixtures.h"
#include "gfx/TileSprites.h"
#include "map/TerrainCell.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

QImage numberedTile(int width, int height)
{
    QImage image(width, height, QImage::Format_Indexed8);
    QList<QRgb> palette(256);
    for (int i = 0; i < 256; ++i)
        palette[i] = qRgb(i, 0, 0);
    image.setColorTable(palette);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, uint((x + 7 * y) % 256));
    return image;
}

TEST(MirrorTile, MapsColumnsAndRowsAcrossTheTile)
{
    const QImage original = numberedTile(32, 32);
    for (const bool leftToRight : {false, true})
        for (const bool upsideDown : {false, true}) {
            QImage tile = original.copy();
            MirrorTile(tile, leftToRight, upsideDown);
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    ASSERT_EQ(tile.pixelIndex(x, y),
                              original.pixelIndex(leftToRight ? 31 - x : x, upsideDown ? 31 - y : y))
                        << leftToRight << upsideDown << " at " << x << "," << y;
        }
}

TEST(MirrorTile, BothFlagsTurnByHalfATurnAndOnlyTheTopLeftTileMoves)
{
    const QImage original = numberedTile(40, 36);
    QImage tile = original.copy();
    MirrorTile(tile, true, true);
    QTransform halfTurn;
    halfTurn.rotate(180);
    EXPECT_EQ(tile.copy(0, 0, 32, 32), original.copy(0, 0, 32, 32).transformed(halfTurn));
    EXPECT_EQ(tile.copy(32, 0, 8, 36), original.copy(32, 0, 8, 36));
    EXPECT_EQ(tile.copy(0, 32, 40, 4), original.copy(0, 32, 40, 4));
}

TEST(MakeTileTransparent, LeavesOutExactlyPureCyan)
{
    QImage indexed(3, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(0, 255, 255), qRgb(0, 255, 254), qRgb(1, 255, 255)});
    for (int x = 0; x < 3; ++x)
        indexed.setPixel(x, 0, uint(x));
    QImage rgb = indexed.convertToFormat(QImage::Format_RGB32);
    for (QImage *tile : {&indexed, &rgb}) {
        MakeTileTransparent(*tile);
        QImage canvas(3, 1, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::red);
        QPainter(&canvas).drawImage(0, 0, *tile);
        EXPECT_EQ(canvas.pixel(0, 0), qRgb(255, 0, 0));
        EXPECT_EQ(canvas.pixel(1, 0), qRgb(0, 255, 254));
        EXPECT_EQ(canvas.pixel(2, 0), qRgb(1, 255, 255));
    }
}

// Tables filled from the fixture files: every row full except terrain row 5,
// which is left empty.
const TileSprites &fixtureSprites()
{
    static const TileSprites sprites = [] {
        TileSprites filled;
        for (const TileSpriteName &name : TileSpriteNames)
            if (!(name.kind == TileKind::Terrain && name.index == 5))
                filled.CopyDefFrames(fixtureSpriteFile(name), name.kind, name.index);
        return filled;
    }();
    return sprites;
}

// A cell the way the per-cell routine draws it: copy the table's picture,
// make it transparent (river, road), mirror the copy, draw it.
void drawReferenceCell(QPainter &painter, QPoint topLeft, const TerrainCell &cell, const TileSprites &sprites)
{
    const auto layer = [&](const QImage &picture, bool transparent, bool leftToRight, bool upsideDown) {
        QImage work = picture.copy();
        if (work.isNull())
            return;
        if (transparent)
            MakeTileTransparent(work);
        MirrorTile(work, leftToRight, upsideDown);
        painter.drawImage(topLeft, work);
    };
    layer(sprites.TerrainSprites(cell.tertype, cell.terconf), false, cell.mirror & 1, cell.mirror & 2);
    if (cell.rivtype != 0)
        layer(sprites.RiverSprites(cell.rivtype - 1, cell.rivconf), true, cell.mirror & 4, cell.mirror & 8);
    if (cell.roadtype != 0)
        layer(sprites.RoadSprites(cell.roadtype - 1, cell.roadconf), true, cell.mirror & 16, cell.mirror & 32);
}

TEST(DrawSpriteCell, MatchesThePerCellCopyMirrorAndTransparentDrawing)
{
    const TileSprites &sprites = fixtureSprites();
    // Every mirror byte, with values inside the tables, at their ends, outside
    // them and on the empty row.
    std::vector<TerrainCell> cells;
    for (int mirror = 0; mirror < 256; ++mirror) {
        const auto m = std::uint8_t(mirror);
        cells.push_back({std::uint8_t(mirror % 10), std::uint8_t(mirror % 79), std::uint8_t(mirror % 5),
                         std::uint8_t(mirror % 13), std::uint8_t(mirror % 4), std::uint8_t(mirror % 17), m});
    }
    const TerrainCell edges[] = {{9, 78, 4, 12, 3, 16, 0x3F}, {10, 0, 5, 0, 4, 0, 0},  {0, 79, 1, 13, 1, 17, 0},
                                 {5, 3, 2, 4, 2, 5, 0x15},    {255, 255, 255, 255, 255, 255, 255}};
    cells.insert(cells.end(), std::begin(edges), std::end(edges));

    const int columns = 16;
    const int rows = int(cells.size() + columns - 1) / columns;
    QImage drawn(columns * 32, rows * 32, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::magenta);
    QImage reference = drawn.copy();
    {
        QPainter painter(&drawn);
        QPainter referencePainter(&reference);
        for (size_t i = 0; i < cells.size(); ++i) {
            const QPoint topLeft(int(i % columns) * 32, int(i / columns) * 32);
            drawSpriteCell(painter, topLeft, cells[i], sprites);
            drawReferenceCell(referencePainter, topLeft, cells[i], sprites);
        }
    }
    EXPECT_EQ(drawn, reference);
}

TEST(DrawSpriteCell, TerrainShowsWhereTheRiverIsCyan)
{
    const TileSprites &sprites = fixtureSprites();
    QImage canvas(32, 32, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&canvas);
        drawSpriteCell(painter, QPoint(0, 0), TerrainCell{2, 0, 1, 0, 0, 0, 0}, sprites);
    }
    // River frame 0 is cyan at (0, 0) and river-coloured at (1, 0).
    EXPECT_EQ(canvas.pixel(0, 0), sprites.TerrainSprites(2, 0).pixel(0, 0));
    EXPECT_EQ(canvas.pixel(1, 0), sprites.RiverSprites(0, 0).pixel(1, 0));
}

TEST(DrawSpriteCell, LeavesTheTablesUnchanged)
{
    const TileSprites &sprites = fixtureSprites();
    const QImage terrainBefore = sprites.TerrainSprites(1, 1).copy();
    const QImage riverBefore = sprites.RiverSprites(0, 1).copy();
    QImage canvas(32, 32, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&canvas);
    drawSpriteCell(painter, QPoint(0, 0), TerrainCell{1, 1, 1, 1, 0, 0, 0x0F}, sprites);
    EXPECT_EQ(sprites.TerrainSprites(1, 1), terrainBefore);
    EXPECT_EQ(sprites.RiverSprites(0, 1), riverBefore);
}

TEST(ComposeBrushPreview, LayersTilesOverTheBackground)
{
    const TileSprites &sprites = fixtureSprites();
    const QColor face(240, 240, 240);
    const QImage empty = composeBrushPreview(sprites, std::nullopt, std::nullopt, std::nullopt, face);
    ASSERT_EQ(empty.size(), QSize(32, 32));
    EXPECT_EQ(empty.pixel(0, 0), face.rgb());
    EXPECT_EQ(empty.pixel(31, 31), face.rgb());

    const QImage preview = composeBrushPreview(sprites, PreviewTile{3, 40, true, false}, PreviewTile{2, 7, false, true},
                                               PreviewTile{1, 16, true, true}, face);
    QImage reference(32, 32, QImage::Format_ARGB32_Premultiplied);
    reference.fill(face);
    {
        QPainter painter(&reference);
        drawReferenceCell(painter, QPoint(0, 0), TerrainCell{3, 40, 2, 7, 1, 16, 0x01 | 0x08 | 0x30}, sprites);
    }
    EXPECT_EQ(preview, reference);

    // A river alone shows the background through its cyan pixels.
    const QImage riverOnly = composeBrushPreview(sprites, std::nullopt, PreviewTile{1, 0}, std::nullopt, face);
    EXPECT_EQ(riverOnly.pixel(0, 0), face.rgb());
    EXPECT_NE(riverOnly.pixel(1, 0), face.rgb());
}

}  // namespace
