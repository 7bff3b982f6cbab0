// Building the information label's text.
#include "edit/CellInformation.h"

#include <QStringList>

QString cellInformationText(const QRect &selection, int column, int row, const TerrainCell &cell)
{
    QString mirror;
    for (int bit = 5; bit >= 0; --bit)
        mirror += (cell.mirror >> bit) & 1 ? u'1' : u'0';
    const QStringList lines = {
        QStringLiteral("X1/Y1 %1/%2").arg(selection.left()).arg(selection.top()),
        QStringLiteral("X2/Y2 %1/%2").arg(selection.right()).arg(selection.bottom()),
        QStringLiteral("x - column %1").arg(column),
        QStringLiteral("y - row %1").arg(row),
        QStringLiteral("tertype %1").arg(int(cell.tertype)),
        QStringLiteral("terconf %1").arg(int(cell.terconf)),
        QStringLiteral("rivtype %1").arg(int(cell.rivtype)),
        QStringLiteral("rivconf %1").arg(int(cell.rivconf)),
        QStringLiteral("roadtype %1").arg(int(cell.roadtype)),
        QStringLiteral("roadconf %1").arg(int(cell.roadconf)),
        QStringLiteral("mirror ") + mirror,
    };
    return lines.join(u'\r');
}
