// The menus and keys of the main window.
#include "ui/EditorActions.h"

#include "session/EditorSession.h"
#include "session/Preferences.h"
#include "ui/DrawGrid.h"
#include "ui/EditorContext.h"
#include "ui/GenerateTerrainEntry.h"
#include "ui/SymmetryMenus.h"
#include "ui/TransformMenu.h"
#include "ui/TForm1.h"
#include "ui/BrushPanel.h"
#include "ui/DocumentController.h"
#include "ui/LevelControls.h"

#include <QAction>
#include <QDir>
#include <QMainWindow>
#include <QMenuBar>

EditorActions::EditorActions(QMainWindow &window, TForm1 &form, EditorContext &context, Preferences &preferences)
    : QObject(&window)
    , m_window(window)
    , m_form(form)
    , m_context(context)
    , m_preferences(preferences)
{
    const InterfaceTexts &t = context.texts;
    QMenuBar *bar = window.menuBar();

    QMenu *file = bar->addMenu(t.menufile);
    connect(add(file, "actionOpen", t.menuopen, {QKeySequence::Open}), &QAction::triggered, &form,
            [&form] { form.document().open(QString()); });
    m_recentMenu = file->addMenu(t.menurecent);
    m_recentMenu->setObjectName(QStringLiteral("menuRecent"));
    connect(m_recentMenu, &QMenu::aboutToShow, this, &EditorActions::fillRecentMenu);
    connect(add(file, "actionSave", t.menusave, {QKeySequence(Qt::CTRL | Qt::Key_S)}), &QAction::triggered,
            &form.document(), &DocumentController::save);
    connect(add(file, "actionSaveAs", t.menusaveas, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}),
            &QAction::triggered, &form.document(), &DocumentController::saveAs);
    connect(add(file, "actionExportPicture", t.exportmenu), &QAction::triggered, this,
            &EditorActions::exportPictureRequested);
    // Keeping the replaced file as NAME.bak: off at first start.
    QAction *backup = add(file, "actionKeepBackup", t.menubackup);
    backup->setCheckable(true);
    backup->setChecked(preferences.keepBackup());
    context.keepBackups(backup->isChecked());
    connect(backup, &QAction::toggled, this, [this](bool on) {
        m_context.keepBackups(on);
        m_preferences.setKeepBackup(on);
    });
    file->addSeparator();
    connect(add(file, "actionQuit", t.menuquit, {QKeySequence(Qt::CTRL | Qt::Key_Q)}), &QAction::triggered, &window,
            &QWidget::close);

    QMenu *edit = bar->addMenu(t.menuedit);
    connect(add(edit, "actionUndoStep", t.menuundostep, {QKeySequence(Qt::CTRL | Qt::Key_Z)}), &QAction::triggered,
            &form, &TForm1::undoStep);
    connect(add(edit, "actionRedoStep", t.menuredostep,
                {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}),
            &QAction::triggered, &form, &TForm1::redoStep);
    connect(add(edit, "actionUndoCell", t.menuundocell), &QAction::triggered, &form, &TForm1::undoOneCell);
    edit->addSeparator();
    connect(add(edit, "actionCopy", t.menucopy, {QKeySequence(Qt::CTRL | Qt::Key_C)}), &QAction::triggered, &form,
            &TForm1::BcopycellsClick);
    connect(add(edit, "actionPaste", t.menupaste, {QKeySequence(Qt::CTRL | Qt::Key_V)}), &QAction::triggered, &form,
            &TForm1::BpastecellsClick);
    // Paste has something to write once cells were copied, whichever command copied them.
    connect(&m_context.session.clipboardModel(), &ClipboardModel::changed, this, &EditorActions::updateEnabled);
    edit->addSeparator();
    connect(add(edit, "actionSelectAll", t.menuselectall, {QKeySequence(Qt::CTRL | Qt::Key_A)}), &QAction::triggered,
            &form, [this] {
                const int side = int(m_context.session.document().mapSize);
                m_form.grid()->setSelection(QRect(0, 0, side, side));
            });
    connect(add(edit, "actionDeselect", t.menudeselect, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A)}),
            &QAction::triggered, &form, [this] {
                const DrawGrid *grid = m_form.grid();
                m_form.grid()->setSelection(QRect(grid->col(), grid->row(), 1, 1));
            });
    connect(add(edit, "actionFillSelection", t.menufillselection), &QAction::triggered, &form, [this] {
        const GridRect s = m_form.grid()->selection();
        m_context.session.fillSelection(m_form.brush(), QRect(QPoint(s.left, s.top), QPoint(s.right, s.bottom)));
    });
    connect(add(edit, "actionSmallerBrush", t.menusmaller, {QKeySequence(Qt::Key_BracketLeft)}), &QAction::triggered,
            &form, [&form] { form.brushPanel().stepSize(-1); });
    connect(add(edit, "actionLargerBrush", t.menularger, {QKeySequence(Qt::Key_BracketRight)}), &QAction::triggered,
            &form, [&form] { form.brushPanel().stepSize(+1); });
    edit->addSeparator();
    // The edge brush: off at first start, so painting is the designed brush's.
    QAction *edgeBrush = add(edit, "actionEdgeBrush", t.menuedgebrush, {QKeySequence(Qt::CTRL | Qt::Key_E)});
    edgeBrush->setCheckable(true);
    connect(edgeBrush, &QAction::toggled, this, [this](bool on) {
        m_context.session.setEdgeBrush(on);
        m_preferences.setViewToggle(QStringLiteral("edgeBrush"), on);
    });
    connect(add(edit, "actionFixEdges", t.menufixedges), &QAction::triggered, this, [this] {
        const std::size_t changed = m_context.session.fixAllEdges();
        Q_EMIT note(m_context.texts.counted(m_context.texts.msgedgesfixed, changed));
    });
    const auto noteText = [this](const QString &text) { Q_EMIT note(text); };
    const auto endGesture = [&form] { form.cancelGesture(); };
    addSymmetryMenus(edit, window, context, {noteText, endGesture, form.grid()});
    addTransformMenu(edit, window, context,
                     {[&form] { return form.grid()->selectedCells(); }, noteText, endGesture});
    connect(add(edit, "actionGenerateTerrain", t.menugenerate), &QAction::triggered, this, [this] {
        const auto changed = generateTerrainFromDialog(&m_window, m_context, m_preferences,
                                                       [this](int level) { m_form.levels().chooseLevel(level); });
        if (changed)
            Q_EMIT note(m_context.texts.counted(m_context.texts.msggenerated, *changed));
    });

    QMenu *view = bar->addMenu(t.menuview);
    connect(add(view, "actionGround", t.maplvl_gnd, {QKeySequence(Qt::CTRL | Qt::Key_1)}), &QAction::triggered, &form,
            [&form] { form.levels().chooseLevel(0); });
    connect(add(view, "actionUnderground", t.maplvl_str, {QKeySequence(Qt::CTRL | Qt::Key_2)}), &QAction::triggered,
            &form, [&form] { form.levels().chooseLevel(1); });
    connect(add(view, "actionOtherLevel", t.menuotherlevel, {QKeySequence(Qt::CTRL | Qt::Key_L)}),
            &QAction::triggered, &form.levels(), &LevelControls::otherLevelHere);
    view->addSeparator();
    QAction *panel = add(view, "actionPanel", t.menupanel);
    panel->setCheckable(true);
    panel->setChecked(form.panelVisible());
    connect(panel, &QAction::toggled, &form, &TForm1::setPanelVisible);
    connect(&form, &TForm1::panelToggled, panel, &QAction::setChecked);
    QAction *numbers = add(view, "actionNumbers", t.menunumbers);
    numbers->setCheckable(true);
    numbers->setChecked(form.showConfigNumbers());
    connect(numbers, &QAction::toggled, &form, &TForm1::setConfigNumbersShown);
    connect(&form, &TForm1::configNumbersToggled, numbers, &QAction::setChecked);
    connect(add(view, "actionObstacles", t.menuobstwin), &QAction::triggered, &form, &TForm1::BobstaclesClick);
    // Shows the statistics dock, which the main window wires.
    add(view, "actionStatistics", t.menustatistics);
    view->addSeparator();
    // Ctrl+wheel stays the horizontal scroll; zoom has keys of its own.
    connect(add(view, "actionZoomIn", t.zoomin,
                {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)}),
            &QAction::triggered, this, [this] { Q_EMIT zoomRequested(+1); });
    connect(add(view, "actionZoomOut", t.zoomout, {QKeySequence(Qt::CTRL | Qt::Key_Minus)}), &QAction::triggered,
            this, [this] { Q_EMIT zoomRequested(-1); });
    connect(add(view, "actionZoomReset", t.zoomreset, {QKeySequence(Qt::CTRL | Qt::Key_0)}), &QAction::triggered,
            this, [this] { Q_EMIT zoomRequested(0); });
    view->addSeparator();
    m_viewMenu = view;

    QMenu *help = bar->addMenu(t.menuhelp);
    connect(add(help, "actionMouseAndKeys", t.menukeys, {QKeySequence::HelpContents}), &QAction::triggered, this,
            [this] { m_context.prompts().showInformation(&m_window, QString(m_context.texts.menukeys).remove(u'&'),
                                                      mouseAndKeysText()); });
    connect(add(help, "actionAbout", t.menuabout), &QAction::triggered, &form.document(), &DocumentController::showAbout);

    EditorSession &session = context.session;
    for (auto signal : {&EditorSession::historyChanged, &EditorSession::mapOpened})
        connect(&session, signal, this, &EditorActions::updateEnabled);
    // Undo is there from the first cell of a stroke on, before the stroke ends.
    connect(&session, &EditorSession::undoCountChanged, this, &EditorActions::updateEnabled);
    updateEnabled();
}

QAction *EditorActions::add(QMenu *menu, const char *objectName, const QString &text, const QList<QKeySequence> &keys)
{
    auto *action = new QAction(text, &m_window);
    action->setObjectName(QString::fromLatin1(objectName));
    // A command ends the mouse gesture in progress first, so that a stroke
    // stays one step with its edges whatever the command does.
    connect(action, &QAction::triggered, &m_form, &TForm1::cancelGesture);
    action->setShortcuts(keys);
    // The keys work wherever the focus is in the window, also with the menu bar hidden.
    action->setShortcutContext(Qt::WindowShortcut);
    menu->addAction(action);
    m_window.addAction(action);
    return action;
}

QAction *EditorActions::action(const QString &objectName) const
{
    return m_window.findChild<QAction *>(objectName);
}

void EditorActions::fillRecentMenu()
{
    m_recentMenu->clear();
    for (const QString &path : m_preferences.recentFiles()) {
        QAction *entry = m_recentMenu->addAction(QDir::toNativeSeparators(path));
        connect(entry, &QAction::triggered, this, [this, path] { Q_EMIT recentFileChosen(path); });
    }
}

void EditorActions::updateEnabled()
{
    const EditorSession &session = m_context.session;
    const bool loaded = session.document().isLoaded;
    action(QStringLiteral("actionUndoStep"))->setEnabled(session.history().canUndo());
    action(QStringLiteral("actionRedoStep"))->setEnabled(session.history().canRedo());
    action(QStringLiteral("actionUndoCell"))->setEnabled(session.history().canUndo());
    for (const char *name : {"actionSave", "actionSaveAs", "actionExportPicture", "actionCopy", "actionGround",
                             "actionUnderground", "actionOtherLevel", "actionSelectAll", "actionDeselect",
                             "actionFillSelection", "actionStatistics", "actionGenerateTerrain"})
        action(QString::fromLatin1(name))->setEnabled(loaded);
    action(QStringLiteral("actionPaste"))->setEnabled(loaded && !session.clipboard().isEmpty());
    action(QStringLiteral("actionEdgeBrush"))->setEnabled(session.hasEdgeRules());
    action(QStringLiteral("actionFixEdges"))->setEnabled(loaded && session.hasEdgeRules());
}

void EditorActions::useEdgeRules()
{
    const bool available = m_context.session.hasEdgeRules();
    QAction *edgeBrush = action(QStringLiteral("actionEdgeBrush"));
    edgeBrush->setChecked(available && m_preferences.viewToggle(QStringLiteral("edgeBrush"), false));
    updateEnabled();
}

QString EditorActions::mouseAndKeysText() const
{
    const InterfaceTexts &t = m_context.texts;
    QStringList lines{t.helpleft, t.helpright, t.helpmiddle, t.helppanel, t.helpwheel, t.helparrows, t.helptools, QString(),
                      t.helpkeys + u':'};
    for (QAction *entry : m_window.actions()) {
        if (entry->shortcuts().isEmpty())
            continue;
        QStringList keys;
        for (const QKeySequence &key : entry->shortcuts())
            keys << key.toString(QKeySequence::NativeText);
        lines << keys.join(QStringLiteral(", ")) + QStringLiteral(": ") + QString(entry->text()).remove(u'&');
    }
    return lines.join(u'\n');
}
