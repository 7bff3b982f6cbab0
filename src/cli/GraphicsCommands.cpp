// brackwen-cli commands: the sprite archive ("lod list", "lod extract") and
// sprite files ("def export", "def sheet").
#include "cli/Commands.h"

#include "cli/ContactSheet.h"

#include "base/Platform.h"
#include "base/QuotedText.h"
#include "base/WholeFile.h"
#include "gfx/FileHelpers.h"
#include "gfx/GraphicsError.h"
#include "gfx/Lod.h"
#include "gfx/QvDefWrapper.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

#include <array>
#include <functional>
#include <optional>

namespace {

int runLod(const CliArgs &args, CliContext &context);
int runDef(const CliArgs &args, CliContext &context);

constexpr const char *ListArguments[] = {"ARCHIVE"};
constexpr const char *ExtractArguments[] = {"ARCHIVE", "NAME", "OUT"};
constexpr const char *ExportArguments[] = {"DEF", "DIR"};
constexpr const char *SheetArguments[] = {"DEF", "OUT.png"};
// The forms in the order of their index, which the commands go by.
constexpr CliForm LodForms[] = {
    {"list", ListArguments, {}, "list the entries of the archive"},
    {"extract", ExtractArguments, {}, "write the entry NAME of the archive to OUT"},
};
constexpr CliForm DefForms[] = {
    {"export", ExportArguments, {}, "write every frame to DIR as 000.png, 001.png, ..."},
    {"sheet", SheetArguments, {}, "draw all frames into one picture, each with its number under it"},
};

const std::array<CliCommand, 2> Commands = {{
    {"lod", "List the entries of a sprite archive (name, position, size, packed size), or extract one to a file",
     LodForms, runLod},
    {"def",
     "Write every frame of a sprite file to DIR as 000.png, 001.png, ..., or all of them into one picture, each with "
     "its number under it",
     DefForms, runDef},
}};

// Opens the archive for a command; the reason it cannot be opened, or empty.
QString openArchive(TLOD &archive, const QString &archivePath)
{
    archive.setFileName(archivePath);
    if (archive.Open())
        return {};
    return QStringLiteral("cannot open archive \"%1\": %2").arg(archivePath, archive.OpenError());
}

// Why an archive that opened is no sprite archive: the reader checks only
// that the table fits, so a file of other bytes may open with no entries or
// with records that name no file in it. Empty when every record is one: a
// name ended inside its field, in the table's sorted order, and data inside
// the file.
QString notASpriteArchive(const TLOD &archive, qint64 fileSize)
{
    const QList<LodEntry> &entries = archive.Entries();
    if (entries.isEmpty())
        return QStringLiteral("not a sprite archive (it holds no entries)");
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const LodEntry &entry = entries[i];
        const QByteArray name = entry.nameBytes();
        const bool named = !name.isEmpty() && name.size() < LodEntry::NameSize;
        const bool inOrder = i == 0 || compareLodName(entries[i - 1].nameBytes(), name) < 0;
        const qint64 stored = entry.packedSize != 0 ? 0 : qint64(entry.size);
        const bool inside = entry.position >= 0 && entry.size >= 0 && entry.position + stored <= fileSize;
        if (!named || !inOrder || !inside)
            return QStringLiteral("not a sprite archive (entry %1 of %2 is no file record)").arg(i + 1).arg(entries.size());
    }
    return {};
}

int lodList(const QString &archivePath, CliContext &context)
{
    TLOD archive;
    if (const QString refused = openArchive(archive, archivePath); !refused.isEmpty())
        return cliFail(context, refused);
    if (const QString refused = notASpriteArchive(archive, QFileInfo(archivePath).size()); !refused.isEmpty())
        return cliFail(context, QStringLiteral("%1: %2").arg(archivePath, refused));
    for (const LodEntry &entry : archive.Entries())
        context.out << quotedFileText(entry.nameBytes()) << '\t' << entry.position << '\t' << entry.size << '\t'
                    << entry.packedSize << '\n';
    context.out.flush();
    return 0;
}

int lodExtract(const QString &archivePath, const QString &name, const QString &outPath, CliContext &context)
{
    TLOD archive;
    if (const QString refused = openArchive(archive, archivePath); !refused.isEmpty())
        return cliFail(context, refused);
    // The archive's own refusal of a missing name is an index; the tool says
    // what is missing before asking for the entry.
    const QByteArray key = name.toUtf8();
    if (archive.IndexOf(key) < 0)
        return cliFail(context, QStringLiteral("%1: no entry named \"%2\"").arg(archivePath, name));
    if (const QString refused = cliPictureOutputRefusal(outPath, {archivePath}); !refused.isEmpty())
        return cliFail(context, refused);
    try {
        archive.Extract(key, outPath);
    } catch (const OSError &error) {
        return cliFail(context, QStringLiteral("cannot write %1: %2").arg(outPath, platform::fileErrorText(error.code())));
    } catch (const GraphicsError &error) {
        return cliFail(context, QStringLiteral("%1: %2").arg(archivePath, error.message()));
    }
    return 0;
}

int runLod(const CliArgs &args, CliContext &context)
{
    const QStringList &words = args.arguments;
    return args.form == 0 ? lodList(words[0], context) : lodExtract(words[0], words[1], words[2], context);
}

// Reads the sprite file at defPath and hands it to work; an unreadable,
// damaged or foreign file is refused with its name and the reason.
int withDefFile(const QString &defPath, CliContext &context, const std::function<int(const TQvDefWrapper &)> &work)
{
    const WholeFile file = readWholeFile(defPath, TQvDefWrapper::MaxFileSize);
    if (!file.ok())
        return cliFail(context, QStringLiteral("cannot read \"%1\": %2").arg(defPath, file.error));
    std::optional<TQvDefWrapper> def;
    try {
        def.emplace(file.bytes);
    } catch (const GraphicsError &error) {
        return cliFail(context, QStringLiteral("%1: not a sprite file (%2)").arg(defPath, error.message()));
    }
    if (def->frameCount() == 0)
        return cliFail(context, QStringLiteral("%1: not a sprite file (it holds no pictures)").arg(defPath));
    try {
        return work(*def);
    } catch (const UnknownFrameEncoding &error) {
        return cliFail(context, QStringLiteral("%1: %2").arg(defPath, error.description()));
    } catch (const GraphicsError &error) {
        return cliFail(context, QStringLiteral("%1: %2").arg(defPath, error.message()));
    }
}

int defExport(const QString &defPath, const QString &folder, CliContext &context)
{
    return withDefFile(defPath, context, [&](const TQvDefWrapper &def) {
        if (QFileInfo(folder).exists() && !QFileInfo(folder).isDir())
            return cliFail(context, QStringLiteral("%1: it is not a folder").arg(folder));
        if (!ForceFolders(folder))
            return cliFail(context, QStringLiteral("cannot create the folder %1: %2")
                                        .arg(folder, platform::fileErrorText(lastSystemError())));
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
        if (const QString refused = cliPictureOutputRefusal(outPath, {defPath}); !refused.isEmpty())
            return cliFail(context, refused);
        const QImage sheet = drawContactSheet(def);
        if (sheet.isNull())
            return cliFail(context, QStringLiteral("a sheet of the pictures of \"%1\" is too large").arg(defPath));
        QSaveFile out(outPath);
        if (!out.open(QIODevice::WriteOnly) || !sheet.save(&out, "PNG") || !out.commit())
            return cliFail(context, QStringLiteral("cannot write %1: %2").arg(outPath, out.errorString()));
        return 0;
    });
}

int runDef(const CliArgs &args, CliContext &context)
{
    const QStringList &words = args.arguments;
    return args.form == 0 ? defExport(words[0], words[1], context) : defSheet(words[0], words[1], context);
}

}  // namespace

std::span<const CliCommand> graphicsCommands()
{
    return Commands;
}
