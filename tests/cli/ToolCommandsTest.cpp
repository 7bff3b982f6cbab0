// The fill and stats commands of brackwen-cli, run as the built program: the
// fill changes exactly what the library's fill changes and saves it, the
// statistics come as a table or as JSON, and refusals leave OUT alone.
#include "edit/ReplaceFill.h"
#include "map/MapFile.h"
#include "rules/TerrainEdgeRules.h"
#include "writers/MapWriter.h"

#include "CliRefusal.h"
#include "TempDir.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

MapDocument loadOutput(const QString &path)
{
    MapLoadResult loaded = loadMapData(readFile(path));
    EXPECT_TRUE(loaded.ok()) << loaded.reason.toStdString();
    return loaded.ok() ? std::move(*loaded.document) : MapDocument();
}

// A two-level map of side 36 whose ground is dirt with two grass squares that
// touch only at a corner: 3 x 3 at the top left of (4, 4), 2 x 2 from (7, 7).
// The underground keeps its pattern.
MapWriter grassSquares()
{
    MapWriter writer = MapWriter::patterned(36, true);
    TerrainLayer &ground = writer.layers[0];
    for (std::uint32_t row = 0; row < 36; ++row)
        for (std::uint32_t column = 0; column < 36; ++column) {
            const bool first = row >= 4 && row < 7 && column >= 4 && column < 7;
            const bool second = row >= 7 && row < 9 && column >= 7 && column < 9;
            ground.at(row, column) = {std::uint8_t(first || second ? 2 : 0), 9, 1, 4, 2, 6, 0x81};
        }
    return writer;
}

const QByteArray Rules = "[terrain 8]\n"
                         "rule = sss s.s sss : 0 1 2 3\n"
                         "rule = *o* *.* *** : 10\n"
                         "[terrain 0]\n"
                         "rule = *** *.* *o* : 20 : ud\n";

// The level as the library's fill leaves it, with terrain 8 and "n/c".
TerrainLayer filledByLibrary(const MapWriter &writer, int level, std::uint16_t column, std::uint16_t row,
                             bool wholeLevel, bool withRules)
{
    MapLoadResult loaded = loadMapData(writer.data());
    MapDocument &document = *loaded.document;
    const TerrainEdgeRules rules = *parseTerrainEdgeRules(Rules).rules;
    UndoList undoList;
    CellEditor editor(document, level, undoList);
    replaceFill(editor, BrushSettings::fromSelectors({.CBtertype = 8, .CBterconf = 33}, {}), column, row,
                {wholeLevel, withRules ? &rules : nullptr});
    return document.layer(level);
}

std::size_t waterCells(const TerrainLayer &layer)
{
    return std::size_t(std::count_if(layer.data(), layer.data() + layer.cellCount(),
                                     [](const TerrainCell &cell) { return cell.tertype == 8; }));
}

TEST(ToolCommands, FillChangesTheRegionAndSavesTheMap)
{
    TempDir dir;
    const MapWriter writer = grassSquares();
    const QString source = dir.write("map.vdm", writer.data());
    const QString rules = dir.write("rules.ini", Rules);
    const std::size_t patternWater = waterCells(writer.layers[1]);

    struct Case {
        QStringList options;
        int level;
        std::uint16_t column, row;
        bool wholeLevel, withRules;
        std::size_t water;    // water cells of the level afterwards
        std::size_t changed;  // the count printed
    };
    const Case cases[] = {
        {{"--at", "5,6", "--terrain", "8"}, 0, 5, 6, false, false, 9, 9},
        {{"--at", "5,6", "--terrain", "water", "--all"}, 0, 5, 6, true, false, 13, 13},
        {{"--at", "8,8", "--terrain", "Water", "--level", "0"}, 0, 8, 8, false, false, 4, 4},
        // The nine water cells change, and the dirt cells of their border
        // with another type below them: three above the water, one above
        // the second grass square.
        {{"--at", "4,4", "--terrain", "8", "--rules", rules}, 0, 4, 4, false, true, 9, 13},
        {{"--at", "0,0", "--terrain", "8", "--level", "1"}, 1, 0, 0, false, false, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        const TerrainLayer expected = filledByLibrary(writer, c.level, c.column, c.row, c.wholeLevel, c.withRules);
        if (c.level == 0) {
            EXPECT_EQ(waterCells(expected), c.water);
        }

        const QString out = dir.filePath("filled.vdm");
        const CliRun run = runCli(QStringList{"fill", source, out} + c.options);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        if (c.level == 0) {
            EXPECT_EQ(run.out.toStdString(), std::to_string(c.changed) + " cells changed\n");
        }
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
        const MapDocument filled = loadOutput(out);
        EXPECT_EQ(filled.layer(c.level), expected);
        EXPECT_EQ(filled.layer(1 - c.level), writer.layers[1 - c.level]);
        EXPECT_EQ(filled.trailingBytes, writer.data().mid(writer.terrainEnd()));
        if (c.level == 1) {
            EXPECT_GT(waterCells(filled.underground), patternWater);
        }
    }
}

TEST(ToolCommands, FillRefusalsSayWhyAndLeaveOutAlone)
{
    TempDir dir;
    const QString oneLevel = dir.write("one.vdm", MapWriter::patterned(36, false).data());
    const QString broken = dir.write("broken.ini", "[terrain 0]\nrule = *s* s.s : 2\n");
    const QByteArray oldBytes = "old output";
    const QString out = dir.write("out.vdm", oldBytes);

    struct Case {
        QStringList arguments;
        QByteArray message;
    };
    const QByteArray prefix = "brackwen-cli: ";
    const QByteArray usage = prefix + "usage: brackwen-cli fill MAP OUT --at X,Y --terrain T";
    const QStringList fill = {"fill", oneLevel, out};
    const Case cases[] = {
        {fill + QStringList{"--at", "36,0", "--terrain", "8"}, prefix + "cell 36,0 is outside the map (columns and rows 0..35)\n"},
        {fill + QStringList{"--at", "3,99", "--terrain", "8"}, prefix + "cell 3,99 is outside the map"},
        {fill + QStringList{"--at", "3", "--terrain", "8"}, prefix + "--at takes a cell as COLUMN,ROW (such as 12,7), not \"3\"\n"},
        {fill + QStringList{"--at", "-1,2", "--terrain", "8"}, prefix + "--at takes a cell"},
        {fill + QStringList{"--at", "1,2", "--terrain", "10"}, prefix + "--terrain takes a terrain type (0..9, or a name such as Grass or Water), not \"10\"\n"},
        {fill + QStringList{"--at", "1,2", "--terrain", "Ocean"}, prefix + "--terrain takes a terrain type (0..9, or a name such as Grass or Water), not \"Ocean\""},
        {fill + QStringList{"--at", "1,2", "--terrain", "8", "--level", "1"}, prefix + "the map has no level 1\n"},
        {fill + QStringList{"--at", "1,2", "--terrain", "8", "--rules", broken}, prefix + broken.toUtf8() + ": line 2: "},
        {{"fill", dir.write("bad.vdm", "bad"), out, "--at", "1,2", "--terrain", "8"}, prefix + dir.filePath("bad.vdm").toUtf8() + ": "},
        {fill + QStringList{"--at", "1,2", "--terrain", "8", "--at", "3,4"}, prefix + "--at is given twice\n"},
        {fill + QStringList{"--all", "--at", "1,2", "--terrain", "8", "--all"}, prefix + "--all is given twice\n"},
        {fill + QStringList{"--terrain", "8"}, usage},
        {fill + QStringList{"--at", "1,2"}, usage},
        {fill + QStringList{"--at", "1,2", "--terrain", "8", "--level", "x"}, prefix + "--level takes 0 or 1, not \"x\"\n"},
        {{"fill", oneLevel, "--at", "1,2", "--terrain", "8"}, usage},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CliRun run = runCli(c.arguments);
        expectRefusal(run, c.message);
        EXPECT_EQ(readFile(out), oldBytes);
    }
}

// A one-level map of side 4: 12 grass cells, 4 water; a dirt road across the
// top row and a mud river in one cell.
QString smallMap(const TempDir &dir)
{
    MapWriter writer = MapWriter::patterned(4, false);
    TerrainLayer &ground = writer.layers[0];
    for (std::uint32_t row = 0; row < 4; ++row)
        for (std::uint32_t column = 0; column < 4; ++column)
            ground.at(row, column) = {std::uint8_t(row == 3 ? 8 : 2), 0, 0, 0, std::uint8_t(row == 0 ? 1 : 0)};
    ground.at(1, 1).rivtype = 3;
    return dir.write("small.vdm", writer.data());
}

TEST(ToolCommands, StatsPrintsATable)
{
    TempDir dir;
    const CliRun run = runCli({"stats", smallMap(dir)});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    EXPECT_EQ(run.out.toStdString(),
              "Level 0: 4 x 4 = 16 cells\n"
              "Terrain\n"
              "    0  Dirt                     0     0.00%\n"
              "    1  Sand                     0     0.00%\n"
              "    2  Grass                   12    75.00%\n"
              "    3  Snow                     0     0.00%\n"
              "    4  Swamp                    0     0.00%\n"
              "    5  Rough                    0     0.00%\n"
              "    6  Subterranean             0     0.00%\n"
              "    7  Lava                     0     0.00%\n"
              "    8  Water                    4    25.00%\n"
              "    9  Rock                     0     0.00%\n"
              "River\n"
              "    0  none                    15    93.75%\n"
              "    1  River                    0     0.00%\n"
              "    2  IceRiver                 0     0.00%\n"
              "    3  MudRiver                 1     6.25%\n"
              "    4  LavaRiver                0     0.00%\n"
              "Road\n"
              "    0  none                    12    75.00%\n"
              "    1  DirtRoad                 4    25.00%\n"
              "    2  GravelRoad               0     0.00%\n"
              "    3  StoneRoad                0     0.00%\n");
}

TEST(ToolCommands, StatsPrintsJsonOfTheChosenLevel)
{
    TempDir dir;
    const CliRun run = runCli({"stats", smallMap(dir), "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.count('\n'), 1);
    const QJsonObject object = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(object["level"].toInt(), 0);
    EXPECT_EQ(object["size"].toInt(), 4);
    EXPECT_EQ(object["cells"].toInt(), 16);
    const QJsonArray terrain = object["terrain"].toArray();
    ASSERT_EQ(terrain.size(), 10);
    EXPECT_EQ(terrain[8].toObject(), (QJsonObject{{"type", 8}, {"name", "Water"}, {"count", 4}, {"percent", 25.0}}));
    EXPECT_EQ(object["rivers"].toArray()[3].toObject()["count"].toInt(), 1);
    EXPECT_EQ(object["roads"].toArray()[1].toObject()["percent"].toDouble(), 25.0);

    // The underground of a patterned map holds type bytes no game type has:
    // they are listed after the known ones, without a name.
    const QString twoLevels = dir.write("two.vdm", MapWriter::patterned(36, true).data());
    const CliRun underground = runCli({"stats", twoLevels, "--level", "1", "--json"});
    ASSERT_EQ(underground.exitCode, 0) << underground.err.toStdString();
    const QJsonObject level1 = QJsonDocument::fromJson(underground.out).object();
    EXPECT_EQ(level1["level"].toInt(), 1);
    qint64 total = 0;
    for (const QJsonValue &line : level1["terrain"].toArray())
        total += line.toObject()["count"].toInteger();
    EXPECT_EQ(total, 36 * 36);

    const CliRun missing = runCli({"stats", smallMap(dir), "--level", "1"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "brackwen-cli: the map has no level 1\n");
    EXPECT_EQ(runCli({"stats"}).err, "brackwen-cli: usage: brackwen-cli stats MAP [--level 0|1] [--sides MODE] [--json]\n");
}

}  // namespace
