// brackwen-generate-quality [SEEDS]: generates levels over seeds x sides (36,
// 72, 144, 256) x symmetry modes x land styles with the sample rules, and
// prints for each side, mode and style how often the options could not be
// met (and which option), and the spread of the players' sides' terrain
// counts: each cell counts for the side whose start zone is nearest (cells
// as near to two zones count for neither), and the spread is the largest
// difference between two sides' counts of one terrain type, in cells and in
// percent of a side's cells.
#include "VariedOptions.h"
#include "generate/TerrainGenerator.h"

#include <QCoreApplication>
#include <QTextStream>

#include <algorithm>
#include <array>
#include <map>

namespace {

struct Spread {
    std::size_t cells = 0;  // the largest difference of one type's count between two sides
    std::size_t sideCells = 0;
};

Spread spreadOf(const TerrainLayer &layer, const GeneratePlan &plan)
{
    const std::size_t sides = plan.zones.size();
    std::vector<std::array<std::size_t, 16>> counts(sides, std::array<std::size_t, 16>{});
    std::vector<std::size_t> totals(sides, 0);
    for (std::uint32_t row = 0; row < layer.side(); ++row)
        for (std::uint32_t column = 0; column < layer.side(); ++column) {
            std::int64_t best = -1;
            std::size_t nearest = 0;
            bool tie = false;
            for (std::size_t side = 0; side < sides; ++side) {
                const std::int64_t dc = std::int64_t(column) - plan.zones[side].column;
                const std::int64_t dr = std::int64_t(row) - plan.zones[side].row;
                const std::int64_t d2 = dc * dc + dr * dr;
                if (best < 0 || d2 < best) {
                    best = d2;
                    nearest = side;
                    tie = false;
                } else if (d2 == best) {
                    tie = true;
                }
            }
            if (tie)
                continue;
            ++counts[nearest][layer.at(row, column).tertype & 15];
            ++totals[nearest];
        }
    Spread spread;
    spread.sideCells = *std::max_element(totals.begin(), totals.end());
    for (std::size_t type = 0; type < 16; ++type) {
        std::size_t low = SIZE_MAX;
        std::size_t high = 0;
        for (std::size_t side = 0; side < sides; ++side) {
            low = std::min(low, counts[side][type]);
            high = std::max(high, counts[side][type]);
        }
        spread.cells = std::max(spread.cells, high - low);
    }
    return spread;
}

const char *optionName(GenerateRefusal::Option option)
{
    switch (option) {
    case GenerateRefusal::Option::Level: return "level";
    case GenerateRefusal::Option::Size: return "size";
    case GenerateRefusal::Option::Water: return "water";
    case GenerateRefusal::Option::Roads: return "roads";
    case GenerateRefusal::Option::Rivers: return "rivers";
    case GenerateRefusal::Option::Rough: return "rough";
    case GenerateRefusal::Option::Mix: return "rules";
    }
    return "?";
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    const std::uint32_t seeds = argc > 1 ? std::uint32_t(std::max(1, QString::fromLocal8Bit(argv[1]).toInt())) : 50;
    const TerrainEdgeRulesResult rules = readTerrainEdgeRules(QStringLiteral(BRACKWEN_SAMPLE_RULES));
    if (!rules.ok()) {
        QTextStream(stderr) << rules.reason << '\n';
        return 1;
    }
    out << "side  symmetry      style       runs  not met  (by option)            largest spread\n";
    std::size_t allRuns = 0;
    std::size_t allRefused = 0;
    for (const std::uint32_t side : {36u, 72u, 144u, 256u})
        for (const SymmetryMode mode : generateSymmetries())
            for (const LandStyle style : landStyles()) {
                std::size_t refused = 0;
                std::map<QString, std::size_t> byOption;
                Spread worst;
                for (std::uint32_t seed = 1; seed <= seeds; ++seed) {
                    const GenerateOptions options = variedGenerateOptions(seed, mode, style);
                    TerrainLayer layer(side);
                    const GenerateResult result = generateTerrain(layer, options, &*rules.rules);
                    if (result.refusal) {
                        ++refused;
                        ++byOption[QString::fromLatin1(optionName(result.refusal->option))];
                        continue;
                    }
                    const Spread spread = spreadOf(layer, generatePlan(options, side));
                    if (spread.cells >= worst.cells)
                        worst = spread;
                }
                QStringList options;
                for (const auto &[name, count] : byOption)
                    options << QStringLiteral("%1 %2").arg(name).arg(count);
                out << QStringLiteral("%1  %2  %3  %4  %5  %6  %7 cells (%8 %)\n")
                           .arg(side, 4)
                           .arg(symmetryName(mode), -12)
                           .arg(styleName(style), -10)
                           .arg(seeds, 4)
                           .arg(refused, 7)
                           .arg(options.join(QStringLiteral(", ")), -22)
                           .arg(worst.cells, 5)
                           .arg(worst.sideCells ? 100.0 * double(worst.cells) / double(worst.sideCells) : 0.0, 0, 'f', 2);
                out.flush();
                allRuns += seeds;
                allRefused += refused;
            }
    out << QStringLiteral("%1 levels, options not met for %2 (%3 %)\n")
               .arg(allRuns)
               .arg(allRefused)
               .arg(100.0 * double(allRefused) / double(allRuns), 0, 'f', 2);
    return 0;
}
