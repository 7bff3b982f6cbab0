// Drawing the contact sheet of a sprite file.
#include "cli/ContactSheet.h"

#include <QFont>
#include <QList>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int Columns = 10;
constexpr int Gap = 6;           // pixels between boxes and around the sheet
constexpr int LabelHeight = 16;  // room for the number under each picture
constexpr int LargestSheetSide = 16384;

}  // namespace

QImage drawContactSheet(const TQvDefWrapper &def)
{
    QList<QImage> frames;
    int width = 1;
    int height = 1;
    for (qint32 k = 0; k < def.frameCount(); ++k) {
        QImage frame;
        def.ExtractFrame(k, frame);
        width = std::max(width, frame.width());
        height = std::max(height, frame.height());
        frames.append(frame);
    }
    const int scale = std::max(width, height) <= 64 ? 2 : 1;
    const int boxWidth = std::max(width * scale, 3 * LabelHeight);
    const int boxHeight = height * scale + LabelHeight;
    const int rows = std::max<int>(1, int((frames.size() + Columns - 1) / Columns));
    const int columns = std::clamp<int>(int(frames.size()), 1, Columns);
    const qint64 sheetWidth = qint64(columns) * (boxWidth + Gap) + Gap;
    const qint64 sheetHeight = qint64(rows) * (boxHeight + Gap) + Gap;
    if (sheetWidth > LargestSheetSide || sheetHeight > LargestSheetSide)
        return {};

    QImage sheet(int(sheetWidth), int(sheetHeight), QImage::Format_RGB32);
    if (sheet.isNull())
        return {};
    sheet.fill(QColor(48, 48, 48));
    QPainter painter(&sheet);
    QFont font = painter.font();
    font.setPixelSize(LabelHeight - 4);
    painter.setFont(font);
    painter.setPen(Qt::white);
    for (qsizetype k = 0; k < frames.size(); ++k) {
        const int left = Gap + int(k % Columns) * (boxWidth + Gap);
        const int top = Gap + int(k / Columns) * (boxHeight + Gap);
        const QImage &frame = frames[k];
        const QRect target(left + (boxWidth - frame.width() * scale) / 2, top, frame.width() * scale, frame.height() * scale);
        painter.drawImage(target, frame.convertToFormat(QImage::Format_RGB32));
        painter.drawText(QRect(left, top + height * scale, boxWidth, LabelHeight), Qt::AlignCenter, QString::number(k));
    }
    return sheet;
}
