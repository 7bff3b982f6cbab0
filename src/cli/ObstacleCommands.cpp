// brackwen-cli commands: obstacles (one battlefield section of a catalogue)
// and battlefield (the battlefield a map cell gives).
#include "cli/Commands.h"

#include "base/WholeFile.h"
#include "map/MapFile.h"
#include "obstacles/BattlefieldChoice.h"
#include "obstacles/ObstacleCatalogue.h"
#include "obstacles/ObstacleSectionSearch.h"

#include <array>
#include <optional>

namespace {

int runObstacles(const QStringList &args, CliContext &context);
int runBattlefield(const QStringList &args, CliContext &context);

constexpr std::array Commands = {
    CliCommand{"obstacles", "CATALOGUE BATTLEFIELD X Y",
               "Print the obstacle hexes of a battlefield (0..255) at position X/Y (0..255) of an obstacle.ini",
               runObstacles},
    CliCommand{"battlefield", "MAP X Y [--level 0|1]",
               "Print the battlefield code of the map cell at column X, row Y (255: none)", runBattlefield},
};

int runObstacles(const QStringList &args, CliContext &context)
{
    if (args.size() != 4)
        return cliUsage(context, Commands[0]);
    const auto battlefield = parseDecimal(args[1], 255);
    const auto x = parseDecimal(args[2], 255);
    const auto y = parseDecimal(args[3], 255);
    if (!battlefield || !x || !y)
        return cliUsage(context, Commands[0]);
    const WholeFile text = readWholeFile(args[0], MaxObstacleListSize);
    if (!text.ok())
        return cliFail(context, QStringLiteral("%1: %2").arg(args[0], text.error));
    const ObstacleHexList hexes =
        findHexesInText(text.bytes, std::uint8_t(*battlefield), std::uint8_t(*x), std::uint8_t(*y));
    QStringList words;
    for (const std::uint8_t hex : hexes)
        words << QString::number(hex);
    context.out << words.join(u' ') << Qt::endl;
    return 0;
}

int runBattlefield(const QStringList &args, CliContext &context)
{
    QStringList positional = args;
    int level = 0;
    const qsizetype option = positional.indexOf(QStringLiteral("--level"));
    if (option >= 0) {
        const auto value = option + 1 < positional.size() ? parseDecimal(positional[option + 1], 1) : std::nullopt;
        if (!value)
            return cliUsage(context, Commands[1]);
        level = int(*value);
        positional.remove(option, 2);
    }
    if (positional.size() != 3)
        return cliUsage(context, Commands[1]);
    const auto column = parseDecimal(positional[1], 0xFFFFFFFFu);
    const auto row = parseDecimal(positional[2], 0xFFFFFFFFu);
    if (!column || !row)
        return cliUsage(context, Commands[1]);
    const MapLoadResult loaded = readMapFile(positional[0]);
    if (!loaded.ok())
        return cliFail(context, QStringLiteral("%1: %2").arg(positional[0], loaded.reason));
    const MapDocument &map = *loaded.document;
    if (level == 1 && !map.hasUnderground)
        return cliFail(context, QStringLiteral("%1: the map has no underground level").arg(positional[0]));
    const auto battlefield = battlefieldOfCell(map.layer(level), *column, *row, level);
    if (!battlefield)
        return cliFail(context, QStringLiteral("position %1/%2 lies outside the map of side %3")
                                    .arg(*column)
                                    .arg(*row)
                                    .arg(map.mapSize));
    context.out << int(*battlefield) << Qt::endl;
    return 0;
}

}  // namespace

std::span<const CliCommand> obstacleCommands()
{
    return Commands;
}
