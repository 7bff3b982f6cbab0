// The designed window Form1: its controls, start-up, the grid's fit to the
// window, and the handlers that run the editor session's operations. The main
// window hosts it between its menus and its status bar.
#include "ui/TForm1.h"

#include "base/Platform.h"
#include "edit/CellInformation.h"
#include "gfx/CellRenderer.h"
#include "session/EditorSession.h"
#include "session/SampleFolder.h"
#include "ui/BrushPreview.h"
#include "ui/DrawGrid.h"
#include "ui/EditorContext.h"
#include "ui/ObstacleWindow.h"
#include "ui/EditorTools.h"
#include "ui/RecoveryPrompt.h"
#include "ui/SelectTool.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QWheelEvent>

TForm1::TForm1(EditorContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_session(context.session)
    , m_settings(context.settings)
    , m_texts(context.texts)
{
    setObjectName("Form1");
    setFont(gridFont());
    setMinimumSize(DesignedClientSize);
    resize(DesignedClientSize);
    move(DesignedPosition);

    createControls();
    fillControls();
    m_form2 = std::make_unique<TForm2>(m_session.catalogue(), m_session.obstacleView(), obstacleCaptionTexts(m_texts));
    m_form2->setObjectName("Form2");
    m_brushControls = {CBtertype, CBterconf, CBrivtype, CBrivconf, CBroadtype, CBroadconf, LBmirror, CBmirror,
                       CBbrushx, CBbrushy};
    m_picker = &addEditorTools(m_tools, m_session, m_pressRule, m_brush, m_texts,
                   {[this](QPoint cell) { pickCell(cell); }, [this](const QString &text) { Q_EMIT statusMessage(text); }});
    m_selectTool = std::make_unique<SelectTool>(*DG, m_session, m_pressRule,
                                                [this](QPoint cell) { DGSelectCell(cell.x(), cell.y()); });
    m_selectTool->setCountNote([this](std::size_t cells) { Q_EMIT statusMessage(m_texts.counted(m_texts.msgselected, cells)); });
    connectControls();
}

TForm1::~TForm1() = default;

void TForm1::cancelGesture()
{
    currentTool().cancel();
    m_selectTool->cancel();
}

void TForm1::setScrollPause(std::function<void()> pause)
{
    m_selectTool->setScrollPause(std::move(pause));
}

void TForm1::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The panel keeps to the right edge and the full height.
    GB->setGeometry(width() - PanelWidth, 0, PanelWidth, height());
    layoutGrid();
}

void TForm1::layoutGrid()
{
    const int allowance = platform::scrollBarAllowance(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, DG));
    const int height = this->height();
    const int width = this->width() - (GB->isVisibleTo(this) ? GB->width() : 0);
    if (DG->width() != width || DG->height() != height)
        DG->resize(width, height);
    if (DG->visibleColCount() < DG->colCount()) {
        const int extra = DG->visibleRowCount() < DG->rowCount() ? allowance : 0;
        DG->resize(DG->visibleColCount() * DG->cellSize() + extra, DG->height());
    }
    if (DG->visibleRowCount() < DG->rowCount()) {
        const int extra = DG->visibleColCount() < DG->colCount() ? allowance : 0;
        DG->resize(DG->width(), DG->visibleRowCount() * DG->cellSize() + extra);
    }
}

// ---- Opening and saving ------------------------------------------------------

void TForm1::BopenClick()
{
    openMapFile(QString());
}

void TForm1::openMapFile(const QString &givenFileName)
{
    if (m_session.document().isLoaded && !askToSave())
        return;
    if (const QString problem = m_session.prepareSprites(m_settings); !problem.isEmpty()) {
        const QString text = m_texts.msgplaincolours.arg(m_texts.spriteerr.arg(problem));
        Q_EMIT statusMessage(text);
        m_context.prompts().showError(this, m_texts.title, text);
    }
    QString fileName = givenFileName;
    if (fileName.isEmpty()) {
        QString folder = m_dialogFolder;
        if (folder.isEmpty() && m_settings.valdris_path.size() > 5)
            folder = platform::findFile(m_settings.valdris_path, {QStringLiteral("maps")});
        // Without a maps folder of the game, an installed editor offers its sample maps.
        if (folder.isEmpty())
            folder = installedSampleMaps(QCoreApplication::applicationDirPath());
        fileName = m_context.prompts().openFileName(this, folder, m_context.mapDialogFilter());
    }
    if (fileName.isEmpty())
        return;
    RecoveryPrompt recovery(m_context, this);
    const auto tell = [&] { if (!recovery.message().isEmpty()) Q_EMIT statusMessage(recovery.message()); };
    const bool openNow = recovery.ask(fileName);
    tell();
    if (!openNow)
        return;

    const MapOpenResult loaded = m_session.open(fileName);
    if (!loaded.ok()) {
        showMapError(m_texts.openerr.arg(QDir::toNativeSeparators(fileName), m_texts.reason(loaded.why)));
        return;
    }
    fillSizeList();
    m_mapSizeIndex = 0;
    CBmapsize->setCurrentIndex(0);
    layoutGrid();
    selectLevel();
    layoutGrid();
    CBChange(CBtertype);
    recovery.replay();
    tell();
}

void TForm1::showMapError(const QString &reason)
{
    // The map that is open stays open, editable and savable: a refused file
    // changes nothing but the label.
    Linfo->setText(m_texts.maperr);
    Linfo->adjustSize();
    Linfo->setToolTip(reason);
    Q_EMIT statusMessage(reason);
    // A refusal is a fact the user must see, not a note that fades away.
    m_context.prompts().showError(this, m_texts.title, reason);
}

void TForm1::fillSizeList()
{
    CBmapsize->clear();
    CBmapsize->addItem(m_texts.notchange);
    CBmapsize->setCurrentIndex(0);
    QStringList sizes;
    const SizeSteps &steps = m_session.sizeSteps();
    for (int j = 1; j <= steps.count; ++j)
        sizes << QStringLiteral("%1x%1").arg(j * steps.step);
    CBmapsize->addItems(sizes);
}

bool TForm1::BsaveClick()
{
    if (!m_session.document().isLoaded)
        return false;
    const QString fileName = m_context.prompts().saveFileName(this, m_session.fileName(), m_context.mapDialogFilter(),
                                                              QStringLiteral("vdm"));
    if (fileName.isEmpty())
        return false;
    return saveTo(fileName);
}

bool TForm1::saveToCurrentFile()
{
    if (m_session.fileName().isEmpty())
        return BsaveClick();
    return saveTo(m_session.fileName());
}

bool TForm1::saveTo(const QString &fileName)
{
    if (!m_session.document().isLoaded)
        return false;
    const MapSaveResult saved = m_session.save(fileName);
    if (!saved.ok()) {
        m_context.prompts().showError(this, m_texts.title,
                                      m_texts.saveerr.arg(QDir::toNativeSeparators(fileName), m_texts.reason(saved.why)));
        return false;
    }
    Q_EMIT statusMessage(m_texts.msgsaved.arg(QDir::toNativeSeparators(fileName)));
    return true;
}

void TForm1::showCaption(const QString &fileName)
{
    setWindowTitle(fileName.isEmpty() ? m_texts.title : m_texts.title + " - " + QDir::toNativeSeparators(fileName));
}

bool TForm1::askToSave()
{
    if (!m_session.hasUnsavedChanges())
        return true;
    switch (m_context.prompts().askToSave(this, m_texts.title, m_texts.bsavemap + "?", m_context.promptButtons())) {
    case UserPrompts::SaveAnswer::Save:
        // A save that did not happen (cancelled or failed) keeps the edits on
        // screen. A map with a file is saved there, as Ctrl+S does.
        return saveToCurrentFile();
    case UserPrompts::SaveAnswer::Discard:
        return true;
    case UserPrompts::SaveAnswer::Cancel:
        break;
    }
    return false;
}

// ---- Level and size ----------------------------------------------------------

void TForm1::selectLevel()
{
    m_session.selectLevel(CBlevel->currentIndex());
}

void TForm1::showLevel(bool shown)
{
    const int side = int(m_session.document().mapSize);
    DG->setDimensions(side, side);
    DG->setLeftCol(0);
    DG->setTopRow(0);
    // Level 1 of a one-level map hides the grid.
    DG->setVisible(shown);
    if (shown)
        DG->viewport()->update();
    else
        Q_EMIT statusMessage(m_texts.msgnounderground);
}

void TForm1::chooseLevel(int level)
{
    if (!m_session.document().isLoaded)
        return;
    CBlevel->setCurrentIndex(level);
    selectLevel();
}

void TForm1::otherLevelHere()
{
    const MapDocument &document = m_session.document();
    if (!document.isLoaded)
        return;
    if (!document.hasUnderground) {
        Q_EMIT statusMessage(m_texts.msgnounderground);
        return;
    }
    const int left = DG->leftCol();
    const int top = DG->topRow();
    chooseLevel(m_session.level() == 1 ? 0 : 1);
    DG->setLeftCol(left);
    DG->setTopRow(top);
}

void TForm1::CBmapsizeChange()
{
    const int index = CBmapsize->currentIndex();
    const MapDocument &document = m_session.document();
    if (!document.isLoaded || index <= 0)
        return;
    const std::uint32_t side = std::uint32_t(index) * m_session.sizeSteps().step;
    // A smaller size that would cut away painted cells asks first; nothing undoes it.
    if (side < document.mapSize && m_session.wouldCutCells(side)
        && !m_context.prompts().confirm(this, m_texts.title, m_texts.sizecut.arg(side), m_context.promptButtons())) {
        CBmapsize->setCurrentIndex(m_mapSizeIndex);
        return;
    }
    if (!m_session.resize(side)) {
        CBmapsize->setCurrentIndex(m_mapSizeIndex);
        m_context.prompts().showError(this, m_texts.title, m_texts.nomemory.arg(side));
        return;
    }
    m_mapSizeIndex = index;
}

// ---- Drawing -------------------------------------------------------------------

void TForm1::DGDrawCell(QPainter &painter, int column, int row, const QRect &rect)
{
    if (m_session.isResizing())
        return;
    const GridView view{DG->leftCol(), DG->topRow(), DG->visibleColCount(), DG->visibleRowCount()};
    const CellRenderContext context{m_session.document(), view, m_showConfigNumbers, DG->font(), m_session.sprites(),
                                    DG->palette().color(QPalette::Base)};
    RenderCell(painter, rect, context, column, row);
}

void TForm1::repaintCells(int level, const QRect &cells)
{
    if (!DG->isVisible() || level != m_session.document().currentLayerLevel())
        return;
    // Only the fully visible columns and rows and the one partly visible after them are drawn.
    DG->updateCells(cells.intersected(DG->shownCells()));
}

// ---- Picking cells -------------------------------------------------------------

void TForm1::DGMouseDown(const GridEvent &event)
{
    if (event.button == Qt::MiddleButton)
        FormMouseUp(event.button);
    // The right button acts with the current tool (with Alt, it picks with
    // any); any other press picks the cell.
    if (event.button == Qt::RightButton && event.modifiers.testFlag(Qt::AltModifier) && event.onMap())
        pickCell(event.cell);
    else if (event.button == Qt::RightButton)
        currentTool().press(event);
    else
        m_selectTool->press(event);
}

void TForm1::DGMouseMove(const GridEvent &event, QPoint position)
{
    currentTool().move(event);
    m_selectTool->move(event);
    hoverAt(position);
}

void TForm1::DGMouseUp(const GridEvent &event)
{
    if (event.button == Qt::RightButton)
        currentTool().release(event);
    else
        m_selectTool->release(event);
    refreshHover();
}

void TForm1::hoverAt(std::optional<QPoint> position)
{
    m_hoverPoint = position;
    refreshHover();
}

void TForm1::refreshHover()
{
    const QPoint cell = m_hoverPoint ? DG->cellAt(*m_hoverPoint) : QPoint(-1, -1);
    m_hoverCell = cell;
    showBrushOutline();
    Q_EMIT cellHovered(cell);
}

void TForm1::showBrushOutline()
{
    const ToolOutline outline = currentTool().outline(m_hoverCell);
    DG->setOutline(DrawGrid::Outline::Brush, outline.dashed ? QRect() : outline.cells);
    // The cells a fill would reach, when known, else the pressed cell dashed.
    DG->setOutline(DrawGrid::Outline::Fill, outline.dashed && !outline.region ? outline.cells : QRect());
    DG->setFillPreview(outline.region);
}

void TForm1::showPasteOutline()
{
    const CellClipboard &clipboard = m_session.clipboard();
    if (!m_session.document().isLoaded || clipboard.isEmpty()) {
        DG->setOutline(DrawGrid::Outline::Paste, {});
        return;
    }
    const int side = int(m_session.document().mapSize);
    const GridRect s = DG->selection();
    DG->setOutline(DrawGrid::Outline::Paste,
                   QRect(s.left, s.top, clipboard.width(), clipboard.height()).intersected(QRect(0, 0, side, side)));
}

void TForm1::DGSelectCell(int column, int row)
{
    const MapDocument &map = m_session.document();
    if (column < 0 || row < 0 || m_session.isResizing() || std::uint32_t(column) >= map.mapSize
        || std::uint32_t(row) >= map.mapSize || std::uint32_t(std::max(column, row)) >= map.currentLayer().side())
        return;
    m_infoCell = QPoint(column, row);
    showCellInfo();
    m_session.setAnchorCell({std::uint16_t(column), std::uint16_t(row)});
    if (m_form2->isVisible())
        BobstaclesClick();
}

void TForm1::showCellInfo()
{
    const MapDocument &map = m_session.document();
    const int column = m_infoCell.x(), row = m_infoCell.y();
    if (column < 0 || m_session.isResizing() || std::uint32_t(std::max(column, row)) >= map.currentLayer().side())
        return;
    // The selection as it is now: the grid announces a new one after picking the cell.
    const GridRect selected = DG->selection();
    const QString text = cellInformationText(QRect(QPoint(selected.left, selected.top),
                                                   QPoint(selected.right, selected.bottom)),
                                             column, row, map.currentLayer().at(std::uint32_t(row), std::uint32_t(column)));
    // The lines are joined by carriage returns; the label breaks them.
    Linfo->setText(QString(text).replace(u'\r', u'\n'));
    Linfo->setToolTip(QString());
    Linfo->adjustSize();
    Linfo->repaint();
}

void TForm1::FormMouseUp(Qt::MouseButton button)
{
    if (GB->isVisible())
        Bundo->setFocus();
    if (button == Qt::MiddleButton && m_session.document().isLoaded)
        setPanelVisible(!GB->isVisible());
}

bool TForm1::panelVisible() const
{
    return GB->isVisibleTo(this);
}

void TForm1::setPanelVisible(bool visible)
{
    if (visible == panelVisible())
        return;
    GB->setVisible(visible);
    layoutGrid();
    update();
    Q_EMIT panelToggled(visible);
}

void TForm1::setConfigNumbersShown(bool shown)
{
    if (shown == m_showConfigNumbers)
        return;
    m_showConfigNumbers = shown;
    DG->viewport()->update();
    Q_EMIT configNumbersToggled(shown);
}

void TForm1::mouseReleaseEvent(QMouseEvent *event)
{
    FormMouseUp(event->button());
    QWidget::mouseReleaseEvent(event);
}

void TForm1::GBMouseDown(Qt::MouseButton button)
{
    if (button == Qt::RightButton) {
        setConfigNumbersShown(!m_showConfigNumbers);
    } else if (button == Qt::MiddleButton) {
        Bundo->setFocus();
    }
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    // Presses that a control of the panel passed on (a right click on a
    // button) are not presses on the panel; a quick second press comes as a
    // double click.
    if (watched == GB && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (GB->childAt(mouse->position().toPoint()) == nullptr)
            GBMouseDown(mouse->button());
    }
    if (watched == DG && (event->type() == QEvent::FocusOut || event->type() == QEvent::Hide))
        cancelGesture();
    // Releases on the panel stay there; the window's release handler is for its bare area.
    if (watched == GB && event->type() == QEvent::MouseButtonRelease)
        return true;
    return QWidget::eventFilter(watched, event);
}

void TForm1::wheelEvent(QWheelEvent *event)
{
    FormMouseWheel(event);
    event->ignore();
}

void TForm1::FormMouseWheel(QWheelEvent *event)
{
    const int notches = DG->wheelNotches(event);
    if (!m_session.document().isLoaded || !isActiveWindow() || notches == 0)
        return;
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    if (!ctrl && (modifiers.testFlag(Qt::ShiftModifier) || event->buttons().testFlag(Qt::LeftButton)))
        return;
    // A notch towards the user (down) shows the next row, or column with Ctrl.
    DG->scrollByCells(-notches, ctrl ? Qt::Horizontal : Qt::Vertical);
}

// ---- Painting, undo, copy and paste ---------------------------------------------

void TForm1::CBChange(const QObject *sender)
{
    if (sender == CBtertype)
        m_brushControls.refillTerrainConfigs(m_brush.terrainConfig, m_texts.notchng);
    m_brush = BrushSettings::fromSelectors(m_brushControls.selectors(), m_brush);
    // A new brush paints again on the cell pressed last.
    m_pressRule.rearm();
    if (m_session.sprites())
        updateBrushPreview();
    showBrushOutline();
}

void TForm1::updateBrushPreview()
{
    tileimage->setPixmap(QPixmap::fromImage(
        brushPreview(*m_session.sprites(), m_brush, palette().color(QPalette::Window))));
}

void TForm1::pickCell(QPoint cell)
{
    const TerrainLayer &layer = m_session.document().currentLayer();
    if (!m_session.levelShown() || std::uint32_t(std::max(cell.x(), cell.y())) >= layer.side())
        return;
    m_brushControls.show(selectorsForCell(layer.at(cell.y(), cell.x()), m_brushControls.selectors()), m_texts.notchng);
    CBChange(nullptr);
}

void TForm1::stepBrushSize(int step)
{
    m_brushControls.stepSize(step);
    CBChange(CBbrushx);
}

void TForm1::SetUndoCount(std::size_t count)
{
    Bundo->setText(m_texts.bundo + " " + QString::number(count));
}

void TForm1::BundoClick()
{
    showRestored(m_session.undoLast());
}

void TForm1::undoStep()
{
    showRestored(m_session.undoStep());
}

void TForm1::redoStep()
{
    showRestored(m_session.redoStep());
}

void TForm1::showRestored(const UndoStep &step)
{
    // What was taken back or put back can be painted again at once.
    m_pressRule.rearm();
    if (step.outcome != UndoStep::Outcome::Restored)
        return;
    if (step.level != m_session.level()) {
        CBlevel->setCurrentIndex(step.level);
        selectLevel();
    }
    DG->setLeftCol(undoScrollPosition(step.column, DG->leftCol(), DG->visibleColCount()));
    DG->setTopRow(undoScrollPosition(step.row, DG->topRow(), DG->visibleRowCount()));
    repaintCells(step.level, QRect(step.column, step.row, 1, 1));
}

void TForm1::BcopycellsClick()
{
    // A selection by terrain is copied as the block that holds it.
    const GridRect s = DG->selection();
    const auto &region = m_session.regionSelection();
    m_session.copy(region ? region->bounds() : QRect(QPoint(s.left, s.top), QPoint(s.right, s.bottom)));
    showPasteOutline();
}

void TForm1::BpastecellsClick()
{
    const GridRect s = DG->selection();
    m_session.paste(s.left, s.top);
}

// ---- Obstacles -------------------------------------------------------------------

void TForm1::BobstaclesClick()
{
    ObstacleRequest request;
    request.battlefieldItem = CBobstter->currentIndex();
    request.xItem = CBobstx->currentIndex();
    request.yItem = CBobsty->currentIndex();
    m_session.chooseObstacles(request);
}

// ---- Closing -----------------------------------------------------------------------

void TForm1::closeEvent(QCloseEvent *event)
{
    event->setAccepted(FormClose());
}

bool TForm1::FormClose()
{
    if (!askToSave())
        return false;
    if (m_settings.use_nagscreen == 1 && showAbout() == UserPrompts::AboutAnswer::Cancel)
        return false;
    m_form2->hide();
    // The edits were saved, or the user chose to leave them.
    m_context.journal.discard();
    m_session.releaseResources();
    return true;
}

UserPrompts::AboutAnswer TForm1::showAbout()
{
    const UserPrompts::AboutAnswer answer = m_context.prompts().askAbout(
        this, m_texts.title, aboutText(m_texts, Version, Author, WebPage));
    if (answer == UserPrompts::AboutAnswer::Yes)
        platform::openWebPage(QString::fromLatin1(WebPage));
    return answer;
}
