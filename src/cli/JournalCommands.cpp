// brackwen-cli commands: edit journals (recover, and the list of journals).
#include "cli/Commands.h"

#include "journal/EditJournal.h"
#include "journal/JournalFolder.h"
#include "map/MapFile.h"

#include <QFileInfo>

#include <array>

namespace {

int runRecover(const CliArgs &args, CliContext &context);

constexpr const char *RecoverArguments[] = {"JOURNAL", "OUT"};
constexpr CliOption RecoverOptions[] = {
    {"--until-damage", {}, nullptr, "recover the map before a damaged record that has intact ones behind it"},
};
constexpr CliOption ListOptions[] = {
    {"--folder", {CliValueKind::Text}, "DIR", "list the journals of DIR (the editor's data folder unless named)"},
};
// Recovering is the form with no word; listing is picked by --list.
constexpr CliForm Forms[] = {
    {nullptr, RecoverArguments, RecoverOptions, "replay the journal on the map it names and save the result to OUT"},
    {"--list", {}, ListOptions, "list the journals, which map each is of and whether it holds edits to recover"},
};

constexpr std::array Commands = {
    CliCommand{"recover",
               "Replay an edit journal on the map it names and save the result to OUT (a damaged record with "
               "intact ones behind it is refused unless --until-damage asks for the map before it), or list the "
               "journals (of the editor's data folder unless DIR is given)",
               Forms, runRecover},
};

void warn(CliContext &context, const QString &warning)
{
    context.err << "brackwen-cli: warning: " << warning << Qt::endl;
}

int listJournalsOf(const QString &folder, CliContext &context)
{
    const QFileInfo info(folder);
    if (!info.exists())
        return cliFail(context, QStringLiteral("%1: no such folder").arg(folder));
    if (!info.isDir())
        return cliFail(context, QStringLiteral("%1: not a folder").arg(folder));
    const std::vector<JournalListing> journals = listJournals(folder);
    if (journals.empty())
        context.out << "No journals in " << folder << Qt::endl;
    for (const JournalListing &journal : journals) {
        context.out << journal.journalPath << ": ";
        if (!journal.ok()) {
            context.out << "refused: " << journal.reason << Qt::endl;
            continue;
        }
        context.out << journal.header.mapPath << ", last written "
                    << journal.lastWritten.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) << ", "
                    << (journal.recordBytes > 0 ? "edits to recover" : "no edits since the map was saved")
                    << Qt::endl;
    }
    return 0;
}

int recover(const QString &journalPath, const QString &outPath, bool untilDamage, CliContext &context)
{
    const JournalContents journal = readJournal(journalPath);
    if (!journal.ok())
        return cliFail(context, QStringLiteral("%1: %2").arg(journalPath, journal.reason));
    if (journal.damaged() && !untilDamage)
        return cliFail(context, QStringLiteral("%1: %2; nothing written (--until-damage recovers the map before "
                                               "the damaged record)")
                                    .arg(journalPath, journal.damage()));
    if (journal.damaged())
        warn(context, QStringLiteral("%1: %2; recovering the map before it").arg(journalPath, journal.damage()));
    else if (journal.tailDropped())
        warn(context, QStringLiteral("%1: its last %2 bytes are left out: %3")
                          .arg(journalPath)
                          .arg(journal.tailLength)
                          .arg(journal.tailReason));
    const QString &mapPath = journal.header.mapPath;
    MapLoadResult loaded = readMapFile(mapPath, cliProgressBar(context, QStringLiteral("Opening  ")));
    if (!loaded.ok())
        return cliFail(context, QStringLiteral("the journal's map %1 cannot be opened: %2").arg(mapPath, loaded.reason));
    if (const QString mismatch =
            journalSizeMismatch(journal.header, loaded.document->mapSize, loaded.document->levelCount()).english();
        !mismatch.isEmpty())
        return cliFail(context, QStringLiteral("%1: %2").arg(mapPath, mismatch));
    // The file is what there is to replay on, changed or not.
    const JournalFileCheck check = journalMatchesFile(journal.header, mapPath);
    if (!check.matches())
        warn(context, check.difference + QStringLiteral("; replaying the edits on it anyway"));

    MapDocument &document = *loaded.document;
    for (std::size_t i = 0; i < journal.recordCount(); ++i) {
        const QString reason = applyJournalRecord(document, journal.record(i)).english();
        if (!reason.isEmpty())
            return cliFail(context, QStringLiteral("%1: record %2 of %3 does not fit the map: %4")
                                        .arg(journalPath)
                                        .arg(i + 1)
                                        .arg(journal.recordCount())
                                        .arg(reason));
    }
    const int saved = cliSaveMap(document, outPath, context);
    if (saved == 0)
        context.out << "Replayed " << journal.recordCount() << " edits on " << mapPath << " into " << outPath
                    << Qt::endl;
    return saved;
}

int runRecover(const CliArgs &args, CliContext &context)
{
    if (args.form == 1)
        return listJournalsOf(args.has("--folder") ? args.value("--folder") : standardJournalFolder(), context);
    return recover(args.arguments[0], args.arguments[1], args.has("--until-damage"), context);
}

}  // namespace

std::span<const CliCommand> journalCommands()
{
    return Commands;
}
