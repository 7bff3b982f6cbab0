// The two mouse tools of the map grid: painting with the right button, and
// selecting by dragging with the left one.
#pragma once

#include <QPoint>

#include <functional>

class DrawGrid;

// The press rule of the grid: a press of any button on the cell pressed last
// does nothing, and a right-button press or drag step onto a new cell paints.
class PaintTool {
public:
    using Paint = std::function<void(QPoint cell)>;

    explicit PaintTool(Paint paint) : m_paint(std::move(paint)) {}

    // A press, or a right-button drag step, reaching a cell of the map; false
    // when it was the cell pressed last and so did nothing.
    bool press(bool rightButton, QPoint cell);
    // Forgets the cell pressed last, so the next press on it counts again.
    void rearm() { m_lastPressCell = {-1, -1}; }

private:
    Paint m_paint;
    QPoint m_lastPressCell{-1, -1};
};

// A left-button drag selects each new cell it reaches; reaching the first or
// last visible column or row scrolls one cell further, then pauses, so the
// view moves at a pace the hand can follow.
class SelectTool {
public:
    using Select = std::function<void(QPoint cell)>;

    SelectTool(DrawGrid &grid, Select select);

    void setScrollPause(std::function<void()> pause) { m_scrollPause = std::move(pause); }
    // The drag reached the cell under the pointer ((-1, -1) outside the map).
    void drag(QPoint cell);

private:
    DrawGrid &m_grid;
    Select m_select;
    std::function<void()> m_scrollPause;
    QPoint m_lastDragCell{-1, -1};
};
