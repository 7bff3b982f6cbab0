// The problems dock.
#include "ui/ProblemsDock.h"

#include "session/ProblemWatch.h"
#include "session/Settings.h"
#include "ui/ProblemListModel.h"

#include <QHeaderView>
#include <QTableView>

ProblemsDock::ProblemsDock(const ProblemWatch &watch, const InterfaceTexts &texts, QWidget *parent)
    : QDockWidget(QString(texts.menuproblems).remove(u'&'), parent)
    , m_watch(watch)
    , m_model(new ProblemListModel(watch, texts, this))
    , m_view(new QTableView(this))
{
    setObjectName(QString::fromLatin1(ObjectName));
    m_view->setObjectName(QStringLiteral("problemsView"));
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->hide();
    // Rows of one height: a level with a million problems scrolls as fast as one with ten.
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->horizontalHeader()->setSectionResizeMode(ProblemListModel::KindColumn, QHeaderView::ResizeToContents);
    m_view->horizontalHeader()->setSectionResizeMode(ProblemListModel::CellColumn, QHeaderView::ResizeToContents);
    setWidget(m_view);
    connect(m_view, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) { choose(index.row()); });
    connect(m_view, &QAbstractItemView::activated, this, [this](const QModelIndex &index) { choose(index.row()); });
}

void ProblemsDock::choose(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    const CellPosition cell = m_model->problem(row).cell;
    Q_EMIT cellChosen(QPoint(cell.column, cell.row));
}

void ProblemsDock::step(QPoint from, int direction)
{
    const int count = m_model->rowCount();
    if (count == 0)
        return;
    const ProblemList &list = m_watch.list();
    int row = 0;
    if (direction > 0) {
        // The first problem past every problem of the cell itself.
        const CellPosition next{std::uint16_t(from.x() + 1), std::uint16_t(from.y())};
        row = int(list.firstAtOrAfter(next));
        if (row >= count)
            row = 0;
    } else {
        row = int(list.firstAtOrAfter({std::uint16_t(from.x()), std::uint16_t(from.y())})) - 1;
        if (row < 0)
            row = count - 1;
    }
    m_view->selectRow(row);
    m_view->scrollTo(m_model->index(row, 0));
    choose(row);
}
