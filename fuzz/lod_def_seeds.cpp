// Writes small seed corpora for fuzz_lod and fuzz_def with our own writers:
// fuzz_lod_def_seeds DIR gives DIR/lod/*.lod and DIR/def/*.def.
#include "SampleSprites.h"

#include "gfx/FileHelpers.h"
#include "writers/DefWriter.h"
#include "writers/LodWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

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

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "Usage: fuzz_lod_def_seeds DIR" << Qt::endl;
        return 2;
    }
    const QDir out(args[1]);
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
    for (qsizetype i = 0; i < defs.size(); ++i)
        SaveBytesToFile(out.filePath(QStringLiteral("def/seed%1.def").arg(i)), defs[i]);

    SaveBytesToFile(out.filePath(QStringLiteral("lod/stored.lod")),
                    LodWriter().add("a.def", defs[0]).add("b.def", "bytes").write());
    SaveBytesToFile(out.filePath(QStringLiteral("lod/packed.lod")),
                    LodWriter()
                        .add("dirttl.def", defs[1], LodWriter::Packing::Packed)
                        .add("clrrvr.def", defs[2], LodWriter::Packing::Packed)
                        .add("empty", QByteArray(), LodWriter::Packing::Packed)
                        .write());
    SaveBytesToFile(out.filePath(QStringLiteral("lod/empty.lod")), LodWriter().write());
    return 0;
}
