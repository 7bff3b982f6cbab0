// brackwen-cli check (the problems of a level) and the sides of stats (the
// fairness figures of a level's players' sides).
#include "cli/Commands.h"

#include "check/Fairness.h"
#include "check/MapCheck.h"
#include "check/SymmetryNames.h"
#include "edit/TerrainStats.h"
#include "map/MapFile.h"
#include "rules/TerrainEdgeRules.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <array>
#include <optional>

namespace {

int runCheck(const QStringList &args, CliContext &context);

const std::array<CliCommand, 1> Commands = {{
    {"check", "MAP [--level N] [--rules FILE] [--symmetry MODE] [--json]",
     "Print the problems of the level (0 unless named): pictures and pieces the edge rules (default "
     "terrain-edges.ini in the current folder, when there is one) would change, cells no rule fits, rivers and "
     "roads that end without a closing piece or do not join, and cells unlike their mirror under the symmetry; one "
     "line \"X,Y kind reason\" each, or one JSON object. Exits 0 with no problem, 1 with some, 2 when the map or the "
     "rules cannot be read",
     runCheck},
}};

// "Could not check": the reason on standard error, exit status 2.
int cannotCheck(CliContext &context, const QString &reason)
{
    cliFail(context, reason);
    return 2;
}

// A map read for one of its levels: the one named by --level, 0 unless named.
struct OpenedLevel {
    MapLoadResult loaded;
    int level = 0;
    QString refusal;  // why there is none: the map cannot be read or lacks the level

    const TerrainLayer &layer() const { return loaded.document->layer(level); }
};

OpenedLevel openLevel(const QString &path, const std::optional<std::uint32_t> &level, CliContext &context)
{
    OpenedLevel opened{readMapFile(path, cliProgressBar(context, QStringLiteral("Opening  "))), 0, {}};
    if (!opened.loaded.ok())
        opened.refusal = QStringLiteral("%1: %2").arg(path, opened.loaded.reason);
    else if (level && int(*level) >= opened.loaded.document->levelCount())
        opened.refusal = QStringLiteral("the map has no level %1").arg(*level);
    else
        opened.level = level ? int(*level) : 0;
    return opened;
}

int runCheck(const QStringList &args, CliContext &context)
{
    QStringList positional;
    QString rulesPath;
    std::optional<std::uint32_t> level;
    SymmetryMode symmetry = SymmetryMode::Off;
    bool json = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--level") && hasValue && (level = parseDecimal(args[i + 1], 255)))
            ++i;
        else if (arg == QLatin1String("--rules") && hasValue)
            rulesPath = args[++i];
        else if (arg == QLatin1String("--symmetry") && hasValue) {
            const std::optional<SymmetryMode> mode = symmetryModeNamed(args[++i]);
            if (!mode)
                return cannotCheck(context, QStringLiteral("\"%1\" is not a symmetry (%2)").arg(args[i], symmetryNameList()));
            symmetry = *mode;
        } else if (arg == QLatin1String("--json"))
            json = true;
        else if (!arg.startsWith(QLatin1String("--")))
            positional << arg;
        else {
            cliUsage(context, Commands[0]);
            return 2;
        }
    }
    if (positional.size() != 1) {
        cliUsage(context, Commands[0]);
        return 2;
    }

    // The default rules file is used when it is there; one that is named must be read.
    if (rulesPath.isEmpty() && QFileInfo::exists(QString::fromLatin1(TerrainEdgeRulesFileName)))
        rulesPath = QString::fromLatin1(TerrainEdgeRulesFileName);
    std::optional<TerrainEdgeRules> rules;
    if (!rulesPath.isEmpty()) {
        TerrainEdgeRulesResult read = readTerrainEdgeRules(rulesPath);
        if (!read.ok())
            return cannotCheck(context, QStringLiteral("%1: %2").arg(rulesPath, read.reason));
        rules = std::move(read.rules);
    }
    const OpenedLevel opened = openLevel(positional[0], level, context);
    if (!opened.refusal.isEmpty())
        return cannotCheck(context, opened.refusal);

    const std::vector<Problem> problems = checkLevel(opened.layer(), {rules ? &*rules : nullptr, symmetry});
    const ProblemTexts texts = ProblemTexts::english();
    if (json) {
        QJsonArray array;
        for (const Problem &problem : problems)
            array.append(QJsonObject{{"x", problem.cell.column},
                                     {"y", problem.cell.row},
                                     {"kind", QLatin1String(problemKindName(problem.kind))},
                                     {"reason", problemReason(problem, texts)}});
        context.out << QJsonDocument(QJsonObject{{"problems", array}}).toJson(QJsonDocument::Compact) << Qt::endl;
    } else {
        for (const Problem &problem : problems)
            context.out << problem.cell.column << ',' << problem.cell.row << ' ' << problemKindName(problem.kind) << ' '
                        << problemReason(problem, texts) << '\n';
        context.out.flush();
    }
    return problems.empty() ? 0 : 1;
}

// The name of a figure's row in the table and the JSON.
QString figureName(const FigureRow &row)
{
    switch (row.what) {
    case FigureRow::What::Terrain:
        return terrainTypeName(row.type);
    case FigureRow::What::River:
        return riverTypeName(row.type);
    case FigureRow::What::Road:
        return roadTypeName(row.type);
    case FigureRow::What::WaterShare:
        return QStringLiteral("water %");
    case FigureRow::What::RoadLength:
        return QStringLiteral("road length");
    case FigureRow::What::Regions:
        return QStringLiteral("land regions");
    case FigureRow::What::LargestRegion:
        return QStringLiteral("largest region");
    case FigureRow::What::JoinsOthers:
        return QStringLiteral("joins other sides");
    }
    return {};
}

template <std::size_t N>
QJsonObject typeCounts(const std::array<std::uint64_t, N> &counts, QString (*name)(std::uint8_t), std::uint8_t first)
{
    QJsonObject object;
    for (std::size_t type = first; type < N; ++type)
        object.insert(name(std::uint8_t(type)), qint64(counts[type]));
    return object;
}

}  // namespace

int runSideStats(const QStringList &args, CliContext &context, const CliCommand &usage)
{
    QStringList positional;
    std::optional<std::uint32_t> level;
    std::optional<SymmetryMode> mode;
    bool json = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--level") && hasValue && (level = parseDecimal(args[i + 1], 255)))
            ++i;
        else if (arg == QLatin1String("--sides") && hasValue) {
            mode = symmetryModeNamed(args[++i]);
            if (!mode)
                return cliFail(context, QStringLiteral("\"%1\" is not a symmetry (%2)").arg(args[i], symmetryNameList()));
        } else if (arg == QLatin1String("--json"))
            json = true;
        else if (!arg.startsWith(QLatin1String("--")))
            positional << arg;
        else
            return cliUsage(context, usage);
    }
    if (positional.size() != 1 || !mode)
        return cliUsage(context, usage);
    const OpenedLevel opened = openLevel(positional[0], level, context);
    if (!opened.refusal.isEmpty())
        return cliFail(context, opened.refusal);

    const Fairness fairness = fairnessOf(opened.layer(), *mode);
    if (json) {
        QJsonArray sides;
        for (const SideFigures &side : fairness.sides)
            sides.append(QJsonObject{{"side", sideName(side)},
                                     {"cells", qint64(side.cells)},
                                     {"terrain", typeCounts(side.terrain, terrainTypeName, 0)},
                                     {"rivers", typeCounts(side.rivers, riverTypeName, 1)},
                                     {"roads", typeCounts(side.roads, roadTypeName, 1)},
                                     {"water", qint64(side.water)},
                                     {"waterPercent", side.waterPercent},
                                     {"roadLength", qint64(side.roadLength)},
                                     {"regions", qint64(side.regions)},
                                     {"largestRegion", qint64(side.largestRegion)},
                                     {"joinsOtherSides", side.joinsOtherSides}});
        context.out << QJsonDocument(QJsonObject{{"level", opened.level}, {"sides", sides}}).toJson(QJsonDocument::Compact)
                    << Qt::endl;
        return 0;
    }
    // A table: a column per side, the largest differences first.
    context.out << qSetFieldWidth(20) << Qt::left << "" << Qt::right;
    for (const SideFigures &side : fairness.sides)
        context.out << qSetFieldWidth(14) << sideName(side);
    context.out << qSetFieldWidth(14) << "difference" << qSetFieldWidth(0) << '\n';
    for (const FigureRow &row : figureRows(fairness)) {
        const bool share = row.what == FigureRow::What::WaterShare;
        context.out << qSetFieldWidth(20) << Qt::left << figureName(row) << Qt::right;
        for (const double value : row.values)
            context.out << qSetFieldWidth(14) << QString::number(value, 'f', share ? 2 : 0);
        context.out << qSetFieldWidth(14) << QString::number(row.spread, 'f', share ? 2 : 0) << qSetFieldWidth(0)
                    << '\n';
    }
    context.out << "cells on no side: " << fairness.sharedCells << '\n';
    context.out.flush();
    return 0;
}

std::span<const CliCommand> checkCommands()
{
    return Commands;
}
