// brackwen-cli check (the problems of a level) and the sides of stats (the
// fairness figures of a level's players' sides).
#include "cli/Commands.h"

#include "check/Fairness.h"
#include "check/MapCheck.h"
#include "check/SymmetryNames.h"
#include "edit/TerrainStats.h"
#include "map/MapFile.h"
#include "rules/TerrainEdgeRules.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <array>
#include <optional>

namespace {

int runCheck(const CliArgs &args, CliContext &context);

constexpr const char *MapArgument[] = {"MAP"};
constexpr CliOption Options[] = {
    LevelOption,
    RulesOption,
    {"--symmetry", {CliValueKind::Choice, 0, 0, symmetryWords}, "MODE",
     "also report the cells unlike their mirror under the symmetry MODE"},
    JsonOption,
};
constexpr CliForm Forms[] = {{nullptr, MapArgument, Options}};

// Exit status 1 means problems were found: what cannot be checked, a mistake
// on the command line included, exits with 2.
constexpr std::array Commands = {
    CliCommand{"check",
               "Print the problems of the level (0 unless named): pictures and pieces the edge rules (default "
               "terrain-edges.ini in the current folder, when there is one) would change, cells no rule fits, rivers "
               "and roads that end without a closing piece or do not join, and cells unlike their mirror under the "
               "symmetry; one line \"X,Y kind reason\" each, or one JSON object. Exits 0 with no problem, 1 with "
               "some, 2 when the map or the rules cannot be read",
               Forms, runCheck, 2},
};

int runCheck(const CliArgs &args, CliContext &context)
{
    const SymmetryMode symmetry =
        args.has("--symmetry") ? *symmetryModeNamed(args.value("--symmetry")) : SymmetryMode::Off;
    // The default rules file is used when it is there; one that is named must be read.
    CliMapAndRules inputs = cliOpenMapAndRules(args, context, DefaultRules::WhenPresent);
    if (!inputs.ok())
        return cliFail(context, inputs.refusal());
    const CliRules &rules = inputs.rules;
    CliMap &map = inputs.map;

    const std::vector<Problem> problems = checkLevel(map.layer(), {rules.get(), symmetry});
    const ProblemTexts texts = ProblemTexts::english();
    if (args.has("--json")) {
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

int runSideStats(const CliArgs &args, CliContext &context)
{
    CliMap map = cliOpenMap(args, context);
    if (!map.ok())
        return cliFail(context, map.refusal);
    const SymmetryMode mode = *symmetryModeNamed(args.value("--sides"));
    const Fairness fairness = fairnessOf(map.layer(), mode);
    if (args.has("--json")) {
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
        context.out << QJsonDocument(QJsonObject{{"level", map.level}, {"sides", sides}}).toJson(QJsonDocument::Compact)
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
