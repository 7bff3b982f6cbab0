// The map check and the statistics in the main window: the problems dock and
// the statistics dock (View menu, Problems and Statistics), the problem count
// in the status bar, F8 and Shift+F8 for the next and previous problem, and
// the marks of the problem cells over the grid and the overview (a View menu
// toggle, remembered).
#pragma once

#include <memory>

class DrawGrid;
class EditorContext;
class OverviewDock;
class Preferences;
class ProblemCount;
class ProblemMarks;
class ProblemWatch;
class ProblemsDock;
class QMainWindow;
class QMenu;
class QStatusBar;
class StatisticsDock;

struct CheckDocks {
    ProblemWatch *watch = nullptr;
    ProblemsDock *problems = nullptr;
    StatisticsDock *statistics = nullptr;
    ProblemCount *count = nullptr;
    std::shared_ptr<ProblemMarks> marks;
};

// Where the pieces go in the window.
struct CheckDockPlaces {
    DrawGrid &grid;
    OverviewDock &overview;
    QMenu *viewMenu;
    QStatusBar *statusBar;
};

CheckDocks addCheckDocks(QMainWindow &window, EditorContext &context, Preferences &preferences,
                         const CheckDockPlaces &places);
