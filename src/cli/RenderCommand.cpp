// brackwen-cli render: a whole map level drawn as the editor's grid draws it.
#include "cli/Commands.h"

#include "gfx/CellRenderer.h"
#include "gfx/PngWriter.h"
#include "gfx/TileSprites.h"
#include "map/MapFile.h"

#include <QSaveFile>

#include <array>

namespace {

int runRender(const CliArgs &args, CliContext &context);

// Sprites come from a folder or from an archive, not both.
constexpr int SpritesGroup = 1;

constexpr const char *MapAndPicture[] = {"MAP", "OUT.png"};
constexpr CliOption Options[] = {
    LevelOption,
    {"--cell", {CliValueKind::Number, TileSprites::MinCellSize, TileSprites::MaxCellSize}, "1..64",
     "the size of a cell in pixels (32 unless named)"},
    {"--numbers", {}, nullptr, "write each cell's picture number on it"},
    {"--defs", {CliValueKind::Text}, "DIR", "draw with the sprite files of the folder DIR", SpritesGroup},
    {"--lod", {CliValueKind::Text}, "ARCHIVE", "draw with the sprites of the archive", SpritesGroup},
};
constexpr CliForm Forms[] = {{nullptr, MapAndPicture, Options}};

const std::array<CliCommand, 1> Commands = {{
    {"render", "Draw a map level into a PNG picture as the editor's grid shows it (plain colours unless sprites are given)",
     Forms, runRender},
}};

int runRender(const CliArgs &args, CliContext &context)
{
    const QString &mapPath = args.arguments[0];
    const QString &outPath = args.arguments[1];
    const int cellSize = int(args.number("--cell", 32));
    const QString defsFolder = args.value("--defs");
    const QString archive = args.value("--lod");
    if (const QString refused = cliPictureOutputRefusal(outPath, {mapPath, defsFolder, archive}); !refused.isEmpty())
        return cliFail(context, refused);
    CliMap map = cliOpenMap(args, context);
    if (!map.ok())
        return cliFail(context, map.refusal);
    MapDocument &document = map.document();
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

    const QImage image = renderMapLevel(document, cellSize, args.has("--numbers"), sprites.spritesLoaded() ? &sprites : nullptr,
                                       map.level);
    if (image.isNull())
        return cliFail(context, QStringLiteral("not enough memory for a picture of %1 x %1 pixels")
                                    .arg(qint64(document.mapSize) * cellSize));
    // Encoding takes most of the time of a picture: the fast writer, whose
    // files are a little larger than a general encoder's best.
    QSaveFile out(outPath);
    if (!out.open(QIODevice::WriteOnly) || !writeFastPng(image, out) || !out.commit())
        return cliFail(context, QStringLiteral("cannot write %1: %2").arg(outPath, out.errorString()));
    return 0;
}

}  // namespace

std::span<const CliCommand> renderCommands()
{
    return Commands;
}
