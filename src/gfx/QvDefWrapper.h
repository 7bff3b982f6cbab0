// TQvDefWrapper: decoder of a DEF sprite file (one palette, groups of frames,
// each frame an 8-bit picture in one of four pixel encodings).
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRgb>

class TQvDefWrapper {
public:
    // Where the palette lies and where the first group starts.
    static constexpr qint64 GroupCountOffset = 12;
    static constexpr qint64 PaletteOffset = 16;
    static constexpr qint64 FirstGroupOffset = 784;
    // Largest picture or stored block, per side and in pixels, that a frame may
    // claim; anything bigger is taken as a damaged file.
    static constexpr qint64 MaxSide = 8192;
    static constexpr qint64 MaxPixels = qint64(1) << 22;
    // Largest sprite file read from disk; a larger one is refused unread.
    static constexpr qint64 MaxFileSize = qint64(256) << 20;

    // Checks the group structure against the file's size and keeps the bytes
    // (shared, so the caller may drop its own). Raises StreamReadError "Def file
    // is invalid" when the structure runs past the end.
    explicit TQvDefWrapper(const QByteArray &bytes);

    // Total number of frames over all groups.
    qint32 frameCount() const { return qint32(m_framePositions.size()); }

    // Decodes frame k into the bitmap: 8 bits per pixel with the file's
    // palette, at the frame's full size, index 0 outside the stored block.
    // Raises ELodException for a frame number outside 0..frameCount()-1,
    // StreamReadError "Def file is invalid" when the frame's data lies outside
    // the file or claims an absurd size, and UnknownFrameEncoding (an
    // AssertionFailure) for an unknown pixel encoding (the bitmap is then
    // untouched).
    void ExtractFrame(qint32 k, QImage &bitmap) const;

private:
    QByteArray m_bytes;
    QList<qint32> m_framePositions;  // frame header offsets, in frame order
    QList<QRgb> m_palette;
};
