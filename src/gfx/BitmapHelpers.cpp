// Pixel helpers of the graphics library.
#include "gfx/BitmapHelpers.h"

#include "gfx/GraphicsError.h"

#include <algorithm>
#include <cstring>

int BytesPerPixel(const QImage &bitmap)
{
    switch (bitmap.depth()) {
    case 8:
        return 1;
    case 15:
    case 16:
        return 2;
    case 24:
        return 3;
    case 32:
        return 4;
    default:
        throw AssertionFailure("QvGraphics", 482);
    }
}

void CopyPixelsToBitmap(QByteArrayView block, QImage &bitmap, int left, int top, int right, int bottom)
{
    const qint64 width = bitmap.width();
    const qint64 height = bitmap.height();
    if (width == 0 || height == 0 || left >= width || top >= height || right <= 0 || bottom <= 0)
        return;
    const qint64 bytesPerPixel = BytesPerPixel(bitmap);
    // The block's row length is that of the whole rectangle, before clipping.
    const qint64 blockRowBytes = (qint64(right) - left) * bytesPerPixel;
    if (blockRowBytes <= 0)
        return;
    qint64 firstBlockRow = 0;
    qint64 firstColumnBytes = 0;
    qint64 clippedTop = top;
    qint64 clippedLeft = left;
    if (clippedTop < 0) {
        firstBlockRow = -clippedTop;
        clippedTop = 0;
    }
    if (clippedLeft < 0) {
        firstColumnBytes = -clippedLeft * bytesPerPixel;
        clippedLeft = 0;
    }
    const qint64 clippedRight = std::min<qint64>(right, width);
    const qint64 clippedBottom = std::min<qint64>(bottom, height);
    const qint64 copyBytes = (clippedRight - clippedLeft) * bytesPerPixel;
    if (copyBytes <= 0)
        return;
    for (qint64 y = clippedTop, blockRow = firstBlockRow; y < clippedBottom; ++y, ++blockRow) {
        const qint64 source = blockRow * blockRowBytes + firstColumnBytes;
        if (source + copyBytes > block.size())
            break;
        std::memcpy(bitmap.scanLine(int(y)) + clippedLeft * bytesPerPixel, block.data() + source, size_t(copyBytes));
    }
}

QList<QRgb> MakeLogPalette(QByteArrayView redGreenBlue)
{
    QList<QRgb> palette(256);
    const auto byteAt = [&](qsizetype i) { return i < redGreenBlue.size() ? std::uint8_t(redGreenBlue[i]) : 0; };
    for (qsizetype i = 0; i < 256; ++i)
        palette[i] = qRgb(byteAt(3 * i), byteAt(3 * i + 1), byteAt(3 * i + 2));
    return palette;
}

void ResetBitmap8(QImage &bitmap)
{
    bitmap = QImage();
}

void FillBitmap8(QImage &bitmap, std::uint8_t index)
{
    if (!bitmap.isNull())
        bitmap.fill(uint(index));
}
