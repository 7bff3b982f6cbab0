// Writing one gzip member from data given as a row of segments, deflated in
// independent pieces on worker threads and joined into a single deflate stream.
#pragma once

#include "map/ProgressMeter.h"

#include <QByteArray>
#include <QByteArrayView>

#include <functional>
#include <span>

struct GzipWriteOptions {
    // Input bytes per piece. Each piece is deflated on its own, primed with
    // the 32 KiB of input in front of it, so the pieces compress almost as
    // well as one stream would.
    qsizetype pieceSize = 1024 * 1024;
    // Threads deflating pieces; the calling thread writes them out in order.
    int workers = 2;
    // zlib's compression level, 0..9, or -1 for its default level (6).
    int level = -1;
};

// Writes one gzip member holding the concatenation of segments: header
// 1F 8B 08 00, modification time 0, extra flags 0, operating-system byte 0, no
// optional fields; one deflate stream at the options' level, made of the
// pieces (each but the last ended by a sync flush, the last by the final
// block); then the CRC-32 of the data (combined from the pieces' CRCs) and
// its length mod 2^32, little-endian.
//
// `write` receives the member's bytes in order and returns false to stop.
// The bytes do not depend on the number of workers or on thread timing.
// Progress counts input bytes. Returns false when zlib cannot get the memory
// it needs or `write` stopped.
bool writeGzipMember(std::span<const QByteArrayView> segments, const std::function<bool(QByteArrayView)> &write,
                     const GzipWriteOptions &options = {}, const ProgressCallback &progress = {});
