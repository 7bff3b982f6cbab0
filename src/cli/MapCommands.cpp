// brackwen-cli commands: map (info, resave, resize).
#include "cli/Commands.h"

#include "map/MapFile.h"

#include <array>
#include <optional>

namespace {

int runInfo(const CliArgs &args, CliContext &context);
int runResave(const CliArgs &args, CliContext &context);
int runResize(const CliArgs &args, CliContext &context);

constexpr const char *MapArgument[] = {"MAP"};
constexpr const char *MapAndOut[] = {"MAP", "OUT"};
constexpr const char *MapSideAndOut[] = {"MAP", "N", "OUT"};
constexpr CliForm InfoForms[] = {{nullptr, MapArgument, {}}};
constexpr CliForm ResaveForms[] = {{nullptr, MapAndOut, {}}};
constexpr CliForm ResizeForms[] = {{nullptr, MapSideAndOut, {}}};

constexpr std::array Commands = {
    CliCommand{"info", "Print the map's version, size, levels and layout as one line of JSON", InfoForms, runInfo},
    CliCommand{"resave", "Save the map to OUT as the editor saves it (gzip)", ResaveForms, runResave},
    CliCommand{"resize", "Change the map's side to N (1..9000) and save it to OUT", ResizeForms, runResize},
};

int runInfo(const CliArgs &args, CliContext &context)
{
    const QString &path = args.arguments[0];
    // Read through once, without holding the map.
    const MapFileSummary summary = summarizeMapFile(path, cliProgressBar(context, QStringLiteral("Reading  ")));
    if (!summary.ok())
        return cliFail(context, QStringLiteral("%1: %2").arg(path, summary.reason));
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

int runResave(const CliArgs &args, CliContext &context)
{
    CliMap map = cliOpenMap(args, context);
    if (!map.ok())
        return cliFail(context, map.refusal);
    return cliSaveMap(map.document(), args.arguments[1], context);
}

int runResize(const CliArgs &args, CliContext &context)
{
    const std::optional<std::uint32_t> side = parseDecimal(args.arguments[1], MapDocument::LargestSide);
    if (!side || *side == 0)
        return cliFail(context, QStringLiteral("map side must be a whole number from 1 to %1, not \"%2\"")
                                    .arg(MapDocument::LargestSide)
                                    .arg(args.arguments[1]));
    CliMap map = cliOpenMap(args, context);
    if (!map.ok())
        return cliFail(context, map.refusal);
    MapDocument &document = map.document();
    // Dropped on failure, so a level at a time, in no more memory than the
    // larger of the two maps.
    if (!document.redimensionLevelByLevel(*side, cliProgressBar(context, QStringLiteral("Resizing "))))
        return cliFail(context, QStringLiteral("not enough memory for a map of side %1").arg(*side));
    return cliSaveMap(document, args.arguments[2], context);
}

}  // namespace

std::span<const CliCommand> mapCommands()
{
    return Commands;
}
