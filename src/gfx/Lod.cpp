// TLOD: reader of the game's sprite archive.
#include "gfx/Lod.h"

#include "base/BaseReasons.h"
#include "base/QuotedText.h"
#include "base/WholeFile.h"
#include "gfx/FileHelpers.h"
#include "gfx/GraphicsError.h"

#include <QFile>
#include <QFileInfo>

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

namespace {

qint32 int32At(const char *bytes)
{
    const auto *u = reinterpret_cast<const unsigned char *>(bytes);
    return qint32(std::uint32_t(u[0]) | std::uint32_t(u[1]) << 8 | std::uint32_t(u[2]) << 16 | std::uint32_t(u[3]) << 24);
}

QString entryText(const LodEntry &entry)
{
    return quotedFileText(entry.nameBytes());
}

[[noreturn]] void failRead(const LodEntry &entry, const Reason &reason)
{
    throw StreamReadError(Reason(reasons::GfxEntry, {entryText(entry), reason}));
}

}  // namespace

QByteArray LodEntry::nameBytes() const
{
    const auto end = std::find(name.begin(), name.end(), '\0');
    return QByteArray(name.data(), end - name.begin());
}

int compareLodName(QByteArrayView entryName, QByteArrayView key)
{
    if (key.isEmpty())
        return -1;
    const auto byteAt = [](QByteArrayView text, qsizetype i) {
        const int value = i < text.size() ? std::uint8_t(text[i]) : 0;
        return value >= 'A' && value <= 'Z' ? value + 32 : value;
    };
    for (qsizetype i = 0;; ++i) {
        const int a = byteAt(entryName, i);
        const int b = byteAt(key, i);
        if (a != b)
            return a - b;
        if (a == 0)
            return 0;
    }
}

bool TLOD::fail(const Reason &reason)
{
    m_openWhy = reason;
    m_openError = reason.english();
    return false;
}

bool TLOD::Open()
{
    m_entries.clear();
    m_openWhy = {};
    m_openError.clear();
    if (!QFileInfo::exists(m_fileName))
        return fail(Reason(reasons::NoSuchFile));
    // A device or a pipe has no size to check the table against.
    if (const Reason kind = notARegularFile(m_fileName); !kind.isEmpty())
        return fail(kind);
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly))
        return fail(Reason(reasons::CannotOpenIt, {Reason::plain(file.errorString())}));
    const QByteArray head = file.read(CountOffset + 4);
    if (head.size() != CountOffset + 4)
        return fail(Reason(reasons::GfxArchiveShort, {file.size()}));
    const qint32 count = int32At(head.constData() + CountOffset);
    // A count the file cannot hold is refused before anything is allocated.
    if (count < 0 || count > MaxEntries)
        return fail(Reason(reasons::GfxArchiveCount, {count}));
    if (TableOffset + qint64(count) * LodEntry::Size > file.size() || !file.seek(TableOffset))
        return fail(Reason(reasons::GfxArchiveTable, {count}));
    const QByteArray table = file.read(qint64(count) * LodEntry::Size);
    if (table.size() != qint64(count) * LodEntry::Size)
        return fail(Reason(reasons::GfxArchiveTableRead, {Reason::plain(file.errorString())}));
    QList<LodEntry> entries(count);
    for (qint32 i = 0; i < count; ++i) {
        const char *record = table.constData() + qint64(i) * LodEntry::Size;
        LodEntry &entry = entries[i];
        std::memcpy(entry.name.data(), record, LodEntry::NameSize);
        entry.position = int32At(record + 16);
        entry.size = int32At(record + 20);
        entry.unused = int32At(record + 24);
        entry.packedSize = int32At(record + 28);
    }
    m_entries = std::move(entries);
    return true;
}

qint32 TLOD::IndexOf(QByteArrayView key) const
{
    qint32 lo = 0;
    qint32 hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        const qint32 mid = lo + (hi - lo) / 2;
        const int r = compareLodName(m_entries[mid].nameBytes(), key);
        if (r < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (r == 0) {
                found = true;
                lo = mid;
            }
        }
    }
    return found ? lo : ~lo;
}

void TLOD::ExtractAt(quint16 index, const QString &destination)
{
    if (index >= Count())
        throw ELodException::indexOutOfBounds(index);
    m_data.clear();
    m_data = readEntry(m_entries[index]);
    if (!destination.isEmpty())
        SaveBytesToFile(destination, m_data);
}

void TLOD::Extract(QByteArrayView name, const QString &destination)
{
    const qint32 index = IndexOf(name);
    // The low 16 bits of a complement can name an existing entry in a large
    // archive, so a missing name is refused here rather than by ExtractAt;
    // so is an entry beyond the 16-bit indices, which cut to 16 bits would
    // name another one.
    if (index < 0)
        throw ELodException::indexOutOfBounds(quint16(index));
    if (index > std::numeric_limits<quint16>::max())
        throw ELodException::indexOutOfBounds(index);
    ExtractAt(quint16(index), destination);
}

QByteArray TLOD::readEntry(const LodEntry &entry) const
{
    try {
        return readEntryBytes(entry);
    } catch (const std::bad_alloc &) {
        failRead(entry, Reason(reasons::GfxEntryUnreadable, {Reason(reasons::NotEnoughMemory)}));
    }
}

QByteArray TLOD::readEntryBytes(const LodEntry &entry) const
{
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw StreamReadError(Reason(reasons::GfxArchiveReopen, {m_fileName, Reason::plain(file.errorString())}));
    const qint64 archiveSize = file.size();
    const bool packed = entry.packedSize != 0;
    if (entry.position < 0 || entry.size < 0 || entry.position > archiveSize)
        failRead(entry, Reason(reasons::GfxEntryOutside));
    if (!packed && qint64(entry.position) + entry.size > archiveSize)
        failRead(entry, Reason(reasons::GfxEntryOutside));
    if (entry.size > MaxUnpackedSize)
        failRead(entry, Reason(reasons::GfxEntryTooLarge, {entry.size}));
    if (!file.seek(entry.position))
        failRead(entry, Reason(reasons::GfxEntryUnreadable, {Reason::plain(file.errorString())}));

    if (!packed) {
        QByteArray data(entry.size, '\0');
        if (file.read(data.data(), entry.size) != entry.size)
            failRead(entry, Reason(reasons::GfxEntryUnreadable, {Reason::plain(file.errorString())}));
        return data;
    }

    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        failRead(entry, Reason(reasons::GfxEntryCannotUnpack, {Reason(reasons::GfxOutOfMemory)}));
    // Ends the inflater on every way out of this function.
    const std::unique_ptr<z_stream, int (*)(z_stream *)> inflater(&stream, inflateEnd);
    // The output grows as the stream delivers, so a stream that claims a large
    // size but ends early costs no more memory than it really unpacks to.
    QByteArray data(std::min<qint64>(entry.size, InitialUnpackBuffer), '\0');
    QByteArray block(InflateBlockSize, '\0');
    while (qint64(stream.total_out) < entry.size) {
        if (qint64(stream.total_out) == data.size())
            data.resize(std::min<qint64>(entry.size, 2 * data.size()));
        stream.next_out = reinterpret_cast<Bytef *>(data.data()) + stream.total_out;
        stream.avail_out = uInt(data.size() - qint64(stream.total_out));
        if (stream.avail_in == 0) {
            const qint64 got = file.read(block.data(), InflateBlockSize);
            if (got <= 0)
                failRead(entry, Reason(reasons::GfxEntryCutShort));
            stream.next_in = reinterpret_cast<Bytef *>(block.data());
            stream.avail_in = uInt(got);
        }
        const int result = inflate(&stream, Z_NO_FLUSH);
        if (result == Z_STREAM_END && qint64(stream.total_out) < entry.size)
            failRead(entry, Reason(reasons::GfxEntryUnpacksTo, {stream.total_out, entry.size}));
        // zlib's own message, when it gives one, stays in its words.
        if (result != Z_OK && result != Z_STREAM_END) {
            const Reason fault =
                stream.msg ? Reason::plain(QString::fromLatin1(stream.msg)) : Reason(reasons::GfxCorruptData);
            failRead(entry, Reason(reasons::GfxEntryCannotUnpack, {fault}));
        }
    }
    return data;
}
