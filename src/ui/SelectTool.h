// The selecting tool of the left mouse button: a press picks the cell (the
// grid itself moves its current cell), and a drag selects each new cell it
// reaches; reaching the first or last visible column or row scrolls one cell
// further, then pauses, so the view moves at a pace the hand can follow.
// Ctrl with a drag takes the rectangle out of the selection, and Shift with a
// drag adds it to a selection by terrain (to a plain rectangle, Shift extends
// it as ever): the selection becomes a region.
#pragma once

#include "ui/GridTool.h"

#include <cstddef>
#include <functional>

#include <QMetaObject>

class DrawGrid;
class EditorSession;

class SelectTool : public GridTool {
public:
    using Select = std::function<void(QPoint cell)>;

    SelectTool(DrawGrid &grid, EditorSession &session, PressRule &pressRule, Select select);
    ~SelectTool() override;

    // Told how many cells a drag that added or took out a rectangle left selected.
    void setCountNote(std::function<void(std::size_t cells)> note) { m_countNote = std::move(note); }

    void setScrollPause(std::function<void()> pause) { m_scrollPause = std::move(pause); }

    QString name() const override { return {}; }
    ToolOutline outline(QPoint) const override { return {}; }
    void press(const GridEvent &event) override;
    void move(const GridEvent &event) override;
    void release(const GridEvent &event) override;
    void cancel() override;

private:
    DrawGrid &m_grid;
    EditorSession &m_session;
    PressRule &m_pressRule;
    Select m_select;
    std::function<void()> m_scrollPause;
    QPoint m_lastDragCell{-1, -1};
    bool m_dragging = false;
    std::function<void(std::size_t)> m_countNote;
    QMetaObject::Connection m_combined;  // the left button went down on the grid and the drag goes on
};
