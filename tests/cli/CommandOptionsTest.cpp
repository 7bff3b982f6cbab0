// The command line of every command of brackwen-cli read by one table: the
// same mistake gets the same words and exit status whatever the command, and
// COMMAND --help prints the usage and a line on each option.
#include "writers/MapWriter.h"

#include "CliRunner.h"
#include "TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

// A command with words it would take (MAP stands for a map file), and the
// exit status of its refusals.
struct Command {
    QString name;
    QStringList words;
    int failureStatus = 1;
    bool takesLevel = false;
};

QList<Command> commands(const QString &map, const QString &rules, const QString &out)
{
    return {
        {"info", {map}},
        {"resave", {map, out}},
        {"resize", {map, "36", out}},
        {"edges", {map, out, "--rules", rules}, 1, true},
        {"fill", {map, out, "--at", "1,2", "--terrain", "8"}, 1, true},
        {"stats", {map}, 1, true},
        {"check", {map}, 2, true},
        {"generate", {map, out, "--seed", "7"}, 1, true},
        {"transform", {map, out, "--flip", "h"}, 1, true},
        {"render", {map, out}, 1, true},
        {"battlefield", {map, "1", "1"}, 1, true},
        {"lod", {"list", map}},
        {"def", {"export", map, out}},
        {"obstacles", {map, "1", "2", "3"}},
        {"recover", {map, out}},
    };
}

// The usage line the tool's --help gives the command.
QByteArray usageOf(const QByteArray &help, const QString &command)
{
    for (const QByteArray &line : help.split('\n'))
        if (line.startsWith("  " + command.toUtf8() + ' '))
            return "usage: brackwen-cli " + line.mid(2);
    return {};
}

TEST(CommandOptions, TheSameMistakeGetsTheSameWordsInEveryCommand)
{
    TempDir dir;
    const QString map = dir.write("map.vdm", MapWriter::patterned(36, true).data());
    const QString rules = dir.write("rules.ini", "[terrain 0]\nrule = *** *.* *** : 1\n");
    const QString out = dir.filePath("out");
    const QByteArray help = runCli({"--help"}).out;

    for (const Command &command : commands(map, rules, out)) {
        ASSERT_FALSE(usageOf(help, command.name).isEmpty()) << command.name.toStdString();
        const QByteArray usage = "brackwen-cli: " + usageOf(help, command.name) + '\n';
        // The words with the map argument left out.
        QStringList withoutMap = command.words;
        withoutMap.removeOne(map);
        struct Mistake {
            const char *name;
            QStringList words;
            QByteArray message;
            bool level;  // made only by commands that take --level
        };
        const Mistake mistakes[] = {
            {"a level that is no number", command.words + QStringList{"--level", "x"},
             "brackwen-cli: --level takes 0 or 1, not \"x\"\n", true},
            {"a level beyond 1", command.words + QStringList{"--level", "7"},
             "brackwen-cli: --level takes 0 or 1, not \"7\"\n", true},
            {"--level without its value", command.words + QStringList{"--level"}, usage, true},
            {"--level twice", command.words + QStringList{"--level", "0", "--level", "0"},
             "brackwen-cli: --level is given twice\n", true},
            {"an unknown option", command.words + QStringList{"--sideways"}, usage, false},
            {"no map argument", withoutMap, usage, false},
        };
        for (const Mistake &mistake : mistakes) {
            if (mistake.level && !command.takesLevel)
                continue;
            SCOPED_TRACE(command.name.toStdString() + ": " + mistake.name);
            const CliRun run = runCli(QStringList{command.name} + mistake.words);
            EXPECT_EQ(run.exitCode, command.failureStatus);
            EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
            EXPECT_EQ(run.err.toStdString(), mistake.message.toStdString());
            EXPECT_FALSE(QFile::exists(out));
        }
    }
}

TEST(CommandOptions, ValuesAndGroupsAreRefusedInOneShape)
{
    TempDir dir;
    const QString map = dir.write("map.vdm", MapWriter::patterned(36, false).data());
    const QString out = dir.filePath("out.vdm");
    const struct {
        QStringList words;
        QByteArray message;
    } cases[] = {
        {{"transform", map, out, "--turn", "45"}, "--turn takes 90, 180 or 270, not \"45\"\n"},
        {{"edges", map, out, "--only", "bridges"}, "--only takes terrain, rivers or roads, not \"bridges\"\n"},
        {{"generate", map, out, "--seed", "4294967296"}, "--seed takes a whole number from 0 to 4294967295, not \"4294967296\"\n"},
        {{"render", map, out, "--cell", "65"}, "--cell takes a whole number from 1 to 64, not \"65\"\n"},
        {{"fill", map, out, "--at", "3", "--terrain", "8"}, "--at takes a cell as COLUMN,ROW (such as 12,7), not \"3\"\n"},
        {{"transform", map, out, "--flip", "h", "--turn", "90"}, "name only one of --flip, --turn and --mirror-half\n"},
        {{"transform", map, out, "--flip", "h", "--level", "0", "--all-levels"},
         "name only one of --level and --all-levels\n"},
        {{"render", map, out, "--defs", dir.path(), "--lod", map}, "name only one of --defs and --lod\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.words.join(' ').toStdString());
        const CliRun run = runCli(c.words);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err.toStdString(), "brackwen-cli: " + c.message.toStdString());
        EXPECT_FALSE(QFile::exists(out));
    }
}

TEST(CommandOptions, EachCommandsHelpGivesItsUsageAndEveryOption)
{
    const QByteArray help = runCli({"--help"}).out;
    for (const Command &command : commands("MAP", "RULES", "OUT")) {
        SCOPED_TRACE(command.name.toStdString());
        const CliRun run = runCli({command.name, "--help"});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
        const QByteArray usage = usageOf(help, command.name);
        EXPECT_TRUE(run.out.startsWith(usage + '\n')) << run.out.toStdString();
        // Every option of the usage line (and --list, which picks a form of
        // recover) has a line of its own.
        for (const QByteArray &word : usage.split(' ')) {
            const QByteArray option = QByteArray(word).replace('[', "").replace(']', "");
            if (option.startsWith("--"))
                EXPECT_TRUE(run.out.contains("\n  " + option + ' ')) << option.toStdString();
        }
    }
}

}  // namespace
