#include "CliRunner.h"

#include <QProcess>

CliRun runCli(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(BRACKWEN_CLI_PATH), arguments);
    CliRun run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}
