// The obstacle commands of brackwen-cli, run as the built program.
#include "map/TerrainLayer.h"
#include "writers/MapWriter.h"
#include "writers/ObstacleCatalogueWriter.h"

#include "CliRunner.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

TEST(ObstacleCommands, ObstaclesPrintsTheListOfASection)
{
    TempDir dir;
    const QString catalogue = dir.write("obstacle.ini", obstaclewriter::sectionText(2, 17, 5, {17, 35, 186}));
    const CliRun found = runCli({"obstacles", catalogue, "2", "17", "5"});
    EXPECT_EQ(found.exitCode, 0);
    EXPECT_EQ(found.out, "17 35 186\n");
    const CliRun empty = runCli({"obstacles", catalogue, "2", "17", "6"});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_EQ(empty.out, "\n");
    for (const QStringList &bad : {QStringList{"obstacles", catalogue, "2", "x", "5"},
                                   QStringList{"obstacles", dir.filePath("none.ini"), "2", "1", "1"}}) {
        const CliRun run = runCli(bad);
        EXPECT_EQ(run.exitCode, 1) << qPrintable(bad.join(' '));
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.startsWith("brackwen-cli: ")) << run.err.toStdString();
    }
    // A folder, and a device without end, are refused rather than read forever.
    const CliRun folder = runCli({"obstacles", dir.path(), "2", "17", "5"});
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_TRUE(folder.err.endsWith(": it is a folder\n")) << folder.err.toStdString();
}

TEST(ObstacleCommands, BattlefieldOfACell)
{
    TempDir dir;
    MapWriter map = MapWriter::patterned(36, true);
    map.layers = {TerrainLayer(36), TerrainLayer(36)};
    map.layers[0].at(5, 5).tertype = 8;   // water
    map.layers[0].at(6, 6).tertype = 2;   // grass beside it: shore
    map.layers[0].at(9, 9).tertype = 9;   // rock
    map.layers[1].at(6, 6).tertype = 2;   // underground
    const QString path = dir.write("map.vdm", map.data());
    const struct {
        QStringList arguments;
        const char *printed;
    } cases[] = {
        {{"5", "5"}, "8\n"},
        {{"6", "6"}, "9\n"},
        {{"9", "9"}, "255\n"},
        {{"20", "20"}, "0\n"},
        {{"6", "6", "--level", "1"}, "6\n"},
    };
    for (const auto &c : cases) {
        const CliRun run = runCli(QStringList{"battlefield", path} + c.arguments);
        EXPECT_EQ(run.exitCode, 0) << qPrintable(c.arguments.join(' ')) << run.err.toStdString();
        EXPECT_EQ(run.out, c.printed) << qPrintable(c.arguments.join(' '));
    }
    const CliRun outside = runCli({"battlefield", path, "36", "0"});
    EXPECT_EQ(outside.exitCode, 1);
    EXPECT_TRUE(outside.out.isEmpty());
}

}  // namespace
