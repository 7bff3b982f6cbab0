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
#include <span>

namespace {

constexpr std::array<char, 10> MemberHeader = {'\x1F', '\x8B', 8, 0, 0, 0, 0, 0, 0, 0};
constexpr qsizetype TrailerSize = 8;

// zlib counts in 32-bit units; longer buffers are fed in pieces.
constexpr qsizetype LargestPiece = std::numeric_limits<uInt>::max();

bool startsMember(QByteArrayView bytes)
{
    return bytes.size() >= 2 && std::uint8_t(bytes[0]) == 0x1F && std::uint8_t(bytes[1]) == 0x8B;
}

// Ends a zlib stream on every way out of the function that started it.
using StreamEnd = std::unique_ptr<z_stream, int (*)(z_stream *)>;

void appendU32(QByteArray &bytes, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.append(char((value >> shift) & 0xFF));
}

}  // namespace

QString inflateGzipInto(const GzipInput &input, qsizetype maxLength, ChunkedBytes &content)
{
    z_stream z{};
    if (inflateInit2(&z, MAX_WBITS + 16) != Z_OK)
        return QStringLiteral("not enough memory to start the gzip decoder");
    const StreamEnd inflater(&z, inflateEnd);

    QByteArrayView in;      // input not yet taken by the inflater
    QByteArray joined;      // holds `in` when it spans two pieces
    qsizetype consumed = 0; // input bytes taken so far
    bool inputEnded = false;
    bool readFailed = false;
    // Appends the next piece of input to what is left of the last one.
    const auto pull = [&] {
        const QByteArray rest = in.toByteArray();
        const std::optional<QByteArrayView> piece = input();
        readFailed = !piece;
        inputEnded = !piece || piece->isEmpty();
        if (inputEnded)
            return;
        if (rest.isEmpty()) {
            in = *piece;
        } else {
            joined = rest + piece->toByteArray();
            in = joined;
        }
    };
    const QString tooLarge = QStringLiteral("decompressed map data larger than %1 bytes").arg(maxLength);
    const qsizetype startSize = content.size();
    for (;;) {
        if (in.isEmpty() && !inputEnded)
            pull();
        if (readFailed)
            return QStringLiteral("gzip data cannot be read after byte %1").arg(consumed);
        const std::span<char> room = content.room(std::min(maxLength + 1 - (content.size() - startSize), LargestPiece));
        if (room.empty())
            return tooLarge;
        const qsizetype pieceIn = std::min(in.size(), LargestPiece);
        z.next_in = reinterpret_cast<const Bytef *>(in.data());
        z.avail_in = uInt(pieceIn);
        z.next_out = reinterpret_cast<Bytef *>(room.data());
        z.avail_out = uInt(room.size());
        const int status = inflate(&z, Z_NO_FLUSH);
        const qsizetype taken = pieceIn - qsizetype(z.avail_in);
        in = in.sliced(taken);
        consumed += taken;
        content.commit(qsizetype(room.size()) - qsizetype(z.avail_out));
        if (content.size() - startSize > maxLength)
            return tooLarge;

        if (status == Z_STREAM_END) {
            // Members may follow one another; anything else behind a member is
            // not gzip data and is left alone.
            while (in.size() < 2 && !inputEnded)
                pull();
            if (readFailed)
                return QStringLiteral("gzip data cannot be read after byte %1").arg(consumed);
            if (!startsMember(in))
                break;
            inflateReset(&z);
        } else if (status == Z_BUF_ERROR && in.isEmpty() && inputEnded) {
            // No progress with room to write: the input has run out.
            return QStringLiteral("gzip data truncated at byte %1").arg(consumed);
        } else if (status != Z_OK && status != Z_BUF_ERROR) {
            const QString detail = z.msg != nullptr ? QString::fromLatin1(z.msg) : QStringLiteral("zlib status %1").arg(status);
            return QStringLiteral("gzip data corrupt at byte %1 (%2)").arg(consumed).arg(detail);
        }
    }
    return {};
}

GzipInflateResult inflateGzip(QByteArrayView stream, qsizetype maxLength)
{
    bool given = false;
    const GzipInput whole = [&]() -> std::optional<QByteArrayView> {
        const QByteArrayView piece = given ? QByteArrayView() : stream;
        given = true;
        return piece;
    };
    ChunkedBytes content;
    const QString error = inflateGzipInto(whole, maxLength, content);
    if (!error.isEmpty())
        return {{}, error};
    return {content.copy(0, content.size()), {}};
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
