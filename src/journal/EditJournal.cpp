// The journal's header, the identity of a map file, and reading a journal back.
#include "journal/EditJournal.h"

#include "base/WholeFile.h"
#include "journal/JournalBytes.h"
#include "journal/JournalReasons.h"
#include "map/MapDocument.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <zlib.h>

#include <cstring>

namespace {

constexpr qsizetype MagicLength = sizeof JournalMagic - 1;
// A path longer than this is no path a journal was written for.
constexpr std::uint32_t LongestPath = 32 * 1024;
constexpr qsizetype HashPiece = 1024 * 1024;

std::uint32_t checksum(QByteArrayView bytes)
{
    return std::uint32_t(crc32_z(0, reinterpret_cast<const Bytef *>(bytes.data()), z_size_t(bytes.size())));
}

JournalHeaderRead headerRefusal(const Reason &why)
{
    JournalHeaderRead read;
    read.why = why;
    read.reason = why.english();
    return read;
}

JournalContents contentsRefusal(const Reason &why)
{
    JournalContents contents;
    contents.why = why;
    contents.reason = why.english();
    return contents;
}

}  // namespace

QString journalMapPath(const QString &mapPath)
{
    return QDir::cleanPath(QFileInfo(mapPath).absoluteFilePath());
}

MapFileHash hashMapFile(const QString &path)
{
    MapFileHash hash;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        hash.reason = file.errorString();
        return hash;
    }
    QByteArray piece(HashPiece, Qt::Uninitialized);
    std::uint32_t crc = checksum({});
    qint64 size = 0;
    for (;;) {
        const qint64 got = file.read(piece.data(), piece.size());
        if (got < 0) {
            hash.reason = file.errorString();
            return hash;
        }
        if (got == 0)
            break;
        crc = std::uint32_t(crc32_z(crc, reinterpret_cast<const Bytef *>(piece.constData()), z_size_t(got)));
        size += got;
    }
    hash.identity = {size, QFileInfo(file).lastModified().toMSecsSinceEpoch(), crc};
    return hash;
}

JournalHeader makeJournalHeader(const QString &mapPath, std::uint32_t side, int levelCount)
{
    JournalHeader header;
    header.mapPath = journalMapPath(mapPath);
    // A file that cannot be read keeps the identity of none, which no file matches.
    header.file = hashMapFile(header.mapPath).identity;
    header.side = side;
    header.levelCount = std::uint8_t(levelCount);
    return header;
}

QByteArray encodeJournalHeader(const JournalHeader &header)
{
    const QByteArray path = header.mapPath.toUtf8();
    QByteArray bytes(JournalMagic, MagicLength);
    appendLittleEndian(bytes, JournalFormatVersion);
    appendLittleEndian(bytes, std::uint32_t(path.size()));
    bytes.append(path);
    appendLittleEndian(bytes, qint64(header.file.size));
    appendLittleEndian(bytes, qint64(header.file.modifiedMsecs));
    appendLittleEndian(bytes, header.file.crc32);
    appendLittleEndian(bytes, header.side);
    appendLittleEndian(bytes, header.levelCount);
    appendLittleEndian(bytes, checksum(bytes));
    return bytes;
}

JournalHeaderRead decodeJournalHeader(QByteArrayView bytes)
{
    JournalBytes reader(bytes);
    const auto magic = reader.take(MagicLength);
    if (!magic || *magic != QByteArrayView(JournalMagic, MagicLength))
        return headerRefusal(reasons::JournalNotJournal);
    const qsizetype versionAt = reader.position();
    const auto version = reader.read<std::uint32_t>();
    if (!version)
        return headerRefusal(reasons::JournalHeaderCut);
    const auto newer = [&] {
        JournalHeaderRead read = headerRefusal({reasons::JournalNewer, {*version, JournalFormatVersion}});
        read.newerFormat = true;
        return read;
    };
    const auto pathLength = reader.read<std::uint32_t>();
    if (pathLength && *pathLength > LongestPath)
        return *version > JournalFormatVersion
            ? newer()
            : headerRefusal({reasons::JournalPathLength, {*pathLength}});
    const auto path = pathLength ? reader.take(qsizetype(*pathLength)) : std::nullopt;
    const auto size = reader.read<qint64>();
    const auto modified = reader.read<qint64>();
    const auto crc = reader.read<std::uint32_t>();
    const auto side = reader.read<std::uint32_t>();
    const auto levelCount = reader.read<std::uint8_t>();
    const qsizetype checked = reader.position();
    const auto headerChecksum = reader.read<std::uint32_t>();
    if (!path || !size || !modified || !crc || !side || !levelCount || !headerChecksum)
        return *version > JournalFormatVersion ? newer() : headerRefusal(reasons::JournalHeaderCut);
    if (*headerChecksum != checksum(bytes.first(checked))) {
        if (*version < OldestJournalFormat || *version > JournalFormatVersion) {
            // The version field alone damaged: the header checks with a version this program knows.
            QByteArray known = bytes.first(checked).toByteArray();
            for (std::uint32_t candidate = OldestJournalFormat; candidate <= JournalFormatVersion; ++candidate) {
                const std::uint32_t stored = qToLittleEndian(candidate);
                std::memcpy(known.data() + versionAt, &stored, sizeof stored);
                if (checksum(known) == *headerChecksum)
                    return headerRefusal({reasons::JournalFormatField, {*version}});
            }
            if (*version > JournalFormatVersion)
                return newer();
        }
        return headerRefusal(reasons::JournalHeaderChecksum);
    }
    if (*version > JournalFormatVersion)
        return newer();
    if (*version < OldestJournalFormat)
        return headerRefusal({reasons::JournalUnknownFormat, {*version}});
    if (*side == 0 || *side > MapDocument::LargestSide || *levelCount < 1 || *levelCount > 2)
        return headerRefusal({reasons::JournalHeaderSize, {*side, *levelCount}});

    JournalHeaderRead read;
    read.header = {QString::fromUtf8(*path), {*size, *modified, *crc}, *side, *levelCount};
    read.length = reader.position();
    return read;
}

JournalRecord JournalContents::record(std::size_t index) const
{
    return decodeJournalRecord(QByteArrayView(bytes).sliced(recordOffsets[index])).record;
}

Reason JournalContents::damageWhy() const
{
    return {reasons::JournalDamage, {recordCount() + 1, intactAfterDamage, tailWhy}};
}

namespace {

// Bytes of candidate records checked while searching a damaged journal for
// intact ones; a search is given up beyond it.
constexpr qint64 SearchBudget = qint64(256) << 20;

// The start of the next intact record at or after from, or -1.
qsizetype nextIntactRecord(QByteArrayView bytes, qsizetype from, qint64 &budget)
{
    for (qsizetype at = from; at + 9 <= bytes.size() && budget > 0; ++at) {
        const std::uint8_t kind = std::uint8_t(bytes[at]);
        if (kind == 0 || kind > std::uint8_t(JournalRecord::Kind::Move))
            continue;
        const std::uint32_t length = qFromLittleEndian<std::uint32_t>(bytes.data() + at + 1);
        if (qint64(length) > bytes.size() - at - 9)
            continue;
        budget -= length;
        if (intactRecordLength(bytes.sliced(at)) > 0)
            return at;
    }
    return -1;
}

// How many intact records follow the damaged record at offset: the search
// goes on behind the damaged record's own frame when that holds a record,
// else byte by byte.
std::size_t intactRecordsAfter(QByteArrayView bytes, qsizetype damaged)
{
    qint64 budget = SearchBudget;
    std::size_t intact = 0;
    qsizetype at = -1;
    if (bytes.size() - damaged >= 9) {
        const std::uint32_t length = qFromLittleEndian<std::uint32_t>(bytes.data() + damaged + 1);
        const qint64 end = qint64(damaged) + 9 + length;
        if (end < bytes.size() && intactRecordLength(bytes.sliced(qsizetype(end))) > 0)
            at = qsizetype(end);
    }
    if (at < 0)
        at = nextIntactRecord(bytes, damaged + 1, budget);
    while (at >= 0 && at < bytes.size()) {
        if (const qsizetype length = intactRecordLength(bytes.sliced(at)); length > 0) {
            ++intact;
            at += length;
        } else {
            at = nextIntactRecord(bytes, at + 1, budget);
        }
    }
    return intact;
}

}  // namespace

JournalContents readJournal(const QString &path)
{
    if (const Reason notRegular = notARegularFile(path); !notRegular.isEmpty())
        return contentsRefusal(notRegular);
    WholeFile whole = readWholeFile(path, LargestJournal);
    if (!whole.ok())
        return contentsRefusal(whole.why);
    return readJournalBytes(std::move(whole.bytes));
}

JournalContents readJournalBytes(QByteArray bytes)
{
    JournalContents contents;
    contents.bytes = std::move(bytes);
    const JournalHeaderRead header = decodeJournalHeader(contents.bytes);
    if (!header.ok())
        return contentsRefusal(header.why);
    contents.header = header.header;

    const QByteArrayView stored(contents.bytes);
    qsizetype offset = header.length;
    while (offset < stored.size()) {
        const JournalRecordRead read = decodeJournalRecord(stored.sliced(offset));
        if (!read.ok()) {
            contents.tailLength = stored.size() - offset;
            contents.tailWhy = {reasons::JournalAtByte, {read.why, offset}};
            contents.tailReason = contents.tailWhy.english();
            contents.intactAfterDamage = intactRecordsAfter(stored, offset);
            break;
        }
        contents.recordOffsets.push_back(offset);
        offset += read.length;
    }
    return contents;
}

Reason journalSizeMismatch(const JournalHeader &header, std::uint32_t side, int levelCount)
{
    if (header.side == side && header.levelCount == levelCount)
        return {};
    return {reasons::JournalSizeMismatch, {header.side, header.levelCount, side, levelCount}};
}

JournalFileCheck journalMatchesFile(const JournalHeader &header, const QString &path)
{
    const auto check = [](const Reason &why) { return JournalFileCheck{why, why.english()}; };
    const MapFileHash now = hashMapFile(path);
    if (!now.ok())
        return check({reasons::JournalMapUnreadable, {path, Reason::plain(now.reason)}});
    // The differences in a row, each after the one before it.
    Reason differences;
    const auto add = [&](const Reason &difference) {
        differences = differences.isEmpty() ? difference : Reason(reasons::JournalBoth, {differences, difference});
    };
    if (now.identity.size != header.file.size)
        add({reasons::JournalFileSize, {now.identity.size, header.file.size}});
    if (now.identity.modifiedMsecs != header.file.modifiedMsecs)
        add({reasons::JournalFileTime,
             {QDateTime::fromMSecsSinceEpoch(now.identity.modifiedMsecs).toString(Qt::ISODate),
              QDateTime::fromMSecsSinceEpoch(header.file.modifiedMsecs).toString(Qt::ISODate)}});
    if (now.identity.crc32 != header.file.crc32)
        add(reasons::JournalFileBytes);
    if (differences.isEmpty())
        return {};
    return check({reasons::JournalFileChanged, {path, differences}});
}
