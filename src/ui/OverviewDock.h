// The overview dock: the whole current level in small, with a frame around
// the part the map grid shows. A click or drag in it scrolls the grid there.
// It listens to the editor session and the grid: a new map, level or size
// rebuilds the picture, an edit redraws only the cells it changed, and
// scrolling or resizing the grid moves the frame.
#pragma once

#include "gfx/OverviewImage.h"

#include <QDockWidget>
#include <QPoint>
#include <QRect>

class DrawGrid;
class EditorSession;
class OverviewView;
class QAction;
class QMenu;
class QScrollArea;

class OverviewDock : public QDockWidget {
    Q_OBJECT

public:
    // The dock's object name, under which the main window remembers it.
    static constexpr const char *ObjectName = "overviewDock";

    OverviewDock(const EditorSession &session, DrawGrid &grid, const QString &title, QWidget *parent = nullptr);

    // The picture and its frame (for the main window's tests and screenshots).
    const OverviewView &view() const { return *m_view; }
    OverviewView &view() { return *m_view; }

    // The check in the picture's context menu: when on (the default), a level
    // that does not fit at one pixel a cell is shown whole, at a sample of
    // its cells a pixel; when off, at one pixel a cell in a scrolling area.
    // The main window gives it its text and remembers it.
    QAction *wholeLevelAction() const { return m_wholeLevel; }

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // The picture is rebuilt once for a burst of notices (opening a map
    // announces the map and its level), after they are all handled, and
    // only while the dock is shown.
    void scheduleRebuild();
    void rebuildIfStale();
    void redrawCells(int level, const QRect &cells);
    void followGrid();
    // True when the grid shows the current layer: a map is open and its
    // chosen level exists.
    bool levelShown() const;
    // The scale that fits the dock's current size.
    OverviewScale fittingScale() const;

    const EditorSession &m_session;
    DrawGrid &m_grid;
    QScrollArea *m_scrollArea = nullptr;
    OverviewView *m_view = nullptr;
    QAction *m_wholeLevel = nullptr;
    QMenu *m_menu = nullptr;
    bool m_stale = true;
    bool m_rebuildPosted = false;
};
