#include "CliRunner.h"

#include <QProcess>

#include <functional>

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace {

CliRun run(const QStringList &arguments, const std::function<void()> &inChild)
{
    QProcess process;
#ifndef _WIN32
    if (inChild)
        process.setChildProcessModifier(inChild);
#endif
    process.start(QStringLiteral(BRACKWEN_CLI_PATH), arguments);
    CliRun result;
    if (!process.waitForFinished(60000))
        return result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

}  // namespace

CliRun runCli(const QStringList &arguments)
{
    return run(arguments, {});
}

CliRun runCliWithFileSizeLimit(const QStringList &arguments, qint64 bytes)
{
#ifdef _WIN32
    Q_UNUSED(bytes);
    return run(arguments, {});
#else
    return run(arguments, [bytes] {
        const rlimit limit{rlim_t(bytes), rlim_t(bytes)};
        setrlimit(RLIMIT_FSIZE, &limit);
    });
#endif
}
