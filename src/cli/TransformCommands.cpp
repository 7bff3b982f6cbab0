// brackwen-cli transform: flipping or turning a level of a map, or making it
// symmetric by copying one half onto the other.
#include "cli/Commands.h"

#include "edit/Transforms.h"
#include "map/MapFile.h"
#include "rules/TerrainEdgeRules.h"

#include <array>
#include <optional>

namespace {

int runTransform(const CliArgs &args, CliContext &context);

// What the command does to each level: a transform or a mirrored half.
struct Operation {
    std::optional<Transform> transform;
    std::optional<LevelHalf> half;
};

// The words of the operations' options and what each names.
struct OperationWord {
    const char *option;
    const char *word;
    Operation operation;
};

constexpr OperationWord OperationWords[] = {
    {"--flip", "h", {Transform::FlipHorizontal, {}}},  {"--flip", "v", {Transform::FlipVertical, {}}},
    {"--turn", "90", {Transform::Turn90, {}}},         {"--turn", "180", {Transform::Turn180, {}}},
    {"--turn", "270", {Transform::Turn270, {}}},       {"--mirror-half", "left", {{}, LevelHalf::Left}},
    {"--mirror-half", "right", {{}, LevelHalf::Right}}, {"--mirror-half", "top", {{}, LevelHalf::Top}},
    {"--mirror-half", "bottom", {{}, LevelHalf::Bottom}},
};

QStringList wordsOf(const char *option)
{
    QStringList words;
    for (const OperationWord &each : OperationWords)
        if (qstrcmp(each.option, option) == 0)
            words << QString::fromLatin1(each.word);
    return words;
}

// The operation the options name; the table lets only these words through.
Operation operationOf(const CliArgs &args)
{
    for (const OperationWord &each : OperationWords)
        if (args.has(each.option) && args.value(each.option) == QLatin1String(each.word))
            return each.operation;
    return {};
}

// The operations, of which exactly one is named; --level and --all-levels
// exclude each other.
constexpr int OperationGroup = 1;
constexpr int LevelsGroup = 2;

constexpr const char *MapAndOut[] = {"MAP", "OUT"};
constexpr CliOption Options[] = {
    {"--flip", {CliValueKind::Choice, 0, 0, [] { return wordsOf("--flip"); }}, nullptr,
     "flip the level: h left and right change places, v top and bottom", OperationGroup, true},
    {"--turn", {CliValueKind::Choice, 0, 0, [] { return wordsOf("--turn"); }}, nullptr,
     "turn the level clockwise by the angle", OperationGroup, true},
    {"--mirror-half", {CliValueKind::Choice, 0, 0, [] { return wordsOf("--mirror-half"); }}, nullptr,
     "copy the half, mirrored, onto the other half", OperationGroup, true},
    inGroup(LevelOption, LevelsGroup),
    {"--all-levels", {}, nullptr, "transform every level of the map", LevelsGroup},
    RulesOption,
};
constexpr CliForm Forms[] = {{nullptr, MapAndOut, Options}};

const std::array<CliCommand, 1> Commands = {{
    {"transform",
     "Flip a level of the map horizontally or vertically, turn it clockwise, or copy one of its halves (left, right, "
     "top or bottom) mirrored onto the other (level 0 unless another or all are named), and save it to OUT; the "
     "rules of FILE give the cells that meet new neighbours (all after a quarter turn, those along the seam or "
     "border otherwise) their terrain pictures and river and road pieces",
     Forms, runTransform},
}};

// What the command reports for one level.
QString levelReport(int level, const Operation &operation, std::size_t changed, bool edgesApplied)
{
    QString report = QStringLiteral("level %1: %2 cells changed").arg(level).arg(changed);
    if (operation.transform && swapsSides(*operation.transform))
        report += edgesApplied ? QStringLiteral(", terrain pictures from the edge rules")
                               : QStringLiteral(", terrain pictures moved but not turned (no --rules)");
    return report;
}

int runTransform(const CliArgs &args, CliContext &context)
{
    const Operation operation = operationOf(args);
    CliMapAndRules inputs = cliOpenMapAndRules(args, context, DefaultRules::None);
    if (!inputs.ok())
        return cliFail(context, inputs.refusal());
    const CliRules &rules = inputs.rules;
    CliMap &map = inputs.map;
    MapDocument &document = map.document();

    const bool allLevels = args.has("--all-levels");
    const int firstLevel = allLevels ? 0 : map.level;
    const int lastLevel = allLevels ? document.levelCount() - 1 : map.level;
    QStringList reports;
    for (int each = firstLevel; each <= lastLevel; ++each) {
        TerrainLayer &layer = document.layer(each);
        if (operation.half) {
            reports << levelReport(each, operation, mirrorHalf(layer, *operation.half, rules.get()), false);
            continue;
        }
        const TransformResult result = transformLayer(layer, *operation.transform, rules.get());
        if (!result.ok())
            return cliFail(context, QStringLiteral("level %1: %2").arg(each).arg(transformRefusalText(result.refusal)));
        reports << levelReport(each, operation, result.changed, result.edgesApplied);
    }
    if (const int status = cliSaveMap(document, args.arguments[1], context))
        return status;
    for (const QString &report : reports)
        context.out << report << '\n';
    context.out.flush();
    return 0;
}

}  // namespace

std::span<const CliCommand> transformCommands()
{
    return Commands;
}
