// The commands of brackwen-cli. Each group of commands lives in a file of its
// own and lists itself through one of the functions below.
#pragma once

#include "cli/CommandOptions.h"
#include "rules/TerrainEdgeRules.h"
#include "map/MapFile.h"
#include "map/ProgressMeter.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <cstdint>
#include <optional>
#include <span>

struct CliContext {
    QTextStream &out;
    QTextStream &err;
    bool errIsTerminal = false;  // long work then draws a progress bar on err
    int failureStatus = 1;       // the exit status of a refusal, the running command's
};

// A progress callback that draws a bar with the label on standard error when
// it is a terminal; none (so nothing is printed) when it is not.
ProgressCallback cliProgressBar(CliContext &context, const QString &label);

struct CliCommand {
    const char *name;               // first word on the command line, e.g. "info" or "lod"
    const char *summary;            // one line for --help
    std::span<const CliForm> forms;  // what it takes, for the reader, the usage line and its --help
    // args: the words after the name, taken apart by forms. Returns the exit status.
    int (*run)(const CliArgs &args, CliContext &context);
    // The exit status of every refusal, a mistake on the command line
    // included: 1, unless the command gives 1 another meaning.
    int failureStatus = 1;
};

// Reads the words after the command's name by its table and runs it: prints
// its help for --help, refuses words that do not fit, runs it otherwise.
int cliRun(const CliCommand &command, const QStringList &words, CliContext &context);

// Prints "brackwen-cli: <reason>" on standard error and returns the running
// command's failure status.
int cliFail(CliContext &context, const QString &reason);

// Reports the command's usage as the reason of a failure.
int cliUsage(CliContext &context, const CliCommand &command);

// The map of the command's first argument, read, and the level --level names
// in it (0 unless named).
struct CliMap {
    MapLoadResult loaded;
    int level = 0;
    QString refusal;  // why there is none: the map cannot be read or lacks the level

    bool ok() const { return refusal.isEmpty(); }
    MapDocument &document() { return *loaded.document; }
    TerrainLayer &layer() { return loaded.document->layer(level); }
};

CliMap cliOpenMap(const CliArgs &args, CliContext &context);

// Where the rules come from when --rules names no file.
enum class DefaultRules {
    None,         // nowhere: no rules
    WhenPresent,  // terrain-edges.ini in the current folder, when it is there
    Required,     // terrain-edges.ini in the current folder, which must be read
};

// The terrain edge rules of --rules FILE, or of the default file.
struct CliRules {
    std::optional<TerrainEdgeRules> rules;
    QString refusal;  // why the file named or required cannot be read

    bool ok() const { return refusal.isEmpty(); }
    const TerrainEdgeRules *get() const { return rules ? &*rules : nullptr; }
};

CliRules cliReadRules(const CliArgs &args, DefaultRules fallback);

// The rules, then the map, of a command that edits or checks a map with the
// rules: the refusal of the first that cannot be read.
struct CliMapAndRules {
    CliRules rules;
    CliMap map;

    bool ok() const { return rules.ok() && map.ok(); }
    const QString &refusal() const { return rules.ok() ? map.refusal : rules.refusal; }
};

CliMapAndRules cliOpenMapAndRules(const CliArgs &args, CliContext &context, DefaultRules fallback);

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

// stats MAP --sides MODE: the fairness figures of the level's sides.
int runSideStats(const CliArgs &args, CliContext &context);
