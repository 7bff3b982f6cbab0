// ImageCanvas: direct drawing into 32-bit images.
#include "gfx/ImageCanvas.h"

#include <algorithm>
#include <cstring>

namespace {

// Each colour channel of a premultiplied pixel times alpha / 255, rounded as
// the painter rounds, so both ways of drawing give the same pixels.
inline std::uint32_t byteMul(std::uint32_t pixel, std::uint32_t alpha)
{
    std::uint32_t redBlue = (pixel & 0xff00ff) * alpha;
    redBlue = ((redBlue + ((redBlue >> 8) & 0xff00ff) + 0x800080) >> 8) & 0xff00ff;
    std::uint32_t alphaGreen = ((pixel >> 8) & 0xff00ff) * alpha;
    alphaGreen = (alphaGreen + ((alphaGreen >> 8) & 0xff00ff) + 0x800080) & 0xff00ff00;
    return alphaGreen | redBlue;
}

}  // namespace

ImageCanvas::ImageCanvas(QImage &target)
    : m_target(target)
{
}

void ImageCanvas::fill(const QRect &rect, QRgb colour)
{
    const QRect area = rect.intersected(m_target.rect());
    if (area.isEmpty())
        return;
    const QRgb opaque = colour | 0xff000000u;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(m_target.scanLine(y)) + area.left();
        std::fill(row, row + area.width(), opaque);
    }
}

void ImageCanvas::draw(QPoint topLeft, const QImage &picture)
{
    const QRect area = QRect(topLeft, picture.size()).intersected(m_target.rect());
    if (area.isEmpty())
        return;
    const int sourceLeft = area.left() - topLeft.x();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto *source = reinterpret_cast<const QRgb *>(picture.constScanLine(y - topLeft.y())) + sourceLeft;
        auto *row = reinterpret_cast<QRgb *>(m_target.scanLine(y)) + area.left();
        for (int x = 0; x < area.width(); ++x) {
            const QRgb pixel = source[x];
            if (pixel >= 0xff000000u)
                row[x] = pixel;
            else if (pixel != 0)
                row[x] = pixel + byteMul(row[x], qAlpha(~pixel));
        }
    }
}
