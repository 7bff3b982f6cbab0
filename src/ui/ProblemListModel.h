// The rows of the problems dock: one per problem of the shown level, with its
// kind, its cell and its reason in the interface's words. It follows the
// problem watch: when an edit changes the list, only the rows between the
// unchanged start and end of the list are taken out and put in, so the rows
// around keep their selection.
#pragma once

#include "check/Problem.h"

#include <QAbstractTableModel>

#include <vector>

class ProblemWatch;
struct InterfaceTexts;

class ProblemListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { KindColumn, CellColumn, ReasonColumn, ColumnCount };

    ProblemListModel(const ProblemWatch &watch, const InterfaceTexts &texts, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const Problem &problem(int row) const { return m_problems[std::size_t(row)]; }
    // The kind's name in the interface's words.
    QString kindName(ProblemKind kind) const;

private:
    void follow();

    const ProblemWatch &m_watch;
    const InterfaceTexts &m_texts;
    const ProblemTexts m_reasonTexts;
    std::vector<Problem> m_problems;
};
