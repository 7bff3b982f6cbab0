// The selecting tool of the left mouse button, which owns the whole gesture:
// a press selects the cell (Shift extends the selection to it), and a drag
// extends the rectangle to each new cell it reaches; reaching the first or
// last visible column or row scrolls one cell further, then pauses, so the
// view moves at a pace the hand can follow. Ctrl with a drag takes the
// rectangle out of the selection, and Shift with a drag adds it to a
// selection by terrain (to a plain rectangle, Shift extends it as ever): the
// selection becomes a region. It follows the press rule for the anchor cell.
#pragma once

#include "ui/GridTool.h"

#include <QTimer>

#include <cstddef>
#include <functional>

class DrawGrid;
class EditorSession;

class SelectTool : public GridTool {
public:
    // select(cell) is told of each cell a press or a drag step selects.
    using Select = std::function<void(QPoint cell)>;

    SelectTool(DrawGrid &grid, EditorSession &session, Select select);

    // The pause after each auto-scroll step, in milliseconds.
    static constexpr int ScrollPause = 30;

    // Told how many cells a drag that added or took out a rectangle left selected.
    void setCountNote(std::function<void(std::size_t cells)> note) { m_countNote = std::move(note); }
    // What follows each auto-scroll step instead of the pause (during which a
    // step the drag reaches waits for the pause's end), for a test to count them.
    void setScrollPause(std::function<void()> pause) { m_scrollPause = std::move(pause); }

    void press(const GridEvent &event) override;
    void move(const GridEvent &event) override;
    void release(const GridEvent &event) override;
    void cancel() override;
    void rearm() override { m_pressRule.rearm(); }

private:
    // Which drags add a rectangle to the selection or take one out, by the keys held at the press.
    bool combines(Qt::KeyboardModifiers modifiers) const;
    // Scrolls one cell further when the cell the drag reached last is the
    // first or last visible one, unless the pause after the last step lasts.
    void scrollAtEdge();

    DrawGrid &m_grid;
    EditorSession &m_session;
    PressRule m_pressRule;
    Select m_select;
    std::function<void()> m_scrollPause;
    QTimer m_pace;                 // runs during the pause after a scroll step
    bool m_scrollWaiting = false;  // a step was reached during the pause
    QPoint m_lastDragCell{-1, -1};
    bool m_dragging = false;   // the left button went down on the grid and the drag goes on
    bool m_selecting = false;  // the drag moves the corner of the selection
    bool m_combining = false;  // the drag outlines a rectangle to add or take out
    QPoint m_combineStart;
    Qt::KeyboardModifiers m_combineModifiers;
    std::function<void(std::size_t)> m_countNote;
};
