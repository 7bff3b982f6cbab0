// brackwen-spritegen OUTDIR: writes the sample tile sprite files, loose as
// OUTDIR/defs/<name>.def and packed into OUTDIR/game/data/vdsprite.lod.
#include "SampleSprites.h"

#include "gfx/FileHelpers.h"
#include "gfx/GraphicsError.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments();
    const QString usage = QStringLiteral("Usage: brackwen-spritegen OUTDIR");
    // Words that look like options are never taken for the folder.
    for (const QString &arg : args.mid(1)) {
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            QTextStream(stdout) << usage << Qt::endl;
            return 0;
        }
        if (arg.startsWith(u'-')) {
            err << "brackwen-spritegen: unknown option " << arg << '\n' << usage << Qt::endl;
            return 2;
        }
    }
    if (args.size() != 2) {
        err << usage << Qt::endl;
        return 2;
    }
    const QDir out(args[1]);
    try {
        for (const TileSpriteName &name : TileSpriteNames)
            SaveBytesToFile(out.filePath(QStringLiteral("defs/%1.def").arg(QLatin1String(name.name))),
                            sampleSpriteFile(name));
        SaveBytesToFile(out.filePath(QStringLiteral("game/data/vdsprite.lod")), sampleSpriteArchive());
    } catch (const GraphicsError &error) {
        err << "brackwen-spritegen: " << error.message() << Qt::endl;
        return 1;
    }
    return 0;
}
