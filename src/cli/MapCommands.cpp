// brackwen-cli commands: map (info, resave, resize).
#include "cli/Commands.h"

#include "map/MapFile.h"

#include <array>
#include <optional>

namespace {

QString usageError(const char *name, const char *usage)
{
    return QStringLiteral("usage: brackwen-cli %1 %2").arg(QLatin1String(name), QLatin1String(usage));
}

// A side for the resize command: a plain decimal whole number 1..9000.
std::optional<std::uint32_t> parseSide(const QString &text)
{
    if (text.isEmpty() || text.size() > 4)
        return std::nullopt;
    std::uint32_t side = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        side = side * 10 + std::uint32_t(c.unicode() - u'0');
    }
    if (side < 1 || side > MapDocument::LargestSide)
        return std::nullopt;
    return side;
}

int saveOrFail(const MapDocument &document, const QString &path, CliContext &context)
{
    const MapSaveResult saved = saveMapFile(document, path);
    if (!saved.ok())
        return cliFail(context, QStringLiteral("%1: %2").arg(path, saved.reason));
    return 0;
}

int runInfo(const QStringList &args, CliContext &context);
int runResave(const QStringList &args, CliContext &context);
int runResize(const QStringList &args, CliContext &context);

constexpr std::array Commands = {
    CliCommand{"info", "MAP", "Print the map's version, size, levels and layout as one line of JSON", runInfo},
    CliCommand{"resave", "MAP OUT", "Save the map to OUT as the editor saves it (gzip)", runResave},
    CliCommand{"resize", "MAP N OUT", "Change the map's side to N (1..9000) and save it to OUT", runResize},
};

int runInfo(const QStringList &args, CliContext &context)
{
    if (args.size() != 1)
        return cliFail(context, usageError(Commands[0].name, Commands[0].usage));
    const MapLoadResult loaded = readMapFile(args[0]);
    if (!loaded.ok())
        return cliFail(context, QStringLiteral("%1: %2").arg(args[0], loaded.reason));
    const MapDocument &document = *loaded.document;
    const MapFileFacts &facts = loaded.facts;
    context.out << "{\"version\":" << document.version
                << ",\"size\":" << document.mapSize
                << ",\"levels\":" << document.levelCount()
                << ",\"compressed\":" << (facts.compressed ? "true" : "false")
                << ",\"terrainOffset\":" << facts.terrainOffset
                << ",\"trailingBytes\":" << facts.trailingLength
                << ",\"dataLength\":" << facts.dataLength << '}' << Qt::endl;
    return 0;
}

int runResave(const QStringList &args, CliContext &context)
{
    if (args.size() != 2)
        return cliFail(context, usageError(Commands[1].name, Commands[1].usage));
    const MapLoadResult loaded = readMapFile(args[0]);
    if (!loaded.ok())
        return cliFail(context, QStringLiteral("%1: %2").arg(args[0], loaded.reason));
    return saveOrFail(*loaded.document, args[1], context);
}

int runResize(const QStringList &args, CliContext &context)
{
    if (args.size() != 3)
        return cliFail(context, usageError(Commands[2].name, Commands[2].usage));
    const std::optional<std::uint32_t> side = parseSide(args[1]);
    if (!side)
        return cliFail(context, QStringLiteral("map side must be a whole number from 1 to %1, not \"%2\"")
                                    .arg(MapDocument::LargestSide)
                                    .arg(args[1]));
    MapLoadResult loaded = readMapFile(args[0]);
    if (!loaded.ok())
        return cliFail(context, QStringLiteral("%1: %2").arg(args[0], loaded.reason));
    MapDocument &document = *loaded.document;
    if (!document.redimension(*side))
        return cliFail(context, QStringLiteral("not enough memory for a map of side %1").arg(*side));
    document.sizeChanged = true;
    return saveOrFail(document, args[2], context);
}

}  // namespace

std::span<const CliCommand> mapCommands()
{
    return Commands;
}
