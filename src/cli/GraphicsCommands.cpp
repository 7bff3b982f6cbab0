// brackwen-cli commands: the sprite archive ("lod list", "lod extract") and
// sprite files ("def export", "def sheet").
#include "cli/Commands.h"

#include "cli/ContactSheet.h"

#include "gfx/FileHelpers.h"
#include "gfx/GraphicsError.h"
#include "gfx/Lod.h"
#include "gfx/QvDefWrapper.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSaveFile>

#include <array>
#include <functional>

namespace {

int runLod(const QStringList &args, CliContext &context);
int runDef(const QStringList &args, CliContext &context);

const std::array<CliCommand, 2> Commands = {{
    {"lod", "list ARCHIVE | extract ARCHIVE NAME OUT",
     "List the entries of a sprite archive (name, position, size, packed size), or extract one to a file", runLod},
    {"def", "export DEF DIR | sheet DEF OUT.png",
     "Write every frame of a sprite file to DIR as 000.png, 001.png, ..., or all of them into one picture, each with "
     "its number under it",
     runDef},
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

// Reads the sprite file at defPath and hands it to work; an unreadable or
// damaged file is refused with its reason.
int withDefFile(const QString &defPath, CliContext &context, const std::function<int(const TQvDefWrapper &)> &work)
{
    QFile file(defPath);
    if (!file.open(QIODevice::ReadOnly))
        return cliFail(context, QStringLiteral("cannot read \"%1\": %2").arg(defPath, file.errorString()));
    try {
        return work(TQvDefWrapper(file.readAll()));
    } catch (const GraphicsError &error) {
        return cliFail(context, error.message());
    }
}

int defExport(const QString &defPath, const QString &folder, CliContext &context)
{
    return withDefFile(defPath, context, [&](const TQvDefWrapper &def) {
        if (!ForceFolders(folder))
            RaiseOSError();
        QImage frame;
        for (qint32 k = 0; k < def.frameCount(); ++k) {
            def.ExtractFrame(k, frame);
            const QString path = QDir(folder).filePath(QStringLiteral("%1.png").arg(k, 3, 10, QLatin1Char('0')));
            if (!frame.save(path, "PNG"))
                return cliFail(context, QStringLiteral("cannot write \"%1\"").arg(path));
        }
        return 0;
    });
}

int defSheet(const QString &defPath, const QString &outPath, CliContext &context)
{
    return withDefFile(defPath, context, [&](const TQvDefWrapper &def) {
        const QImage sheet = drawContactSheet(def);
        if (sheet.isNull())
            return cliFail(context, QStringLiteral("a sheet of the pictures of \"%1\" is too large").arg(defPath));
        QSaveFile out(outPath);
        if (!out.open(QIODevice::WriteOnly) || !sheet.save(&out, "PNG") || !out.commit())
            return cliFail(context, QStringLiteral("cannot write %1: %2").arg(outPath, out.errorString()));
        return 0;
    });
}

int runDef(const QStringList &args, CliContext &context)
{
    if (args.size() == 3 && args[0] == QLatin1String("export"))
        return defExport(args[1], args[2], context);
    if (args.size() == 3 && args[0] == QLatin1String("sheet"))
        return defSheet(args[1], args[2], context);
    return cliUsage(context, Commands[1]);
}

}  // namespace

std::span<const CliCommand> graphicsCommands()
{
    return Commands;
}
