// LodWriter: builds a sprite archive from named files, each stored as is or
// packed as a zlib stream, with the entry table sorted as the reader expects.
#pragma once

#include <QByteArray>
#include <QList>

class LodWriter {
public:
    enum class Packing { Stored, Packed };

    // Names longer than 15 bytes are cut to fit their 16-byte field.
    LodWriter &add(const QByteArray &name, const QByteArray &data, Packing packing = Packing::Stored);

    // The archive: 92 bytes of header, the entry table sorted by the reader's
    // name comparison, then the entries' data in that order.
    QByteArray write() const;

    // Offset of entry i's record in the written archive, for tests that damage it.
    static constexpr qsizetype entryOffset(int i) { return 92 + 32 * qsizetype(i); }

private:
    struct File {
        QByteArray name;
        QByteArray data;
        Packing packing;
    };
    QList<File> m_files;
};
