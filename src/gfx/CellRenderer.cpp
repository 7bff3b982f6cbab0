// Drawing of a grid cell, in plain colours or with tile sprites, and the rule
// for which cells are drawn.
#include "gfx/CellRenderer.h"

#include "gfx/TileDrawing.h"

#include <QPainter>
#include <QRect>

#include <algorithm>

namespace {

// The cell rectangle grown by one pixel on every side; right and bottom are
// exclusive, so they lie two pixels past the cell's last column and row.
struct GrownRect {
    int left;
    int top;
    int right;
    int bottom;
};

GrownRect grown(const QRect &cellRect)
{
    return {cellRect.left() - 1, cellRect.top() - 1, cellRect.left() + cellRect.width() + 1,
            cellRect.top() + cellRect.height() + 1};
}

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

// One-pixel lines from the anchor towards each neighbour that has the feature,
// ending just before the point one pixel outside the cell: a line to the left
// or up ends on the cell's own first column or row, one to the right or down
// on the neighbour's first column or row.
void drawFeatureLines(QPainter &painter, const GrownRect &outer, QRgb colour, QPoint anchor,
                      const std::array<bool, 4> &towards)
{
    const QColor pen = QColor::fromRgb(colour);
    if (towards[0])
        painter.fillRect(QRect(QPoint(outer.left + 1, anchor.y()), anchor), pen);
    if (towards[1])
        painter.fillRect(QRect(anchor, QPoint(outer.right - 1, anchor.y())), pen);
    if (towards[2])
        painter.fillRect(QRect(QPoint(anchor.x(), outer.top + 1), anchor), pen);
    if (towards[3])
        painter.fillRect(QRect(anchor, QPoint(anchor.x(), outer.bottom - 1)), pen);
}

}  // namespace

bool cellIsDrawable(const MapDocument &document, int column, int row, const GridView &view)
{
    if (document.isResizing || column < 0 || row < 0)
        return false;
    const std::uint32_t size = std::min(document.mapSize, document.currentLayer().side());
    if (std::uint32_t(column) >= size || std::uint32_t(row) >= size)
        return false;
    return row >= view.topRow && row <= view.topRow + view.visibleRows
        && column >= view.leftCol && column <= view.leftCol + view.visibleColumns;
}

void renderPlainCell(QPainter &painter, const QRect &cellRect, const TerrainLayer &layer, std::uint32_t mapSize,
                     int column, int row, bool showConfigNumbers, const QFont &font)
{
    const std::uint32_t size = std::min(mapSize, layer.side());
    if (column < 0 || row < 0 || std::uint32_t(column) >= size || std::uint32_t(row) >= size)
        return;
    const TerrainCell &cell = layer.at(std::uint32_t(row), std::uint32_t(column));

    const QRgb fill = cell.tertype < TerrainColours.size() ? TerrainColours[cell.tertype] : UnknownTerrainColour;
    painter.fillRect(cellRect, QColor::fromRgb(fill));

    if (showConfigNumbers) {
        // The text lies on the fill colour and is cut off at the cell's edges.
        painter.setFont(font);
        painter.setPen(QColor::fromRgb(ConfigNumberColour));
        painter.drawText(cellRect, Qt::AlignLeft | Qt::AlignTop, QString::number(cell.terconf));
    }

    // Anchors: roads low in the cell, rivers at its right, so both can be told
    // apart where a cell has both.
    const GrownRect outer = grown(cellRect);
    if (cell.roadtype != 0 && cell.roadtype <= RoadLineColours.size()) {
        const QPoint anchor(outer.right - (outer.right - outer.left) / 2 - 1, outer.bottom - 6);
        drawFeatureLines(painter, outer, RoadLineColours[cell.roadtype - 1u], anchor,
                         neighboursWith(layer, size, std::uint32_t(column), std::uint32_t(row), &TerrainCell::roadtype));
    }
    if (cell.rivtype != 0 && cell.rivtype <= RiverLineColours.size()) {
        const QPoint anchor(outer.right - 6, outer.bottom - (outer.bottom - outer.top) / 2 - 1);
        drawFeatureLines(painter, outer, RiverLineColours[cell.rivtype - 1u], anchor,
                         neighboursWith(layer, size, std::uint32_t(column), std::uint32_t(row), &TerrainCell::rivtype));
    }
}

void renderCell(QPainter &painter, const QRect &cellRect, const CellRenderContext &context, int column, int row)
{
    if (!cellIsDrawable(context.document, column, row, context.view))
        return;
    if (!context.sprites) {
        renderPlainCell(painter, cellRect, context.document.currentLayer(), context.document.mapSize, column, row,
                        context.showConfigNumbers, context.font);
        return;
    }
    // Sprite mode: the tiles over the grid's own background, which shows where
    // a table has no picture for the cell.
    const TerrainCell &cell = context.document.currentLayer().at(std::uint32_t(row), std::uint32_t(column));
    painter.fillRect(cellRect, context.background);
    drawSpriteCell(painter, cellRect.topLeft(), cell, *context.sprites);
    if (context.showConfigNumbers) {
        // On the grid's background colour, over the tiles, not cut at the cell.
        painter.setFont(context.font);
        painter.setPen(QColor::fromRgb(ConfigNumberColour));
        painter.setBackground(context.background);
        painter.setBackgroundMode(Qt::OpaqueMode);
        painter.drawText(QRect(cellRect.topLeft(), QSize(cellRect.width() * 4, cellRect.height())),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, QString::number(cell.terconf));
        painter.setBackgroundMode(Qt::TransparentMode);
    }
}

QFont gridFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    return font;
}

QImage renderMapLevel(const MapDocument &document, bool showConfigNumbers, const TileSprites *sprites)
{
    const int side = int(std::min(document.mapSize, document.currentLayer().side()));
    // QImage holds at most 2^31 bytes; stay well below (a side of 1448 cells).
    constexpr qint64 MaxPixels = qint64(1) << 29;
    const qint64 pixels = qint64(side) * 32 * side * 32;
    if (side == 0 || pixels > MaxPixels)
        return {};
    QImage image(side * 32, side * 32, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    image.fill(Qt::white);
    QPainter painter(&image);
    const CellRenderContext context{document, GridView{0, 0, side, side}, showConfigNumbers, gridFont(), sprites};
    for (int row = 0; row < side; ++row)
        for (int column = 0; column < side; ++column)
            renderCell(painter, QRect(column * 32, row * 32, 32, 32), context, column, row);
    return image;
}
