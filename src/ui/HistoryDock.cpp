// The history dock.
#include "ui/HistoryDock.h"

#include "session/Settings.h"

#include <QListView>
#include <QStyledItemDelegate>

namespace {

// Draws the current row in bold and the undone rows in the greyed text colour.
class StepDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        switch (StepLog::State(index.data(StepLog::StateRole).toInt())) {
        case StepLog::State::Current: option->font.setBold(true); break;
        case StepLog::State::Undone:
            option->palette.setColor(QPalette::Text, option->palette.color(QPalette::Disabled, QPalette::Text));
            break;
        case StepLog::State::Done: break;
        }
    }
};

}  // namespace

HistoryDock::HistoryDock(EditorSession &session, const InterfaceTexts &texts, QWidget *parent)
    : QDockWidget(QString(texts.menuhistory).remove(u'&'), parent)
    , m_log(new StepLog(session, texts, this))
    , m_view(new QListView(this))
{
    setObjectName(QString::fromLatin1(ObjectName));
    m_view->setObjectName(QStringLiteral("historyView"));
    m_view->setModel(m_log);
    m_view->setItemDelegate(new StepDelegate(m_view));
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Rows of one height: a long session's list scrolls as fast as a short one's.
    m_view->setUniformItemSizes(true);
    m_view->setTextElideMode(Qt::ElideMiddle);
    setWidget(m_view);
    connect(m_view, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) { choose(index.row()); });
    connect(m_view, &QAbstractItemView::activated, this, [this](const QModelIndex &index) { choose(index.row()); });
    connect(m_log, &QAbstractItemModel::dataChanged, this, &HistoryDock::showCurrent);
    connect(m_log, &QAbstractItemModel::modelReset, this, &HistoryDock::showCurrent);
    showCurrent();
}

void HistoryDock::choose(int row)
{
    m_log->moveTo(row, m_move);
    // A walk that stopped short leaves the selection on the row the map is at.
    showCurrent();
}

void HistoryDock::showCurrent()
{
    const int row = m_log->currentRow();
    if (row < 0) {
        m_view->clearSelection();
        return;
    }
    const QModelIndex index = m_log->index(row);
    m_view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_view->scrollTo(index);
}
