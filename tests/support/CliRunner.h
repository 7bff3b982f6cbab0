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
