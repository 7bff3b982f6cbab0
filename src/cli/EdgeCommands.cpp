// brackwen-cli edges: the terrain edge rules applied to every cell of a map.
#include "cli/Commands.h"

#include "edit/TerrainEdgeRules.h"
#include "edit/TerrainEdges.h"
#include "map/MapFile.h"

#include <array>

namespace {

int runEdges(const QStringList &args, CliContext &context);

const std::array<CliCommand, 1> Commands = {{
    {"edges", "MAP OUT [--rules FILE] [--level 0|1]",
     "Give every cell of the map (of both levels unless one is named) the picture and terrain mirror bits of the "
     "edge rules (default terrain-edges.ini in the current folder), and save it to OUT",
     runEdges},
}};

int runEdges(const QStringList &args, CliContext &context)
{
    QStringList positional;
    QString rulesPath = QString::fromLatin1(TerrainEdgeRulesFileName);
    int firstLevel = 0;
    int lastLevel = 1;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--level") && hasValue && (args[i + 1] == "0" || args[i + 1] == "1"))
            firstLevel = lastLevel = args[++i].toInt();
        else if (arg == QLatin1String("--rules") && hasValue)
            rulesPath = args[++i];
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

    std::size_t changed = 0;
    for (int level = firstLevel; level <= std::min(lastLevel, document.levelCount() - 1); ++level)
        changed += applyTerrainEdgesToLayer(document.layer(level), *rules.rules);
    if (const int status = cliSaveMap(document, positional[1], context))
        return status;
    context.out << changed << " cells changed" << Qt::endl;
    return 0;
}

}  // namespace

std::span<const CliCommand> edgeCommands()
{
    return Commands;
}
