// The statistics page.
#include "session/LevelStatistics.h"

#include "edit/TerrainStats.h"
#include "session/Settings.h"

#include <QStringList>

#include <functional>

namespace {

// A heading, then a line for every type that has cells.
void addSection(QStringList &lines, const QString &heading, const std::vector<TerrainStats::Line> &counts,
                const std::function<QString(std::uint8_t)> &name, const InterfaceTexts &texts)
{
    lines << heading;
    const QLocale locale = texts.numberLocale();
    for (const TerrainStats::Line &line : counts)
        if (line.count > 0)
            lines << QStringLiteral("  ")
                    + texts.counted(texts.statline, line.count).arg(name(line.type), locale.toString(line.percent, 'f', 2));
}

}  // namespace

QString levelStatisticsText(const TerrainLayer &layer, const InterfaceTexts &texts)
{
    const TerrainStats stats = TerrainStats::of(layer);
    // The panel's list items name rivers and roads: item 2t is type t.
    const QString rivers[] = {texts.cbrivtype_nr, texts.cbrivtype_cr, texts.cbrivtype_ir, texts.cbrivtype_mr,
                              texts.cbrivtype_lr};
    const QString roads[] = {texts.cbroadtype_nr, texts.cbroadtype_dr, texts.cbroadtype_gr, texts.cbroadtype_sr};
    const auto named = [](const auto &names, std::uint8_t type) {
        return type < std::size(names) && !names[type].isEmpty() ? names[type] : QString::number(type);
    };
    QStringList lines;
    addSection(lines, texts.statterrain, stats.terrainLines(),
               [&](std::uint8_t type) { return named(texts.terrain, type); }, texts);
    addSection(lines, texts.statrivers, stats.riverLines(), [&](std::uint8_t type) { return named(rivers, type); },
               texts);
    addSection(lines, texts.statroads, stats.roadLines(), [&](std::uint8_t type) { return named(roads, type); },
               texts);
    return lines.join(u'\n');
}
