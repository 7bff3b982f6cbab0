// The marks of the problem cells over the map grid and the overview: a red
// frame around each cell in the grid, a red dot on it in the overview.
#pragma once

#include <QRect>

class DrawGrid;
class ProblemWatch;
class QPainter;
class OverviewScale;

class ProblemMarks {
public:
    explicit ProblemMarks(const ProblemWatch &watch)
        : m_watch(watch)
    {
    }

    bool shown() const { return m_shown; }
    void setShown(bool on) { m_shown = on; }

    // Marks the problems among the cells (column and row numbers) the grid draws.
    void paintGrid(QPainter &painter, const DrawGrid &grid, const QRect &cells) const;
    // Marks every problem on the overview's picture.
    void paintOverview(QPainter &painter, const OverviewScale &scale) const;

private:
    const ProblemWatch &m_watch;
    bool m_shown = true;
};
