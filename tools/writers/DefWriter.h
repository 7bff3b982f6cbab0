// DefWriter: builds a sprite file from a palette and groups of frames, each
// frame encoded in any of the four pixel encodings, or with pixel data given
// byte for byte.
#pragma once

#include <QByteArray>
#include <QList>
#include <QRgb>

#include <optional>

struct DefFrame {
    int format = 0;  // pixel encoding 0..3 (any number when rawData is given)
    int fullWidth = 32;
    int fullHeight = 32;
    int spriteWidth = 32;   // the stored block
    int spriteHeight = 32;
    int leftMargin = 0;
    int topMargin = 0;
    QByteArray pixels;      // spriteWidth * spriteHeight palette indices, row after row
    // Pixel data written as given instead of encoding pixels.
    std::optional<QByteArray> rawData;
    // Write only the first 16 bytes of the header (the pixel data then starts
    // where the block size would be).
    bool shortHeader = false;
};

class DefWriter {
public:
    DefWriter();

    // 256 colours; missing entries are black.
    DefWriter &setPalette(const QList<QRgb> &palette);
    DefWriter &addGroup(const QList<DefFrame> &frames);

    QByteArray write() const;

    // Encodes a block of indices in an encoding: 0 raw, 1 rows of two-byte
    // segments with 32-bit row offsets, 2 rows of one-byte segments with 16-bit
    // offsets, 3 like 2 in 32-pixel pieces (width a multiple of 32). Runs use
    // the shortest form the encoding allows; indices that no run code can name
    // go out as literals.
    static QByteArray encode(int format, int width, int height, const QByteArray &pixels);

private:
    QList<QRgb> m_palette;
    QList<QList<DefFrame>> m_groups;
};
