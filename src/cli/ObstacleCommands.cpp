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

int runObstacles(const CliArgs &args, CliContext &context);
int runBattlefield(const CliArgs &args, CliContext &context);

constexpr const char *ObstacleArguments[] = {"CATALOGUE", "BATTLEFIELD", "X", "Y"};
constexpr const char *CellArguments[] = {"MAP", "X", "Y"};
constexpr CliForm ObstacleForms[] = {{nullptr, ObstacleArguments, {}}};
constexpr CliOption BattlefieldOptions[] = {LevelOption};
constexpr CliForm BattlefieldForms[] = {{nullptr, CellArguments, BattlefieldOptions}};

constexpr std::array Commands = {
    CliCommand{"obstacles",
               "Print the obstacle hexes of a battlefield (0..255) at position X/Y (0..255) of an obstacle.ini",
               ObstacleForms, runObstacles},
    CliCommand{"battlefield", "Print the battlefield code of the map cell at column X, row Y (255: none)",
               BattlefieldForms, runBattlefield},
};

int runObstacles(const CliArgs &args, CliContext &context)
{
    const QStringList &words = args.arguments;
    const auto battlefield = parseDecimal(words[1], 255);
    const auto x = parseDecimal(words[2], 255);
    const auto y = parseDecimal(words[3], 255);
    if (!battlefield || !x || !y)
        return cliUsage(context, Commands[0]);
    const WholeFile text = readWholeFile(words[0], MaxObstacleListSize);
    if (!text.ok())
        return cliFail(context, QStringLiteral("%1: %2").arg(words[0], text.error));
    const ObstacleHexList hexes =
        findHexesInText(text.bytes, std::uint8_t(*battlefield), std::uint8_t(*x), std::uint8_t(*y));
    QStringList numbers;
    for (const std::uint8_t hex : hexes)
        numbers << QString::number(hex);
    context.out << numbers.join(u' ') << Qt::endl;
    return 0;
}

int runBattlefield(const CliArgs &args, CliContext &context)
{
    const auto column = parseDecimal(args.arguments[1], 0xFFFFFFFFu);
    const auto row = parseDecimal(args.arguments[2], 0xFFFFFFFFu);
    if (!column || !row)
        return cliUsage(context, Commands[1]);
    CliMap map = cliOpenMap(args, context);
    if (!map.ok())
        return cliFail(context, map.refusal);
    const auto battlefield = battlefieldOfCell(map.layer(), *column, *row, map.level);
    if (!battlefield)
        return cliFail(context, QStringLiteral("position %1/%2 lies outside the map of side %3")
                                    .arg(*column)
                                    .arg(*row)
                                    .arg(map.document().mapSize));
    context.out << int(*battlefield) << Qt::endl;
    return 0;
}

}  // namespace

std::span<const CliCommand> obstacleCommands()
{
    return Commands;
}
