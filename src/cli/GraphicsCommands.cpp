// brackwen-cli commands: the sprite archive ("lod list", "lod extract") and
// sprite files ("def export").
#include "cli/Commands.h"

#include "gfx/FileHelpers.h"
#include "gfx/GraphicsError.h"
#include "gfx/Lod.h"
#include "gfx/QvDefWrapper.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <array>

namespace {

int runLod(const QStringList &args, CliContext &context);
int runDef(const QStringList &args, CliContext &context);

const std::array<CliCommand, 2> Commands = {{
    {"lod", "list ARCHIVE | extract ARCHIVE NAME OUT",
     "list the entries of a sprite archive (name, position, size, packed size), or extract one to a file", runLod},
    {"def", "export DEF DIR", "write every frame of a sprite file to DIR as 000.png, 001.png, ...", runDef},
}};

int lodList(const QString &archivePath, CliContext &context)
{
    TLOD archive;
    archive.setFileName(archivePath);
    if (!archive.Open())
        return cliFail(context, QStringLiteral("cannot open archive \"%1\"").arg(archivePath));
    for (const LodEntry &entry : archive.Entries())
        context.out << QString::fromLatin1(entry.nameBytes()) << '\t' << entry.position << '\t' << entry.size << '\t'
                    << entry.packedSize << '\n';
    context.out.flush();
    return 0;
}

int lodExtract(const QString &archivePath, const QString &name, const QString &outPath, CliContext &context)
{
    TLOD archive;
    archive.setFileName(archivePath);
    if (!archive.Open())
        return cliFail(context, QStringLiteral("cannot open archive \"%1\"").arg(archivePath));
    try {
        archive.Extract(name.toLatin1(), outPath);
    } catch (const GraphicsError &error) {
        return cliFail(context, error.message());
    }
    return 0;
}

int runLod(const QStringList &args, CliContext &context)
{
    if (args.size() == 2 && args[0] == QLatin1String("list"))
        return lodList(args[1], context);
    if (args.size() == 4 && args[0] == QLatin1String("extract"))
        return lodExtract(args[1], args[2], args[3], context);
    return cliUsage(context, Commands[0]);
}

int defExport(const QString &defPath, const QString &folder, CliContext &context)
{
    QFile file(defPath);
    if (!file.open(QIODevice::ReadOnly))
        return cliFail(context, QStringLiteral("cannot read \"%1\": %2").arg(defPath, file.errorString()));
    try {
        const TQvDefWrapper def(file.readAll());
        if (!ForceFolders(folder))
            RaiseOSError();
        QImage frame;
        for (qint32 k = 0; k < def.frameCount(); ++k) {
            def.ExtractFrame(k, frame);
            const QString path = QDir(folder).filePath(QStringLiteral("%1.png").arg(k, 3, 10, QLatin1Char('0')));
            if (!frame.save(path, "PNG"))
                return cliFail(context, QStringLiteral("cannot write \"%1\"").arg(path));
        }
    } catch (const GraphicsError &error) {
        return cliFail(context, error.message());
    }
    return 0;
}

int runDef(const QStringList &args, CliContext &context)
{
    if (args.size() == 3 && args[0] == QLatin1String("export"))
        return defExport(args[1], args[2], context);
    return cliUsage(context, Commands[1]);
}

}  // namespace

std::span<const CliCommand> graphicsCommands()
{
    return Commands;
}
