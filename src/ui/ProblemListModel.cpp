// The rows of the problems dock.
#include "ui/ProblemListModel.h"

#include "session/ProblemWatch.h"
#include "session/Settings.h"

#include <algorithm>

ProblemListModel::ProblemListModel(const ProblemWatch &watch, const InterfaceTexts &texts, QObject *parent)
    : QAbstractTableModel(parent)
    , m_watch(watch)
    , m_texts(texts)
    , m_reasonTexts(problemTexts(texts))
    , m_problems(watch.problems())
{
    connect(&watch, &ProblemWatch::problemsChanged, this, &ProblemListModel::follow);
}

int ProblemListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_problems.size());
}

int ProblemListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString ProblemListModel::kindName(ProblemKind kind) const
{
    const QString *names[] = {&m_texts.kindterrainpicture, &m_texts.kindriverpiece, &m_texts.kindroadpiece,
                              &m_texts.kindnorule,         &m_texts.kindriverend,   &m_texts.kindroadend,
                              &m_texts.kindriverjoin,      &m_texts.kindroadjoin,   &m_texts.kindmirror};
    static_assert(std::size(names) == ProblemKindCount);
    return *names[int(kind)];
}

QVariant ProblemListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    const Problem &problem = m_problems[std::size_t(index.row())];
    switch (index.column()) {
    case KindColumn:
        return kindName(problem.kind);
    case CellColumn:
        return QStringLiteral("%1,%2").arg(problem.cell.column).arg(problem.cell.row);
    case ReasonColumn:
        return problemReason(problem, m_reasonTexts);
    }
    return {};
}

QVariant ProblemListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    const QString *titles[] = {&m_texts.probkind, &m_texts.probcell, &m_texts.probreason};
    return section >= 0 && section < ColumnCount ? *titles[section] : QVariant();
}

void ProblemListModel::follow()
{
    const std::vector<Problem> &now = m_watch.problems();
    // The rows both lists begin and end with stay.
    const std::size_t common = std::min(now.size(), m_problems.size());
    std::size_t head = 0;
    while (head < common && now[head] == m_problems[head])
        ++head;
    std::size_t tail = 0;
    while (tail < common - head && now[now.size() - 1 - tail] == m_problems[m_problems.size() - 1 - tail])
        ++tail;
    const std::size_t oldMiddle = m_problems.size() - head - tail;
    const std::size_t newMiddle = now.size() - head - tail;
    if (oldMiddle > 0) {
        beginRemoveRows({}, int(head), int(head + oldMiddle - 1));
        m_problems.erase(m_problems.begin() + std::ptrdiff_t(head), m_problems.begin() + std::ptrdiff_t(head + oldMiddle));
        endRemoveRows();
    }
    if (newMiddle > 0) {
        beginInsertRows({}, int(head), int(head + newMiddle - 1));
        m_problems.insert(m_problems.begin() + std::ptrdiff_t(head), now.begin() + std::ptrdiff_t(head),
                          now.begin() + std::ptrdiff_t(head + newMiddle));
        endInsertRows();
    }
}
