// LodWriter: builds a sprite archive.
#include "writers/LodWriter.h"

#include "gfx/Lod.h"
#include "writers/ByteWriter.h"

#include <zlib.h>

#include <algorithm>

namespace {

QByteArray zlibPacked(const QByteArray &data)
{
    uLongf packedSize = compressBound(uLong(data.size()));
    QByteArray packed(qsizetype(packedSize), '\0');
    compress2(reinterpret_cast<Bytef *>(packed.data()), &packedSize, reinterpret_cast<const Bytef *>(data.constData()),
              uLong(data.size()), Z_BEST_COMPRESSION);
    packed.truncate(qsizetype(packedSize));
    return packed;
}

}  // namespace

LodWriter &LodWriter::add(const QByteArray &name, const QByteArray &data, Packing packing)
{
    m_files.append({name.left(LodEntry::NameSize - 1), data, packing});
    return *this;
}

QByteArray LodWriter::write() const
{
    QList<File> files = m_files;
    std::stable_sort(files.begin(), files.end(),
                     [](const File &a, const File &b) { return compareLodName(a.name, b.name) < 0; });
    QList<QByteArray> stored;
    for (const File &file : files)
        stored.append(file.packing == Packing::Packed ? zlibPacked(file.data) : file.data);

    ByteWriter out;
    out.bytes("BRACKWEN").i32(qint32(files.size())).zeros(80);
    qint64 position = entryOffset(int(files.size()));
    for (qsizetype i = 0; i < files.size(); ++i) {
        QByteArray name = files[i].name;
        name.resize(LodEntry::NameSize, '\0');
        const bool packed = files[i].packing == Packing::Packed;
        out.bytes(name)
            .i32(qint32(position))
            .i32(qint32(files[i].data.size()))
            .i32(0)
            .i32(packed ? qint32(stored[i].size()) : 0);
        position += stored[i].size();
    }
    for (const QByteArray &data : stored)
        out.bytes(data);
    return out.data();
}
