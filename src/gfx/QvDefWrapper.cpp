// TQvDefWrapper: decoder of a DEF sprite file.
#include "gfx/QvDefWrapper.h"

#include "gfx/BitmapHelpers.h"
#include "gfx/GraphicsError.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

// Bounded reads from the file's bytes: anything outside them is an invalid file.
class DefBytes {
public:
    explicit DefBytes(const QByteArray &bytes)
        : m_data(reinterpret_cast<const unsigned char *>(bytes.constData()))
        , m_size(bytes.size())
    {
    }
    qint64 size() const { return m_size; }
    void require(qint64 position, qint64 count) const
    {
        if (position < 0 || count < 0 || position > m_size || count > m_size - position)
            throw StreamReadError::defInvalid();
    }
    const unsigned char *at(qint64 position, qint64 count) const
    {
        require(position, count);
        return m_data + position;
    }
    std::uint8_t u8(qint64 position) const { return *at(position, 1); }
    std::uint16_t u16(qint64 position) const
    {
        const unsigned char *p = at(position, 2);
        return std::uint16_t(p[0] | p[1] << 8);
    }
    qint32 i32(qint64 position) const
    {
        const unsigned char *p = at(position, 4);
        return qint32(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16
                      | std::uint32_t(p[3]) << 24);
    }
    std::uint32_t u32(qint64 position) const { return std::uint32_t(i32(position)); }

private:
    const unsigned char *m_data;
    qint64 m_size;
};

struct FrameHeader {
    qint32 format = 0;
    qint32 fullWidth = 0;
    qint32 fullHeight = 0;
    qint32 spriteWidth = 0;
    qint32 spriteHeight = 0;
    qint32 leftMargin = 0;
    qint32 topMargin = 0;
    qint64 pixels = 0;  // where the pixel data starts
};

bool sizeIsSane(qint64 width, qint64 height)
{
    return width >= 0 && height >= 0 && width <= TQvDefWrapper::MaxSide && height <= TQvDefWrapper::MaxSide
        && width * height <= TQvDefWrapper::MaxPixels;
}

FrameHeader readFrameHeader(const DefBytes &file, qint32 frame, qint64 position)
{
    FrameHeader header;
    header.format = file.i32(position + 4);
    header.fullWidth = file.i32(position + 8);
    header.fullHeight = file.i32(position + 12);
    header.spriteWidth = file.i32(position + 16);
    header.spriteHeight = file.i32(position + 20);
    // Frames of encoding 1 whose block claims to be larger than the picture
    // both ways have only a 16-byte header: what would be the block size is
    // already pixel data.
    if (header.spriteWidth > header.fullWidth && header.spriteHeight > header.fullHeight && header.format == 1) {
        header.spriteWidth = header.fullWidth;
        header.spriteHeight = header.fullHeight;
        header.pixels = position + 16;
    } else {
        header.leftMargin = file.i32(position + 24);
        header.topMargin = file.i32(position + 28);
        header.pixels = position + 32;
    }
    // An unknown encoding is reported as such, whatever sizes the header claims.
    if (header.format < 0 || header.format > 3)
        throw UnknownFrameEncoding("qvdef", 436, frame, header.format);
    if (!sizeIsSane(header.fullWidth, header.fullHeight) || !sizeIsSane(header.spriteWidth, header.spriteHeight))
        throw StreamReadError::defInvalid();
    return header;
}

// Encoding 1: a 32-bit offset per row; segments of (code, length - 1), code
// 255 followed by literal bytes, any other code a run of that index.
void decodeRows32(const DefBytes &file, const FrameHeader &header, unsigned char *block)
{
    const qint64 width = header.spriteWidth;
    for (qint64 row = 0; row < header.spriteHeight; ++row) {
        qint64 source = header.pixels + qint64(file.u32(header.pixels + 4 * row));
        unsigned char *out = block + row * width;
        for (qint64 x = 0; x < width;) {
            const std::uint8_t code = file.u8(source);
            const qint64 length = qint64(file.u8(source + 1)) + 1;
            source += 2;
            const qint64 kept = std::min(length, width - x);  // a surplus past the row is dropped
            if (code == 255) {
                std::memcpy(out + x, file.at(source, length), size_t(kept));
                source += length;
            } else {
                std::memset(out + x, code, size_t(kept));
            }
            x += kept;
        }
    }
}

// The segments of encodings 2 and 3: one byte, code in the top three bits and
// length - 1 in the low five; code 7 followed by literal bytes, codes 0..6 a
// run of that index. Fills exactly count pixels.
void decodeSegments16(const DefBytes &file, qint64 source, unsigned char *out, qint64 count)
{
    for (qint64 x = 0; x < count;) {
        const std::uint8_t segment = file.u8(source++);
        const std::uint8_t code = segment >> 5;
        const qint64 length = qint64(segment & 31) + 1;
        const qint64 kept = std::min(length, count - x);
        if (code == 7) {
            std::memcpy(out + x, file.at(source, length), size_t(kept));
            source += length;
        } else {
            std::memset(out + x, code, size_t(kept));
        }
        x += kept;
    }
}

// Encoding 2: a 16-bit offset per row.
void decodeRows16(const DefBytes &file, const FrameHeader &header, unsigned char *block)
{
    const qint64 width = header.spriteWidth;
    for (qint64 row = 0; row < header.spriteHeight; ++row)
        decodeSegments16(file, header.pixels + file.u16(header.pixels + 2 * row), block + row * width, width);
}

// Encoding 3: a 16-bit offset per 32-pixel piece of a row. Pieces fill the
// block one after another, so a width that is not a multiple of 32 leaves the
// block's last pixels at 0 and its rows shifted.
void decodePieces16(const DefBytes &file, const FrameHeader &header, unsigned char *block)
{
    const qint64 pieces = qint64(header.spriteWidth / 32) * header.spriteHeight;
    for (qint64 piece = 0; piece < pieces; ++piece)
        decodeSegments16(file, header.pixels + file.u16(header.pixels + 2 * piece), block + piece * 32, 32);
}

}  // namespace

TQvDefWrapper::TQvDefWrapper(const QByteArray &bytes)
    : m_bytes(bytes)
{
    const DefBytes file(m_bytes);
    if (file.size() < FirstGroupOffset)
        throw StreamReadError::defInvalid();
    const qint32 groupCount = file.i32(GroupCountOffset);
    qint64 position = FirstGroupOffset;
    QList<qint64> positionTables;
    QList<qint32> frameCounts;
    for (qint32 group = 0; group < groupCount; ++group) {
        if (position + 16 > file.size())
            throw StreamReadError::defInvalid();
        const qint32 frames = file.i32(position + 4);
        if (frames < 0)
            throw StreamReadError::defInvalid();
        positionTables.append(position + 16 + 13 * qint64(frames));
        frameCounts.append(frames);
        position += 16 + 17 * qint64(frames);
    }
    if (position > file.size())
        throw StreamReadError::defInvalid();
    // Every table lies inside the file now, so the flat list can be read.
    for (qsizetype group = 0; group < positionTables.size(); ++group)
        for (qint32 j = 0; j < frameCounts[group]; ++j)
            m_framePositions.append(file.i32(positionTables[group] + 4 * qint64(j)));
    m_palette = MakeLogPalette(QByteArrayView(m_bytes).sliced(PaletteOffset, 768));
}

void TQvDefWrapper::ExtractFrame(qint32 k, QImage &bitmap) const
{
    if (k < 0 || k >= frameCount())
        throw ELodException::indexOutOfBounds(k);
    const DefBytes file(m_bytes);
    const FrameHeader header = readFrameHeader(file, k, m_framePositions[k]);
    const qint64 blockSize = qint64(header.spriteWidth) * header.spriteHeight;

    QByteArray decoded;
    QByteArrayView block;
    if (header.format == 0) {
        block = QByteArrayView(reinterpret_cast<const char *>(file.at(header.pixels, blockSize)), blockSize);
    } else {
        decoded = QByteArray(blockSize, '\0');
        auto *out = reinterpret_cast<unsigned char *>(decoded.data());
        if (header.format == 1)
            decodeRows32(file, header, out);
        else if (header.format == 2)
            decodeRows16(file, header, out);
        else
            decodePieces16(file, header, out);
        block = decoded;
    }

    ResetBitmap8(bitmap);
    bitmap = QImage(header.fullWidth, header.fullHeight, QImage::Format_Indexed8);
    bitmap.setColorTable(m_palette);
    FillBitmap8(bitmap, 0);
    CopyPixelsToBitmap(block, bitmap, header.leftMargin, header.topMargin,
                       int(std::clamp<qint64>(qint64(header.leftMargin) + header.spriteWidth, INT_MIN, INT_MAX)),
                       int(std::clamp<qint64>(qint64(header.topMargin) + header.spriteHeight, INT_MIN, INT_MAX)));
}
