// DefWriter: builds a sprite file.
#include "writers/DefWriter.h"

#include "writers/ByteWriter.h"

#include <algorithm>

namespace {

// Length of the run of equal bytes starting at i, at most limit.
qsizetype runLength(const QByteArray &bytes, qsizetype i, qsizetype end, qsizetype limit)
{
    qsizetype n = 1;
    while (i + n < end && n < limit && bytes[i + n] == bytes[i])
        ++n;
    return n;
}

// Segments of encoding 1 for pixels [begin, end): (index, length - 1) runs of
// two or more, (255, length - 1) + literal bytes otherwise. Index 255 is always
// literal, since its code means "literal".
QByteArray segments32(const QByteArray &pixels, qsizetype begin, qsizetype end)
{
    ByteWriter out;
    qsizetype i = begin;
    while (i < end) {
        const std::uint8_t index = std::uint8_t(pixels[i]);
        const qsizetype run = runLength(pixels, i, end, 256);
        if (run >= 2 && index != 255) {
            out.u8(index).u8(std::uint8_t(run - 1));
            i += run;
            continue;
        }
        qsizetype literal = 0;
        while (i + literal < end && literal < 256
               && (std::uint8_t(pixels[i + literal]) == 255 || runLength(pixels, i + literal, end, 2) < 2))
            ++literal;
        literal = std::max<qsizetype>(literal, 1);
        out.u8(255).u8(std::uint8_t(literal - 1)).bytes(pixels.mid(i, literal));
        i += literal;
    }
    return out.data();
}

// Segments of encodings 2 and 3: one byte (code << 5 | length - 1); codes 0..6
// are runs of that index, code 7 literal bytes. Runs only for indices 0..6.
QByteArray segments16(const QByteArray &pixels, qsizetype begin, qsizetype end)
{
    ByteWriter out;
    qsizetype i = begin;
    const auto runnable = [&](qsizetype at) { return std::uint8_t(pixels[at]) < 7 && runLength(pixels, at, end, 2) >= 2; };
    while (i < end) {
        if (runnable(i)) {
            const qsizetype run = runLength(pixels, i, end, 32);
            out.u8(std::uint8_t(std::uint8_t(pixels[i]) << 5 | (run - 1)));
            i += run;
            continue;
        }
        qsizetype literal = 1;
        while (i + literal < end && literal < 32 && !runnable(i + literal))
            ++literal;
        out.u8(std::uint8_t(7 << 5 | (literal - 1))).bytes(pixels.mid(i, literal));
        i += literal;
    }
    return out.data();
}

// Offsets table (entry size 2 or 4 bytes, counted from the start of the
// table) followed by the pieces.
QByteArray withOffsetTable(const QList<QByteArray> &pieces, int entrySize)
{
    ByteWriter table;
    QByteArray body;
    const qsizetype tableSize = pieces.size() * entrySize;
    for (const QByteArray &piece : pieces) {
        const auto offset = std::uint32_t(tableSize + body.size());
        if (entrySize == 2)
            table.u16(std::uint16_t(offset));
        else
            table.u32(offset);
        body.append(piece);
    }
    return table.data() + body;
}

}  // namespace

DefWriter::DefWriter()
    : m_palette(256, qRgb(0, 0, 0))
{
}

DefWriter &DefWriter::setPalette(const QList<QRgb> &palette)
{
    for (qsizetype i = 0; i < 256; ++i)
        m_palette[i] = i < palette.size() ? palette[i] : qRgb(0, 0, 0);
    return *this;
}

DefWriter &DefWriter::addGroup(const QList<DefFrame> &frames)
{
    m_groups.append(frames);
    return *this;
}

QByteArray DefWriter::encode(int format, int width, int height, const QByteArray &pixels)
{
    QList<QByteArray> pieces;
    switch (format) {
    case 0:
        return pixels.left(qsizetype(width) * height);
    case 1:
        for (int row = 0; row < height; ++row)
            pieces.append(segments32(pixels, qsizetype(row) * width, qsizetype(row + 1) * width));
        return withOffsetTable(pieces, 4);
    case 2:
        for (int row = 0; row < height; ++row)
            pieces.append(segments16(pixels, qsizetype(row) * width, qsizetype(row + 1) * width));
        return withOffsetTable(pieces, 2);
    default:
        for (int row = 0; row < height; ++row)
            for (int piece = 0; piece < width / 32; ++piece) {
                const qsizetype begin = qsizetype(row) * width + piece * 32;
                pieces.append(segments16(pixels, begin, begin + 32));
            }
        return withOffsetTable(pieces, 2);
    }
}

QByteArray DefWriter::write() const
{
    ByteWriter out;
    out.u32(0x42574446).zeros(8).i32(qint32(m_groups.size()));  // "FDWB": any bytes serve
    for (const QRgb colour : m_palette)
        out.u8(std::uint8_t(qRed(colour))).u8(std::uint8_t(qGreen(colour))).u8(std::uint8_t(qBlue(colour)));

    // Frames follow the group tables, in frame order.
    qint64 framePosition = out.size();
    for (const auto &group : m_groups)
        framePosition += 16 + 17 * qint64(group.size());
    QByteArray frameData;
    for (qsizetype g = 0; g < m_groups.size(); ++g) {
        const QList<DefFrame> &frames = m_groups[g];
        out.i32(qint32(g)).i32(qint32(frames.size())).zeros(8);
        for (qsizetype f = 0; f < frames.size(); ++f) {
            QByteArray name = QByteArray("frame") + QByteArray::number(g) + '_' + QByteArray::number(f);
            name.resize(13, '\0');
            out.bytes(name);
        }
        for (const DefFrame &frame : frames) {
            const QByteArray data = frame.rawData
                ? *frame.rawData
                : encode(frame.format, frame.spriteWidth, frame.spriteHeight, frame.pixels);
            ByteWriter header;
            header.i32(qint32(data.size())).i32(frame.format).i32(frame.fullWidth).i32(frame.fullHeight);
            if (!frame.shortHeader)
                header.i32(frame.spriteWidth).i32(frame.spriteHeight).i32(frame.leftMargin).i32(frame.topMargin);
            out.i32(qint32(framePosition + frameData.size()));
            frameData.append(header.data()).append(data);
        }
    }
    out.bytes(frameData);
    return out.data();
}
