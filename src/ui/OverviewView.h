// The picture of the overview: a whole level at one to four pixels a cell, or
// at a sample of its cells a pixel, with a frame around the cells the map grid
// shows. A press or drag of the left button names the cell under the pointer.
#pragma once

#include "edit/Symmetry.h"
#include "gfx/OverviewImage.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include <functional>

class QPainter;

class TerrainLayer;

class OverviewView : public QWidget {
    Q_OBJECT

public:
    explicit OverviewView(QWidget *parent = nullptr);

    // The picture of a level of the side (made by renderOverview at the
    // scale); the view takes its size. A null picture shows nothing.
    void setPicture(QImage picture, OverviewScale scale, std::uint32_t side);
    const QImage &picture() const { return m_picture; }
    OverviewScale scale() const { return m_scale; }
    // Redraws the changed cells (column and row numbers) from the layer the
    // picture was made from, and repaints only them.
    void redrawCells(const TerrainLayer &layer, const QRect &cells);

    // The cells the frame surrounds (column and row numbers); empty for none.
    void setFrame(const QRect &cells);
    // The mirror axes of the symmetry, drawn over the picture; none with Off.
    void setGuides(SymmetryMode mode);
    SymmetryMode guides() const { return m_guides; }
    QRect frame() const { return m_frame; }
    // The frame's rectangle in the view's pixels: it lies just inside the
    // outer edge of the framed cells.
    QRect framePixels() const;

    // Draws marks over the picture, at its scale.
    using MarksPainter = std::function<void(QPainter &, const OverviewScale &)>;
    void setMarksPainter(MarksPainter painter) { m_marksPainter = std::move(painter); }

    QSize sizeHint() const override { return m_picture.size(); }

Q_SIGNALS:
    // The left button was pressed on, or dragged to, the cell (column, row).
    void cellPicked(QPoint cell);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    // The pixels the frame covers, to repaint when it moves.
    QRegion frameRegion() const;
    void pickAt(QPoint position);
    void drawGuides(QPainter &painter) const;

    QImage m_picture;
    SymmetryMode m_guides = SymmetryMode::Off;
    OverviewScale m_scale;
    std::uint32_t m_side = 0;
    QRect m_frame;
    MarksPainter m_marksPainter;
};
