// Writing pictures as PNG files made for speed: large level pictures spend
// most of their time in encoding, and a general encoder tries several row
// filters on every row to save a few per cent of the file.
#pragma once

#include <QImage>

class QIODevice;

// Writes the image as an 8-bit RGB PNG (any alpha is dropped; images in other
// formats are converted first) with rows unfiltered and compressed at the
// given zlib level (1, the fastest, by default). False when the device
// refuses a write or the image is null; the device then holds part of a file.
bool writeFastPng(const QImage &image, QIODevice &device, int compressionLevel = 1);
