// What a tool of the map grid is: it receives every press, move and release
// on the grid, whatever the button, acts on those of the buttons it uses and
// ignores the rest, owns the whole gesture they make, from the step it opens
// to the step it closes, and tells the window what to show for it: its name,
// icon, key and pointer, given to it when it is made, and an outline of where
// it would act. The tool box routes the grid's events to the tools.
#pragma once

#include "edit/RegionSelection.h"

#include <QCursor>
#include <QIcon>
#include <QKeySequence>
#include <QPoint>
#include <QRect>
#include <QString>

#include <memory>

// A mouse event on the grid: the cell under the pointer ((-1, -1) outside the
// map), the button that changed, the buttons held and the keys held.
struct GridEvent {
    QPoint cell{-1, -1};
    Qt::MouseButton button = Qt::NoButton;
    Qt::MouseButtons buttons;
    Qt::KeyboardModifiers modifiers;

    bool onMap() const { return cell.x() >= 0 && cell.y() >= 0; }
};

// Where a press would act, drawn over the cells: solid, or dashed when the
// tool acts beyond the outlined cells (a fill); or the very cells a fill
// would reach, when the tool knows them.
struct ToolOutline {
    QRect cells;
    bool dashed = false;
    std::shared_ptr<const RegionSelection> region;
};

// The press rule of the grid: a press of any button on the cell pressed last
// does nothing, and a drag step onto that cell neither. A tool that follows
// it keeps one of its own and remembers the presses of every button, since
// every tool sees them all.
class PressRule {
public:
    // True, remembering the cell, when it is not the cell pressed last.
    bool take(QPoint cell)
    {
        if (cell == m_lastPressCell)
            return false;
        m_lastPressCell = cell;
        return true;
    }
    // Forgets the cell pressed last, so the next press on it counts again.
    void rearm() { m_lastPressCell = {-1, -1}; }

private:
    QPoint m_lastPressCell{-1, -1};
};

// How a tool shows in the palette, the status bar and over the grid.
struct ToolLook {
    QString name;
    QIcon icon;
    QKeySequence key;
    QCursor cursor = Qt::ArrowCursor;
};

class GridTool {
public:
    explicit GridTool(ToolLook look) : m_look(std::move(look)) {}
    virtual ~GridTool() = default;

    const QString &name() const { return m_look.name; }
    const QIcon &icon() const { return m_look.icon; }
    const QKeySequence &key() const { return m_look.key; }
    const QCursor &cursor() const { return m_look.cursor; }
    // Where a press on the cell would act; empty cells when the tool shows none.
    virtual ToolOutline outline(QPoint) const { return {}; }

    virtual void press(const GridEvent &event) = 0;
    virtual void move(const GridEvent &) {}
    virtual void release(const GridEvent &) {}
    // The gesture is cut short (focus lost, a modal dialog, the window hidden,
    // a command run while the button is held): it ends as on release, so what
    // it did stays one step, and the rest of the drag does nothing.
    virtual void cancel() {}
    // The brush or the cells changed: a press on the cell pressed last counts again.
    virtual void rearm() {}

private:
    ToolLook m_look;
};
