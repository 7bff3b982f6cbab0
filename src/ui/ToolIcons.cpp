// The tools' glyphs, drawn with QPainter on a 24-pixel square.
#include "ui/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int Side = 24;

QPixmap drawGlyph(ToolGlyph glyph)
{
    QPixmap pixmap(Side, Side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPen outline(QColor(30, 30, 30), 1.5);
    painter.setPen(outline);
    switch (glyph) {
    case ToolGlyph::Brush:
        // A square brush head on a handle.
        painter.setBrush(QColor(90, 160, 70));
        painter.drawRect(QRectF(3, 13, 8, 8));
        painter.setBrush(QColor(180, 130, 70));
        painter.drawLine(QPointF(10, 14), QPointF(21, 3));
        break;
    case ToolGlyph::Fill: {
        // A tipped bucket pouring.
        QPainterPath bucket;
        bucket.moveTo(4, 9);
        bucket.lineTo(14, 4);
        bucket.lineTo(18, 14);
        bucket.lineTo(9, 19);
        bucket.closeSubpath();
        painter.setBrush(QColor(200, 200, 210));
        painter.drawPath(bucket);
        painter.setBrush(QColor(60, 120, 220));
        painter.drawEllipse(QRectF(16, 15, 6, 7));
        break;
    }
    case ToolGlyph::Picker:
        // A pipette: a slanted tube with a bulb.
        painter.setBrush(QColor(230, 230, 235));
        painter.drawLine(QPointF(3, 21), QPointF(14, 10));
        painter.setBrush(QColor(200, 60, 60));
        painter.drawEllipse(QRectF(13, 3, 8, 8));
        break;
    case ToolGlyph::SelectSame:
        // A dashed frame around two matching squares.
        painter.setPen(QPen(QColor(30, 30, 30), 1.2, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(2, 2, 20, 20));
        painter.setPen(outline);
        painter.setBrush(QColor(90, 160, 70));
        painter.drawRect(QRectF(5, 5, 6, 6));
        painter.drawRect(QRectF(13, 13, 6, 6));
        break;
    case ToolGlyph::Road:
        // A brown road with a dashed middle line.
        painter.fillRect(QRectF(7, 0, 10, 24), QColor(150, 110, 60));
        painter.setPen(QPen(QColor(250, 235, 180), 1.5, Qt::DashLine));
        painter.drawLine(QPointF(12, 1), QPointF(12, 23));
        break;
    case ToolGlyph::River: {
        // A winding blue stream from the top to the bottom.
        QPainterPath stream(QPointF(8, 1));
        stream.cubicTo(QPointF(22, 8), QPointF(2, 16), QPointF(16, 23));
        painter.setPen(QPen(QColor(40, 110, 220), 4, Qt::SolidLine, Qt::RoundCap));
        painter.drawPath(stream);
        break;
    }
    }
    return pixmap;
}

}  // namespace

QIcon toolIcon(ToolGlyph glyph)
{
    return QIcon(drawGlyph(glyph));
}

QCursor toolCursor(ToolGlyph glyph)
{
    // The brush acts at its head, the bucket at its spill, the pipette at its
    // tip; the others, a road and a river among them, at their middle.
    switch (glyph) {
    case ToolGlyph::Brush: return QCursor(drawGlyph(glyph), 6, 18);
    case ToolGlyph::Fill: return QCursor(drawGlyph(glyph), 19, 20);
    case ToolGlyph::Picker: return QCursor(drawGlyph(glyph), 3, 21);
    case ToolGlyph::SelectSame:
    case ToolGlyph::Road:
    case ToolGlyph::River: break;
    }
    return QCursor(drawGlyph(glyph), Side / 2, Side / 2);
}

ToolLook toolLook(const QString &name, ToolGlyph glyph, Qt::Key key)
{
    return {name, toolIcon(glyph), QKeySequence(key), toolCursor(glyph)};
}
