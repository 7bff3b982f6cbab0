// The main window: the designed form in the middle, the menus above and the
// status bar below; maps from the command line, dropped files and the recent
// list open here. The window only wires the pieces; each lives in its own file.
#pragma once

#include "ui/CheckDocks.h"

#include <QMainWindow>

class EditorActions;
class EditorContext;
class EditorStatusBar;
class HistoryDock;
class OverviewDock;
class Preferences;
class QToolBar;
class TForm1;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // The window of the editor's session, remembering the user's preferences.
    MainWindow(EditorContext &context, Preferences &preferences, QWidget *parent = nullptr);
    ~MainWindow() override;

    TForm1 &form() const { return *m_form; }
    EditorActions &actions() const { return *m_actions; }
    EditorStatusBar &status() const { return *m_status; }
    OverviewDock &overview() const { return *m_overview; }
    HistoryDock &history() const { return *m_history; }
    // The problems and statistics docks, the problem count and marks.
    const CheckDocks &check() const { return m_check; }

    // Shows cells of the given size (8, 16, 32 or 64 pixels), keeping the
    // cell in the middle of the view where it was.
    void setCellSize(int pixels);

    // Opens a map as the open command does, with the save prompt first; a
    // recent map that no longer exists is taken off the list.
    void openFile(const QString &fileName);
    // Opens a map once the event loop runs (a map named on the command line).
    void openWhenStarted(const QString &fileName);
    // Once the event loop runs, offers the edits a crash left unsaved, of
    // the map whose journal is newest (when no map was named).
    void offerRecoveryWhenStarted();

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void loadEdgeRules();
    void restoreState();
    void saveState();
    void updateCaption();
    void exportPicture();

    EditorContext &m_context;
    Preferences &m_preferences;
    TForm1 *m_form = nullptr;
    EditorActions *m_actions = nullptr;
    EditorStatusBar *m_status = nullptr;
    QToolBar *m_readout = nullptr;
    QToolBar *m_palette = nullptr;
    OverviewDock *m_overview = nullptr;
    HistoryDock *m_history = nullptr;
    CheckDocks m_check;
};
