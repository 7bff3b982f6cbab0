// The check command and the sides of the stats command, run as the built
// program: exit status 0, 1 or 2 for no problem, some, or none found because
// the map or rules could not be read; the line and JSON forms of the list;
// the figures of each side as JSON.
#include "writers/MapWriter.h"

#include "../check/CheckFixture.h"
#include "CliRefusal.h"
#include "TempDir.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

class CheckCommands : public testing::Test {
protected:
    QString writeMap(TerrainLayer ground, const char *name = "map.vdm")
    {
        MapWriter writer = MapWriter::patterned(ground.side(), false);
        writer.layers = {std::move(ground)};
        return dir.write(name, writer.data());
    }

    TempDir dir;
    const TerrainEdgeRules rules = checkRules();
    const QString rulesPath = dir.write("rules.ini", CheckRulesText);
};

TEST_F(CheckCommands, ListsProblemsAsLinesOrJsonWithTheirExitStatus)
{
    const QString clean = writeMap(cleanLevel(rules), "clean.vdm");
    CliRun run = runCli({"check", clean, "--rules", rulesPath});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
    run = runCli({"check", clean, "--rules", rulesPath, "--json"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "{\"problems\":[]}\n");

    TerrainLayer faulty = cleanLevel(rules);
    faulty.at(3, 3).terconf = 5;
    faulty.at(1, 3).roadconf = 1;
    const QString map = writeMap(std::move(faulty));
    run = runCli({"check", map, "--rules", rulesPath});
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    EXPECT_EQ(run.out, "3,1 road-piece road picture 1, the rules choose 0\n"
                       "3,3 terrain-picture terrain picture 5, the rules choose 0\n");
    EXPECT_TRUE(run.err.isEmpty());

    run = runCli({"check", map, "--json", "--rules", rulesPath, "--level", "0"});
    EXPECT_EQ(run.exitCode, 1);
    const QJsonArray problems = QJsonDocument::fromJson(run.out).object()["problems"].toArray();
    ASSERT_EQ(problems.size(), 2);
    EXPECT_EQ(problems[0].toObject(), (QJsonObject{{"x", 3}, {"y", 1}, {"kind", "road-piece"},
                                                   {"reason", "road picture 1, the rules choose 0"}}));
    EXPECT_EQ(problems[1].toObject()["kind"].toString(), "terrain-picture");

    // The clean level is not symmetric: every row differs from its mirror.
    run = runCli({"check", clean, "--rules", rulesPath, "--symmetry", "left-right"});
    EXPECT_EQ(run.exitCode, 1);
    const QList<QByteArray> lines = run.out.trimmed().split('\n');
    EXPECT_FALSE(lines.isEmpty());
    for (const QByteArray &line : lines)
        EXPECT_TRUE(line.contains(" mirror unlike its mirror at ")) << line.toStdString();
}

TEST_F(CheckCommands, WhatCannotBeCheckedExitsWithTwo)
{
    const QString map = writeMap(cleanLevel(rules));
    const QString badRules = dir.write("bad.ini", "[terrain 2]\nrule = sss : 0\n");
    const struct {
        const char *name;
        QStringList args;
        QByteArray start;
    } cases[] = {
        {"no such map", {"check", (dir.path() + "/none.vdm"), "--rules", rulesPath}, "brackwen-cli: " + (dir.path() + "/none.vdm").toUtf8()},
        {"no such rules file", {"check", map, "--rules", (dir.path() + "/none.ini")}, "brackwen-cli: " + (dir.path() + "/none.ini").toUtf8()},
        {"rules with a fault", {"check", map, "--rules", badRules}, "brackwen-cli: " + badRules.toUtf8() + ": line 2"},
        {"an unknown symmetry", {"check", map, "--symmetry", "sideways"}, "brackwen-cli: --symmetry takes none, left-right, "},
        {"a level the map lacks", {"check", map, "--rules", rulesPath, "--level", "1"}, "brackwen-cli: the map has no level 1"},
        {"no map named", {"check", "--json"}, "brackwen-cli: usage"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun run = runCli(c.args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.startsWith(c.start)) << run.err.toStdString();
    }
}

TEST_F(CheckCommands, StatsGivesTheFiguresOfEachSide)
{
    const QString map = writeMap(cleanLevel(rules));
    const CliRun run = runCli({"stats", map, "--sides", "left-right", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonArray sides = QJsonDocument::fromJson(run.out).object()["sides"].toArray();
    ASSERT_EQ(sides.size(), 2);
    const QJsonObject left = sides[0].toObject();
    const QJsonObject right = sides[1].toObject();
    EXPECT_EQ(left["side"].toString(), "left");
    EXPECT_EQ(right["side"].toString(), "right");
    EXPECT_EQ(left["cells"].toInt(), 32);
    EXPECT_EQ(left["water"].toInt(), 8);
    EXPECT_DOUBLE_EQ(left["waterPercent"].toDouble(), 25.0);
    EXPECT_EQ(left["terrain"].toObject()["Grass"].toInt(), 24);
    EXPECT_EQ(left["roadLength"].toInt(), 3);
    EXPECT_EQ(right["roadLength"].toInt(), 2);
    EXPECT_EQ(right["rivers"].toObject()["River"].toInt(), 4);
    EXPECT_EQ(left["rivers"].toObject()["River"].toInt(), 0);
    EXPECT_EQ(left["regions"].toInt(), 1);
    EXPECT_TRUE(left["joinsOtherSides"].toBool());

    const CliRun table = runCli({"stats", map, "--sides", "four-way"});
    EXPECT_EQ(table.exitCode, 0);
    EXPECT_TRUE(table.out.contains("top-left")) << table.out.toStdString();
    expectRefusal(runCli({"stats", map, "--sides", "sideways"}), "brackwen-cli: --sides takes none, left-right, ");
}

}  // namespace
