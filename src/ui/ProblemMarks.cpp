// The problem marks.
#include "ui/ProblemMarks.h"

#include "gfx/OverviewImage.h"
#include "session/ProblemWatch.h"
#include "ui/DrawGrid.h"

#include <QPainter>

#include <algorithm>
#include <vector>

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
    // A level shown small puts many cells on a pixel: each pixel is marked
    // once, however many problems it shows.
    const QRect bounds = painter.viewport();
    std::vector<bool> marked(std::size_t(std::max(0, bounds.width())) * std::size_t(std::max(0, bounds.height())), false);
    for (const Problem &problem : m_watch.problems()) {
        QRect pixels = scale.pixelsOf(QRect(problem.cell.column, problem.cell.row, 1, 1));
        const QPoint centre = pixels.center();
        if (bounds.contains(centre)) {
            const std::size_t at = std::size_t(centre.y() - bounds.top()) * std::size_t(bounds.width())
                                 + std::size_t(centre.x() - bounds.left());
            if (marked[at])
                continue;
            marked[at] = true;
        }
        // At least three pixels, to be seen on a level shown small.
        if (pixels.width() < 3)
            pixels = QRect(centre - QPoint(1, 1), QSize(3, 3));
        painter.fillRect(pixels, MarkColour);
    }
}
