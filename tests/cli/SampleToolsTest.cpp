// The sample writers brackwen-mapgen and brackwen-spritegen, run as built
// programs: --help prints their usage, and a word that looks like an option
// is refused instead of being taken for the folder to write into.
#include "TempDir.h"

#include <QDir>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun runTool(const QString &program, const QStringList &arguments, const QString &folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    ToolRun result;
    if (!process.waitForFinished(60000))
        return result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

TEST(SampleTools, HelpPrintsTheUsageAndUnknownOptionsAreRefused)
{
    struct Tool {
        QString program;
        QByteArray usage;
    };
    const Tool tools[] = {
        {QStringLiteral(BRACKWEN_MAPGEN_PATH), "usage: brackwen-mapgen OUTDIR [RULES]"},
        {QStringLiteral(BRACKWEN_SPRITEGEN_PATH), "Usage: brackwen-spritegen OUTDIR"},
    };
    struct Case {
        QStringList arguments;
        int exitCode;
        bool usageOnStandardOutput;
        QByteArray refusal;  // expected on standard error
    };
    const Case cases[] = {
        {{"--help"}, 0, true, {}},
        {{"-h"}, 0, true, {}},
        {{"--verbose"}, 2, false, "unknown option --verbose"},
        {{"samples", "--help"}, 0, true, {}},
        {{"samples", "-x"}, 2, false, "unknown option -x"},
    };
    for (const Tool &tool : tools) {
        for (const Case &c : cases) {
            SCOPED_TRACE((tool.program + ' ' + c.arguments.join(' ')).toStdString());
            TempDir dir;
            const ToolRun run = runTool(tool.program, c.arguments, dir.path());
            EXPECT_EQ(run.exitCode, c.exitCode);
            if (c.usageOnStandardOutput) {
                EXPECT_TRUE(run.out.startsWith(tool.usage)) << run.out.toStdString();
                EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
            } else {
                EXPECT_TRUE(run.out.isEmpty());
                EXPECT_TRUE(run.err.contains(c.refusal)) << run.err.toStdString();
                EXPECT_TRUE(run.err.contains(tool.usage)) << run.err.toStdString();
            }
            // Nothing is written: no folder named after the option, no samples.
            EXPECT_TRUE(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
        }
    }
}

}  // namespace
