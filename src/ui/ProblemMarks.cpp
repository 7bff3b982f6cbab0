// The problem marks.
#include "ui/ProblemMarks.h"

#include "gfx/OverviewImage.h"
#include "session/ProblemWatch.h"
#include "ui/DrawGrid.h"

#include <QPainter>

namespace {

const QColor MarkColour(230, 30, 30);

}  // namespace

void ProblemMarks::paintGrid(QPainter &painter, const DrawGrid &grid, const QRect &cells) const
{
    if (!m_shown || cells.isEmpty())
        return;
    const std::vector<Problem> &problems = m_watch.problems();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(MarkColour, 2));
    // Only the rows shown are looked at: the list is in reading order.
    for (int row = cells.top(); row <= cells.bottom(); ++row) {
        std::size_t i = m_watch.list().firstAtOrAfter({std::uint16_t(cells.left()), std::uint16_t(row)});
        for (; i < problems.size() && problems[i].cell.row == row && problems[i].cell.column <= cells.right(); ++i)
            painter.drawRect(grid.cellRect(problems[i].cell.column, row).adjusted(1, 1, -2, -2));
    }
}

void ProblemMarks::paintOverview(QPainter &painter, const OverviewScale &scale) const
{
    if (!m_shown)
        return;
    for (const Problem &problem : m_watch.problems()) {
        // At least three pixels, to be seen on a level shown small.
        QRect pixels = scale.pixelsOf(QRect(problem.cell.column, problem.cell.row, 1, 1));
        if (pixels.width() < 3)
            pixels = QRect(pixels.center() - QPoint(1, 1), QSize(3, 3));
        painter.fillRect(pixels, MarkColour);
    }
}
