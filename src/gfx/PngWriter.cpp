// Writing RGB PNG files: signature, header chunk, one compressed stream of
// unfiltered rows cut into data chunks, end chunk.
#include "gfx/PngWriter.h"

#include <QIODevice>

#include <zlib.h>

#include <array>
#include <memory>
#include <vector>

namespace {

constexpr std::size_t ChunkBytes = 1 << 18;

void putBigEndian(std::vector<unsigned char> &bytes, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<unsigned char>(value >> shift));
}

// A chunk: length, type, data, CRC-32 of type and data.
bool writeChunk(QIODevice &device, const char (&type)[5], const unsigned char *data, std::size_t size)
{
    std::vector<unsigned char> frame;
    putBigEndian(frame, std::uint32_t(size));
    frame.insert(frame.end(), type, type + 4);
    uLong crc = crc32(0, reinterpret_cast<const Bytef *>(type), 4);
    if (size > 0)  // zlib answers a null buffer with the initial value, not the sum so far
        crc = crc32_z(crc, data, size);
    std::vector<unsigned char> trailer;
    putBigEndian(trailer, std::uint32_t(crc));
    return device.write(reinterpret_cast<const char *>(frame.data()), qint64(frame.size())) == qint64(frame.size())
        && device.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size)
        && device.write(reinterpret_cast<const char *>(trailer.data()), 4) == 4;
}

struct DeflateEnd {
    void operator()(z_stream *stream) const { deflateEnd(stream); }
};

}  // namespace

bool writeFastPng(const QImage &source, QIODevice &device, int compressionLevel)
{
    if (source.isNull())
        return false;
    const QImage image = source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
        ? source
        : source.convertToFormat(QImage::Format_RGB32);
    const int width = image.width();
    const int height = image.height();

    static const unsigned char Signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (device.write(reinterpret_cast<const char *>(Signature), sizeof Signature) != qint64(sizeof Signature))
        return false;
    std::vector<unsigned char> header;
    putBigEndian(header, std::uint32_t(width));
    putBigEndian(header, std::uint32_t(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, filters per row, no interlace
    if (!writeChunk(device, "IHDR", header.data(), header.size()))
        return false;

    z_stream stream{};
    if (deflateInit(&stream, compressionLevel) != Z_OK)
        return false;
    const std::unique_ptr<z_stream, DeflateEnd> guard(&stream);
    std::vector<unsigned char> row(1 + std::size_t(width) * 3);
    std::vector<unsigned char> chunk(ChunkBytes);
    stream.next_out = chunk.data();
    stream.avail_out = uInt(chunk.size());
    // Compresses what lies at next_in, writing each full chunk; at the end
    // also the last, partly filled one.
    const auto pump = [&](int flush) {
        for (;;) {
            const int result = deflate(&stream, flush);
            if (result == Z_STREAM_ERROR)
                return false;
            if (stream.avail_out == 0 || (flush == Z_FINISH && result == Z_STREAM_END)) {
                const std::size_t filled = chunk.size() - stream.avail_out;
                if (filled > 0 && !writeChunk(device, "IDAT", chunk.data(), filled))
                    return false;
                stream.next_out = chunk.data();
                stream.avail_out = uInt(chunk.size());
            }
            if (flush == Z_FINISH ? result == Z_STREAM_END : stream.avail_in == 0 && stream.avail_out != 0)
                return true;
        }
    };
    for (int y = 0; y < height; ++y) {
        const auto *pixels = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        unsigned char *out = row.data();
        *out++ = 0;  // filter type None
        for (int x = 0; x < width; ++x) {
            *out++ = static_cast<unsigned char>(qRed(pixels[x]));
            *out++ = static_cast<unsigned char>(qGreen(pixels[x]));
            *out++ = static_cast<unsigned char>(qBlue(pixels[x]));
        }
        stream.next_in = row.data();
        stream.avail_in = uInt(row.size());
        if (!pump(Z_NO_FLUSH))
            return false;
    }
    if (!pump(Z_FINISH))
        return false;
    return writeChunk(device, "IEND", nullptr, 0);
}
