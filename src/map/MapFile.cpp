// Reading and writing map data: the content is gathered in blocks and the
// layers are built from it block by block; the saved data is written from
// the document without a copy.
#include "map/MapFile.h"

#include "base/LargeMemory.h"
#include "base/WholeFile.h"
#include "map/Gzip.h"
#include "map/GzipMemberWriter.h"
#include "map/MapReasons.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <new>
#include <span>
#include <utility>

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#endif

namespace {

// Fixed offsets of the map data.
constexpr qsizetype VersionOffset = 0;
constexpr qsizetype SizeOffset = 5;
constexpr qsizetype LevelsOffset = 9;
constexpr qsizetype FirstFieldLengthOffset = 10;
// The terrain may not start inside version, byte 4, size and levels byte.
constexpr qsizetype SmallestTerrainOffset = 10;
// The marker pair stands this far behind the end of the terrain.
constexpr qsizetype MarkerDistance = 8;

constexpr std::uint64_t CellBytes = sizeof(TerrainCell);
// Bytes read from a map file at a time.
constexpr qsizetype FileReadPiece = 64 * 1024;

std::uint32_t readU32(QByteArrayView data, qsizetype offset)
{
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(data.data() + offset);
    return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 | std::uint32_t(bytes[3]) << 24;
}

void appendU32(QByteArray &bytes, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.append(char((value >> shift) & 0xFF));
}

bool isKnownVersion(std::uint32_t version)
{
    return version == 14 || version == 21 || version == 28 || version == 51;
}

// The first p in [from, last] at which the u32 at p and the u32 at p + 4 sum
// to the marker constant, one position at a time.
std::optional<qsizetype> scanForMarker(QByteArrayView data, qsizetype from, qsizetype last)
{
    for (qsizetype p = from; p <= last; ++p) {
        if (std::uint32_t(readU32(data, p) + readU32(data, p + 4)) == terrainMarkerSum)
            return p;
    }
    return std::nullopt;
}

// The first p >= from at which the u32 at p and the u32 at p + 4 sum to the
// marker constant; none when the data ends first. The search runs over the
// whole terrain while it is read, so it first sieves 32 positions a round
// where SSE2 is at hand: the low byte of the sum is the sum of the two low
// bytes, so two pairs of loads and a byte-wise add and compare find the only
// positions that can hold the pair (terrain bytes are small, and two of them
// rarely make the marker's low byte). A round that passes the sieve is
// scanned one position at a time, so the first pair wins.
std::optional<qsizetype> findTerrainMarker(QByteArrayView data, qsizetype from)
{
    const qsizetype last = data.size() - 2 * qsizetype(sizeof(std::uint32_t));
    qsizetype p = from;
#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
    constexpr qsizetype Round = 32;
    const __m128i lowByte = _mm_set1_epi8(char(terrainMarkerSum & 0xFF));
    const auto sieve = [&](const char *at) {
        const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
        const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at + 4));
        return _mm_cmpeq_epi8(_mm_add_epi8(first, second), lowByte);
    };
    for (; p + Round - 1 <= last; p += Round) {
        const char *at = data.data() + p;
        if (_mm_movemask_epi8(_mm_or_si128(sieve(at), sieve(at + 16))) == 0)
            continue;
        if (const auto found = scanForMarker(data, p, p + Round - 1))
            return found;
    }
#endif
    return scanForMarker(data, p, last);
}

// Follows map data as it arrives, piece after piece, and keeps what a reader
// needs to know of it without holding it: the fixed header fields, the
// lengths of the two skipped fields, and the first marker pair behind them.
// Positions whose eight bytes straddle two pieces are searched in a copy of
// the last seven bytes of one and the first seven of the next.
class MapDataScanner {
public:
    static constexpr qsizetype HeadLength = FirstFieldLengthOffset + 4;

    void feed(QByteArrayView piece)
    {
        const qsizetype start = m_size;
        const qsizetype end = start + piece.size();
        if (start < HeadLength) {
            const qsizetype count = std::min(HeadLength - start, piece.size());
            std::memcpy(m_head.data() + start, piece.data(), std::size_t(count));
            if (end >= HeadLength)
                m_secondLengthOffset = std::uint64_t(FirstFieldLengthOffset) + 4 + headU32(FirstFieldLengthOffset);
        }
        if (m_secondLengthOffset && m_secondBytes < 4) {
            const std::uint64_t from = *m_secondLengthOffset + std::uint64_t(m_secondBytes);
            const std::uint64_t to = *m_secondLengthOffset + 4;
            for (std::uint64_t at = std::max<std::uint64_t>(from, std::uint64_t(start)); at < std::min<std::uint64_t>(to, std::uint64_t(end)); ++at)
                m_second[std::size_t(m_secondBytes++)] = piece[qsizetype(at - std::uint64_t(start))];
            if (m_secondBytes == 4)
                m_searchFrom = *m_secondLengthOffset + 4 + readU32(QByteArrayView(m_second.data(), 4), 0) + 1;
        }
        m_size = end;
        if (!m_marker && m_searchFrom)
            search(piece, start);
        keepTail(piece);
    }

    qsizetype size() const { return m_size; }
    // The u32 of the header at offset (0, 5 or 10) or its byte 9; valid once
    // HeadLength bytes have come.
    std::uint32_t headU32(qsizetype offset) const { return readU32(QByteArrayView(m_head.data(), HeadLength), offset); }
    std::uint8_t headByte(qsizetype offset) const { return std::uint8_t(m_head[std::size_t(offset)]); }
    // Where the second skipped field's length stands, once the head has come.
    std::optional<std::uint64_t> secondLengthOffset() const { return m_secondLengthOffset; }
    std::uint32_t secondLength() const { return readU32(QByteArrayView(m_second.data(), 4), 0); }
    std::optional<qsizetype> marker() const { return m_marker; }

private:
    static constexpr qsizetype Window = 2 * qsizetype(sizeof(std::uint32_t));
    static constexpr qsizetype Seam = Window - 1;

    std::array<char, HeadLength> m_head{};
    std::optional<std::uint64_t> m_secondLengthOffset;
    std::array<char, 4> m_second{};
    int m_secondBytes = 0;
    std::optional<std::uint64_t> m_searchFrom;  // one byte behind the second field
    std::optional<qsizetype> m_marker;
    std::array<char, Seam> m_tail{};  // the last bytes in front of the next piece
    qsizetype m_tailBytes = 0;
    qsizetype m_size = 0;

    void search(QByteArrayView piece, qsizetype start)
    {
        const auto from = qsizetype(std::min<std::uint64_t>(*m_searchFrom, std::uint64_t(m_size)));
        // Positions that start in the tail of the data before this piece.
        if (m_tailBytes > 0 && from < start) {
            std::array<char, 2 * Seam> seam{};
            const qsizetype ahead = std::min(Seam, piece.size());
            std::memcpy(seam.data(), m_tail.data() + (Seam - m_tailBytes), std::size_t(m_tailBytes));
            std::memcpy(seam.data() + m_tailBytes, piece.data(), std::size_t(ahead));
            const qsizetype base = start - m_tailBytes;
            const QByteArrayView joined(seam.data(), m_tailBytes + ahead);
            const qsizetype last = std::min(m_tailBytes - 1, joined.size() - Window);
            if (const auto found = scanForMarker(joined, std::max<qsizetype>(from - base, 0), last)) {
                m_marker = base + *found;
                return;
            }
        }
        if (const auto found = findTerrainMarker(piece, std::max<qsizetype>(from - start, 0)))
            m_marker = start + *found;
    }

    void keepTail(QByteArrayView piece)
    {
        if (piece.size() >= Seam) {
            std::memcpy(m_tail.data(), piece.data() + piece.size() - Seam, std::size_t(Seam));
        } else {
            std::memmove(m_tail.data(), m_tail.data() + piece.size(), std::size_t(Seam - piece.size()));
            std::memcpy(m_tail.data() + (Seam - piece.size()), piece.data(), std::size_t(piece.size()));
        }
        m_tailBytes = std::min(m_tailBytes + piece.size(), Seam);
    }
};

MapLoadResult refusal(const Reason &reason)
{
    MapLoadResult result;
    result.why = reason;
    result.reason = reason.english();
    return result;
}

// Where the parts of a map's data lie, from what the scanner saw of it.
struct MapLayout {
    Reason reason;  // set on refusal
    std::uint32_t version = 0;
    std::uint32_t side = 0;
    bool hasUnderground = false;
    qsizetype terrainOffset = 0;
    qsizetype terrainEnd = 0;
    qsizetype dataLength = 0;

    MapFileFacts facts(bool compressed) const
    {
        return {compressed, terrainOffset, dataLength - terrainEnd, dataLength};
    }
};

MapLayout refusedLayout(const Reason &reason)
{
    MapLayout layout;
    layout.reason = reason;
    return layout;
}

MapLayout layoutOf(const MapDataScanner &scan)
{
    const qsizetype size = scan.size();
    if (size < MinimumMapDataLength)
        return refusedLayout({reasons::MapDataShort, {MinimumMapDataLength}});
    const std::uint32_t version = scan.headU32(VersionOffset);
    if (!isKnownVersion(version))
        return refusedLayout({reasons::MapVersion, {version}});
    const std::uint32_t side = scan.headU32(SizeOffset);
    if (side == 0)
        return refusedLayout({reasons::MapSizeZero});
    const bool hasUnderground = scan.headByte(LevelsOffset) == 1;
    const std::uint64_t levels = hasUnderground ? 2 : 1;

    // Lengths are 32-bit and offsets 64-bit, so these sums cannot overflow.
    const std::uint64_t firstLength = scan.headU32(FirstFieldLengthOffset);
    const std::uint64_t secondLengthOffset = *scan.secondLengthOffset();
    if (secondLengthOffset + 4 > std::uint64_t(size))
        return refusedLayout({reasons::MapFirstField, {firstLength}});
    const std::uint64_t secondLength = scan.secondLength();
    const std::uint64_t fieldsEnd = secondLengthOffset + 4 + secondLength;
    if (fieldsEnd > std::uint64_t(size))
        return refusedLayout({reasons::MapSecondField, {secondLength}});

    // The search starts one byte behind the second field, never on it.
    const std::optional<qsizetype> marker = scan.marker();
    if (!marker)
        return refusedLayout({reasons::MapNoMarker});
    const qsizetype terrainEnd = *marker - MarkerDistance;

    // side^2 fits in 64 bits; compare by division so that the layer size is
    // only ever formed once it is known to fit in front of the marker.
    const std::uint64_t cellsPerLayer = std::uint64_t(side) * side;
    const std::uint64_t room = std::uint64_t(terrainEnd - SmallestTerrainOffset);
    if (cellsPerLayer > room / (CellBytes * levels))
        return refusedLayout({reasons::MapTerrainFit, {side, *marker}});
    if (side > TerrainLayer::MaxSide)
        throw std::bad_alloc();

    MapLayout layout;
    layout.version = version;
    layout.side = side;
    layout.hasUnderground = hasUnderground;
    layout.terrainEnd = terrainEnd;
    layout.terrainOffset = terrainEnd - qsizetype(cellsPerLayer * CellBytes * levels);
    layout.dataLength = size;
    return layout;
}

// Bytes handed to the scanner at a time: small enough that they are still
// in the cache when it reads them.
constexpr qsizetype ScanPiece = 256 * 1024;

// The map data gathered in one block of memory as it comes, each piece shown
// to the scanner right after it was written. The layers are then made in the
// block itself, so the content is written once and never copied.
class MapDataBlock final : public GzipSink {
public:
    // expected: the length the data is likely to have (grown beyond when not).
    MapDataBlock(qsizetype expected, qsizetype maxLength)
        : m_maxLength(maxLength)
    {
        // One byte more than expected, so that the inflater sees the end of
        // the stream without asking for more room.
        reserve(std::min(std::max(expected + 1, FirstCapacity), maxLength + 1));
    }
    ~MapDataBlock() override { std::free(m_data); }
    MapDataBlock(const MapDataBlock &) = delete;
    MapDataBlock &operator=(const MapDataBlock &) = delete;

    std::span<char> room(qsizetype most) override
    {
        if (m_size == m_capacity)
            reserve(std::min(std::max(m_capacity + m_capacity / 2, m_capacity + 1), std::max(m_maxLength + 1, m_capacity + 1)));
        return {m_data + m_size, std::size_t(std::min({most, m_capacity - m_size, ScanPiece}))};
    }
    void commit(qsizetype count) override
    {
        scanner.feed(QByteArrayView(m_data + m_size, count));
        m_size += count;
    }

    // Copies bytes in, in scanner-sized pieces.
    void append(QByteArrayView bytes)
    {
        while (!bytes.isEmpty()) {
            const std::span<char> into = room(bytes.size());
            std::memcpy(into.data(), bytes.data(), into.size());
            commit(qsizetype(into.size()));
            bytes = bytes.sliced(qsizetype(into.size()));
        }
    }

    // Makes the document of the laid-out data: the header and the tail are
    // copied out, the block is cut behind the terrain and its pages in front
    // of it given back, and the layers are made in it.
    MapLoadResult takeDocument(const MapLayout &layout, bool compressed)
    {
        MapLoadResult result;
        MapDocument &document = result.document.emplace();
        document.headerBytes = QByteArray(m_data, layout.terrainOffset);
        document.trailingBytes = QByteArray(m_data + layout.terrainEnd, m_size - layout.terrainEnd);
        if (void *cut = std::realloc(m_data, std::size_t(std::max<qsizetype>(layout.terrainEnd, 1))))
            m_data = static_cast<char *>(cut);
        releasePages(m_data, std::size_t(layout.terrainOffset));
        const std::shared_ptr<void> block(std::exchange(m_data, nullptr), FreeLarge());
        auto *cells = reinterpret_cast<TerrainCell *>(static_cast<char *>(block.get()) + layout.terrainOffset);
        document.ground = TerrainLayer::inBlock(layout.side, cells, block);
        if (layout.hasUnderground)
            document.underground = TerrainLayer::inBlock(layout.side, cells + std::size_t(layout.side) * layout.side, block);
        document.version = layout.version;
        document.mapSize = layout.side;
        document.hasUnderground = layout.hasUnderground;
        document.isLoaded = true;
        result.facts = layout.facts(compressed);
        return result;
    }

    MapDataScanner scanner;

private:
    char *m_data = nullptr;
    qsizetype m_size = 0;
    qsizetype m_capacity = 0;
    qsizetype m_maxLength;

    static constexpr qsizetype FirstCapacity = 64 * 1024;

    void reserve(qsizetype capacity)
    {
        void *memory = m_data == nullptr ? allocateLarge(std::size_t(capacity)) : std::realloc(m_data, std::size_t(capacity));
        if (memory == nullptr)
            throw std::bad_alloc();
        m_data = static_cast<char *>(memory);
        m_capacity = capacity;
    }
};

// Hands the map data of a gzip or plain stream, whose first piece is
// `first`, to the sink: inflated, or copied as it is. The reason of a
// refusal, or none.
Reason feedMapData(QByteArrayView first, const GzipInput &next, qsizetype maxDataLength, GzipSink &sink)
{
    if (isGzipContainer(first)) {
        bool firstGiven = false;
        const GzipInput input = [&]() -> std::optional<QByteArrayView> {
            if (firstGiven)
                return next();
            firstGiven = true;
            return first;
        };
        return inflateGzipTo(input, maxDataLength, sink);
    }
    for (std::optional<QByteArrayView> piece = first; !piece || !piece->isEmpty(); piece = next()) {
        if (!piece)
            return {reasons::MapDataUnreadable};
        for (QByteArrayView rest = *piece; !rest.isEmpty();) {
            const std::span<char> room = sink.room(rest.size());
            std::memcpy(room.data(), rest.data(), room.size());
            sink.commit(qsizetype(room.size()));
            rest = rest.sliced(qsizetype(room.size()));
        }
    }
    return {};
}

// The length a gzip stream's content is likely to have: the length field of
// its last member's trailer (exact for the one member the editor writes).
qsizetype lengthInGzipTrailer(QByteArrayView lastFour)
{
    return lastFour.size() == 4 ? qsizetype(readU32(lastFour, 0)) : 0;
}

// Reads a gzip or plain map from `input`, whose first piece is `first`, into
// one block, scanning it as it comes, and makes the document in the block.
MapLoadResult loadFromPieces(QByteArrayView first, const GzipInput &next, qsizetype expectedLength, qsizetype maxDataLength)
{
    // The content of a large map may be more than the memory at hand.
    try {
        const bool compressed = isGzipContainer(first);
        MapDataBlock block(expectedLength, maxDataLength);
        if (const Reason error = feedMapData(first, next, maxDataLength, block); !error.isEmpty())
            return refusal(error);
        const MapLayout layout = layoutOf(block.scanner);
        if (!layout.reason.isEmpty())
            return refusal(layout.reason);
        return block.takeDocument(layout, compressed);
    } catch (const std::bad_alloc &) {
        return refusal({reasons::MapNoMemory});
    }
}

// The uncompressed map data as saved, as a row of segments that point into
// the document: no copy of the header, the layers or the tail is made.
// `front` holds the first nine bytes and must outlive the segments.
std::array<QByteArrayView, 5> mapDataSegments(const MapDocument &document, QByteArray &front)
{
    const QByteArray &header = document.headerBytes;
    // Offsets 0..3 and 5..8 come from the document's fields, which a size
    // change updates; the header keeps the values it was loaded with.
    front.clear();
    appendU32(front, document.version);
    front.append(header.size() > 4 ? header[4] : '\0');
    appendU32(front, document.mapSize);
    const QByteArrayView restOfHeader =
        header.size() > LevelsOffset ? QByteArrayView(header).sliced(LevelsOffset) : QByteArrayView();
    const auto cellBytes = [](const TerrainLayer &layer) {
        return QByteArrayView(reinterpret_cast<const char *>(layer.data()), qsizetype(layer.byteCount()));
    };
    return {front, restOfHeader, cellBytes(document.ground),
            document.hasUnderground ? cellBytes(document.underground) : QByteArrayView(), document.trailingBytes};
}

}  // namespace

bool isGzipContainer(QByteArrayView fileBytes)
{
    // Flag bits 5..7 are reserved: a header with any of them set is not gzip.
    constexpr std::uint8_t ReservedFlags = 0xE0;
    return fileBytes.size() >= 4 && std::uint8_t(fileBytes[0]) == 0x1F && std::uint8_t(fileBytes[1]) == 0x8B
        && std::uint8_t(fileBytes[2]) == 0x08 && (std::uint8_t(fileBytes[3]) & ReservedFlags) == 0;
}

MapLoadResult loadMapData(QByteArrayView fileBytes, qsizetype maxDataLength)
{
    const qsizetype expected =
        isGzipContainer(fileBytes) ? lengthInGzipTrailer(fileBytes.last(std::min<qsizetype>(4, fileBytes.size()))) : fileBytes.size();
    return loadFromPieces(fileBytes, [] { return std::optional<QByteArrayView>(QByteArrayView()); }, expected, maxDataLength);
}

Reason mapFileRefusal(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {reasons::MapNoSuchFile};
    if (const Reason kind = notARegularFile(path); !kind.isEmpty())
        return kind;
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString extension = dot < 0 ? QString() : name.sliced(dot);
    if (extension != QLatin1String(".vdm") && extension != QLatin1String(".vdw"))
        return {reasons::MapExtension};
    if (info.size() > MaximumMapDataLength)
        return {reasons::MapFileLarger, {MaximumMapDataLength}};
    return {};
}

namespace {

// Opens the map file at path (after the checks of mapFileRefusal) and hands
// its bytes in pieces to `take` with the length its map data is likely to
// have; the refusal's reason, or none. The file is read in pieces as the
// reader takes them, so that it is never held whole next to its content.
Reason readMapFilePieces(const QString &path, const ProgressCallback &progress,
                         const std::function<Reason(QByteArrayView first, const GzipInput &next, qsizetype expected)> &take)
{
    if (const Reason reason = mapFileRefusal(path); !reason.isEmpty())
        return reason;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {reasons::MapCannotOpen, {Reason::plain(file.errorString())}};
    QByteArray buffer(FileReadPiece, Qt::Uninitialized);
    bool readFailed = false;
    ProgressMeter meter(progress, file.size());
    qint64 read = 0;
    const GzipInput next = [&]() -> std::optional<QByteArrayView> {
        const qint64 got = file.read(buffer.data(), buffer.size());
        if (got < 0) {
            readFailed = true;
            return std::nullopt;
        }
        meter.reach(read += got);
        return QByteArrayView(buffer.constData(), got);
    };
    const std::optional<QByteArrayView> first = next();
    if (!first)
        return {reasons::MapCannotRead, {Reason::plain(file.errorString())}};
    qsizetype expected = file.size();
    if (isGzipContainer(*first) && file.size() >= 4) {
        // The trailer is read ahead through a second handle, so that the
        // pieces keep coming in order.
        QFile tail(path);
        char lastFour[4];
        expected = tail.open(QIODevice::ReadOnly) && tail.seek(file.size() - 4) && tail.read(lastFour, 4) == 4
            ? lengthInGzipTrailer(QByteArrayView(lastFour, 4))
            : 0;
    }
    const Reason reason = take(*first, next, expected);
    if (readFailed)
        return {reasons::MapCannotRead, {Reason::plain(file.errorString())}};
    if (reason.isEmpty())
        meter.finish();
    return reason;
}

// A sink that shows the map data to a scanner and keeps none of it.
class ScanOnly final : public GzipSink {
public:
    std::span<char> room(qsizetype most) override
    {
        return {m_buffer.data(), std::size_t(std::min(most, m_buffer.size()))};
    }
    void commit(qsizetype count) override { scanner.feed(QByteArrayView(m_buffer.constData(), count)); }

    MapDataScanner scanner;

private:
    QByteArray m_buffer = QByteArray(ScanPiece, Qt::Uninitialized);
};

}  // namespace

MapLoadResult readMapFile(const QString &path, const ProgressCallback &progress)
{
    MapLoadResult result;
    const Reason reason = readMapFilePieces(path, progress, [&](QByteArrayView first, const GzipInput &next, qsizetype expected) {
        result = loadFromPieces(first, next, expected, MaximumMapDataLength);
        return result.why;
    });
    return reason.isEmpty() ? std::move(result) : refusal(reason);
}

MapFileSummary summarizeMapFile(const QString &path, const ProgressCallback &progress)
{
    MapFileSummary summary;
    summary.why = readMapFilePieces(path, progress, [&](QByteArrayView first, const GzipInput &next, qsizetype) {
        const bool compressed = isGzipContainer(first);  // `first` is read over
        ScanOnly sink;
        if (const Reason error = feedMapData(first, next, MaximumMapDataLength, sink); !error.isEmpty())
            return error;
        const MapLayout layout = layoutOf(sink.scanner);
        if (layout.reason.isEmpty()) {
            summary.version = layout.version;
            summary.mapSize = layout.side;
            summary.levelCount = layout.hasUnderground ? 2 : 1;
            summary.facts = layout.facts(compressed);
        }
        return layout.reason;
    });
    summary.reason = summary.why.english();
    return summary;
}

void adoptLoadedMap(MapDocument &document, MapDocument &&loaded)
{
    document = std::move(loaded);
}

QByteArray serializeMapData(const MapDocument &document)
{
    QByteArray front;
    const auto segments = mapDataSegments(document, front);
    QByteArray data;
    qsizetype length = 0;
    for (const QByteArrayView &segment : segments)
        length += segment.size();
    data.reserve(length);
    for (const QByteArrayView &segment : segments)
        data.append(segment);
    return data;
}

bool writeMapMember(const MapDocument &document, const std::function<bool(QByteArrayView)> &write,
                    const ProgressCallback &progress)
{
    try {
        QByteArray front;
        const auto segments = mapDataSegments(document, front);
        return writeGzipMember(segments, write, GzipWriteOptions(), progress);
    } catch (const std::bad_alloc &) {
        return false;
    }
}
