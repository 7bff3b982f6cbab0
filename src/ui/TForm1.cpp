// The designed window Form1: start-up, the grid's fit to the window, and the
// handlers of the panel's controls that are the window's own. The main window
// hosts it between its menus and its status bar.
#include "ui/TForm1.h"

#include "base/Platform.h"
#include "edit/CellInformation.h"
#include "gfx/CellRenderer.h"
#include "session/EditorSession.h"
#include "ui/BrushPanel.h"
#include "ui/DocumentController.h"
#include "ui/DrawGrid.h"
#include "ui/EditorContext.h"
#include "ui/GridOutlines.h"
#include "ui/LevelControls.h"
#include "ui/ObstacleWindow.h"
#include "ui/SelectTool.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QWheelEvent>

TForm1::TForm1(EditorContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_session(context.session)
    , m_texts(context.texts)
{
    setObjectName("Form1");
    setFont(gridFont());
    setMinimumSize(DesignedClientSize);
    resize(DesignedClientSize);
    move(DesignedPosition);

    setupControls(*this);
    fillControls();
    createParts();
    connectControls();
}

TForm1::~TForm1() = default;

const BrushSettings &TForm1::brush() const
{
    return m_brushPanel->brush();
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

// ---- The map opened --------------------------------------------------------------

void TForm1::showOpenedMap()
{
    m_levels->fillSizeList();
    layoutGrid();
    m_levels->selectLevel();
    layoutGrid();
    m_brushPanel->readControls(true);
}

void TForm1::showCaption(const QString &fileName)
{
    setWindowTitle(fileName.isEmpty() ? m_texts.title : m_texts.title + " - " + QDir::toNativeSeparators(fileName));
}

// ---- Drawing -------------------------------------------------------------------

void TForm1::DGDrawCell(QPainter &painter, int column, int row, const QRect &rect)
{
    if (m_session.isResizing())
        return;
    const GridView view{DG->leftCol(), DG->topRow(), DG->visibleColCount(), DG->visibleRowCount()};
    const CellRenderContext context{m_session.document(), view, m_showConfigNumbers, DG->font(), m_session.sprites(),
                                    DG->palette().color(QPalette::Base), m_session.layerLevel()};
    RenderCell(painter, rect, context, column, row);
}

void TForm1::repaintCells(int level, const QRect &cells)
{
    if (!DG->isVisible() || level != m_session.layerLevel())
        return;
    // Only the fully visible columns and rows and the one partly visible after them are drawn.
    DG->updateCells(cells.intersected(DG->shownCells()));
}

// ---- The cell label --------------------------------------------------------------

void TForm1::DGSelectCell(int column, int row)
{
    const MapDocument &map = m_session.document();
    if (column < 0 || row < 0 || m_session.isResizing() || std::uint32_t(column) >= map.mapSize
        || std::uint32_t(row) >= map.mapSize || std::uint32_t(std::max(column, row)) >= m_session.currentLayer().side())
        return;
    m_infoCell = QPoint(column, row);
    showCellInfo();
    m_session.setAnchorCell({std::uint16_t(column), std::uint16_t(row)});
    if (m_form2->isVisible())
        BobstaclesClick();
}

void TForm1::showCellInfo()
{
    const int column = m_infoCell.x(), row = m_infoCell.y();
    if (column < 0 || m_session.isResizing() || std::uint32_t(std::max(column, row)) >= m_session.currentLayer().side())
        return;
    // The selection as it is now: the grid announces a new one after selecting the cell.
    const QString text = cellInformationText(DG->selectedCells(), column, row,
                                             m_session.currentLayer().at(std::uint32_t(row), std::uint32_t(column)));
    // The lines are joined by carriage returns; the label breaks them.
    Linfo->setText(QString(text).replace(u'\r', u'\n'));
    Linfo->setToolTip(QString());
    Linfo->adjustSize();
    Linfo->repaint();
}

void TForm1::showRefusal(const QString &reason)
{
    Linfo->setText(m_texts.maperr);
    Linfo->adjustSize();
    Linfo->setToolTip(reason);
}

// ---- The panel and the window's bare area ------------------------------------------

void TForm1::focusUndoButton()
{
    if (GB->isVisible())
        Bundo->setFocus();
}

void TForm1::togglePanel()
{
    if (m_session.document().isLoaded)
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
    // A release of any button on the bare area gives the Undo button the focus.
    focusUndoButton();
    if (event->button() == Qt::MiddleButton)
        togglePanel();
    QWidget::mouseReleaseEvent(event);
}

void TForm1::panelPressed(Qt::MouseButton button)
{
    if (button == Qt::RightButton)
        setConfigNumbersShown(!m_showConfigNumbers);
    else if (button == Qt::MiddleButton)
        Bundo->setFocus();
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    // Presses that a control of the panel passed on (a right click on a
    // button) are not presses on the panel; a quick second press comes as a
    // double click.
    if (watched == GB && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (GB->childAt(mouse->position().toPoint()) == nullptr)
            panelPressed(mouse->button());
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

// ---- Undo, copy, paste and obstacles ------------------------------------------------

void TForm1::SetUndoCount(std::size_t count)
{
    Bundo->setText(m_texts.bundo + " " + QString::number(count));
}

void TForm1::undoOneCell()
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
    m_tools.rearm();
    if (step.outcome != UndoStep::Outcome::Restored)
        return;
    if (step.level != m_session.level())
        m_levels->chooseLevel(step.level);
    DG->setLeftCol(undoScrollPosition(step.column, DG->leftCol(), DG->visibleColCount()));
    DG->setTopRow(undoScrollPosition(step.row, DG->topRow(), DG->visibleRowCount()));
    repaintCells(step.level, QRect(step.column, step.row, 1, 1));
}

void TForm1::BcopycellsClick()
{
    // A selection by terrain is copied as the block that holds it.
    const auto &region = m_session.regionSelection();
    m_session.copy(region ? region->bounds() : DG->selectedCells());
    m_outlines->showPasteOutline();
}

void TForm1::BpastecellsClick()
{
    const GridRect s = DG->selection();
    m_session.paste(s.left, s.top);
}

void TForm1::BobstaclesClick()
{
    ObstacleRequest request;
    request.battlefieldItem = CBobstter->currentIndex();
    request.xItem = CBobstx->currentIndex();
    request.yItem = CBobsty->currentIndex();
    m_session.chooseObstacles(request);
}

void TForm1::closeEvent(QCloseEvent *event)
{
    event->setAccepted(m_document->close());
}
