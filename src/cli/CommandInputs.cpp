// What many commands read alike: the map of their first argument at the level
// --level names, and the terrain edge rules of --rules.
#include "cli/Commands.h"

#include <QFileInfo>

CliMap cliOpenMap(const CliArgs &args, CliContext &context)
{
    const QString &path = args.arguments.first();
    CliMap map{readMapFile(path, cliProgressBar(context, QStringLiteral("Opening  "))), args.level(), {}};
    if (!map.loaded.ok())
        map.refusal = QStringLiteral("%1: %2").arg(path, map.loaded.reason);
    else if (map.level >= map.loaded.document->levelCount())
        map.refusal = QStringLiteral("the map has no level %1").arg(map.level);
    return map;
}

CliRules cliReadRules(const CliArgs &args, DefaultRules fallback)
{
    QString path = args.value("--rules");
    if (path.isEmpty()) {
        const QString defaultPath = QString::fromLatin1(TerrainEdgeRulesFileName);
        if (fallback == DefaultRules::Required || (fallback == DefaultRules::WhenPresent && QFileInfo::exists(defaultPath)))
            path = defaultPath;
    }
    CliRules rules;
    if (path.isEmpty())
        return rules;
    TerrainEdgeRulesResult read = readTerrainEdgeRules(path);
    if (!read.ok())
        rules.refusal = QStringLiteral("%1: %2").arg(path, read.reason);
    rules.rules = std::move(read.rules);
    return rules;
}

CliMapAndRules cliOpenMapAndRules(const CliArgs &args, CliContext &context, DefaultRules fallback)
{
    CliMapAndRules inputs{cliReadRules(args, fallback), {}};
    if (inputs.rules.ok())
        inputs.map = cliOpenMap(args, context);
    return inputs;
}
