// The commands of brackwen-cli. Each group of commands lives in a file of its
// own and lists itself through one of the functions below.
#pragma once

#include "map/ProgressMeter.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <cstdint>
#include <optional>
#include <span>

struct MapDocument;

struct CliContext {
    QTextStream &out;
    QTextStream &err;
    bool errIsTerminal = false;  // long work then draws a progress bar on err
};

// A progress callback that draws a bar with the label on standard error when
// it is a terminal; none (so nothing is printed) when it is not.
ProgressCallback cliProgressBar(CliContext &context, const QString &label);

struct CliCommand {
    const char *name;       // first word on the command line, e.g. "info" or "lod"
    const char *usage;      // arguments after the name, for --help
    const char *summary;    // one line for --help
    // args: the words after the name. Returns the exit status.
    int (*run)(const QStringList &args, CliContext &context);
};

// Prints "brackwen-cli: <reason>" on standard error and returns exit status 1.
int cliFail(CliContext &context, const QString &reason);

// Reports the command's usage as the reason of a failure (exit status 1).
int cliUsage(CliContext &context, const CliCommand &command);

// Saves the map to path as the editor saves it; a failure is reported as by
// cliFail with the path and the reason. A write in place keeps its copy of
// the original in the tool's data folder ("backups" below it).
int cliSaveMap(const MapDocument &document, const QString &path, CliContext &context);

// The refusal of an output path that is a folder, a device or a pipe
// ("OUT: it is a folder"), or an empty string.
QString cliOutputRefusal(const QString &path);

// The refusal of an output path for a picture or for sprite frames: as
// cliOutputRefusal, and an output that is one of the inputs (by any name:
// the same path, a link or a hard link) or an existing map file the editor
// would open, which the picture would replace. Empty when it may be written.
QString cliPictureOutputRefusal(const QString &path, const QStringList &inputs);

// The refusal of an option given more than once ("--at is given twice"),
// or an empty string.
QString cliRepeatedOptionRefusal(const QStringList &args);

// A plain decimal whole number (digits only) no greater than limit.
std::optional<std::uint32_t> parseDecimal(const QString &text, std::uint32_t limit);

std::span<const CliCommand> mapCommands();
std::span<const CliCommand> edgeCommands();
std::span<const CliCommand> transformCommands();
std::span<const CliCommand> graphicsCommands();
std::span<const CliCommand> obstacleCommands();
std::span<const CliCommand> renderCommands();
std::span<const CliCommand> toolCommands();
std::span<const CliCommand> journalCommands();
std::span<const CliCommand> generateCommands();
std::span<const CliCommand> checkCommands();

// stats MAP --sides MODE: the fairness figures of the level's sides; usage is
// the stats command, whose usage a wrong argument prints.
int runSideStats(const QStringList &args, CliContext &context, const CliCommand &usage);
