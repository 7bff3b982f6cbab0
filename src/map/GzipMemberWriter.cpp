// The parallel gzip writer: workers deflate fixed pieces of the input, each
// primed with the input in front of it, and the calling thread writes the
// pieces in order. A piece is a run of deflate blocks ending on a byte
// boundary (a sync flush), so the pieces joined are one deflate stream.
#include "map/GzipMemberWriter.h"

// Input pointers of zlib's streams are const with this.
#define ZLIB_CONST
#include <zlib.h>

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <thread>
#include <vector>

namespace {

constexpr std::array<char, 10> MemberHeader = {'\x1F', '\x8B', 8, 0, 0, 0, 0, 0, 0, 0};
// The most a deflate match may reach back.
constexpr qsizetype WindowSize = 32 * 1024;
// Room for the few bytes a sync flush or the final block add beyond the bound.
constexpr qsizetype FlushRoom = 64;

// The concatenated segments, read by offset.
class SegmentedInput {
public:
    explicit SegmentedInput(std::span<const QByteArrayView> segments)
        : m_segments(segments)
    {
        for (const QByteArrayView &segment : segments)
            m_total += segment.size();
    }

    qsizetype size() const { return m_total; }

    // Calls take for each piece of [from, from + length) in order.
    template <typename Take>
    void forEachPiece(qsizetype from, qsizetype length, Take take) const
    {
        qsizetype start = 0;
        for (const QByteArrayView &segment : m_segments) {
            const qsizetype first = std::max(from, start);
            const qsizetype last = std::min(from + length, start + segment.size());
            if (first < last)
                take(segment.sliced(first - start, last - first));
            start += segment.size();
        }
    }

private:
    std::span<const QByteArrayView> m_segments;
    qsizetype m_total = 0;
};

struct DeflatedPiece {
    QByteArray bytes;
    std::uint32_t crc = 0;
    qsizetype length = 0;
};

using StreamEnd = std::unique_ptr<z_stream, int (*)(z_stream *)>;

// Deflates one piece on a raw deflate stream of its own; empty on failure.
std::optional<DeflatedPiece> deflatePiece(const SegmentedInput &input, qsizetype from, qsizetype length, bool last,
                                          int level)
{
    z_stream z{};
    if (deflateInit2(&z, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return std::nullopt;
    const StreamEnd deflater(&z, deflateEnd);
    DeflatedPiece piece;
    piece.length = length;
    piece.crc = std::uint32_t(crc32_z(0, nullptr, 0));
    if (from > 0) {
        const qsizetype dictionaryStart = std::max<qsizetype>(0, from - WindowSize);
        QByteArray dictionary;
        input.forEachPiece(dictionaryStart, from - dictionaryStart, [&](QByteArrayView bytes) { dictionary.append(bytes); });
        if (deflateSetDictionary(&z, reinterpret_cast<const Bytef *>(dictionary.constData()), uInt(dictionary.size())) != Z_OK)
            return std::nullopt;
    }
    piece.bytes.resize(qsizetype(deflateBound(&z, uLong(length))) + FlushRoom);
    qsizetype produced = 0;
    bool failed = false;
    const auto run = [&](QByteArrayView bytes, int flush) {
        z.next_in = reinterpret_cast<const Bytef *>(bytes.data());
        z.avail_in = uInt(bytes.size());
        for (;;) {
            if (produced == piece.bytes.size())
                piece.bytes.resize(piece.bytes.size() * 2);
            z.next_out = reinterpret_cast<Bytef *>(piece.bytes.data() + produced);
            z.avail_out = uInt(piece.bytes.size() - produced);
            const int status = deflate(&z, flush);
            produced = piece.bytes.size() - qsizetype(z.avail_out);
            if (status == Z_STREAM_ERROR) {
                failed = true;
                return;
            }
            // Done once the input is taken and, for a flush, nothing is
            // pending; the final block is done when the stream ends.
            if (status == Z_STREAM_END || (flush != Z_FINISH && z.avail_in == 0 && z.avail_out != 0))
                return;
        }
    };
    input.forEachPiece(from, length, [&](QByteArrayView bytes) {
        piece.crc = std::uint32_t(crc32_z(piece.crc, reinterpret_cast<const Bytef *>(bytes.data()), z_size_t(bytes.size())));
        run(bytes, Z_NO_FLUSH);
    });
    run(QByteArrayView(), last ? Z_FINISH : Z_SYNC_FLUSH);
    if (failed)
        return std::nullopt;
    piece.bytes.resize(produced);
    return piece;
}

QByteArray littleEndian(std::uint32_t value)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char((value >> (8 * i)) & 0xFF);
    return bytes;
}

}  // namespace

bool writeGzipMember(std::span<const QByteArrayView> segments, const std::function<bool(QByteArrayView)> &write,
                     const GzipWriteOptions &options, const ProgressCallback &progress)
{
    const SegmentedInput input(segments);
    const qsizetype pieceSize = std::max<qsizetype>(options.pieceSize, 1);
    const qsizetype pieceCount = std::max<qsizetype>(1, (input.size() + pieceSize - 1) / pieceSize);
    const int workers = int(std::clamp<qsizetype>(options.workers, 1, pieceCount));
    const int level = options.level < 0 ? Z_DEFAULT_COMPRESSION : std::min(options.level, Z_BEST_COMPRESSION);
    // Pieces deflated but not yet written are bounded, so memory stays small
    // however far the workers could run ahead of the writer.
    const qsizetype window = 2 * qsizetype(workers) + 2;

    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::optional<DeflatedPiece>> done(static_cast<std::size_t>(pieceCount));
    qsizetype nextPiece = 0;
    qsizetype written = 0;
    bool stop = false;
    bool failed = false;

    const auto work = [&] {
        for (;;) {
            qsizetype index = 0;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return stop || nextPiece >= pieceCount || nextPiece < written + window; });
                if (stop || nextPiece >= pieceCount)
                    return;
                index = nextPiece++;
            }
            const qsizetype from = index * pieceSize;
            std::optional<DeflatedPiece> piece;
            try {
                piece = deflatePiece(input, from, std::min(pieceSize, input.size() - from), index == pieceCount - 1, level);
            } catch (const std::bad_alloc &) {
            }
            std::lock_guard lock(mutex);
            if (piece)
                done[std::size_t(index)] = std::move(piece);
            else
                stop = failed = true;
            changed.notify_all();
        }
    };
    std::vector<std::thread> threads;
    for (int i = 0; i < workers; ++i)
        threads.emplace_back(work);

    ProgressMeter meter(progress, input.size());
    std::uint32_t crc = std::uint32_t(crc32_z(0, nullptr, 0));
    bool ok = true;
    // A writer that runs out of memory stops the work like one that fails;
    // the workers are joined either way.
    try {
        ok = write(QByteArrayView(MemberHeader.data(), qsizetype(MemberHeader.size())));
        for (qsizetype index = 0; ok && index < pieceCount; ++index) {
            DeflatedPiece piece;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return failed || done[std::size_t(index)].has_value(); });
                if (failed) {
                    ok = false;
                    break;
                }
                piece = std::move(*done[std::size_t(index)]);
                done[std::size_t(index)].reset();
                written = index + 1;
                changed.notify_all();
            }
            crc = std::uint32_t(crc32_combine64(crc, piece.crc, piece.length));
            ok = write(piece.bytes);
            meter.reach((index + 1) * pieceSize);
        }
    } catch (const std::bad_alloc &) {
        ok = false;
    }
    {
        std::lock_guard lock(mutex);
        stop = true;
        changed.notify_all();
    }
    for (std::thread &thread : threads)
        thread.join();
    if (!ok)
        return false;
    meter.finish();
    try {
        return write(littleEndian(crc)) && write(littleEndian(std::uint32_t(input.size() & 0xFFFFFFFF)));
    } catch (const std::bad_alloc &) {
        return false;
    }
}
