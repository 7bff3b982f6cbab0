// Fuzz target of the sprite archive reader: the input is written to a file,
// opened, and every entry extracted. Errors must come out as GraphicsError.
#include "FuzzSeeds.h"
#include "LodDefSeeds.h"

#include "gfx/GraphicsError.h"
#include "gfx/Lod.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    return writeSeedsIfAsked(argc, argv, writeLodSeeds);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QString path = QDir::temp().filePath(QStringLiteral("fuzz_lod_%1.lod").arg(QCoreApplication::applicationPid()));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    TLOD archive;
    archive.setFileName(path);
    if (!archive.Open())
        return 0;
    for (qint32 i = 0; i < archive.Count() && i <= 0xFFFF; ++i) {
        try {
            archive.ExtractAt(quint16(i));
        } catch (const GraphicsError &) {
        }
    }
    for (const char *name : {"dirttl.def", "", "zzzzzzzzzzzzzzzzzzzz"}) {
        try {
            archive.Extract(name);
        } catch (const GraphicsError &) {
        }
    }
    return 0;
}
