// The selecting tool of the left mouse button: a press picks the cell (the
// grid itself moves its current cell), and a drag selects each new cell it
// reaches; reaching the first or last visible column or row scrolls one cell
// further, then pauses, so the view moves at a pace the hand can follow.
#pragma once

#include "ui/GridTool.h"

#include <functional>

class DrawGrid;
class EditorSession;

class SelectTool : public GridTool {
public:
    using Select = std::function<void(QPoint cell)>;

    SelectTool(DrawGrid &grid, EditorSession &session, PressRule &pressRule, Select select);

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
    bool m_dragging = false;  // the left button went down on the grid and the drag goes on
};
