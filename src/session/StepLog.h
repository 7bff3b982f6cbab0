// The steps of the open map's history as a list to look at and move through:
// a first row for the map as it was opened, then each step with its name and
// the cells it changed ("Road, 20 cells", "Flip left–right", "Map size
// 36 → 72"), the current one, and those undone after it.
#pragma once

#include "session/EditStep.h"

#include <QAbstractListModel>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

class EditorSession;
struct HistoryChange;
struct InterfaceTexts;

// The list follows the session's notices: a closed step or a size change is
// a new row and drops the rows that could have been redone; undo, redo and a
// single cell taken back move the current row; opening a map starts the list
// again. A step is current while any of its cells is in place: a step that
// single-cell undos took part of stays current, its size telling how many of
// its cells are left ("Brush, 17 of 20 cells"); putting the rest back (redo,
// or a click on its row) makes it whole again, undoing the rest (undo, or a
// click on the row before) leaves the step before current.
class StepLog : public QAbstractListModel {
    Q_OBJECT

public:
    enum class State {
        Done,     // a step whose cells are in place, before the current one
        Current,  // the step the map is at (or the first row, before any step)
        Undone,   // taken back, to be redone
    };
    // data() of this role is the row's State as an int.
    static constexpr int StateRole = Qt::UserRole + 1;

    StepLog(EditorSession &session, const InterfaceTexts &texts, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // The row the map is at: 0 before any step; -1 while no map is open.
    int currentRow() const;
    State state(int row) const;
    // The row's name with its size, as listed.
    QString text(int row) const;

    // Takes the history to the row, one step of undo or redo at a time through
    // move (undo true or false; the session's undoStep and redoStep when
    // empty), so each move is announced and journalled as any other; stops
    // early when a move changes nothing.
    using Move = std::function<void(bool undo)>;
    void moveTo(int row, const Move &move = {});

private:
    struct Entry {
        QString name;
        std::size_t first = 0;  // the step's undo records [first, end)
        std::size_t end = 0;
        std::size_t cells = 0;  // cells changed, each once
        bool sizeChange = false;
    };

    void restart();
    void stepRecorded(std::size_t firstRecord, std::size_t endRecord, const StepLabel &label);
    void historyMoved(const HistoryChange &change);
    // Forgets the rows of records from first on: a new edit forgot them.
    void dropFrom(std::size_t first);
    void append(Entry entry);
    // The rows' states and texts may all have changed.
    void refresh();
    QString stepName(const StepLabel &label) const;
    // The cells the undo records [first, end) write, each once.
    std::size_t distinctCells(std::size_t first, std::size_t end) const;
    // The number of undo records the history holds before the row's state.
    std::size_t recordsAt(int row) const;

    EditorSession &m_session;
    const InterfaceTexts &m_texts;
    bool m_open = false;
    QString m_opened;            // the first row's text
    std::size_t m_base = 0;      // the records before the first row's state
    std::uint32_t m_side = 0;    // the map's side, for naming the next size change
    std::vector<Entry> m_entries;
};
