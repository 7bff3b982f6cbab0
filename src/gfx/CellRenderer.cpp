// Drawing of grid cells, in plain colours or with tile sprites, the rule for
// which cells are drawn, and the picture of a whole level. One drawing routine
// serves a painter (the grid) and direct drawing into an image (pictures of
// whole levels), so both give the same pixels.
#include "gfx/CellRenderer.h"

#include "gfx/ImageCanvas.h"
#include "gfx/NumberGlyphs.h"
#include "gfx/TileDrawing.h"
#include "gfx/TileSprites.h"

#include <QPainter>
#include <QRect>

#include <algorithm>

namespace {

// The two operations cell drawing needs, on a painter.
class PainterCanvas {
public:
    explicit PainterCanvas(QPainter &painter)
        : m_painter(painter)
    {
    }
    void fill(const QRect &rect, QRgb colour) { m_painter.fillRect(rect, QColor::fromRgb(colour)); }
    void draw(QPoint topLeft, const QImage &picture) { m_painter.drawImage(topLeft, picture); }

private:
    QPainter &m_painter;
};

// The feature of a cell that a set of lines shows.
using FeatureField = std::uint8_t TerrainCell::*;

// Which of the four neighbours, in the order left, right, up, down, have any
// non-zero value of the feature.
std::array<bool, 4> neighboursWith(const TerrainLayer &layer, std::uint32_t size, std::uint32_t column,
                                   std::uint32_t row, FeatureField feature)
{
    return {
        column > 0 && layer.at(row, column - 1).*feature != 0,
        column + 1 < size && layer.at(row, column + 1).*feature != 0,
        row > 0 && layer.at(row - 1, column).*feature != 0,
        row + 1 < size && layer.at(row + 1, column).*feature != 0,
    };
}

// Lines of the given width from the anchor towards each neighbour that has
// the feature: a line to the left or up ends on the cell's own first column or
// row, one to the right or down covers as many of the neighbour's first
// columns or rows as it is wide, so lines of neighbours meet.
template <class Canvas>
void drawFeatureLines(Canvas &canvas, const QRect &cell, QRgb colour, QPoint anchor, int width,
                      const std::array<bool, 4> &towards)
{
    const int x = anchor.x();
    const int y = anchor.y();
    if (towards[0])
        canvas.fill(QRect(cell.left(), y, x - cell.left() + width, width), colour);
    if (towards[1])
        canvas.fill(QRect(x, y, cell.left() + cell.width() + width - x, width), colour);
    if (towards[2])
        canvas.fill(QRect(x, cell.top(), width, y - cell.top() + width), colour);
    if (towards[3])
        canvas.fill(QRect(x, y, width, cell.top() + cell.height() + width - y), colour);
}

bool showsNumbers(bool showConfigNumbers, const QRect &cellRect)
{
    return showConfigNumbers && cellRect.width() >= MinNumberCellSize;
}

template <class Canvas>
void drawPlainCell(Canvas &canvas, const QRect &cellRect, const TerrainLayer &layer, std::uint32_t mapSize, int column,
                   int row, bool showConfigNumbers, const QFont &font)
{
    const std::uint32_t size = std::min(mapSize, layer.side());
    if (column < 0 || row < 0 || std::uint32_t(column) >= size || std::uint32_t(row) >= size)
        return;
    const TerrainCell &cell = layer.at(std::uint32_t(row), std::uint32_t(column));

    const QRgb fill = cell.tertype < TerrainColours.size() ? TerrainColours[cell.tertype] : UnknownTerrainColour;
    if (showsNumbers(showConfigNumbers, cellRect))
        // The number lies on the fill colour and is cut off at the cell's edges.
        canvas.draw(cellRect.topLeft(),
                    numberGlyph(cell.terconf, font, fill, cellRect.width(), NumberStyle::OnCellFill).image);
    else
        canvas.fill(cellRect, fill);

    // Anchors: roads low in the cell, rivers at its right, so both can be told
    // apart where a cell has both.
    const int width = std::max(1, cellRect.width() / 32);
    const QPoint low(cellRect.width() * 15 / 32, cellRect.height() * 27 / 32);
    const QPoint right(cellRect.width() * 27 / 32, cellRect.height() * 15 / 32);
    if (cell.roadtype != 0 && cell.roadtype <= RoadLineColours.size())
        drawFeatureLines(canvas, cellRect, RoadLineColours[cell.roadtype - 1u], cellRect.topLeft() + low, width,
                         neighboursWith(layer, size, std::uint32_t(column), std::uint32_t(row), &TerrainCell::roadtype));
    if (cell.rivtype != 0 && cell.rivtype <= RiverLineColours.size())
        drawFeatureLines(canvas, cellRect, RiverLineColours[cell.rivtype - 1u], cellRect.topLeft() + right, width,
                         neighboursWith(layer, size, std::uint32_t(column), std::uint32_t(row), &TerrainCell::rivtype));
}

template <class Canvas>
void drawCell(Canvas &canvas, const QRect &cellRect, const CellRenderContext &context, int column, int row)
{
    if (!cellIsDrawable(context.document, column, row, context.view, context.level))
        return;
    if (!context.sprites) {
        drawPlainCell(canvas, cellRect, context.document.layer(context.level), context.document.mapSize, column, row,
                      context.showConfigNumbers, context.font);
        return;
    }
    // Sprite mode: the tiles over the grid's own background, which shows where
    // a table has no picture for the cell. Terrain pictures have no
    // transparent pixels, so one that covers the cell hides the background.
    const TerrainCell &cell = context.document.layer(context.level).at(std::uint32_t(row), std::uint32_t(column));
    const QRgb background = context.background.rgb();
    const std::array<const QImage *, 3> tiles = spriteCellTiles(cell, *context.sprites, cellRect.width());
    if (!tiles[0] || tiles[0]->width() < cellRect.width() || tiles[0]->height() < cellRect.height())
        canvas.fill(cellRect, background);
    for (const QImage *tile : tiles)
        if (tile)
            canvas.draw(cellRect.topLeft(), *tile);
    if (showsNumbers(context.showConfigNumbers, cellRect)) {
        // On the grid's background colour, over the tiles, not cut at the cell.
        const NumberGlyph &glyph =
            numberGlyph(cell.terconf, context.font, background, cellRect.width(), NumberStyle::OverTiles);
        canvas.draw(cellRect.topLeft() + glyph.offset, glyph.image);
    }
}

}  // namespace

bool cellIsDrawable(const MapDocument &document, int column, int row, const GridView &view, int level)
{
    if (column < 0 || row < 0)
        return false;
    const std::uint32_t size = std::min(document.mapSize, document.layer(level).side());
    if (std::uint32_t(column) >= size || std::uint32_t(row) >= size)
        return false;
    return row >= view.topRow && row <= view.topRow + view.visibleRows
        && column >= view.leftCol && column <= view.leftCol + view.visibleColumns;
}

void renderPlainCell(QPainter &painter, const QRect &cellRect, const TerrainLayer &layer, std::uint32_t mapSize,
                     int column, int row, bool showConfigNumbers, const QFont &font)
{
    PainterCanvas canvas(painter);
    drawPlainCell(canvas, cellRect, layer, mapSize, column, row, showConfigNumbers, font);
}

void RenderCell(QPainter &painter, const QRect &cellRect, const CellRenderContext &context, int column, int row)
{
    PainterCanvas canvas(painter);
    drawCell(canvas, cellRect, context, column, row);
}

QFont gridFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    return font;
}

bool levelPictureFits(std::uint32_t side, int cellSize)
{
    if (cellSize < TileSprites::MinCellSize || cellSize > TileSprites::MaxCellSize)
        return false;
    const qint64 pixelSide = qint64(side) * cellSize;
    return pixelSide <= MaxPictureSide && pixelSide * pixelSide * 4 <= MaxPictureBytes;
}

int largestFittingCellSize(std::uint32_t side)
{
    for (int cellSize = TileSprites::MaxCellSize; cellSize >= TileSprites::MinCellSize; --cellSize)
        if (levelPictureFits(side, cellSize))
            return cellSize;
    return 0;
}

QImage renderMapLevel(const MapDocument &document, int cellSize, bool showConfigNumbers, const TileSprites *sprites,
                      int level)
{
    const int side = int(std::min(document.mapSize, document.layer(level).side()));
    if (side == 0 || !levelPictureFits(std::uint32_t(side), cellSize))
        return {};
    QImage image(side * cellSize, side * cellSize, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.fill(Qt::white);
    ImageCanvas canvas(image);
    const CellRenderContext context{document, GridView{0, 0, side, side}, showConfigNumbers, gridFont(), sprites, Qt::white, level};
    for (int row = 0; row < side; ++row)
        for (int column = 0; column < side; ++column)
            drawCell(canvas, QRect(column * cellSize, row * cellSize, cellSize, cellSize), context, column, row);
    return image;
}
