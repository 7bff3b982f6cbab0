// brackwen-cli edges: the terrain, river and road rules applied to every cell
// of a map.
#include "cli/Commands.h"

#include "edit/PathPieces.h"
#include "edit/TerrainEdges.h"
#include "map/MapFile.h"
#include "rules/TerrainEdgeRules.h"

#include <array>
#include <optional>

namespace {

int runEdges(const QStringList &args, CliContext &context);

const std::array<CliCommand, 1> Commands = {{
    {"edges", "MAP OUT [--rules FILE] [--level 0|1] [--only terrain|rivers|roads]",
     "Give every cell of the map (of both levels unless one is named) the terrain picture, river piece and road piece "
     "of the edge rules (default terrain-edges.ini in the current folder; one of the three with --only), and save it "
     "to OUT",
     runEdges},
}};

// What --only leaves to do: the terrain, or one of the two paths.
enum class Only { Terrain, Rivers, Roads };

std::optional<Only> onlyFrom(const QString &word)
{
    if (word == QLatin1String("terrain"))
        return Only::Terrain;
    if (word == QLatin1String("rivers"))
        return Only::Rivers;
    if (word == QLatin1String("roads"))
        return Only::Roads;
    return std::nullopt;
}

// How many pictures of each kind the rules changed; a cell may have all three.
struct Changes {
    std::size_t terrain = 0;
    std::size_t rivers = 0;
    std::size_t roads = 0;
};

// Applies the rules the choice asks for to a whole layer.
void applyRules(TerrainLayer &layer, const TerrainEdgeRules &rules, const std::optional<Only> &only, Changes &changes)
{
    if (!only || *only == Only::Terrain)
        changes.terrain += applyTerrainEdgesToLayer(layer, rules);
    if (!only || *only == Only::Rivers)
        changes.rivers += applyPathPiecesToLayer(layer, rules.paths(), PathLayer::River);
    if (!only || *only == Only::Roads)
        changes.roads += applyPathPiecesToLayer(layer, rules.paths(), PathLayer::Road);
}

// "12 terrain, 3 river and 4 road pictures changed", or the one kind asked for.
QString summary(const Changes &changes, const std::optional<Only> &only)
{
    if (!only)
        return QStringLiteral("%1 terrain, %2 river and %3 road pictures changed").arg(changes.terrain).arg(changes.rivers).arg(changes.roads);
    const std::size_t count = *only == Only::Terrain ? changes.terrain : *only == Only::Rivers ? changes.rivers : changes.roads;
    const char *kind = *only == Only::Terrain ? "terrain" : *only == Only::Rivers ? "river" : "road";
    return QStringLiteral("%1 %2 pictures changed").arg(count).arg(QLatin1String(kind));
}

int runEdges(const QStringList &args, CliContext &context)
{
    QStringList positional;
    QString rulesPath = QString::fromLatin1(TerrainEdgeRulesFileName);
    int firstLevel = 0;
    int lastLevel = 1;
    std::optional<Only> only;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--level") && hasValue && (args[i + 1] == "0" || args[i + 1] == "1"))
            firstLevel = lastLevel = args[++i].toInt();
        else if (arg == QLatin1String("--rules") && hasValue)
            rulesPath = args[++i];
        else if (arg == QLatin1String("--only") && hasValue && onlyFrom(args[i + 1]))
            only = onlyFrom(args[++i]);
        else if (!arg.startsWith(QLatin1String("--")))
            positional << arg;
        else
            return cliUsage(context, Commands[0]);
    }
    if (positional.size() != 2)
        return cliUsage(context, Commands[0]);

    const TerrainEdgeRulesResult rules = readTerrainEdgeRules(rulesPath);
    if (!rules.ok())
        return cliFail(context, QStringLiteral("%1: %2").arg(rulesPath, rules.reason));
    MapLoadResult loaded = readMapFile(positional[0]);
    if (!loaded.ok())
        return cliFail(context, QStringLiteral("%1: %2").arg(positional[0], loaded.reason));
    MapDocument &document = *loaded.document;
    if (firstLevel >= document.levelCount())
        return cliFail(context, QStringLiteral("the map has no level %1").arg(firstLevel));

    Changes changes;
    for (int level = firstLevel; level <= std::min(lastLevel, document.levelCount() - 1); ++level)
        applyRules(document.layer(level), *rules.rules, only, changes);
    if (const int status = cliSaveMap(document, positional[1], context))
        return status;
    context.out << summary(changes, only) << Qt::endl;
    return 0;
}

}  // namespace

std::span<const CliCommand> edgeCommands()
{
    return Commands;
}
