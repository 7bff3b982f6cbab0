// Gzip inflating on zlib's stream interface, from input in pieces into blocks;
// members written in memory through the gzip member writer.
#include "map/Gzip.h"

#include "map/GzipMemberWriter.h"
#include "map/MapReasons.h"

// Input pointers of zlib's streams are const with this.
#define ZLIB_CONST
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <span>

namespace {

// zlib counts in 32-bit units; longer buffers are fed in pieces.
constexpr qsizetype LargestPiece = std::numeric_limits<uInt>::max();

bool startsMember(QByteArrayView bytes)
{
    return bytes.size() >= 2 && std::uint8_t(bytes[0]) == 0x1F && std::uint8_t(bytes[1]) == 0x8B;
}

// Ends a zlib stream on every way out of the function that started it.
using StreamEnd = std::unique_ptr<z_stream, int (*)(z_stream *)>;

}  // namespace

Reason inflateGzipInto(const GzipInput &input, qsizetype maxLength, ChunkedBytes &content)
{
    struct IntoChunks final : GzipSink {
        ChunkedBytes &content;
        explicit IntoChunks(ChunkedBytes &into) : content(into) {}
        std::span<char> room(qsizetype most) override { return content.room(most); }
        void commit(qsizetype count) override { content.commit(count); }
    } sink(content);
    return inflateGzipTo(input, maxLength, sink);
}

Reason inflateGzipTo(const GzipInput &input, qsizetype maxLength, GzipSink &sink)
{
    z_stream z{};
    if (inflateInit2(&z, MAX_WBITS + 16) != Z_OK)
        return {reasons::GzipNoMemory};
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
    const Reason tooLarge{reasons::GzipTooLarge, {maxLength}};
    qsizetype produced = 0;  // content bytes handed to the sink
    for (;;) {
        if (in.isEmpty() && !inputEnded)
            pull();
        if (readFailed)
            return {reasons::GzipUnreadable, {consumed}};
        const qsizetype most = std::min(maxLength + 1 - produced, LargestPiece);
        if (most <= 0)
            return tooLarge;
        const std::span<char> room = sink.room(most);
        const qsizetype pieceIn = std::min(in.size(), LargestPiece);
        z.next_in = reinterpret_cast<const Bytef *>(in.data());
        z.avail_in = uInt(pieceIn);
        z.next_out = reinterpret_cast<Bytef *>(room.data());
        z.avail_out = uInt(room.size());
        const int status = inflate(&z, Z_NO_FLUSH);
        const qsizetype taken = pieceIn - qsizetype(z.avail_in);
        in = in.sliced(taken);
        consumed += taken;
        const qsizetype written = qsizetype(room.size()) - qsizetype(z.avail_out);
        sink.commit(written);
        produced += written;
        if (produced > maxLength)
            return tooLarge;

        if (status == Z_STREAM_END) {
            // Members may follow one another; anything else behind a member is
            // not gzip data and is left alone.
            while (in.size() < 2 && !inputEnded)
                pull();
            if (readFailed)
                return {reasons::GzipUnreadable, {consumed}};
            if (!startsMember(in))
                break;
            inflateReset(&z);
        } else if (status == Z_BUF_ERROR && in.isEmpty() && inputEnded) {
            // No progress with room to write: the input has run out.
            return {reasons::GzipTruncated, {consumed}};
        } else if (status != Z_OK && status != Z_BUF_ERROR) {
            const Reason detail = z.msg != nullptr ? Reason::plain(QString::fromLatin1(z.msg)) : Reason(reasons::GzipStatus, {status});
            return {reasons::GzipCorrupt, {consumed, detail}};
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
    const Reason error = inflateGzipInto(whole, maxLength, content);
    if (!error.isEmpty())
        return {{}, error, error.english()};
    return {content.copy(0, content.size()), {}, {}};
}

QByteArray gzipMember(QByteArrayView data)
{
    QByteArray member;
    const QByteArrayView segments[] = {data};
    const bool written = writeGzipMember(segments, [&](QByteArrayView bytes) {
        member.append(bytes);
        return true;
    });
    return written ? member : QByteArray();
}
