// Gzip inflating and writing on zlib's raw stream interface, all in memory.
#include "map/Gzip.h"

// Input pointers of zlib's streams are const with this.
#define ZLIB_CONST
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <memory>

namespace {

constexpr std::array<char, 10> MemberHeader = {'\x1F', '\x8B', 8, 0, 0, 0, 0, 0, 0, 0};
constexpr qsizetype TrailerSize = 8;
constexpr qsizetype SmallestMember = qsizetype(MemberHeader.size()) + 2 + TrailerSize;

// Deflate never expands more than about 1032 to 1, so a trailer that claims a
// larger content is a lie and must not decide how much memory is taken.
constexpr qsizetype LargestDeflateRatio = 1032;
constexpr qsizetype SmallestBuffer = 64 * 1024;

// zlib counts in 32-bit units; longer buffers are fed in pieces.
constexpr qsizetype LargestPiece = std::numeric_limits<uInt>::max();

bool startsMember(QByteArrayView bytes)
{
    return bytes.size() >= 2 && std::uint8_t(bytes[0]) == 0x1F && std::uint8_t(bytes[1]) == 0x8B;
}

// First guess at the content's length: the last member's length field, which
// for the usual single member is exact, kept within what the stream can hold.
qsizetype firstBufferSize(QByteArrayView stream, qsizetype maxLength)
{
    qsizetype claimed = 0;
    if (stream.size() >= SmallestMember) {
        const auto *end = reinterpret_cast<const std::uint8_t *>(stream.data() + stream.size());
        claimed = qsizetype(end[-4]) | qsizetype(end[-3]) << 8 | qsizetype(end[-2]) << 16 | qsizetype(end[-1]) << 24;
    }
    const qsizetype possible = stream.size() > (std::numeric_limits<qsizetype>::max() / LargestDeflateRatio)
        ? std::numeric_limits<qsizetype>::max()
        : stream.size() * LargestDeflateRatio;
    return std::min({std::max(claimed, SmallestBuffer), possible, maxLength + 1});
}

// Ends a zlib stream on every way out of the function that started it.
using StreamEnd = std::unique_ptr<z_stream, int (*)(z_stream *)>;

void appendU32(QByteArray &bytes, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.append(char((value >> shift) & 0xFF));
}

}  // namespace

GzipInflateResult inflateGzip(QByteArrayView stream, qsizetype maxLength)
{
    z_stream z{};
    if (inflateInit2(&z, MAX_WBITS + 16) != Z_OK)
        return {{}, QStringLiteral("not enough memory to start the gzip decoder")};
    const StreamEnd inflater(&z, inflateEnd);

    QByteArray content(firstBufferSize(stream, maxLength), Qt::Uninitialized);
    qsizetype produced = 0;
    qsizetype consumed = 0;
    const QString tooLarge = QStringLiteral("decompressed map data larger than %1 bytes").arg(maxLength);
    for (;;) {
        if (produced == content.size()) {
            if (content.size() > maxLength)
                return {{}, tooLarge};
            content.resize(std::min(content.size() * 2, maxLength + 1));
        }
        const qsizetype pieceIn = std::min(stream.size() - consumed, LargestPiece);
        const qsizetype pieceOut = std::min(content.size() - produced, LargestPiece);
        z.next_in = reinterpret_cast<const Bytef *>(stream.data() + consumed);
        z.avail_in = uInt(pieceIn);
        z.next_out = reinterpret_cast<Bytef *>(content.data() + produced);
        z.avail_out = uInt(pieceOut);
        const int status = inflate(&z, Z_NO_FLUSH);
        consumed += pieceIn - qsizetype(z.avail_in);
        produced += pieceOut - qsizetype(z.avail_out);

        if (status == Z_STREAM_END) {
            // Members may follow one another; anything else behind a member is
            // not gzip data and is left alone.
            if (!startsMember(stream.sliced(consumed)))
                break;
            inflateReset(&z);
        } else if (status == Z_BUF_ERROR && z.avail_out != 0) {
            // No progress with room to write: the input has run out.
            return {{}, QStringLiteral("gzip data truncated at byte %1").arg(stream.size())};
        } else if (status != Z_OK && status != Z_BUF_ERROR) {
            const QString detail = z.msg != nullptr ? QString::fromLatin1(z.msg) : QStringLiteral("zlib status %1").arg(status);
            return {{}, QStringLiteral("gzip data corrupt at byte %1 (%2)").arg(consumed).arg(detail)};
        }
    }
    if (produced > maxLength)
        return {{}, tooLarge};
    content.resize(produced);
    return {content, {}};
}

QByteArray gzipMember(QByteArrayView data)
{
    // Negative window bits: raw deflate, the member's header and trailer are ours.
    z_stream z{};
    if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return {};
    const StreamEnd deflater(&z, deflateEnd);

    const qsizetype bound = qsizetype(deflateBound(&z, uLong(data.size())));
    QByteArray member(qsizetype(MemberHeader.size()) + bound + TrailerSize, Qt::Uninitialized);
    std::copy(MemberHeader.begin(), MemberHeader.end(), member.begin());
    qsizetype consumed = 0;
    qsizetype produced = MemberHeader.size();
    int status = Z_OK;
    while (status != Z_STREAM_END) {
        const qsizetype pieceIn = std::min(data.size() - consumed, LargestPiece);
        const qsizetype pieceOut = std::min(member.size() - produced, LargestPiece);
        z.next_in = reinterpret_cast<const Bytef *>(data.data() + consumed);
        z.avail_in = uInt(pieceIn);
        z.next_out = reinterpret_cast<Bytef *>(member.data() + produced);
        z.avail_out = uInt(pieceOut);
        const bool last = consumed + pieceIn == data.size();
        status = deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END)
            return {};
        consumed += pieceIn - qsizetype(z.avail_in);
        produced += pieceOut - qsizetype(z.avail_out);
    }
    member.resize(produced);
    appendU32(member, std::uint32_t(crc32_z(0, reinterpret_cast<const Bytef *>(data.data()), z_size_t(data.size()))));
    appendU32(member, std::uint32_t(data.size() & 0xFFFFFFFF));
    return member;
}
