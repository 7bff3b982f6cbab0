// brackwen-cli commands: map (info, resave, resize).
#include "cli/Commands.h"

#include "map/MapFile.h"

#include <array>
#include <optional>

namespace {

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
        return cliUsage(context, Commands[0]);
    // Read through once, without holding the map.
    const MapFileSummary summary = summarizeMapFile(args[0], cliProgressBar(context, QStringLiteral("Reading  ")));
    if (!summary.ok())
        return cliFail(context, QStringLiteral("%1: %2").arg(args[0], summary.reason));
    const MapFileFacts &facts = summary.facts;
    context.out << "{\"version\":" << summary.version
                << ",\"size\":" << summary.mapSize
                << ",\"levels\":" << summary.levelCount
                << ",\"compressed\":" << (facts.compressed ? "true" : "false")
                << ",\"terrainOffset\":" << facts.terrainOffset
                << ",\"trailingBytes\":" << facts.trailingLength
                << ",\"dataLength\":" << facts.dataLength << '}' << Qt::endl;
    return 0;
}

int runResave(const QStringList &args, CliContext &context)
{
    if (args.size() != 2)
        return cliUsage(context, Commands[1]);
    const MapLoadResult loaded = readMapFile(args[0], cliProgressBar(context, QStringLiteral("Opening  ")));
    if (!loaded.ok())
        return cliFail(context, QStringLiteral("%1: %2").arg(args[0], loaded.reason));
    return cliSaveMap(*loaded.document, args[1], context);
}

int runResize(const QStringList &args, CliContext &context)
{
    if (args.size() != 3)
        return cliUsage(context, Commands[2]);
    const std::optional<std::uint32_t> side = parseDecimal(args[1], MapDocument::LargestSide);
    if (!side || *side == 0)
        return cliFail(context, QStringLiteral("map side must be a whole number from 1 to %1, not \"%2\"")
                                    .arg(MapDocument::LargestSide)
                                    .arg(args[1]));
    MapLoadResult loaded = readMapFile(args[0], cliProgressBar(context, QStringLiteral("Opening  ")));
    if (!loaded.ok())
        return cliFail(context, QStringLiteral("%1: %2").arg(args[0], loaded.reason));
    MapDocument &document = *loaded.document;
    // Dropped on failure, so a level at a time, in no more memory than the
    // larger of the two maps.
    if (!document.redimensionLevelByLevel(*side, cliProgressBar(context, QStringLiteral("Resizing "))))
        return cliFail(context, QStringLiteral("not enough memory for a map of side %1").arg(*side));
    return cliSaveMap(document, args[2], context);
}

}  // namespace

std::span<const CliCommand> mapCommands()
{
    return Commands;
}
