// The main window's wiring.
#include "ui/MainWindow.h"

#include "ui/DockMemory.h"
#include "ui/DrawGrid.h"
#include "ui/EditorActions.h"
#include "ui/EditorContext.h"
#include "ui/EditorStatusBar.h"
#include "ui/ExportPictureDialog.h"
#include "ui/HistoryDock.h"
#include "ui/LongWork.h"
#include "session/ProblemWatch.h"
#include "ui/OverviewDock.h"
#include "ui/RecoveryPrompt.h"
#include "map/MapSave.h"
#include "session/PictureExport.h"
#include "session/Preferences.h"
#include "ui/TForm1.h"
#include "ui/DocumentController.h"
#include "ui/GridFocus.h"
#include "ui/ToolKeys.h"
#include "ui/ToolPalette.h"
#include "session/ZoomLevels.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <QToolBar>

namespace {

// The overview's width at first, in pixels: a 144 x 144 map at 1 pixel a cell and a margin.
constexpr int OverviewWidth = 260;

// The first local file of a drag, or an empty string.
QString droppedFile(const QMimeData *data)
{
    if (data == nullptr || !data->hasUrls() || data->urls().isEmpty())
        return {};
    return data->urls().first().toLocalFile();
}

}  // namespace

MainWindow::MainWindow(EditorContext &context, Preferences &preferences, QWidget *parent)
    : QMainWindow(parent)
    , m_context(context)
    , m_preferences(preferences)
{
    setObjectName(QStringLiteral("MainWindow"));
    EditorSession &session = context.session;
    const InterfaceTexts &texts = context.texts;
    m_form = new TForm1(context, this);
    setCentralWidget(m_form);
    setFont(m_form->font());
    m_status = new EditorStatusBar(session, texts, this);
    setStatusBar(m_status);
    // The cell readout has a row of its own above the messages.
    m_readout = new QToolBar(this);
    m_readout->setObjectName(QStringLiteral("readoutBar"));
    m_readout->setMovable(false);
    m_readout->setFloatable(false);
    m_readout->toggleViewAction()->setVisible(false);
    m_readout->addWidget(m_status->hoverLabel());
    m_readout->addWidget(m_status->selectionLabel());
    m_readout->addSeparator();
    m_readout->addWidget(m_status->toolLabel());
    addToolBar(Qt::BottomToolBarArea, m_readout);
    // The tool palette above the map, its toggle in the View menu, remembered.
    m_palette = createToolPalette(m_form->tools(), *this, QString(texts.menupalette).remove(u'&'), this);
    if (QAction *picker = findChild<QAction *>(QStringLiteral("toolI")))
        picker->setToolTip(picker->toolTip() + u'\n' + texts.tippickhold);
    new ToolKeys(*this, m_form->tools(), m_form->picker(), [this] { m_form->cancelGesture(); }, texts.keyescape);
    addToolBar(Qt::TopToolBarArea, m_palette);
    m_status->showTool(m_form->currentTool().name());
    connect(&m_form->tools(), &ToolBox::currentChanged, m_status,
            [this](GridTool &tool) { m_status->showTool(tool.name()); });
    m_actions = new EditorActions(*this, *m_form, context, preferences);
    // The dock's caption shows the menu text without its shortcut mark.
    const QString overviewText = texts.overview;
    m_overview = new OverviewDock(session, *m_form->grid(), QString(overviewText).remove(u'&'), this);
    addDockWidget(Qt::RightDockWidgetArea, m_overview);
    // A dock laid out while hidden comes up at its smallest; it gets a useful
    // width when shown. The form keeps at least its designed size, so the
    // window grows to make room, unless it fills the screen.
    connect(m_overview, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (!visible)
            return;
        QTimer::singleShot(0, this, [this] {
            if (!m_overview->isVisible() || m_overview->isFloating() || m_overview->width() >= OverviewWidth / 2)
                return;
            const int spare = centralWidget()->width() - centralWidget()->minimumWidth();
            const int missing = OverviewWidth - m_overview->width() - spare;
            if (missing > 0 && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
                resize(width() + missing, height());
            resizeDocks({m_overview}, {OverviewWidth}, Qt::Horizontal);
        });
    });
    m_overview->toggleViewAction()->setText(overviewText);
    m_overview->wholeLevelAction()->setText(texts.overviewwhole);
    m_overview->wholeLevelAction()->setChecked(m_preferences.viewToggle(QStringLiteral("overviewWholeLevel"), true));
    connect(m_overview->wholeLevelAction(), &QAction::triggered, this,
            [this](bool on) { m_preferences.setViewToggle(QStringLiteral("overviewWholeLevel"), on); });
    m_actions->viewMenu()->addAction(m_overview->toggleViewAction());
    m_palette->toggleViewAction()->setText(texts.menupalette);
    m_palette->toggleViewAction()->setObjectName(QStringLiteral("actionPalette"));
    m_actions->viewMenu()->addAction(m_palette->toggleViewAction());
    m_palette->setVisible(m_preferences.viewToggle(QStringLiteral("toolPalette"), true));
    connect(m_palette->toggleViewAction(), &QAction::triggered, this,
            [this](bool on) { m_preferences.setViewToggle(QStringLiteral("toolPalette"), on); });
    rememberDockShown(*m_overview, m_preferences, QStringLiteral("overview"));
    // The grid keeps the keyboard: after a map opens, and after clicks on
    // the panel's buttons, the palette and the overview.
    auto *focus = new GridFocus(*m_form->grid());
    for (QPushButton *button : m_form->findChildren<QPushButton *>())
        focus->returnAfterClicks(*button);
    focus->returnAfterClicks(*m_palette);
    focus->returnAfterClicks(*m_overview);
    connect(&session, &EditorSession::mapOpened, focus, &GridFocus::take, Qt::QueuedConnection);
    m_check = addCheckDocks(*this, context, preferences, {*m_form->grid(), *m_overview, m_actions->viewMenu(), m_status});
    // The history: a chosen row moves through the form's undo and redo, which
    // show each step's cells as the menu's do.
    m_history = new HistoryDock(session, texts, this);
    addDockWidget(Qt::RightDockWidgetArea, m_history);
    m_history->setMove([form = m_form](bool undo) {
        form->cancelGesture();
        undo ? form->undoStep() : form->redoStep();
    });
    QAction *history = m_history->toggleViewAction();
    history->setText(texts.menuhistory);
    history->setObjectName(QStringLiteral("actionHistory"));
    m_actions->viewMenu()->addAction(history);
    rememberDockShown(*m_history, m_preferences, QStringLiteral("history"));
    setAcceptDrops(true);

    session.setProgressFactory([this, &texts](EditorSession::Work work, const QString &fileName) {
        const QString shown = QDir::toNativeSeparators(QFileInfo(fileName).fileName());
        switch (work) {
        case EditorSession::Work::Open:
            // The window shows itself before a map is read: one named on the
            // command line opens before the window's first paint.
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            return longWorkProgress(this, texts.workopen.arg(shown));
        case EditorSession::Work::Save: return longWorkProgress(this, texts.worksave.arg(shown));
        case EditorSession::Work::Fill: return longWorkProgress(this, texts.workfill);
        case EditorSession::Work::Edit: return longWorkProgress(this, texts.workedit);
        case EditorSession::Work::Resize: break;
        case EditorSession::Work::None: return ProgressCallback();
        }
        return longWorkProgress(this, texts.workresize);
    });
    connect(m_actions, &EditorActions::zoomRequested, this, [this](int direction) {
        const int size = m_form->grid()->cellSize();
        setCellSize(direction > 0 ? zoom::nextStep(size) : direction < 0 ? zoom::previousStep(size) : zoom::ResetStep);
    });
    connect(m_actions, &EditorActions::exportPictureRequested, this, &MainWindow::exportPicture);

    connect(&session, &EditorSession::fileNameChanged, this, &MainWindow::updateCaption);
    connect(&session, &EditorSession::modifiedChanged, this, &QWidget::setWindowModified);
    connect(m_form, &TForm1::statusMessage, m_status, &EditorStatusBar::showNote);
    connect(m_form, &TForm1::cellHovered, m_status, &EditorStatusBar::showCell);
    // The readout of the selection: a rectangle's size, or a region's cells and bounds.
    const auto showSelection = [this] {
        if (const auto &region = m_context.session.regionSelection()) {
            m_status->showRegion(region->cellCount(), region->bounds().width(), region->bounds().height());
            return;
        }
        const GridRect s = m_form->grid()->selection();
        m_status->showSelection(s.right - s.left + 1, s.bottom - s.top + 1);
    };
    connect(m_form->grid(), &DrawGrid::selectionChanged, this, showSelection);
    connect(&session, &EditorSession::regionSelectionChanged, this, showSelection);
    connect(&session, &EditorSession::fileNameChanged, this, [this](const QString &fileName) {
        if (fileName.isEmpty())  // a recovered map whose file changed has none
            return;
        m_preferences.addRecentFile(fileName);
        m_preferences.setLastFolder(QFileInfo(fileName).absolutePath());
        m_form->document().setDialogFolder(QFileInfo(fileName).absolutePath());
    });
    connect(m_actions, &EditorActions::recentFileChosen, this, &MainWindow::openFile);
    connect(m_actions, &EditorActions::note, m_status, &EditorStatusBar::showNote);
    connect(&context.journal, &JournalKeeper::problem, this, [this](const QString &journalPath, const Reason &reason) {
        // The cause first: a long path would push it out of a narrow status bar.
        if (!reason.isEmpty())
            m_status->showNote(m_context.texts.msgjournalerr.arg(QDir::toNativeSeparators(journalPath),
                                                                 m_context.texts.reason(reason)));
    });
    connect(&context.journal, &JournalKeeper::notice, this, [this](JournalKeeper::Notice notice, const QString &path, const Reason &detail) {
        const InterfaceTexts &texts = m_context.texts;
        const QString shown = QDir::toNativeSeparators(path);
        switch (notice) {
        case JournalKeeper::Notice::OpenElsewhere: m_status->showNote(texts.msgjournalelsewhere.arg(shown)); break;
        case JournalKeeper::Notice::Rewritten: m_status->showNote(texts.msgjournalrewritten.arg(shown)); break;
        case JournalKeeper::Notice::DamagedMoved: m_status->showNote(texts.msgjournaldamaged.arg(shown, texts.reason(detail))); break;
        }
    });
    loadEdgeRules();
    // A faulty settings file is told once; the built-in fall-backs are in use.
    // So is a copy of a map's original that a save which did not finish left
    // behind, as long as it is there.
    QStringList notices;
    if (!context.settingsProblems.isEmpty())
        notices << texts.msgsettings.arg(context.settingsProblems.join(QStringLiteral("; ")));
    for (const KeptOriginal &kept : keptOriginals(QFileInfo(context.journal.folder()).path()))
        notices << texts.msgkeptoriginal.arg(kept.mapName, QDir::toNativeSeparators(kept.path));
    if (!notices.isEmpty()) {
        m_status->showNote(notices.join(QStringLiteral("; ")));
        for (const QString &notice : notices)
            std::fprintf(stderr, "brackwen: %s\n", qPrintable(notice));
    }

    restoreState();
    updateCaption();
}

MainWindow::~MainWindow() = default;

void MainWindow::loadEdgeRules()
{
    // Without a rules file in the current folder there is no edge brush; a
    // malformed one says why.
    const QString path = QString::fromLatin1(TerrainEdgeRulesFileName);
    if (QFileInfo::exists(path)) {
        const Reason reason = m_context.session.loadEdgeRules(path);
        if (!reason.isEmpty())
            m_status->showNote(m_context.texts.msgedgerules.arg(m_context.texts.reason(reason)));
    }
    m_actions->useEdgeRules();
    m_check.watch->checkAll();
}

void MainWindow::restoreState()
{
    // The designed window: the form's client area at its place, with the menu
    // bar above and the status bar below.
    resize(TForm1::DesignedClientSize.width(), TForm1::DesignedClientSize.height() + menuBar()->sizeHint().height()
                                                  + m_readout->sizeHint().height() + m_status->sizeHint().height()
                                                  + (m_palette->isVisibleTo(this) ? m_palette->sizeHint().height() : 0));
    move(TForm1::DesignedPosition);
    const bool overview = m_preferences.viewToggle(QStringLiteral("overview"), false);
    if (overview)
        resize(width() + OverviewWidth, height());
    const QByteArray geometry = m_preferences.windowGeometry();
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
    m_form->document().setDialogFolder(m_preferences.lastFolder());
    m_form->setConfigNumbersShown(m_preferences.viewToggle(QStringLiteral("spriteNumbers"), false));
    m_overview->setVisible(overview);
    m_history->setVisible(m_preferences.viewToggle(QStringLiteral("history"), false));
    setCellSize(zoom::rememberedStep(m_preferences.viewNumber(QStringLiteral("cellSize"), zoom::ResetStep)));
}

void MainWindow::saveState()
{
    m_preferences.setWindowGeometry(saveGeometry());
    m_preferences.setViewToggle(QStringLiteral("spriteNumbers"), m_form->showConfigNumbers());
}

void MainWindow::setCellSize(int pixels)
{
    DrawGrid *grid = m_form->grid();
    const QPoint centre = grid->centreCell();
    grid->setCellSize(pixels);
    m_form->layoutGrid();
    grid->centreOn(centre);
    m_preferences.setViewNumber(QStringLiteral("cellSize"), grid->cellSize());
}

void MainWindow::exportPicture()
{
    const InterfaceTexts &t = m_context.texts;
    const PictureExportTexts texts{t.exporttitle, t.exportcell, t.exportsize, t.exporttoolarge,
                                   t.exportmemory, t.exportfailed, t.exportfilter};
    UserPrompts &prompts = m_context.prompts();
    const auto ask = [&](std::uint32_t side, const PictureExportAnswer &proposal) {
        return ExportPictureDialog::ask(this, prompts, texts, m_context.promptButtons(), side, proposal);
    };
    const PictureExportResult result =
        ::exportPicture(m_context.session, m_form->grid()->cellSize(), m_form->showConfigNumbers(), ask, texts);
    switch (result.outcome) {
    case PictureExportResult::Outcome::Refused:
        prompts.showError(this, texts.title, result.message);
        break;
    case PictureExportResult::Outcome::Written:
        m_status->showNote(t.msgexported.arg(QDir::toNativeSeparators(result.fileName)));
        break;
    case PictureExportResult::Outcome::Cancelled:
        // Level 1 of a one-level map has nothing to draw: say why nothing happened.
        if (m_context.session.document().isLoaded && !m_context.session.levelShown())
            m_status->showNote(t.msgnounderground);
        break;
    }
}

void MainWindow::updateCaption()
{
    // The designed caption, with the modified mark while there are unsaved changes.
    const QString &fileName = m_context.session.fileName();
    const QString caption = fileName.isEmpty() ? m_context.texts.title
                                               : m_context.texts.title + " - " + QDir::toNativeSeparators(fileName);
    setWindowTitle(caption + QStringLiteral("[*]"));
    setWindowModified(m_context.session.hasUnsavedChanges());
}

void MainWindow::openFile(const QString &fileName)
{
    if (!QFileInfo(fileName).isFile() && m_preferences.recentFiles().contains(fileName)) {
        m_preferences.removeRecentFile(fileName);
        m_status->showNote(m_context.texts.msgmissing.arg(QDir::toNativeSeparators(fileName)));
        return;
    }
    m_form->document().open(fileName);
}

void MainWindow::openWhenStarted(const QString &fileName)
{
    QTimer::singleShot(0, this, [this, fileName] { openFile(fileName); });
}

void MainWindow::offerRecoveryWhenStarted()
{
    QTimer::singleShot(0, this, [this] {
        const QString mapPath = RecoveryPrompt::mapToOffer(m_context.journal.folder());
        if (!mapPath.isEmpty())
            openFile(mapPath);  // the open asks
    });
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_form->document().close()) {
        event->ignore();
        return;
    }
    saveState();
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QString fileName = droppedFile(event->mimeData());
    if (fileName.isEmpty())
        return;
    event->acceptProposedAction();
    openFile(fileName);
}
