// Runs the built brackwen-cli and collects its exit status and output.
#pragma once

#include <QByteArray>
#include <QStringList>

struct CliRun {
    int exitCode = -1;  // -1 when the program did not finish normally
    QByteArray out;
    QByteArray err;
};

CliRun runCli(const QStringList &arguments);

// runCli with the program's file-size limit (RLIMIT_FSIZE) set to `bytes`
// in the child, where the system has such limits; the plain run elsewhere.
CliRun runCliWithFileSizeLimit(const QStringList &arguments, qint64 bytes);
