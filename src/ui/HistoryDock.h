// The history dock (View, History): the steps of the session by name and
// size, the current one in bold, the undone ones greyed after it; a click on
// a row undoes or redoes step by step until that row is the current one.
#pragma once

#include "session/StepLog.h"

#include <QDockWidget>

class EditorSession;
class QListView;
struct InterfaceTexts;

class HistoryDock : public QDockWidget {
    Q_OBJECT

public:
    static constexpr const char *ObjectName = "HistoryDock";

    HistoryDock(EditorSession &session, const InterfaceTexts &texts, QWidget *parent = nullptr);

    QListView *view() const { return m_view; }
    StepLog *log() const { return m_log; }
    // How a chosen row moves the history one step (the window's undo and redo,
    // which show what changed); the session's own undo and redo until set.
    void setMove(StepLog::Move move) { m_move = std::move(move); }

private:
    void choose(int row);
    // Selects and shows the current row.
    void showCurrent();

    StepLog *m_log = nullptr;
    QListView *m_view = nullptr;
    StepLog::Move m_move;
};
