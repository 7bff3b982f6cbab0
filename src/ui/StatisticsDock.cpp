// The statistics dock.
#include "ui/StatisticsDock.h"

#include "session/EditorSession.h"
#include "session/LevelStatistics.h"
#include "session/Settings.h"
#include "ui/FairnessView.h"

#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Edits in a drag come many a second: the figures follow at most this often.
constexpr int RefreshDelayMs = 150;

}  // namespace

StatisticsDock::StatisticsDock(const EditorSession &session, const InterfaceTexts &texts, QWidget *parent)
    : QDockWidget(QString(texts.menustatistics).remove(u'&'), parent)
    , m_session(session)
    , m_texts(texts)
    , m_title(new QLabel)
    , m_tabs(new QTabWidget)
    , m_counts(new QPlainTextEdit)
    , m_fairness(new FairnessView(texts))
    , m_timer(new QTimer(this))
{
    setObjectName(QString::fromLatin1(ObjectName));
    m_title->setObjectName(QStringLiteral("statisticsTitle"));
    m_counts->setObjectName(QStringLiteral("statisticsCounts"));
    m_counts->setReadOnly(true);
    m_tabs->addTab(m_counts, texts.statcounts);
    m_tabs->addTab(m_fairness, texts.statfairness);
    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_title);
    layout->addWidget(m_tabs, 1);
    setWidget(content);

    m_timer->setSingleShot(true);
    m_timer->setInterval(RefreshDelayMs);
    connect(m_timer, &QTimer::timeout, this, &StatisticsDock::refresh);
    for (auto signal : {&EditorSession::mapOpened, &EditorSession::historyChanged})
        connect(&session, signal, this, &StatisticsDock::schedule);
    connect(&session, &EditorSession::cellsChanged, this, &StatisticsDock::schedule);
    connect(&session, &EditorSession::levelChanged, this, &StatisticsDock::schedule);
    connect(&session, &EditorSession::mapResized, this, &StatisticsDock::schedule);
    connect(&session, &EditorSession::fileNameChanged, this, &StatisticsDock::schedule);
    // The sides follow the symmetry the map is edited under.
    connect(&session, &EditorSession::symmetryChanged, this, [this](SymmetryMode mode) {
        if (mode != SymmetryMode::Off)
            m_fairness->setMode(mode);
        schedule();
    });
    connect(m_fairness, &FairnessView::modeChosen, this, &StatisticsDock::refresh);
}

void StatisticsDock::schedule()
{
    if (isVisible() && !m_timer->isActive())
        m_timer->start();
}

void StatisticsDock::showEvent(QShowEvent *event)
{
    QDockWidget::showEvent(event);
    refresh();
}

void StatisticsDock::refresh()
{
    m_timer->stop();
    if (!m_session.levelShown() || m_session.isResizing()) {
        m_title->clear();
        m_counts->clear();
        m_fairness->showLevel(nullptr);
        return;
    }
    const TerrainLayer &layer = m_session.currentLayer();
    const QString level = m_session.level() == 0 ? m_texts.maplvl_gnd : m_texts.maplvl_str;
    m_title->setText(m_texts.stattitle.arg(QFileInfo(m_session.fileName()).fileName(), QString(level).remove(u'&')));
    m_counts->setPlainText(levelStatisticsText(layer, m_texts));
    m_fairness->showLevel(&layer);
}
