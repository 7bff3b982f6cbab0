// Loading and saving map files: the content is gathered in blocks and the
// layers are built from it block by block.
#include "map/MapFile.h"

#include "base/Platform.h"
#include "base/WholeFile.h"
#include "map/Gzip.h"
#include "map/GzipMemberWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QRandomGenerator>

#include <algorithm>
#include <array>
#include <cerrno>
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
// whole terrain, so it tests 16 positions a round where SSE2 is at hand: four
// unaligned loads of four u32 each cover the positions p+k, p+k+4, p+k+8,
// p+k+12 for k = 0..3, and four more give their partners 4 bytes on. A round
// with a hit is scanned again one position at a time, so the first one wins.
std::optional<qsizetype> findTerrainMarker(QByteArrayView data, qsizetype from)
{
    const qsizetype last = data.size() - 2 * qsizetype(sizeof(std::uint32_t));
    qsizetype p = from;
#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
    constexpr qsizetype Round = 16;
    const __m128i target = _mm_set1_epi32(int(terrainMarkerSum));
    for (; p + Round - 1 <= last; p += Round) {
        const char *at = data.data() + p;
        __m128i hits = _mm_setzero_si128();
        for (int k = 0; k < 4; ++k) {
            const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at + k));
            const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at + k + 4));
            hits = _mm_or_si128(hits, _mm_cmpeq_epi32(_mm_add_epi32(first, second), target));
        }
        if (_mm_movemask_epi8(hits) != 0)
            return scanForMarker(data, p, p + Round - 1);
    }
#endif
    return scanForMarker(data, p, last);
}

// The first p >= from at which the u32 at p and the u32 at p + 4 sum to the
// marker constant, over data held in blocks: each block is searched on its
// own, and the few positions whose eight bytes straddle a seam are searched
// in a copy of the bytes around it.
std::optional<qsizetype> findTerrainMarker(const ChunkedBytes &data, qsizetype from)
{
    constexpr qsizetype Window = 2 * qsizetype(sizeof(std::uint32_t));
    for (const ChunkedBytes::Block &block : data.blocks()) {
        const qsizetype blockEnd = block.start + block.bytes.size();
        if (blockEnd <= from)
            continue;
        const qsizetype localFrom = std::max<qsizetype>(from - block.start, 0);
        if (const auto found = findTerrainMarker(block.bytes, localFrom))
            return block.start + *found;
        const qsizetype seamFrom = std::max(from, blockEnd - Window + 1);
        const qsizetype seamEnd = std::min(data.size(), blockEnd + Window - 1);
        if (seamEnd - seamFrom < Window)
            continue;
        const QByteArray seam = data.copy(seamFrom, seamEnd - seamFrom);
        if (const auto found = scanForMarker(seam, 0, std::min(blockEnd, data.size() - Window + 1) - seamFrom - 1))
            return seamFrom + *found;
    }
    return std::nullopt;
}

MapLoadResult refusal(const QString &reason)
{
    MapLoadResult result;
    result.reason = reason;
    return result;
}

// Bytes moved from the map data into a layer or the header at a time: the
// blocks behind each step are released before the next, so the data and the
// layers built from it are never both held whole.
constexpr qsizetype TakeStep = 16 * 1024 * 1024;

// Bytes of the data taken into one array, the blocks behind each step
// released, so that a long header or tail is never held twice.
QByteArray takeBytes(ChunkedBytes &data, qsizetype offset, qsizetype length)
{
    QByteArray bytes;
    bytes.reserve(length);
    const qsizetype end = offset + length;
    for (qsizetype at = offset; at < end; at += TakeStep) {
        data.forEachPiece(at, std::min(TakeStep, end - at), [&](QByteArrayView piece) { bytes.append(piece); });
        data.releaseBefore(std::min(at + TakeStep, end));
    }
    return bytes;
}

// The cells of one layer, taken from the data at offset and released behind.
TerrainLayer takeLayer(ChunkedBytes &data, qsizetype offset, std::uint32_t side)
{
    const std::size_t count = std::size_t(side) * side;
    std::vector<TerrainCell> cells;
    // Reserved, not filled: the pages are touched only as cells arrive.
    cells.reserve(count);
    std::array<char, sizeof(TerrainCell)> partial{};
    std::size_t partialBytes = 0;
    const auto append = [&](QByteArrayView piece) {
        if (partialBytes > 0) {
            const std::size_t fill = std::min(partial.size() - partialBytes, std::size_t(piece.size()));
            std::memcpy(partial.data() + partialBytes, piece.data(), fill);
            partialBytes += fill;
            piece = piece.sliced(qsizetype(fill));
            if (partialBytes < partial.size())
                return;
            cells.push_back(*reinterpret_cast<const TerrainCell *>(partial.data()));
            partialBytes = 0;
        }
        const auto *first = reinterpret_cast<const TerrainCell *>(piece.data());
        const std::size_t whole = std::size_t(piece.size()) / sizeof(TerrainCell);
        cells.insert(cells.end(), first, first + whole);
        partialBytes = std::size_t(piece.size()) - whole * sizeof(TerrainCell);
        std::memcpy(partial.data(), piece.data() + whole * sizeof(TerrainCell), partialBytes);
    };
    const qsizetype end = offset + qsizetype(count * CellBytes);
    for (qsizetype at = offset; at < end; at += TakeStep) {
        data.forEachPiece(at, std::min(TakeStep, end - at), append);
        data.releaseBefore(std::min(at + TakeStep, end));
    }
    return TerrainLayer(side, std::move(cells));
}

// Reads the map data, releasing it as the layers are built from it.
MapLoadResult parseMapData(ChunkedBytes &data)
{
    if (data.size() < MinimumMapDataLength)
        return refusal(QStringLiteral("map data shorter than %1 bytes").arg(MinimumMapDataLength));
    const std::uint32_t version = data.u32At(VersionOffset);
    if (!isKnownVersion(version))
        return refusal(QStringLiteral("unknown map version %1").arg(version));
    const std::uint32_t side = data.u32At(SizeOffset);
    if (side == 0)
        return refusal(QStringLiteral("map size is 0"));
    const bool hasUnderground = data.byteAt(LevelsOffset) == 1;
    const std::uint64_t levels = hasUnderground ? 2 : 1;

    // Lengths are 32-bit and offsets 64-bit, so these sums cannot overflow.
    const std::uint64_t firstLength = data.u32At(FirstFieldLengthOffset);
    const std::uint64_t secondLengthOffset = std::uint64_t(FirstFieldLengthOffset) + 4 + firstLength;
    if (secondLengthOffset + 4 > std::uint64_t(data.size()))
        return refusal(QStringLiteral("first skipped field (%1 bytes) runs past the end of the data").arg(firstLength));
    const std::uint64_t secondLength = data.u32At(qsizetype(secondLengthOffset));
    const std::uint64_t fieldsEnd = secondLengthOffset + 4 + secondLength;
    if (fieldsEnd > std::uint64_t(data.size()))
        return refusal(QStringLiteral("second skipped field (%1 bytes) runs past the end of the data").arg(secondLength));

    // The search starts one byte behind the second field, never on it.
    const std::optional<qsizetype> marker = findTerrainMarker(data, qsizetype(fieldsEnd) + 1);
    if (!marker)
        return refusal(QStringLiteral("terrain marker not found"));
    const qsizetype terrainEnd = *marker - MarkerDistance;

    // side^2 fits in 64 bits; compare by division so that the layer size is
    // only ever formed once it is known to fit in front of the marker.
    const std::uint64_t cellsPerLayer = std::uint64_t(side) * side;
    const std::uint64_t room = std::uint64_t(terrainEnd - SmallestTerrainOffset);
    if (cellsPerLayer > room / (CellBytes * levels))
        return refusal(QStringLiteral("terrain of side %1 does not fit in front of the marker at byte %2").arg(side).arg(*marker));
    const qsizetype terrainOffset = terrainEnd - qsizetype(cellsPerLayer * CellBytes * levels);
    if (side > TerrainLayer::MaxSide)
        throw std::bad_alloc();

    MapLoadResult result;
    MapDocument &document = result.document.emplace();
    // In file order, so that each block is released once passed.
    document.headerBytes = takeBytes(data, 0, terrainOffset);
    document.ground = takeLayer(data, terrainOffset, side);
    if (hasUnderground)
        document.underground = takeLayer(data, terrainOffset + qsizetype(cellsPerLayer * CellBytes), side);
    document.trailingBytes = takeBytes(data, terrainEnd, data.size() - terrainEnd);
    document.version = version;
    document.mapSize = side;
    document.hasUnderground = hasUnderground;
    document.isLoaded = true;
    document.chooseSizeSteps(side);

    result.facts.terrainOffset = terrainOffset;
    result.facts.trailingLength = data.size() - terrainEnd;
    result.facts.dataLength = data.size();
    return result;
}

// Reads a gzip or plain map from `input`, whose first piece is `first`. The
// gzip content or the plain bytes are gathered in blocks, then parsed.
MapLoadResult loadFromPieces(QByteArrayView first, const GzipInput &next, qsizetype maxDataLength)
{
    // The content of a large map may be more than the memory at hand.
    try {
        const bool compressed = isGzipContainer(first);
        ChunkedBytes data;
        if (compressed) {
            bool firstGiven = false;
            const GzipInput input = [&]() -> std::optional<QByteArrayView> {
                if (firstGiven)
                    return next();
                firstGiven = true;
                return first;
            };
            const QString error = inflateGzipInto(input, maxDataLength, data);
            if (!error.isEmpty())
                return refusal(error);
        } else {
            for (std::optional<QByteArrayView> piece = first; !piece || !piece->isEmpty(); piece = next()) {
                if (!piece)
                    return refusal(QStringLiteral("cannot read the map data"));
                for (QByteArrayView rest = *piece; !rest.isEmpty();) {
                    const std::span<char> room = data.room(rest.size());
                    std::memcpy(room.data(), rest.data(), room.size());
                    data.commit(qsizetype(room.size()));
                    rest = rest.sliced(qsizetype(room.size()));
                }
            }
        }
        MapLoadResult result = parseMapData(data);
        result.facts.compressed = compressed;
        return result;
    } catch (const std::bad_alloc &) {
        return refusal(QStringLiteral("not enough memory to load the map"));
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
    if (!isGzipContainer(fileBytes)) {
        // Plain bytes in memory are read where they are.
        try {
            ChunkedBytes data = ChunkedBytes::viewOf(fileBytes);
            return parseMapData(data);
        } catch (const std::bad_alloc &) {
            return refusal(QStringLiteral("not enough memory to load the map"));
        }
    }
    return loadFromPieces(fileBytes, [] { return std::optional<QByteArrayView>(QByteArrayView()); }, maxDataLength);
}

QString mapFileRefusal(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("no such file");
    if (const QString kind = notARegularFile(path); !kind.isEmpty())
        return kind;
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString extension = dot < 0 ? QString() : name.sliced(dot);
    if (extension != QLatin1String(".vdm") && extension != QLatin1String(".vdw"))
        return QStringLiteral("extension is neither \".vdm\" nor \".vdw\"");
    if (info.size() > MaximumMapDataLength)
        return QStringLiteral("file larger than %1 bytes").arg(MaximumMapDataLength);
    return {};
}

MapLoadResult readMapFile(const QString &path, const ProgressCallback &progress)
{
    if (const QString reason = mapFileRefusal(path); !reason.isEmpty())
        return refusal(reason);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refusal(QStringLiteral("cannot open the file: %1").arg(file.errorString()));
    // The file is read in pieces as the loader takes them, so that it is
    // never held whole next to its content.
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
    MapLoadResult result = first ? loadFromPieces(*first, next, MaximumMapDataLength) : MapLoadResult();
    if (readFailed)
        return refusal(QStringLiteral("cannot read the file: %1").arg(file.errorString()));
    meter.finish();
    return result;
}

void adoptLoadedMap(MapDocument &document, MapDocument &&loaded)
{
    const int level = document.currentLayerLevel();
    document = std::move(loaded);
    document.pointCurrentLayerAt(level);
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
        return writeGzipMember(segments, write, {}, progress);
    } catch (const std::bad_alloc &) {
        return false;
    }
}

namespace {

// Bytes copied from file to file at a time.
constexpr qint64 CopyPiece = 1024 * 1024;

// The reason for a failed write of the new file: the system's error code in
// plain words, or the device's own text when there is no code.
QString writeFailure(int code, const QFileDevice &file)
{
    return QStringLiteral("cannot write the file: %1")
        .arg(code != 0 ? platform::fileErrorText(code) : file.errorString());
}

// Hands the saved member to a file, with the test hook of failing writes; the
// system's error code of the first failed write is kept.
struct FileSink {
    QFileDevice &file;
    const std::function<int(qint64)> &fault;
    qint64 written = 0;
    int error = 0;

    bool operator()(QByteArrayView bytes)
    {
        error = fault ? fault(written) : 0;
        if (error == 0 && file.write(bytes.data(), bytes.size()) != bytes.size())
            error = platform::lastFileError() != 0 ? platform::lastFileError() : EIO;
        written += bytes.size();
        return error == 0;
    }
};

// Copies the whole of `from` (from its start) to `to`, and syncs `to`; 0 or
// the system's error code.
int copyWhole(QFile &from, QFile &to, const std::function<int(qint64)> &fault = {})
{
    if (!from.seek(0) || !to.seek(0))
        return EIO;
    QByteArray piece(CopyPiece, Qt::Uninitialized);
    FileSink sink{to, fault};
    for (;;) {
        const qint64 got = from.read(piece.data(), piece.size());
        if (got < 0)
            return EIO;
        if (got == 0)
            break;
        if (!sink(QByteArrayView(piece.constData(), got)))
            return sink.error;
    }
    if (!to.resize(sink.written))
        return platform::lastFileError() != 0 ? platform::lastFileError() : EIO;
    return platform::syncFile(to);
}

QString backupFolderOf(const MapSaveOptions &options)
{
    return options.backupFolder.isEmpty() ? QDir::tempPath() : options.backupFolder;
}

// Copies `from` to `to`, replacing it; the reason of a failure or empty.
QString copyFileReplacing(const QString &from, const QString &to)
{
    QFile source(from);
    QFile target(to);
    if (!source.open(QIODevice::ReadOnly))
        return source.errorString();
    if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return platform::fileErrorText(platform::lastFileError());
    if (const int error = copyWhole(source, target); error != 0) {
        target.remove();
        return platform::fileErrorText(error);
    }
    return {};
}

// Keeps the file about to be replaced as NAME.bak beside it, or in the backup
// folder when its own folder cannot be written; the reason of a failure or empty.
QString keepPreviousVersion(const QString &path, const MapSaveOptions &options)
{
    const QFileInfo info(path);
    const QString besideIt = path + QStringLiteral(".bak");
    const QString firstTry = copyFileReplacing(path, besideIt);
    if (firstTry.isEmpty())
        return {};
    const QString folder = backupFolderOf(options);
    QDir().mkpath(folder);
    const QString elsewhere = QDir(folder).filePath(info.fileName() + QStringLiteral(".bak"));
    const QString secondTry = copyFileReplacing(path, elsewhere);
    if (secondTry.isEmpty())
        return {};
    return QStringLiteral("cannot keep the previous version as %1 (%2) nor as %3 (%4)")
        .arg(besideIt, firstTry, elsewhere, secondTry);
}

// The save through a new file beside the target (opened in `file`), renamed
// over it when whole.
MapSaveResult saveBeside(QSaveFile &file, const MapDocument &document, const QString &path,
                         const MapSaveOptions &options, const ProgressCallback &progress)
{
    FileSink sink{file, options.writeFault};
    if (!writeMapMember(document, std::ref(sink), progress)) {
        const QString reason = sink.error != 0 ? writeFailure(sink.error, file)
                                               : QStringLiteral("not enough memory to compress the map");
        file.cancelWriting();
        return {reason};
    }
    if (options.keepPrevious && QFileInfo::exists(path)) {
        if (const QString failed = keepPreviousVersion(path, options); !failed.isEmpty()) {
            file.cancelWriting();
            return {failed};
        }
    }
    if (!file.commit())
        return {writeFailure(0, file)};
    return {};
}

// The copy of the original that guards a save in place: a file of its own in
// the backup folder, named NAME.XXXXXXXX.original. It is given its name when
// it is made (an unnamed temporary file would vanish with a killed process,
// and the original with it) and removed when the object goes, unless kept.
class OriginalCopy {
public:
    OriginalCopy(const QString &folder, const QString &name)
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_file.setFileName(QDir(folder).filePath(
                QStringLiteral("%1.%2.original").arg(name).arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))));
            if (m_file.open(QIODevice::ReadWrite | QIODevice::NewOnly | QIODevice::Unbuffered) || !m_file.exists())
                return;
        }
    }
    ~OriginalCopy()
    {
        if (m_file.isOpen() && !m_kept)
            m_file.remove();
    }
    OriginalCopy(const OriginalCopy &) = delete;
    OriginalCopy &operator=(const OriginalCopy &) = delete;

    QFile &file() { return m_file; }
    bool isOpen() const { return m_file.isOpen(); }
    void keep() { m_kept = true; }

private:
    QFile m_file;
    bool m_kept = false;
};

// The save into the existing file, guarded by a copy of the original (see
// saveMapFile in the header).
MapSaveResult saveInPlace(const MapDocument &document, const QString &path, const MapSaveOptions &options,
                          const ProgressCallback &progress)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return {QStringLiteral("cannot create the file: %1").arg(file.errorString())};

    // The new file is held in memory, so that its whole size is known and
    // reserved before the original is touched.
    ChunkedBytes member;
    try {
        const auto keep = [&](QByteArrayView bytes) {
            for (QByteArrayView rest = bytes; !rest.isEmpty();) {
                const std::span<char> room = member.room(rest.size());
                std::memcpy(room.data(), rest.data(), room.size());
                member.commit(qsizetype(room.size()));
                rest = rest.sliced(qsizetype(room.size()));
            }
            return true;
        };
        if (!writeMapMember(document, keep, progress))
            return {QStringLiteral("not enough memory to compress the map")};
    } catch (const std::bad_alloc &) {
        return {QStringLiteral("not enough memory to compress the map")};
    }

    if (options.keepPrevious) {
        if (const QString failed = keepPreviousVersion(path, options); !failed.isEmpty())
            return {failed};
    }

    const QString folder = backupFolderOf(options);
    if (!QDir().mkpath(folder))
        return {QStringLiteral("cannot create the backup folder %1").arg(folder)};
    // The copy outlives a kill (nothing removes it then); on success it goes.
    OriginalCopy copy(folder, QFileInfo(path).fileName());
    if (!copy.isOpen())
        return {QStringLiteral("cannot keep a copy of the original in %1: %2").arg(folder, copy.file().errorString())};
    if (const int error = copyWhole(file, copy.file()); error != 0)
        return {QStringLiteral("cannot keep a copy of the original in %1: %2").arg(folder, platform::fileErrorText(error))};

    if (const int error = platform::reserveFileSpace(file, member.size()); error != 0)
        return {writeFailure(error, file) + QStringLiteral("; the original is unchanged")};

    FileSink sink{file, options.writeFault};
    bool written = file.seek(0);
    for (const ChunkedBytes::Block &block : member.blocks())
        written = written && sink(block.bytes);
    if (written && !file.resize(member.size()))
        sink.error = platform::lastFileError();
    if (written && sink.error == 0)
        sink.error = platform::syncFile(file);
    if (written && sink.error == 0)
        return {};

    const QString failure = writeFailure(sink.error, file);
    if (copyWhole(copy.file(), file) == 0)
        return {failure + QStringLiteral("; the original was put back")};
    copy.keep();
    return {failure + QStringLiteral("; the original is kept in %1").arg(copy.file().fileName())};
}

}  // namespace

std::vector<KeptOriginal> keptOriginals(const QString &backupFolder)
{
    std::vector<KeptOriginal> kept;
    const QDir folder(backupFolder);
    for (const QFileInfo &copy : folder.entryInfoList({QStringLiteral("*.original")}, QDir::Files | QDir::Hidden, QDir::Time)) {
        // NAME, a dot, eight hexadecimal digits and ".original".
        const QString name = copy.fileName();
        const qsizetype stem = name.size() - qsizetype(sizeof(".12345678.original") - 1);
        if (stem > 0 && name[stem] == u'.')
            kept.push_back({copy.filePath(), name.first(stem)});
    }
    return kept;
}

QString putBackKeptOriginal(const QString &copyPath, const QString &mapPath)
{
    QFile copy(copyPath);
    QFile map(mapPath);
    if (!copy.open(QIODevice::ReadOnly))
        return copy.errorString();
    if (!map.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return map.errorString();
    if (const int error = copyWhole(copy, map); error != 0)
        return QStringLiteral("cannot write the file: %1").arg(platform::fileErrorText(error));
    copy.close();
    copy.remove();
    return {};
}

MapSaveResult saveMapFile(const MapDocument &document, const QString &path, const MapSaveOptions &options,
                          const ProgressCallback &progress)
{
    if (!document.isLoaded)
        return {QStringLiteral("no map is loaded")};
    // A map of no cells (or of more than any map holds) opens nowhere: the
    // file it would replace is worth more.
    if (document.mapSize == 0 || document.mapSize > MapDocument::LargestSide)
        return {QStringLiteral("a map of side %1 cannot be saved (sides are 1..%2)")
                    .arg(document.mapSize)
                    .arg(MapDocument::LargestSide)};
    // A device, a pipe or a socket would be replaced by a plain file (or, for
    // a device, take the bytes and keep nothing): refused before anything.
    if (const QString kind = notARegularFile(path); !kind.isEmpty())
        return {kind};
    if (!options.inPlace) {
        QSaveFile file(path);
        // Unbuffered, so a failed write reports the system's own error code.
        if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return saveBeside(file, document, path, options, progress);
        // Only an existing file can be written where it is.
        if (!QFileInfo::exists(path))
            return {QStringLiteral("cannot create the file: %1").arg(file.errorString())};
    }
    return saveInPlace(document, path, options, progress);
}

MapSaveResult saveMapFile(const MapDocument &document, const QString &path, const ProgressCallback &progress)
{
    return saveMapFile(document, path, MapSaveOptions{}, progress);
}
