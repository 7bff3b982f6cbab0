// ImageCanvas: drawing straight into the pixels of a 32-bit image, for pictures
// of many cells where a painter's work per call would cost more than the
// pixels themselves.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRgb>

class ImageCanvas {
public:
    // The target must be Format_ARGB32_Premultiplied or Format_RGB32 and
    // outlive the canvas.
    explicit ImageCanvas(QImage &target);

    // Fills the rectangle, clipped to the image, with an opaque colour.
    void fill(const QRect &rect, QRgb colour);

    // Draws an ARGB32 premultiplied picture with its top-left corner at
    // topLeft, clipped to the image, over what is there: the same pixels a
    // painter's drawImage gives.
    void draw(QPoint topLeft, const QImage &picture);

private:
    QImage &m_target;
};
