// The designed window Form1: its controls, start-up, the grid's fit to the
// window, and the handlers that run the editor session's operations. The main
// window hosts it between its menus and its status bar.
#include "app/TForm1.h"

#include "app/DrawGrid.h"
#include "app/GridTools.h"
#include "base/Platform.h"
#include "edit/CellInformation.h"
#include "gfx/CellRenderer.h"
#include "gfx/TileDrawing.h"
#include "obstacles/ObstacleWindow.h"

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

TForm1::TForm1(std::unique_ptr<UserPrompts> prompts, QWidget *parent)
    : QWidget(parent)
    , m_prompts(prompts ? std::move(prompts) : std::make_unique<DialogPrompts>())
{
    setObjectName("Form1");
    setFont(gridFont());
    setMinimumSize(DesignedClientSize);
    resize(DesignedClientSize);
    move(DesignedPosition);

    SettingsAndTexts loaded = loadSettingsAndTexts();
    m_settings = std::move(loaded.settings);
    m_texts = std::move(loaded.texts);

    createControls();
    fillControls();
    m_form2 = std::make_unique<TForm2>(m_session.catalogue(), m_session.obstacleView(), obstacleCaptionTexts(m_texts));
    m_form2->setObjectName("Form2");
    m_paintTool = std::make_unique<PaintTool>([this](QPoint cell) { paintAt(cell); });
    m_selectTool = std::make_unique<SelectTool>(*DG, [this](QPoint cell) { DGSelectCell(cell.x(), cell.y()); });
    connectControls();
}

TForm1::~TForm1() = default;

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
    if (document().isLoaded && !askToSave())
        return;
    if (!m_session.sprites()) {
        TileSpriteSource source{m_settings.graphics, m_settings.valdris_path};
        const TileLoadResult loaded = m_session.loadSprites(source);
        m_settings.graphics = source.graphics;  // a missing game folder means the "defs" folder for this run
        switch (loaded) {
        case TileLoadResult::Error:
            showMapError(m_texts.spriteerr.arg(m_session.spriteLoadError()));
            return;
        case TileLoadResult::ArchiveNotOpened:
            return;
        case TileLoadResult::Finished:
            break;
        }
    }
    QString fileName = givenFileName;
    if (fileName.isEmpty()) {
        QString folder = m_dialogFolder;
        if (folder.isEmpty() && m_settings.valdris_path.size() > 5)
            folder = platform::findFile(m_settings.valdris_path, {QStringLiteral("maps")});
        fileName = m_prompts->openFileName(this, folder, dialogFilter());
    }
    if (fileName.isEmpty())
        return;

    const MapOpenResult loaded = m_session.open(fileName);
    if (!loaded.ok()) {
        showMapError(m_texts.openerr.arg(QDir::toNativeSeparators(fileName), loaded.reason));
        return;
    }
    fillSizeList();
    setWindowTitle(m_texts.title + " - " + QDir::toNativeSeparators(fileName));
    m_saveFileName = fileName;
    Q_EMIT mapFileChanged(fileName);
    m_mapSizeIndex = 0;
    CBmapsize->setCurrentIndex(0);
    layoutGrid();
    selectLevel();
    layoutGrid();
    CBChange(CBtertype);
}

void TForm1::showMapError(const QString &reason)
{
    // The map that is open stays open, editable and savable: a refused file
    // changes nothing but the label.
    Linfo->setText(m_texts.maperr);
    Linfo->adjustSize();
    Linfo->setToolTip(reason);
    Q_EMIT statusMessage(reason);
}

void TForm1::fillSizeList()
{
    CBmapsize->clear();
    CBmapsize->addItem(m_texts.notchange);
    CBmapsize->setCurrentIndex(0);
    QStringList sizes;
    for (int j = 1; j <= document().sizeStepCount; ++j)
        sizes << QStringLiteral("%1x%1").arg(j * document().sizeStep);
    CBmapsize->addItems(sizes);
}

bool TForm1::BsaveClick()
{
    if (!document().isLoaded)
        return false;
    const QString fileName = m_prompts->saveFileName(this, m_saveFileName, dialogFilter(), QStringLiteral("vdm"));
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
    if (!document().isLoaded)
        return false;
    m_saveFileName = fileName;
    const MapSaveResult saved = m_session.save(fileName);
    if (!saved.ok()) {
        m_prompts->showError(this, m_texts.title,
                             m_texts.saveerr.arg(QDir::toNativeSeparators(fileName), saved.reason));
        return false;
    }
    setWindowTitle(m_texts.title + " - " + QDir::toNativeSeparators(fileName));
    Q_EMIT mapFileChanged(fileName);
    Q_EMIT statusMessage(m_texts.msgsaved.arg(QDir::toNativeSeparators(fileName)));
    return true;
}

PromptButtons TForm1::promptButtons() const
{
    return {m_texts.dlgok, m_texts.dlgsave, m_texts.dlgdiscard, m_texts.dlgcancel};
}

bool TForm1::askToSave()
{
    if (!m_session.hasUnsavedChanges())
        return true;
    switch (m_prompts->askToSave(this, m_texts.title, m_texts.bsavemap + "?", promptButtons())) {
    case UserPrompts::SaveAnswer::Save:
        // A save that did not happen (cancelled or failed) keeps the edits on screen.
        return BsaveClick();
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
    const int side = int(document().mapSize);
    DG->setDimensions(side, side);
    DG->setLeftCol(0);
    DG->setTopRow(0);
    // Level 1 of a one-level map hides the grid.
    DG->setVisible(shown);
    if (DG->isVisible())
        DG->viewport()->update();
    else
        Q_EMIT statusMessage(m_texts.msgnounderground);
}

void TForm1::chooseLevel(int level)
{
    if (!document().isLoaded)
        return;
    CBlevel->setCurrentIndex(level);
    selectLevel();
}

void TForm1::otherLevelHere()
{
    if (!document().isLoaded)
        return;
    if (!document().hasUnderground) {
        Q_EMIT statusMessage(m_texts.msgnounderground);
        return;
    }
    const int left = DG->leftCol();
    const int top = DG->topRow();
    chooseLevel(document().currentLevel == 1 ? 0 : 1);
    DG->setLeftCol(left);
    DG->setTopRow(top);
}

void TForm1::CBmapsizeChange()
{
    const int index = CBmapsize->currentIndex();
    if (!document().isLoaded || index <= 0)
        return;
    const std::uint32_t side = std::uint32_t(index) * document().sizeStep;
    // A smaller size that would cut away painted cells asks first; nothing undoes it.
    if (side < document().mapSize && m_session.wouldCutCells(side)
        && !m_prompts->confirm(this, m_texts.title, m_texts.sizecut.arg(side), promptButtons())) {
        CBmapsize->setCurrentIndex(m_mapSizeIndex);
        return;
    }
    if (!m_session.resize(side)) {
        CBmapsize->setCurrentIndex(m_mapSizeIndex);
        m_prompts->showError(this, m_texts.title, m_texts.nomemory.arg(side));
        return;
    }
    m_mapSizeIndex = index;
}

// ---- Drawing -------------------------------------------------------------------

void TForm1::DGDrawCell(QPainter &painter, int column, int row, const QRect &rect)
{
    const GridView view{DG->leftCol(), DG->topRow(), DG->visibleColCount(), DG->visibleRowCount()};
    const CellRenderContext context{document(), view, m_showConfigNumbers, DG->font(), m_session.sprites(),
                                    DG->palette().color(QPalette::Base)};
    RenderCell(painter, rect, context, column, row);
}

void TForm1::repaintCells(int level, const QRect &cells)
{
    if (!DG->isVisible() || level != document().currentLayerLevel())
        return;
    // Only the fully visible columns and rows and the one partly visible after them are drawn.
    DG->updateCells(cells.intersected(DG->shownCells()));
}

// ---- Picking cells -------------------------------------------------------------

void TForm1::DGMouseDown(Qt::MouseButton button, Qt::MouseButtons, QPoint position)
{
    if (button == Qt::MiddleButton)
        FormMouseUp(button);
    // A right-button stroke, from press to release, is one step of undo.
    if (button == Qt::RightButton)
        m_session.beginStep();
    pressCell(button, position);
}

void TForm1::pressCell(Qt::MouseButton button, QPoint position)
{
    const QPoint cell = DG->cellAt(position);
    if (cell.x() < 0 || cell.y() < 0)
        return;
    if (m_paintTool->press(button == Qt::RightButton, cell))
        m_session.setAnchorCell({std::uint16_t(cell.x()), std::uint16_t(cell.y())});
}

void TForm1::DGMouseMove(Qt::MouseButtons buttons, QPoint position)
{
    if (buttons.testFlag(Qt::RightButton))
        pressCell(Qt::RightButton, position);
    if (buttons.testFlag(Qt::LeftButton))
        m_selectTool->drag(DG->cellAt(position));
    hoverCell(DG->cellAt(position));
}

void TForm1::hoverCell(QPoint cell)
{
    m_hoverCell = cell;
    showBrushOutline();
    Q_EMIT cellHovered(cell);
}

void TForm1::showBrushOutline()
{
    const int side = int(document().mapSize);
    const QRect map(0, 0, side, side);
    const QPoint cell = m_hoverCell;
    if (!document().isLoaded || cell.x() < 0 || cell.y() < 0) {
        DG->setOutline(DrawGrid::Outline::Brush, {});
        DG->setOutline(DrawGrid::Outline::Fill, {});
        return;
    }
    // A fill is marked at the pressed cell, stretched along the axis it does not fill.
    const bool fill = m_brush.fillX || m_brush.fillY;
    const QRect area(cell, QSize(m_brush.fillX ? 1 : m_brush.brushWidth, m_brush.fillY ? 1 : m_brush.brushHeight));
    DG->setOutline(DrawGrid::Outline::Brush, fill ? QRect() : area.intersected(map));
    DG->setOutline(DrawGrid::Outline::Fill, fill ? area.intersected(map) : QRect());
}

void TForm1::showPasteOutline()
{
    const CellClipboard &clipboard = m_session.clipboard();
    if (!document().isLoaded || clipboard.isEmpty()) {
        DG->setOutline(DrawGrid::Outline::Paste, {});
        return;
    }
    const int side = int(document().mapSize);
    const GridRect s = DG->selection();
    DG->setOutline(DrawGrid::Outline::Paste,
                   QRect(s.left, s.top, clipboard.width(), clipboard.height()).intersected(QRect(0, 0, side, side)));
}

void TForm1::DGSelectCell(int column, int row)
{
    const MapDocument &map = document();
    if (column < 0 || row < 0 || map.isResizing || std::uint32_t(column) >= map.mapSize
        || std::uint32_t(row) >= map.mapSize || std::uint32_t(std::max(column, row)) >= map.currentLayer().side())
        return;
    const TerrainCell &cell = map.currentLayer().at(std::uint32_t(row), std::uint32_t(column));
    const GridRect selected = DG->selection();
    const QString text = cellInformationText(QRect(QPoint(selected.left, selected.top),
                                                   QPoint(selected.right, selected.bottom)),
                                             column, row, cell);
    // The lines are joined by carriage returns; the label breaks them.
    Linfo->setText(QString(text).replace(u'\r', u'\n'));
    Linfo->setToolTip(QString());
    Linfo->adjustSize();
    Linfo->repaint();
    m_session.setAnchorCell({std::uint16_t(column), std::uint16_t(row)});
    if (m_form2->isVisible())
        BobstaclesClick();
}

void TForm1::FormMouseUp(Qt::MouseButton button)
{
    if (GB->isVisible())
        Bundo->setFocus();
    if (button == Qt::MiddleButton && document().isLoaded)
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
    // Fine-grained wheels and touchpads send parts of a notch (120 units); they add up.
    m_wheelTurn += event->angleDelta().y();
    const int notches = m_wheelTurn / 120;
    m_wheelTurn -= notches * 120;
    if (!document().isLoaded || !isActiveWindow() || notches == 0)
        return;
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    if (!ctrl && (modifiers.testFlag(Qt::ShiftModifier) || event->buttons().testFlag(Qt::LeftButton)))
        return;
    const int side = int(document().mapSize);
    for (int step = 0; step < std::abs(notches); ++step) {
        const bool down = notches < 0;
        if (ctrl) {
            if (down && DG->leftCol() + DG->visibleColCount() < side)
                DG->setLeftCol(DG->leftCol() + 1);
            else if (!down && DG->leftCol() > 0)
                DG->setLeftCol(DG->leftCol() - 1);
        } else {
            if (down && DG->topRow() + DG->visibleRowCount() < side)
                DG->setTopRow(DG->topRow() + 1);
            else if (!down && DG->topRow() > 0)
                DG->setTopRow(DG->topRow() - 1);
        }
    }
}

// ---- Painting, undo, copy and paste ---------------------------------------------

void TForm1::CBChange(const QObject *sender)
{
    // A new brush paints again on the cell pressed last.
    if (sender != this)
        m_paintTool->rearm();
    if (sender == CBtertype) {
        const TerrainConfigList list = terrainConfigListFor(CBtertype->currentIndex(), m_brush.terrainConfig);
        CBterconf->clear();
        QStringList items;
        for (int n = 0; n < list.itemCount - 1; ++n)
            items << QString::number(n);
        CBterconf->addItems(items << m_texts.notchng);
        CBterconf->setCurrentIndex(list.selectedIndex);
    }
    BrushSelectors selectors;
    selectors.CBtertype = CBtertype->currentIndex();
    selectors.CBterconf = CBterconf->currentIndex();
    selectors.CBrivtype = CBrivtype->currentIndex();
    selectors.CBrivconf = CBrivconf->currentIndex();
    selectors.CBroadtype = CBroadtype->currentIndex();
    selectors.CBroadconf = CBroadconf->currentIndex();
    for (int k = 0; k < int(selectors.LBmirror.size()); ++k)
        selectors.LBmirror[k] = LBmirror->item(k)->isSelected();
    selectors.CBmirror = CBmirror->currentIndex();
    selectors.CBbrushx = CBbrushx->currentIndex();
    selectors.CBbrushy = CBbrushy->currentIndex();
    m_brush = BrushSettings::fromSelectors(selectors, m_brush);
    if (m_session.sprites())
        updateBrushPreview();
    showBrushOutline();
}

void TForm1::updateBrushPreview()
{
    const BrushSettings &b = m_brush;
    const auto mirrored = [&b](int type, int sprite, int bit) {
        return PreviewTile{type, sprite, b.mirrorApply && b.mirrorBits[bit], b.mirrorApply && b.mirrorBits[bit + 1]};
    };
    std::optional<PreviewTile> terrain, river, road;
    if (b.paintTerrain)
        terrain = mirrored(b.terrainType, b.keepTerrainConfig ? 0 : b.terrainConfig, 0);
    if (b.paintRiver && b.riverType != 0 && b.riverConfig < BrushSettings::RiverConfigCount)
        river = mirrored(b.riverType, b.riverConfig, 2);
    if (b.paintRoad && b.roadType != 0 && b.roadConfig < BrushSettings::RoadConfigCount)
        road = mirrored(b.roadType, b.roadConfig, 4);
    tileimage->setPixmap(QPixmap::fromImage(
        composeBrushPreview(*m_session.sprites(), terrain, river, road, palette().color(QPalette::Window))));
}

void TForm1::paintAt(QPoint cell)
{
    CBChange(this);
    m_session.paint(m_brush, cell.x(), cell.y());
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
    if (step.outcome != UndoStep::Outcome::Restored)
        return;
    if (step.level != document().currentLevel) {
        CBlevel->setCurrentIndex(step.level);
        selectLevel();
    }
    DG->setLeftCol(undoScrollPosition(step.column, DG->leftCol(), DG->visibleColCount()));
    DG->setTopRow(undoScrollPosition(step.row, DG->topRow(), DG->visibleRowCount()));
    repaintCells(step.level, QRect(step.column, step.row, 1, 1));
}

void TForm1::BcopycellsClick()
{
    const GridRect s = DG->selection();
    m_session.copy(QRect(QPoint(s.left, s.top), QPoint(s.right, s.bottom)));
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

QString TForm1::aboutText() const
{
    const QString title = m_texts.title + " v" + Version;
    if (m_settings.language == QLatin1String("russian"))
        return title + QString::fromUtf8(", Написал ") + Author + "\r" + QString::fromUtf8("Желаете посетить ")
            + WebPage + QString::fromUtf8(" для справки или апдейта? ");
    return title + ", Created by " + Author + "\r" + "Wish to visit " + WebPage + " and get info or updates? ";
}

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
    m_session.releaseResources();
    return true;
}

UserPrompts::AboutAnswer TForm1::showAbout()
{
    const UserPrompts::AboutAnswer answer = m_prompts->askAbout(this, m_texts.title, aboutText());
    if (answer == UserPrompts::AboutAnswer::Yes)
        platform::openWebPage(QString::fromLatin1(WebPage));
    return answer;
}
