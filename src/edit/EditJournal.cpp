// The journal's header, the identity of a map file, and reading a journal back.
#include "edit/EditJournal.h"

#include "edit/JournalBytes.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <zlib.h>

namespace {

constexpr qsizetype MagicLength = sizeof JournalMagic - 1;
// A path longer than this is no path a journal was written for.
constexpr std::uint32_t LongestPath = 32 * 1024;
constexpr qsizetype HashPiece = 1024 * 1024;

std::uint32_t checksum(QByteArrayView bytes)
{
    return std::uint32_t(crc32_z(0, reinterpret_cast<const Bytef *>(bytes.data()), z_size_t(bytes.size())));
}

JournalHeaderRead headerRefusal(const QString &reason)
{
    JournalHeaderRead read;
    read.reason = reason;
    return read;
}

JournalContents contentsRefusal(const QString &reason)
{
    JournalContents contents;
    contents.reason = reason;
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
        return headerRefusal(QStringLiteral("not an edit journal"));
    const auto version = reader.read<std::uint32_t>();
    if (!version)
        return headerRefusal(QStringLiteral("the journal's header is cut off"));
    if (*version > JournalFormatVersion) {
        JournalHeaderRead newer = headerRefusal(QStringLiteral("the journal is of format %1, newer than this "
                                                               "program's %2; a newer Brackwen can recover it")
                                                    .arg(*version)
                                                    .arg(JournalFormatVersion));
        newer.newerFormat = true;
        return newer;
    }
    if (*version == 0)
        return headerRefusal(QStringLiteral("the journal is of unknown format 0"));
    const auto pathLength = reader.read<std::uint32_t>();
    if (pathLength && *pathLength > LongestPath)
        return headerRefusal(QStringLiteral("the journal's header is damaged (a map path of %1 bytes)").arg(*pathLength));
    const auto path = pathLength ? reader.take(qsizetype(*pathLength)) : std::nullopt;
    const auto size = reader.read<qint64>();
    const auto modified = reader.read<qint64>();
    const auto crc = reader.read<std::uint32_t>();
    const auto side = reader.read<std::uint32_t>();
    const auto levelCount = reader.read<std::uint8_t>();
    const qsizetype checked = reader.position();
    const auto headerChecksum = reader.read<std::uint32_t>();
    if (!path || !size || !modified || !crc || !side || !levelCount || !headerChecksum)
        return headerRefusal(QStringLiteral("the journal's header is cut off"));
    if (*headerChecksum != checksum(bytes.first(checked)))
        return headerRefusal(QStringLiteral("the journal's header is damaged (its checksum does not match)"));

    JournalHeaderRead read;
    read.header = {QString::fromUtf8(*path), {*size, *modified, *crc}, *side, *levelCount};
    read.length = reader.position();
    return read;
}

JournalRecord JournalContents::record(std::size_t index) const
{
    return decodeJournalRecord(QByteArrayView(bytes).sliced(recordOffsets[index])).record;
}

JournalContents readJournal(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return contentsRefusal(file.errorString());
    JournalContents contents;
    contents.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return contentsRefusal(file.errorString());
    const JournalHeaderRead header = decodeJournalHeader(contents.bytes);
    if (!header.ok())
        return contentsRefusal(header.reason);
    contents.header = header.header;

    const QByteArrayView bytes(contents.bytes);
    qsizetype offset = header.length;
    while (offset < bytes.size()) {
        const JournalRecordRead read = decodeJournalRecord(bytes.sliced(offset));
        if (!read.ok()) {
            contents.tailLength = bytes.size() - offset;
            contents.tailReason = QStringLiteral("%1 (at byte %2)").arg(read.reason).arg(offset);
            break;
        }
        contents.recordOffsets.push_back(offset);
        offset += read.length;
    }
    return contents;
}

JournalFileCheck journalMatchesFile(const JournalHeader &header, const QString &path)
{
    const MapFileHash now = hashMapFile(path);
    if (!now.ok())
        return {QStringLiteral("%1 cannot be read: %2").arg(path, now.reason)};
    QStringList differences;
    if (now.identity.size != header.file.size)
        differences << QStringLiteral("its size is %1 bytes, not %2").arg(now.identity.size).arg(header.file.size);
    if (now.identity.modifiedMsecs != header.file.modifiedMsecs)
        differences << QStringLiteral("it was written at %1, not %2")
                           .arg(QDateTime::fromMSecsSinceEpoch(now.identity.modifiedMsecs).toString(Qt::ISODate),
                                QDateTime::fromMSecsSinceEpoch(header.file.modifiedMsecs).toString(Qt::ISODate));
    if (now.identity.crc32 != header.file.crc32)
        differences << QStringLiteral("its bytes differ");
    if (differences.isEmpty())
        return {};
    return {QStringLiteral("%1 changed since the journal began: %2").arg(path, differences.join(QStringLiteral("; ")))};
}
