// The problems dock: the list of what is wrong with the shown level. A click
// on a row, or Return on it, goes to its cell; next and previous go to the
// problem after or before a cell in reading order, round the level's end.
#pragma once

#include <QDockWidget>
#include <QPoint>

class ProblemListModel;
class ProblemWatch;
class QTableView;
struct InterfaceTexts;

class ProblemsDock : public QDockWidget {
    Q_OBJECT

public:
    static constexpr const char *ObjectName = "problemsDock";

    ProblemsDock(const ProblemWatch &watch, const InterfaceTexts &texts, QWidget *parent = nullptr);

    QTableView *view() const { return m_view; }
    ProblemListModel *model() const { return m_model; }

    // Selects the row of the first problem after the cell (direction 1) or
    // before it (-1) and goes to its cell; nothing when there is none.
    void step(QPoint from, int direction);

Q_SIGNALS:
    // The user chose a problem: its cell is to be shown and selected.
    void cellChosen(QPoint cell);

private:
    void choose(int row);

    const ProblemWatch &m_watch;
    ProblemListModel *m_model = nullptr;
    QTableView *m_view = nullptr;
};
