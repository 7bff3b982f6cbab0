// Pixel helpers of the graphics library. A "bitmap" here is a QImage; the
// sprite decoder makes 8-bit ones (QImage::Format_Indexed8 with a 256-entry
// colour table).
#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QList>
#include <QRgb>

#include <cstdint>

// Bytes per pixel of a bitmap: 8-bit 1, 15/16-bit 2, 24-bit 3, 32-bit 4.
// Raises AssertionFailure for any other depth.
int BytesPerPixel(const QImage &bitmap);

// Copies a block of pixels into the bitmap so that the block covers the
// rectangle from (left, top) inclusive to (right, bottom) exclusive, clipped to
// the bitmap. The block holds (right - left) * BytesPerPixel pixels' bytes per
// row, rows one after another, top row first; rows the block does not hold are
// not copied.
void CopyPixelsToBitmap(QByteArrayView block, QImage &bitmap, int left, int top, int right, int bottom);

// A 256-entry colour table from 768 bytes of red, green, blue triples (missing
// bytes read as 0). Every entry is opaque.
QList<QRgb> MakeLogPalette(QByteArrayView redGreenBlue);

// Makes the bitmap empty: 0 x 0 pixels.
void ResetBitmap8(QImage &bitmap);

// Sets every pixel of an 8-bit bitmap to the palette index; an empty bitmap is
// left as it is.
void FillBitmap8(QImage &bitmap, std::uint8_t index);
