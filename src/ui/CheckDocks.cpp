// The map check and the statistics wired into the main window.
#include "ui/CheckDocks.h"

#include "session/Preferences.h"
#include "session/ProblemWatch.h"
#include "ui/DrawGrid.h"
#include "ui/EditorContext.h"
#include "ui/OverviewDock.h"
#include "ui/OverviewView.h"
#include "ui/ProblemCount.h"
#include "ui/ProblemMarks.h"
#include "ui/ProblemsDock.h"
#include "ui/StatisticsDock.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>

namespace {

QAction *addAction(QMainWindow &window, QMenu *menu, const char *objectName, const QString &text,
                   const QKeySequence &key = {})
{
    auto *action = new QAction(text, &window);
    action->setObjectName(QString::fromLatin1(objectName));
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    menu->addAction(action);
    window.addAction(action);
    return action;
}

}  // namespace

CheckDocks addCheckDocks(QMainWindow &window, EditorContext &context, Preferences &preferences,
                         const CheckDockPlaces &places)
{
    const InterfaceTexts &texts = context.texts;
    CheckDocks docks;
    docks.watch = new ProblemWatch(context.session, &window);
    docks.problems = new ProblemsDock(*docks.watch, texts, &window);
    docks.statistics = new StatisticsDock(context.session, texts, &window);
    docks.count = new ProblemCount(*docks.watch, texts, &window);
    docks.marks = std::make_shared<ProblemMarks>(*docks.watch);
    window.addDockWidget(Qt::BottomDockWidgetArea, docks.problems);
    window.addDockWidget(Qt::RightDockWidgetArea, docks.statistics);
    docks.problems->hide();
    docks.statistics->hide();
    places.statusBar->addPermanentWidget(docks.count);

    // A chosen problem: its cell selected and in view.
    DrawGrid &grid = places.grid;
    QObject::connect(docks.problems, &ProblemsDock::cellChosen, &grid, [&grid](QPoint cell) {
        grid.setSelection(QRect(cell, QSize(1, 1)));
        grid.centreOn(cell);
    });
    const auto showList = [dock = docks.problems] {
        dock->show();
        dock->raise();
    };
    QObject::connect(docks.count, &QToolButton::clicked, docks.problems, showList);

    QMenu *view = places.viewMenu;
    QAction *problems = docks.problems->toggleViewAction();
    problems->setText(texts.menuproblems);
    problems->setObjectName(QStringLiteral("actionProblems"));
    view->addAction(problems);
    ProblemsDock *list = docks.problems;
    QObject::connect(addAction(window, view, "actionNextProblem", texts.menunextproblem, QKeySequence(Qt::Key_F8)),
                     &QAction::triggered, list, [list, &grid] { list->step(QPoint(grid.col(), grid.row()), 1); });
    QObject::connect(addAction(window, view, "actionPreviousProblem", texts.menuprevproblem,
                               QKeySequence(Qt::SHIFT | Qt::Key_F8)),
                     &QAction::triggered, list, [list, &grid] { list->step(QPoint(grid.col(), grid.row()), -1); });

    // The marks, over the grid and the overview, redrawn as the list changes.
    QAction *marks = addAction(window, view, "actionProblemMarks", texts.menuproblemmarks);
    marks->setCheckable(true);
    marks->setChecked(preferences.viewToggle(QStringLiteral("problemMarks"), true));
    docks.marks->setShown(marks->isChecked());
    OverviewView &overview = places.overview.view();
    const auto redraw = [&grid, &overview] {
        grid.viewport()->update();
        overview.update();
    };
    QObject::connect(marks, &QAction::toggled, &window, [&preferences, shown = docks.marks, redraw](bool on) {
        shown->setShown(on);
        preferences.setViewToggle(QStringLiteral("problemMarks"), on);
        redraw();
    });
    QObject::connect(docks.watch, &ProblemWatch::problemsChanged, &grid, redraw);
    grid.setMarksPainter([drawn = docks.marks, &grid](QPainter &painter, const QRect &cells) {
        drawn->paintGrid(painter, grid, cells);
    });
    overview.setMarksPainter(
        [drawn = docks.marks](QPainter &painter, const OverviewScale &scale) { drawn->paintOverview(painter, scale); });

    // View, Statistics shows the live dock.
    if (QAction *statistics = window.findChild<QAction *>(QStringLiteral("actionStatistics")))
        QObject::connect(statistics, &QAction::triggered, docks.statistics, [dock = docks.statistics] {
            dock->show();
            dock->raise();
        });
    return docks;
}
