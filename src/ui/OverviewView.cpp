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
// The frame's smallest side in pixels: on a picture of a sample of its cells
// a pixel, the cells the grid shows may take a pixel or two.
constexpr int MinFrameSide = 6;

}  // namespace

OverviewView::OverviewView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
}

void OverviewView::setPicture(QImage picture, OverviewScale scale, std::uint32_t side)
{
    m_picture = std::move(picture);
    m_scale = scale.isValid() ? scale : OverviewScale();
    m_side = side;
    resize(m_picture.size());
    update();
}

void OverviewView::redrawCells(const TerrainLayer &layer, const QRect &cells)
{
    if (m_picture.isNull() || cells.isEmpty())
        return;
    updateOverview(m_picture, layer, m_scale, cells);
    update(m_scale.pixelsOf(cells).intersected(rect()));
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
    QRect pixels = m_scale.pixelsOf(m_frame);
    const int wider = std::max(0, MinFrameSide - pixels.width());
    const int higher = std::max(0, MinFrameSide - pixels.height());
    pixels.adjust(-wider / 2, -higher / 2, wider - wider / 2, higher - higher / 2);
    // Grown at the picture's edge, it is moved back inside.
    pixels.translate(std::max(0, -pixels.left()), std::max(0, -pixels.top()));
    pixels.translate(std::min(0, m_picture.width() - 1 - pixels.right()), std::min(0, m_picture.height() - 1 - pixels.bottom()));
    return pixels;
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
    if (m_marksPainter && !m_picture.isNull())
        m_marksPainter(painter, m_scale);

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
    if (m_guides == SymmetryMode::HalfTurn || m_guides == SymmetryMode::QuarterTurn) {
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
    const QPoint pixel(std::clamp(position.x(), 0, m_picture.width() - 1), std::clamp(position.y(), 0, m_picture.height() - 1));
    Q_EMIT cellPicked(m_scale.cellAt(pixel, m_side));
}
