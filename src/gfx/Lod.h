// TLOD: reader of the game's sprite archive. The archive holds a sorted table
// of named entries, each stored as is or as a zlib stream.
#pragma once

#include "base/Reason.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <array>
#include <cstdint>

// One record of the archive's entry table (32 bytes in the file).
struct LodEntry {
    static constexpr int Size = 32;
    static constexpr int NameSize = 16;

    std::array<char, NameSize> name{};  // ended by a zero byte inside the field
    qint32 position = 0;                // of the entry's data, from the start of the archive
    qint32 size = 0;                    // once unpacked
    qint32 unused = 0;
    qint32 packedSize = 0;              // 0: stored as is; otherwise a zlib stream

    QByteArray nameBytes() const;
};

// Compares an entry name with a key the way the archive's table is sorted:
// bytewise, unsigned, folding only A-Z to lower case. Negative when the entry
// sorts before the key, 0 when they are equal. An empty key sorts after every
// name, so it is never found.
int compareLodName(QByteArrayView entryName, QByteArrayView key);

class TLOD {
public:
    // No entry, stored or packed, may claim more bytes than this.
    static constexpr qint64 MaxUnpackedSize = qint64(256) << 20;
    // No archive may list more entries than this (a table of 32 MiB).
    static constexpr qint32 MaxEntries = 1 << 20;
    // First size of the unpacking buffer, doubled as the stream delivers more.
    static constexpr qint64 InitialUnpackBuffer = qint64(64) << 10;
    // Bytes pulled from the archive per inflate step.
    static constexpr qint64 InflateBlockSize = 8192;
    // Where the entry table starts and where the count lies.
    static constexpr qint64 TableOffset = 92;
    static constexpr qint64 CountOffset = 8;

    const QString &FileName() const { return m_fileName; }
    void setFileName(const QString &fileName) { m_fileName = fileName; }

    // Reads the entry table. False (with Count 0) when the file cannot be read,
    // is not a regular file, is too short for its table or lists more than
    // MaxEntries entries; OpenError() then says why. Never raises.
    bool Open();
    // Why the last Open failed, in one line without the file's name; empty
    // after a successful one. OpenWhy is the same reason as a value, for the
    // windows to word in their language.
    const QString &OpenError() const { return m_openError; }
    const Reason &OpenWhy() const { return m_openWhy; }

    qint32 Count() const { return qint32(m_entries.size()); }
    const QList<LodEntry> &Entries() const { return m_entries; }
    // The bytes of the most recent extraction.
    const QByteArray &Data() const { return m_data; }

    // The index of the entry named key, or the bitwise complement of where it
    // would be inserted.
    qint32 IndexOf(QByteArrayView key) const;

    // Fills Data with the entry's bytes and, when destination is not empty,
    // writes them there too. Raises ELodException for an index at or beyond
    // Count, StreamReadError when the archive cannot be read, the entry lies
    // outside it, claims more than MaxUnpackedSize bytes, cannot get the
    // memory it needs, or its zlib stream is corrupt or ends early, and
    // OSError when the destination cannot be written.
    void ExtractAt(quint16 index, const QString &destination = QString());
    // ExtractAt for the entry of that name; a name that is not in the archive,
    // or whose entry lies beyond index 65535, raises ELodException.
    void Extract(QByteArrayView name, const QString &destination = QString());

private:
    QByteArray readEntry(const LodEntry &entry) const;
    QByteArray readEntryBytes(const LodEntry &entry) const;

    bool fail(const Reason &reason);

    QString m_fileName;
    Reason m_openWhy;
    QString m_openError;
    QList<LodEntry> m_entries;
    QByteArray m_data;
};
