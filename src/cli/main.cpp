// brackwen-cli: map, archive, sprite and obstacle tools on the editor's own library.
#include "cli/Commands.h"

#include "base/Platform.h"
#include "base/WholeFile.h"
#include "map/MapFile.h"
#include "map/MapSave.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>

#include <algorithm>
#include <array>
#include <cstdio>
#include <new>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

int cliFail(CliContext &context, const QString &reason)
{
    context.err << "brackwen-cli: " << reason << Qt::endl;
    return context.failureStatus;
}

int cliUsage(CliContext &context, const CliCommand &command)
{
    return cliFail(context, cliUsageLine(command.name, command.forms));
}

int cliRun(const CliCommand &command, const QStringList &words, CliContext &context)
{
    context.failureStatus = command.failureStatus;
    const CliParse parse = CliParse::of(command.name, command.forms, words);
    switch (parse.outcome) {
    case CliParse::Outcome::Help:
        context.out << cliCommandHelp(command.name, command.summary, command.forms);
        context.out.flush();
        return 0;
    case CliParse::Outcome::Refused:
        return cliFail(context, parse.refusal);
    case CliParse::Outcome::Run:
        break;
    }
    return command.run(parse.args, context);
}

int cliSaveMap(const MapDocument &document, const QString &path, CliContext &context)
{
    MapSaveOptions options;
    options.backupFolder =
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)).filePath(QStringLiteral("backups"));
    const MapSaveResult saved =
        saveMapFile(document, path, options, cliProgressBar(context, QStringLiteral("Saving   ")));
    if (!saved.ok())
        return cliFail(context, QStringLiteral("%1: %2").arg(path, saved.reason));
    return 0;
}

QString cliOutputRefusal(const QString &path)
{
    const QString kind = notARegularFile(path).english();
    return kind.isEmpty() ? kind : QStringLiteral("%1: %2").arg(path, kind);
}

QString cliPictureOutputRefusal(const QString &path, const QStringList &inputs)
{
    if (const QString refused = cliOutputRefusal(path); !refused.isEmpty())
        return refused;
    if (!QFileInfo::exists(path))
        return {};
    for (const QString &input : inputs)
        if (platform::isSameFile(path, input))
            return QStringLiteral("%1: it is the input %2 itself; name another file for the output").arg(path, input);
    if (summarizeMapFile(path).ok())
        return QStringLiteral("%1: it is a map; name another file for the output").arg(path);
    return {};
}

ProgressCallback cliProgressBar(CliContext &context, const QString &label)
{
    if (!context.errIsTerminal)
        return {};
    return [&context, label](qint64 done, qint64 total) {
        constexpr int Width = 40;
        const int percent = total > 0 ? int(std::clamp<qint64>(done * 100 / total, 0, 100)) : 100;
        const int filled = percent * Width / 100;
        context.err << '\r' << label << " [" << QString(filled, u'#') << QString(Width - filled, u'.') << "] "
                    << qSetFieldWidth(3) << percent << qSetFieldWidth(0) << '%';
        if (done >= total)
            context.err << '\n';
        context.err.flush();
    };
}

namespace {

std::array<std::span<const CliCommand>, 10> commandGroups()
{
    return {mapCommands(),      edgeCommands(),   toolCommands(),     transformCommands(),
            graphicsCommands(), renderCommands(), obstacleCommands(), journalCommands(),
            generateCommands(), checkCommands()};
}

void printHelp(QTextStream &out)
{
    out << "Usage: brackwen-cli COMMAND [ARGUMENTS]\n"
           "       brackwen-cli COMMAND --help\n"
           "       brackwen-cli --help | --version\n\n"
           "Commands:\n";
    for (const auto &group : commandGroups())
        for (const CliCommand &command : group)
            out << "  " << command.name << ' ' << cliUsageText(command.forms) << "\n      " << command.summary << '\n';
}

}  // namespace

int main(int argc, char **argv)
{
    // A write beyond the file-size limit fails with "file too large" and is
    // reported, instead of ending the tool without a word.
    platform::ignoreFileSizeSignal();
    // Standard error carries the tool's own one-line reasons, not Qt's chatter
    // about the environment (a missing runtime folder and the like).
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    // Rendering needs fonts and images but never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The words after the program's name go to the commands as given: the
    // application object would take out of them the options it knows itself
    // (such as --style, an option of generate), so it is given none.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    int appArgc = 1;
    QGuiApplication app(appArgc, argv);
    QCoreApplication::setApplicationName("brackwen-cli");
    QCoreApplication::setApplicationVersion(BRACKWEN_VERSION);

    QTextStream out(stdout);
    QTextStream err(stderr);
    CliContext context{out, err, isatty(fileno(stderr)) != 0};

    if (args.isEmpty()) {
        printHelp(err);
        return 2;
    }
    const QString first = args.takeFirst();
    if (first == "--help" || first == "-h") {
        printHelp(out);
        return 0;
    }
    if (first == "--version" || first == "-v") {
        out << "brackwen-cli " << BRACKWEN_VERSION << Qt::endl;
        return 0;
    }
    for (const auto &group : commandGroups())
        for (const CliCommand &command : group)
            if (first == QLatin1String(command.name)) {
                // Every reader refuses what is too large for its kind; what
                // still exhausts the memory ends the command with a reason.
                try {
                    return cliRun(command, args, context);
                } catch (const std::bad_alloc &) {
                    return cliFail(context, QStringLiteral("not enough memory for the %1 command").arg(first));
                }
            }
    return cliFail(context, QStringLiteral("unknown command \"%1\" (see --help)").arg(first));
}
