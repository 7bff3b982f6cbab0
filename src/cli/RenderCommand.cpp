// brackwen-cli render: a whole map level drawn as the editor's grid draws it.
#include "cli/Commands.h"

#include "gfx/CellRenderer.h"
#include "gfx/PngWriter.h"
#include "gfx/TileSprites.h"
#include "map/MapFile.h"

#include <QSaveFile>

#include <array>

namespace {

constexpr const char *Usage = "MAP OUT.png [--level 0|1] [--cell 1..64] [--numbers] [--defs DIR | --lod ARCHIVE]";

int runRender(const QStringList &args, CliContext &context);

const std::array<CliCommand, 1> Commands = {{
    {"render", Usage, "Draw a map level into a PNG picture as the editor's grid shows it (plain colours unless sprites are given)",
     runRender},
}};

int runRender(const QStringList &args, CliContext &context)
{
    QStringList positional;
    int level = 0;
    int cellSize = 32;
    bool numbers = false;
    QString defsFolder;
    QString archive;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--level") && hasValue && (args[i + 1] == "0" || args[i + 1] == "1"))
            level = args[++i].toInt();
        else if (arg == QLatin1String("--cell") && hasValue) {
            const std::optional<std::uint32_t> value = parseDecimal(args[++i], TileSprites::MaxCellSize);
            if (!value || *value < std::uint32_t(TileSprites::MinCellSize))
                return cliFail(context, QStringLiteral("--cell takes a whole number of pixels from %1 to %2")
                                            .arg(TileSprites::MinCellSize)
                                            .arg(TileSprites::MaxCellSize));
            cellSize = int(*value);
        } else if (arg == QLatin1String("--numbers"))
            numbers = true;
        else if (arg == QLatin1String("--defs") && hasValue)
            defsFolder = args[++i];
        else if (arg == QLatin1String("--lod") && hasValue)
            archive = args[++i];
        else if (!arg.startsWith(QLatin1String("--")))
            positional << arg;
        else
            return cliUsage(context, Commands[0]);
    }
    if (positional.size() != 2 || (!defsFolder.isEmpty() && !archive.isEmpty()))
        return cliUsage(context, Commands[0]);

    if (const QString refused = cliPictureOutputRefusal(positional[1], {positional[0], defsFolder, archive});
        !refused.isEmpty())
        return cliFail(context, refused);
    MapLoadResult loaded = readMapFile(positional[0]);
    if (!loaded.ok())
        return cliFail(context, QStringLiteral("%1: %2").arg(positional[0], loaded.reason));
    MapDocument &document = *loaded.document;
    if (!document.pointCurrentLayerAt(level))
        return cliFail(context, QStringLiteral("the map has no level %1").arg(level));
    if (!levelPictureFits(document.mapSize, cellSize)) {
        const QString picture = QStringLiteral("a picture of a %1 x %1 map at %2 pixels a cell is larger than %3 x %3 "
                                               "pixels or 2 GiB")
                                    .arg(document.mapSize)
                                    .arg(cellSize)
                                    .arg(MaxPictureSide);
        const int fitting = largestFittingCellSize(document.mapSize);
        return cliFail(context, fitting == 0 ? picture + QStringLiteral("; no cell size fits")
                                             : picture + QStringLiteral("; --cell %1 or smaller fits").arg(fitting));
    }

    TileSprites sprites;
    if (!defsFolder.isEmpty() || !archive.isEmpty()) {
        const TileLoadResult result =
            archive.isEmpty() ? sprites.loadFromFolder(defsFolder) : sprites.loadFromArchive(archive);
        if (result != TileLoadResult::Finished)
            return cliFail(context, sprites.loadError());
    }

    const QImage image = renderMapLevel(document, cellSize, numbers, sprites.spritesLoaded() ? &sprites : nullptr);
    if (image.isNull())
        return cliFail(context, QStringLiteral("not enough memory for a picture of %1 x %1 pixels")
                                    .arg(qint64(document.mapSize) * cellSize));
    // Encoding takes most of the time of a picture: the fast writer, whose
    // files are a little larger than a general encoder's best.
    QSaveFile out(positional[1]);
    if (!out.open(QIODevice::WriteOnly) || !writeFastPng(image, out) || !out.commit())
        return cliFail(context, QStringLiteral("cannot write %1: %2").arg(positional[1], out.errorString()));
    return 0;
}

}  // namespace

std::span<const CliCommand> renderCommands()
{
    return Commands;
}
