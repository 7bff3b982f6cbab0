// Gzip containers of map files: inflating a gzip stream the way the game's own
// gzip reader takes it, and writing one gzip member.
#pragma once

#include "base/Reason.h"
#include "map/ChunkedBytes.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>
#include <span>

// The decompressed bytes of a gzip stream, or why there are none.
struct GzipInflateResult {
    QByteArray data;
    Reason why;     // none on success
    QString error;  // why in English; empty on success

    bool ok() const { return why.isEmpty(); }
};

// Hands the compressed bytes to the inflater piece by piece: each call gives
// the next piece (empty at the end of the stream), which stays valid until the
// next call; nothing when the bytes cannot be read.
using GzipInput = std::function<std::optional<QByteArrayView>()>;

// Inflates a gzip stream: one member, or several in a row whose contents are
// joined; bytes after a member that do not start another one are ignored. A
// stream that is corrupt (a wrong CRC-32 or length trailer included) or ends
// early is refused. So is one whose content would exceed maxLength bytes: the
// check runs while inflating, so no more than maxLength + 1 bytes are ever held.
// The content is appended to `content` as it comes; the result is the reason
// for a refusal, none on success.
Reason inflateGzipInto(const GzipInput &input, qsizetype maxLength, ChunkedBytes &content);

// Where inflateGzipTo puts the content: room for the next bytes, then how
// many of them were written there, in order.
class GzipSink {
public:
    virtual ~GzipSink() = default;
    // Writable room for at most `most` bytes (most > 0): at least one byte;
    // throws std::bad_alloc when the memory cannot be had.
    virtual std::span<char> room(qsizetype most) = 0;
    virtual void commit(qsizetype count) = 0;
};

// inflateGzipInto with the content handed to a sink of the caller's.
Reason inflateGzipTo(const GzipInput &input, qsizetype maxLength, GzipSink &sink);

// inflateGzipInto of a stream held whole, into one buffer.
GzipInflateResult inflateGzip(QByteArrayView stream, qsizetype maxLength);

// One gzip member holding data, as writeGzipMember writes it; empty when zlib
// cannot get the memory it needs.
QByteArray gzipMember(QByteArrayView data);
