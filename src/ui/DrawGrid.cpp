// The map grid widget.
#include "ui/DrawGrid.h"

#include <QKeyEvent>
#include <QLineF>
#include <QList>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>

DrawGrid::DrawGrid(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::ClickFocus);
    // The thumb moves the view while it is dragged.
    horizontalScrollBar()->setTracking(true);
    verticalScrollBar()->setTracking(true);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves without a button report the cell under the pointer too.
    viewport()->setMouseTracking(true);
    updateScrollBars();
}

void DrawGrid::setOutline(Outline kind, const QRect &cells)
{
    QRect &outline = m_outlines[int(kind)];
    if (outline == cells)
        return;
    if (!outline.isEmpty())
        viewport()->update(cellsArea(outline).adjusted(-1, -1, 1, 1));
    outline = cells;
    if (!outline.isEmpty())
        viewport()->update(cellsArea(outline).adjusted(-1, -1, 1, 1));
}

void DrawGrid::leaveEvent(QEvent *event)
{
    QAbstractScrollArea::leaveEvent(event);
    Q_EMIT pointerLeft();
}

void DrawGrid::setDimensions(int colCount, int rowCount)
{
    m_colCount = std::max(colCount, 1);
    m_rowCount = std::max(rowCount, 1);
    const QPoint clamped(std::min(m_current.x(), m_colCount - 1), std::min(m_current.y(), m_rowCount - 1));
    if (clamped != m_current) {
        if (m_selectCell)
            m_selectCell(clamped.x(), clamped.y());
        m_current = clamped;
    }
    m_selectionEnd = QPoint(std::min(m_selectionEnd.x(), m_colCount - 1), std::min(m_selectionEnd.y(), m_rowCount - 1));
    updateScrollBars();
    viewport()->update();
    Q_EMIT viewChanged();
}

void DrawGrid::setCellSize(int pixels)
{
    if (pixels <= 0 || pixels == m_cellSize)
        return;
    m_cellSize = pixels;
    updateScrollBars();
    viewport()->update();
    Q_EMIT viewChanged();
}

int DrawGrid::leftCol() const
{
    return horizontalScrollBar()->value();
}

int DrawGrid::topRow() const
{
    return verticalScrollBar()->value();
}

void DrawGrid::setLeftCol(int column)
{
    horizontalScrollBar()->setValue(column);
}

void DrawGrid::setTopRow(int row)
{
    verticalScrollBar()->setValue(row);
}

DrawGrid::ViewportLayout DrawGrid::viewportLayout() const
{
    // Worked out from the grid's own size rather than read from the viewport,
    // so that it holds at once, also while the grid is hidden.
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int width = this->width();
    const int height = this->height();
    const qint64 contentWidth = qint64(m_colCount) * m_cellSize;
    const qint64 contentHeight = qint64(m_rowCount) * m_cellSize;
    bool horizontal = contentWidth > width;
    bool vertical = contentHeight > height;
    if (horizontal && !vertical)
        vertical = contentHeight > height - extent;
    if (vertical && !horizontal)
        horizontal = contentWidth > width - extent;
    return {QSize(std::max(width - (vertical ? extent : 0), 0), std::max(height - (horizontal ? extent : 0), 0)),
            horizontal, vertical};
}

int DrawGrid::visibleColCount() const
{
    return std::min(viewportLayout().size.width() / m_cellSize, m_colCount - leftCol());
}

int DrawGrid::visibleRowCount() const
{
    return std::min(viewportLayout().size.height() / m_cellSize, m_rowCount - topRow());
}

QRect DrawGrid::shownCells() const
{
    return QRect(leftCol(), topRow(), visibleColCount() + 1, visibleRowCount() + 1)
        .intersected(QRect(0, 0, m_colCount, m_rowCount));
}

QPoint DrawGrid::centreCell() const
{
    return {leftCol() + visibleColCount() / 2, topRow() + visibleRowCount() / 2};
}

void DrawGrid::centreOn(QPoint cell)
{
    // The scroll range stops at the map's edges.
    setLeftCol(std::max(cell.x() - visibleColCount() / 2, 0));
    setTopRow(std::max(cell.y() - visibleRowCount() / 2, 0));
}

void DrawGrid::setRegion(const QRect &bounds, RegionTest contains)
{
    m_regionBounds = bounds;
    m_regionContains = std::move(contains);
    viewport()->update();
}

void DrawGrid::setSelection(const QRect &cells)
{
    m_current = cells.topLeft();
    m_selectionEnd = cells.bottomRight();
    viewport()->update();
    Q_EMIT selectionChanged();
}

void DrawGrid::paintCellSet(QPainter &painter, const QRect &shown, const QRect &bounds, const RegionTest &contains,
                            bool veil) const
{
    const QRect cells = bounds.intersected(shown);
    if (cells.isEmpty() || !contains)
        return;
    QColor veilColour = palette().color(QPalette::Highlight);
    veilColour.setAlpha(70);
    const auto inside = [&](int column, int row) { return bounds.contains(column, row) && contains(column, row); };
    for (int row = cells.top(); row <= cells.bottom(); ++row)
        for (int column = cells.left(); column <= cells.right(); ++column) {
            if (!inside(column, row))
                continue;
            const QRect rect = cellRect(column, row);
            if (veil)
                painter.fillRect(rect, veilColour);
            // The frame runs along the sides that face cells outside the set.
            if (!inside(column, row - 1))
                painter.drawLine(rect.topLeft(), rect.topRight());
            if (!inside(column, row + 1))
                painter.drawLine(rect.bottomLeft(), rect.bottomRight());
            if (!inside(column - 1, row))
                painter.drawLine(rect.topLeft(), rect.bottomLeft());
            if (!inside(column + 1, row))
                painter.drawLine(rect.topRight(), rect.bottomRight());
        }
}

void DrawGrid::setFillPreview(std::shared_ptr<const RegionSelection> region)
{
    if (region == m_fillPreview)
        return;
    m_fillPreview = std::move(region);
    viewport()->update();
}

int DrawGrid::wheelNotches(const QWheelEvent *event)
{
    m_wheelTurn += event->angleDelta().y();
    const int notches = m_wheelTurn / 120;
    m_wheelTurn -= notches * 120;
    return notches;
}

void DrawGrid::scrollByCells(int cells, Qt::Orientation orientation)
{
    const bool horizontal = orientation == Qt::Horizontal;
    const int first = horizontal ? leftCol() : topRow();
    // Forwards only while cells beyond the view remain; never before the first.
    const int last = std::max(first, horizontal ? colCount() - visibleColCount() : rowCount() - visibleRowCount());
    const int target = cells > 0 ? std::min(first + cells, last) : std::max(first + cells, std::min(first, 0));
    if (target == first)
        return;
    if (horizontal)
        setLeftCol(target);
    else
        setTopRow(target);
}

GridRect DrawGrid::selection() const
{
    return {std::min(m_current.x(), m_selectionEnd.x()), std::min(m_current.y(), m_selectionEnd.y()),
            std::max(m_current.x(), m_selectionEnd.x()), std::max(m_current.y(), m_selectionEnd.y())};
}

QPoint DrawGrid::cellAt(const QPoint &point) const
{
    const auto axis = [](int pixel, int first, int count, int size) {
        if (pixel < 0)
            return -1;
        const int cell = first + pixel / size;
        return cell < count ? cell : -1;
    };
    const bool inside = QRect(QPoint(0, 0), viewportLayout().size).contains(point);
    return {inside ? axis(point.x(), leftCol(), m_colCount, m_cellSize) : -1,
            inside ? axis(point.y(), topRow(), m_rowCount, m_cellSize) : -1};
}

QRect DrawGrid::cellsArea(const QRect &cells) const
{
    return cellRect(cells.left(), cells.top()).united(cellRect(cells.right(), cells.bottom()));
}

QRect DrawGrid::cellRect(int column, int row) const
{
    return {(column - leftCol()) * m_cellSize, (row - topRow()) * m_cellSize, m_cellSize,
            m_cellSize};
}

void DrawGrid::updateCells(const QRect &cells)
{
    if (cells.isEmpty())
        return;
    const QRect shown = cellsArea(cells).intersected(viewport()->rect());
    if (!shown.isEmpty())
        viewport()->update(shown);
}

void DrawGrid::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const QRect area = event->rect();
    const int firstColumn = leftCol() + area.left() / m_cellSize;
    const int firstRow = topRow() + area.top() / m_cellSize;
    const int lastColumn = std::min(m_colCount - 1, leftCol() + area.right() / m_cellSize);
    const int lastRow = std::min(m_rowCount - 1, topRow() + area.bottom() / m_cellSize);

    // Beyond the last column and row the grid shows its window colour.
    const QRect cells(cellRect(leftCol(), topRow()).topLeft(),
                      cellRect(m_colCount - 1, m_rowCount - 1).bottomRight());
    const QRegion outside = QRegion(area).subtracted(QRegion(cells));
    for (const QRect &rect : outside)
        painter.fillRect(rect, palette().color(QPalette::Base));

    if (m_cellDelegate) {
        for (int row = firstRow; row <= lastRow; ++row)
            for (int column = firstColumn; column <= lastColumn; ++column)
                m_cellDelegate(painter, column, row, cellRect(column, row));
    }
    if (m_marksPainter && firstColumn <= lastColumn && firstRow <= lastRow)
        m_marksPainter(painter, QRect(QPoint(firstColumn, firstRow), QPoint(lastColumn, lastRow)));

    // The selection shows as a light veil over the drawn cells, the current cell
    // with a focus frame while the grid has the focus.
    const GridRect selected = selection();
    const QRect selectedArea = cellsArea(QRect(QPoint(selected.left, selected.top), QPoint(selected.right, selected.bottom)));
    if (selected.left != selected.right || selected.top != selected.bottom) {
        QColor veil = palette().color(QPalette::Highlight);
        veil.setAlpha(70);
        painter.fillRect(selectedArea.intersected(area), veil);
    }
    if (hasFocus()) {
        painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(cellRect(col(), row()).adjusted(0, 0, -1, -1));
    }

    const QRect shown(QPoint(firstColumn, firstRow), QPoint(lastColumn, lastRow));
    painter.setPen(QPen(Qt::white, 1));
    paintCellSet(painter, shown, m_regionBounds, m_regionContains, true);
    if (const RegionSelection *preview = m_fillPreview.get()) {
        const RegionTest reached = [preview](int column, int row) {
            return preview->contains(std::uint32_t(column), std::uint32_t(row));
        };
        painter.setPen(QPen(QColor(255, 230, 0), 1, Qt::DashLine));
        paintCellSet(painter, shown, preview->bounds(), reached, false);
    }

    // Outlines in two colours, so they show on light and dark terrain alike.
    const Qt::PenStyle styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashLine};
    for (int kind = 0; kind < 4; ++kind) {
        const QRect &cells = m_outlines[kind];
        if (cells.isEmpty())
            continue;
        const QRect frame = cellsArea(cells).adjusted(0, 0, -1, -1);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::black, 1, Qt::SolidLine));
        painter.drawRect(frame.adjusted(1, 1, -1, -1));
        const QColor colour = kind == int(Outline::Paste) ? QColor(80, 200, 255)
                              : kind == int(Outline::Drag) ? QColor(Qt::white)
                                                           : QColor(255, 230, 0);
        painter.setPen(QPen(colour, 1, styles[kind]));
        painter.drawRect(frame);
    }

    drawSymmetryGuides(painter);
}

void DrawGrid::setSymmetryGuides(SymmetryMode mode, int side)
{
    if (mode == m_guideMode && side == m_guideSide)
        return;
    m_guideMode = mode;
    m_guideSide = side;
    viewport()->update();
}

void DrawGrid::drawSymmetryGuides(QPainter &painter) const
{
    if (m_guideMode == SymmetryMode::Off || m_guideSide <= 0)
        return;
    // The axes run through the map's middle: between two cells on an even
    // side, through the middle cell on an odd one.
    const QPointF origin = cellRect(0, 0).topLeft();
    const double length = double(m_guideSide) * m_cellSize;
    const double middle = length / 2;
    QList<QLineF> axes;
    if (m_guideMode == SymmetryMode::LeftRight || m_guideMode == SymmetryMode::FourWay)
        axes.append(QLineF(middle, 0, middle, length));
    if (m_guideMode == SymmetryMode::TopBottom || m_guideMode == SymmetryMode::FourWay)
        axes.append(QLineF(0, middle, length, middle));
    if (m_guideMode == SymmetryMode::Diagonal)
        axes.append(QLineF(0, 0, length, length));
    if (m_guideMode == SymmetryMode::HalfTurn || m_guideMode == SymmetryMode::QuarterTurn) {
        // A turn has no axis: a small cross marks its centre.
        const double arm = std::max(m_cellSize, 8);
        axes.append(QLineF(middle - arm, middle, middle + arm, middle));
        axes.append(QLineF(middle, middle - arm, middle, middle + arm));
    }
    for (QLineF &axis : axes)
        axis.translate(origin);
    // Two colours, so the lines show on light and dark terrain alike.
    painter.setPen(QPen(QColor(0, 0, 0, 160), 3));
    painter.drawLines(axes);
    painter.setPen(QPen(QColor(255, 80, 200), 1));
    painter.drawLines(axes);
}

void DrawGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    Q_EMIT viewChanged();
}

void DrawGrid::scrollContentsBy(int, int)
{
    viewport()->update();
    Q_EMIT viewChanged();
}

void DrawGrid::updateScrollBars()
{
    // Scrolling is by whole cells: at the end of the range the last column and
    // row are shown whole.
    const ViewportLayout layout = viewportLayout();
    setHorizontalScrollBarPolicy(layout.horizontalBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(layout.verticalBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const int wholeColumns = std::max(layout.size.width() / m_cellSize, 1);
    const int wholeRows = std::max(layout.size.height() / m_cellSize, 1);
    horizontalScrollBar()->setRange(0, std::max(m_colCount - wholeColumns, 0));
    horizontalScrollBar()->setPageStep(wholeColumns);
    verticalScrollBar()->setRange(0, std::max(m_rowCount - wholeRows, 0));
    verticalScrollBar()->setPageStep(wholeRows);
}

void DrawGrid::selectCell(QPoint cell, bool extend)
{
    if (extend) {
        m_selectionEnd = cell;
    } else {
        if (m_selectCell)
            m_selectCell(cell.x(), cell.y());
        m_current = cell;
        m_selectionEnd = cell;
    }
    viewport()->update();
    Q_EMIT selectionChanged();
}

void DrawGrid::scrollToShow(QPoint cell)
{
    const QSize size = viewportLayout().size;
    const int wholeColumns = std::max(size.width() / m_cellSize, 1);
    const int wholeRows = std::max(size.height() / m_cellSize, 1);
    if (cell.x() < leftCol())
        setLeftCol(cell.x());
    else if (cell.x() >= leftCol() + wholeColumns)
        setLeftCol(cell.x() - wholeColumns + 1);
    if (cell.y() < topRow())
        setTopRow(cell.y());
    else if (cell.y() >= topRow() + wholeRows)
        setTopRow(cell.y() - wholeRows + 1);
}

void DrawGrid::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        setFocus(Qt::MouseFocusReason);
    Q_EMIT mousePressed(gridEvent(event));
}

void DrawGrid::mouseMoveEvent(QMouseEvent *event)
{
    Q_EMIT mouseMoved(gridEvent(event), event->position().toPoint());
}

void DrawGrid::mouseReleaseEvent(QMouseEvent *event)
{
    Q_EMIT mouseReleased(gridEvent(event));
    // The grid keeps its releases: the window's own release handler is for its bare area.
    event->accept();
}

GridEvent DrawGrid::gridEvent(const QMouseEvent *event) const
{
    return {cellAt(event->position().toPoint()), event->button(), event->buttons(), event->modifiers()};
}

void DrawGrid::keyPressEvent(QKeyEvent *event)
{
    const bool extend = event->modifiers().testFlag(Qt::ShiftModifier);
    QPoint cell = extend ? m_selectionEnd : m_current;
    switch (event->key()) {
    case Qt::Key_Left: cell.rx() -= 1; break;
    case Qt::Key_Right: cell.rx() += 1; break;
    case Qt::Key_Up: cell.ry() -= 1; break;
    case Qt::Key_Down: cell.ry() += 1; break;
    case Qt::Key_PageUp: cell.ry() -= std::max(visibleRowCount(), 1); break;
    case Qt::Key_PageDown: cell.ry() += std::max(visibleRowCount(), 1); break;
    case Qt::Key_Home: cell.rx() = 0; break;
    case Qt::Key_End: cell.rx() = m_colCount - 1; break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    cell = QPoint(std::clamp(cell.x(), 0, m_colCount - 1), std::clamp(cell.y(), 0, m_rowCount - 1));
    selectCell(cell, extend);
    scrollToShow(cell);
}

void DrawGrid::wheelEvent(QWheelEvent *event)
{
    // The window decides what the wheel does.
    Q_EMIT wheelTurned(event);
    event->accept();
}
