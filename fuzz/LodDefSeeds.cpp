// The seed corpora of fuzz_lod and fuzz_def, made by our own writers.
#include "LodDefSeeds.h"

#include "SampleSprites.h"

#include "gfx/FileHelpers.h"
#include "writers/DefWriter.h"
#include "writers/LodWriter.h"

#include <QDir>

namespace {

// A small frame in the given encoding: a diagonal pattern with runs and
// literals, placed with margins inside a larger picture.
DefFrame smallFrame(int format, bool margins)
{
    DefFrame frame;
    frame.format = format;
    frame.spriteWidth = 32;
    frame.spriteHeight = 4;
    frame.fullWidth = 40;
    frame.fullHeight = 8;
    frame.leftMargin = margins ? 5 : 0;
    frame.topMargin = margins ? 2 : 0;
    for (int i = 0; i < 32 * 4; ++i)
        frame.pixels.append(char(i % 11 < 6 ? 3 : i % 250));
    return frame;
}

QList<QByteArray> seedSpriteFiles()
{
    QList<QByteArray> defs;
    for (int format = 0; format < 4; ++format)
        defs.append(DefWriter().addGroup({smallFrame(format, false), smallFrame(format, true)}).write());
    DefFrame shortHeader;
    shortHeader.format = 1;
    shortHeader.fullWidth = shortHeader.fullHeight = shortHeader.spriteWidth = shortHeader.spriteHeight = 4;
    shortHeader.pixels = QByteArray(16, char(9));
    shortHeader.shortHeader = true;
    defs.append(DefWriter().addGroup({shortHeader}).addGroup({smallFrame(2, true)}).write());
    defs.append(sampleSpriteFile(TileSpriteNames[13]));  // a full river file
    return defs;
}

}  // namespace

void writeDefSeeds(const QString &folder)
{
    const QList<QByteArray> defs = seedSpriteFiles();
    for (qsizetype i = 0; i < defs.size(); ++i)
        SaveBytesToFile(QDir(folder).filePath(QStringLiteral("seed%1.def").arg(i)), defs[i]);
}

void writeLodSeeds(const QString &folder)
{
    const QList<QByteArray> defs = seedSpriteFiles();
    const QDir out(folder);
    SaveBytesToFile(out.filePath(QStringLiteral("stored.lod")),
                    LodWriter().add("a.def", defs[0]).add("b.def", "bytes").write());
    SaveBytesToFile(out.filePath(QStringLiteral("packed.lod")),
                    LodWriter()
                        .add("dirttl.def", defs[1], LodWriter::Packing::Packed)
                        .add("clrrvr.def", defs[2], LodWriter::Packing::Packed)
                        .add("empty", QByteArray(), LodWriter::Packing::Packed)
                        .write());
    SaveBytesToFile(out.filePath(QStringLiteral("empty.lod")), LodWriter().write());
}
