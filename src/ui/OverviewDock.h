// The overview dock: the whole current level in small, with a frame around
// the part the map grid shows. A click or drag in it scrolls the grid there.
// It listens to the editor session and the grid: a new map, level or size
// rebuilds the picture, an edit redraws only the cells it changed, and
// scrolling or resizing the grid moves the frame.
#pragma once

#include <QDockWidget>
#include <QPoint>
#include <QRect>

class DrawGrid;
class EditorSession;
class OverviewView;
class QScrollArea;

class OverviewDock : public QDockWidget {
    Q_OBJECT

public:
    // The dock's object name, under which the main window remembers it.
    static constexpr const char *ObjectName = "overviewDock";

    OverviewDock(const EditorSession &session, DrawGrid &grid, const QString &title, QWidget *parent = nullptr);

    // The picture and its frame (for the main window's tests and screenshots).
    const OverviewView &view() const { return *m_view; }

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
    // The number of pixels a cell that fits the dock's current size.
    int fittingScale() const;

    const EditorSession &m_session;
    DrawGrid &m_grid;
    QScrollArea *m_scrollArea = nullptr;
    OverviewView *m_view = nullptr;
    bool m_stale = true;
    bool m_rebuildPosted = false;
};
