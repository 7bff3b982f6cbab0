// The overview dock and its wiring to the session and the grid.
#include "ui/OverviewDock.h"

#include "ui/DrawGrid.h"
#include "session/EditorSession.h"
#include "ui/OverviewView.h"
#include "gfx/OverviewImage.h"

#include <QAction>
#include <QMenu>
#include <QScrollArea>

#include <algorithm>

OverviewDock::OverviewDock(const EditorSession &session, DrawGrid &grid, const QString &title, QWidget *parent)
    : QDockWidget(title, parent)
    , m_session(session)
    , m_grid(grid)
{
    setObjectName(ObjectName);
    m_scrollArea = new QScrollArea(this);
    m_scrollArea->setObjectName("overviewScroll");
    m_scrollArea->setAlignment(Qt::AlignCenter);
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_view = new OverviewView;
    m_view->setObjectName("overviewView");
    // Takes ownership of the view.
    m_scrollArea->setWidget(m_view);
    setWidget(m_scrollArea);

    m_wholeLevel = new QAction(this);
    m_wholeLevel->setObjectName("actionOverviewWholeLevel");
    m_wholeLevel->setCheckable(true);
    m_wholeLevel->setChecked(true);
    connect(m_wholeLevel, &QAction::toggled, this, &OverviewDock::scheduleRebuild);
    m_menu = new QMenu(this);
    m_menu->addAction(m_wholeLevel);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { m_menu->popup(m_view->mapToGlobal(at)); });

    connect(&session, &EditorSession::mapOpened, this, &OverviewDock::scheduleRebuild);
    m_view->setGuides(session.symmetry());
    connect(&session, &EditorSession::symmetryChanged, m_view, &OverviewView::setGuides);
    connect(&session, &EditorSession::levelChanged, this, &OverviewDock::scheduleRebuild);
    connect(&session, &EditorSession::mapResized, this, &OverviewDock::scheduleRebuild);
    connect(&session, &EditorSession::cellsChanged, this, &OverviewDock::redrawCells);
    connect(&grid, &DrawGrid::viewChanged, this, &OverviewDock::followGrid);
    connect(m_view, &OverviewView::cellPicked, &grid, &DrawGrid::centreOn);
}

void OverviewDock::showEvent(QShowEvent *event)
{
    QDockWidget::showEvent(event);
    if (m_stale)
        scheduleRebuild();
}

void OverviewDock::resizeEvent(QResizeEvent *event)
{
    QDockWidget::resizeEvent(event);
    if (!m_stale && levelShown() && fittingScale() != m_view->scale())
        scheduleRebuild();
}

void OverviewDock::scheduleRebuild()
{
    m_stale = true;
    if (m_rebuildPosted)
        return;
    m_rebuildPosted = true;
    QMetaObject::invokeMethod(this, &OverviewDock::rebuildIfStale, Qt::QueuedConnection);
}

void OverviewDock::rebuildIfStale()
{
    m_rebuildPosted = false;
    if (!m_stale || !isVisible())
        return;
    m_stale = false;
    if (!levelShown()) {
        m_view->setPicture({}, {}, 0);
    } else {
        const MapDocument &document = m_session.document();
        const OverviewScale scale = fittingScale();
        m_view->setPicture(renderOverview(m_session.currentLayer(), document.mapSize, scale), scale, document.mapSize);
    }
    followGrid();
}

void OverviewDock::redrawCells(int level, const QRect &cells)
{
    if (level != m_session.layerLevel() || !levelShown())
        return;
    // A hidden dock keeps no picture up to date; it rebuilds when shown.
    if (!isVisible())
        m_stale = true;
    if (!m_stale)
        m_view->redrawCells(m_session.currentLayer(), cells);
}

void OverviewDock::followGrid()
{
    if (m_view->picture().isNull()) {
        m_view->setFrame({});
        return;
    }
    m_view->setFrame(m_grid.shownCells());
    const QRect frame = m_view->framePixels();
    m_scrollArea->ensureVisible(frame.center().x(), frame.center().y(), frame.width() / 2, frame.height() / 2);
}

bool OverviewDock::levelShown() const
{
    return m_session.levelShown() && m_session.document().mapSize > 0;
}

OverviewScale OverviewDock::fittingScale() const
{
    return overviewScale(m_session.document().mapSize, m_scrollArea->maximumViewportSize(), m_wholeLevel->isChecked());
}
