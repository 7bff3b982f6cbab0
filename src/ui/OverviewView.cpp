// The overview's picture with the grid's frame on it.
#include "ui/OverviewView.h"

#include "gfx/OverviewImage.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>

#include <algorithm>

namespace {

// The frame is a black line with a white one inside it, so it shows on every
// terrain colour.
constexpr int FrameLineWidth = 1;

}  // namespace

OverviewView::OverviewView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
}

void OverviewView::setPicture(QImage picture, int scale)
{
    m_picture = std::move(picture);
    m_scale = std::clamp(scale, MinOverviewScale, MaxOverviewScale);
    resize(m_picture.size());
    update();
}

void OverviewView::redrawCells(const TerrainLayer &layer, const QRect &cells)
{
    if (m_picture.isNull() || cells.isEmpty())
        return;
    updateOverview(m_picture, layer, m_scale, cells);
    update(QRect(cells.topLeft() * m_scale, cells.size() * m_scale).intersected(rect()));
}

void OverviewView::setFrame(const QRect &cells)
{
    if (cells == m_frame)
        return;
    const QRegion before = frameRegion();
    m_frame = cells;
    update(before.united(frameRegion()));
}

QRect OverviewView::framePixels() const
{
    if (m_frame.isEmpty())
        return {};
    return QRect(m_frame.topLeft() * m_scale, m_frame.size() * m_scale);
}

QRegion OverviewView::frameRegion() const
{
    const QRect outer = framePixels();
    if (outer.isEmpty())
        return {};
    const int width = 2 * FrameLineWidth;
    return QRegion(outer).subtracted(QRegion(outer.adjusted(width, width, -width, -width)));
}

void OverviewView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect area = event->rect();
    painter.fillRect(area, palette().color(QPalette::Window));
    // Only the exposed part is converted for drawing: the picture of a large
    // level is far bigger than the part on screen.
    const QRect shown = area.intersected(m_picture.rect());
    if (!shown.isEmpty())
        painter.drawImage(shown.topLeft(), m_picture.copy(shown));

    drawGuides(painter);
    const QRect frame = framePixels();
    if (frame.isEmpty())
        return;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, FrameLineWidth));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    painter.setPen(QPen(Qt::white, FrameLineWidth));
    painter.drawRect(frame.adjusted(FrameLineWidth, FrameLineWidth, -1 - FrameLineWidth, -1 - FrameLineWidth));
}

void OverviewView::setGuides(SymmetryMode mode)
{
    m_guides = mode;
    update();
}

void OverviewView::drawGuides(QPainter &painter) const
{
    if (m_guides == SymmetryMode::Off || m_picture.isNull())
        return;
    const QRectF picture(m_picture.rect());
    const QPointF centre = picture.center();
    painter.setPen(QPen(QColor(255, 0, 200), 1));
    if (m_guides == SymmetryMode::LeftRight || m_guides == SymmetryMode::FourWay)
        painter.drawLine(QPointF(centre.x(), 0), QPointF(centre.x(), picture.height()));
    if (m_guides == SymmetryMode::TopBottom || m_guides == SymmetryMode::FourWay)
        painter.drawLine(QPointF(0, centre.y()), QPointF(picture.width(), centre.y()));
    if (m_guides == SymmetryMode::Diagonal)
        painter.drawLine(picture.topLeft(), picture.bottomRight());
    if (m_guides == SymmetryMode::HalfTurn) {
        // A turn about the centre has no axis: a small cross marks its point.
        painter.drawLine(centre - QPointF(4, 0), centre + QPointF(4, 0));
        painter.drawLine(centre - QPointF(0, 4), centre + QPointF(0, 4));
    }
}

void OverviewView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        pickAt(event->position().toPoint());
}

void OverviewView::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons().testFlag(Qt::LeftButton))
        pickAt(event->position().toPoint());
}

void OverviewView::pickAt(QPoint position)
{
    if (m_picture.isNull())
        return;
    // A drag past the picture's edge keeps naming the edge cells.
    const int columns = m_picture.width() / m_scale;
    const int rows = m_picture.height() / m_scale;
    Q_EMIT cellPicked(QPoint(std::clamp(position.x() / m_scale, 0, columns - 1),
                             std::clamp(position.y() / m_scale, 0, rows - 1)));
}
