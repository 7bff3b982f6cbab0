// Recovering the edits of an edit journal in the editor.
#include "ui/RecoveryPrompt.h"

#include "journal/JournalFolder.h"
#include "map/MapFile.h"
#include "map/MapSave.h"
#include "session/JournalReplay.h"
#include "ui/EditorContext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

RecoveryPrompt::RecoveryPrompt(EditorContext &context, QWidget *parent)
    : m_context(context)
    , m_parent(parent)
{
}

QString RecoveryPrompt::mapToOffer(const QString &journalFolder)
{
    // Listed newest first; a journal of a map that is gone cannot be replayed
    // here and stays for the command-line tool.
    // A journal another running editor writes is that editor's.
    for (const JournalListing &listing : listJournals(journalFolder))
        if (listing.ok() && listing.recordBytes > 0 && QFileInfo(listing.header.mapPath).isFile()
            && !JournalKeeper::inUse(listing.journalPath))
            return listing.header.mapPath;
    return {};
}

bool RecoveryPrompt::ask(const QString &mapPath)
{
    const QString folder = m_context.journal.folder();
    const QString journalPath = journalPathFor(folder, mapPath);
    if (!QFileInfo::exists(journalPath))
        return true;
    // Another editor has the map open: its journal is its own, in use.
    if (m_context.journal.openElsewhere(mapPath))
        return true;
    JournalContents journal = readJournal(journalPath);
    const InterfaceTexts &texts = m_context.texts;
    if (!journal.ok() || journal.damaged()) {
        // A damaged journal is never overwritten: it goes aside, and what is
        // intact in front of the damage is offered. A newer program's
        // journal is left as it is.
        const MovedAside aside = moveDamagedJournalAside(journalPath);
        if (!aside.moved()) {
            m_message = QDir::toNativeSeparators(journalPath) + QStringLiteral(": ")
                + texts.reason(aside.why.isEmpty() ? journal.ok() ? journal.damageWhy() : journal.why : aside.why);
            return true;
        }
        m_message = texts.msgjournaldamaged.arg(QDir::toNativeSeparators(aside.path), texts.reason(aside.damage));
        if (!journal.ok() || journal.recordCount() == 0 || journal.header.mapPath != journalMapPath(mapPath))
            return true;
        const QString text = texts.counted(texts.recoverdamaged, journal.recordCount())
                                 .arg(texts.reason(journal.damageWhy()), QDir::toNativeSeparators(aside.path));
        switch (m_context.prompts().askToRecover(m_parent, texts.recovertitle, text, m_context.recoverButtons())) {
        case UserPrompts::RecoverAnswer::Recover:
            m_fileChanged = !journalMatchesFile(journal.header, mapPath).matches();
            m_journal = std::move(journal);
            return true;
        case UserPrompts::RecoverAnswer::Discard:  // the damaged journal stays where it went
            return true;
        case UserPrompts::RecoverAnswer::Later:
            break;
        }
        m_message += QStringLiteral("; ") + texts.msgrecoverlater.arg(QDir::toNativeSeparators(mapPath));
        return false;
    }
    if (journal.recordCount() == 0 || journal.header.mapPath != journalMapPath(mapPath))
        return true;

    const QDateTime lastEdit = QFileInfo(journalPath).lastModified();
    QString text = texts.recovertext.arg(QDir::toNativeSeparators(mapPath),
                                         texts.dateLocale().toString(lastEdit, QLocale::ShortFormat));
    m_fileChanged = !journalMatchesFile(journal.header, mapPath).matches();
    // A copy of the map as the edits began, and a file that no longer opens:
    // a save in place was killed while it overwrote the file. (The file is
    // read only when there is such a copy.)
    QString kept = m_fileChanged ? keptOriginalOf(journal.header, QFileInfo(folder).path()) : QString();
    if (!kept.isEmpty() && readMapFile(mapPath).ok())
        kept.clear();
    if (m_fileChanged)
        text += QStringLiteral("\n\n")
            + (kept.isEmpty() ? texts.recoverchanged : texts.recoverkept.arg(QDir::toNativeSeparators(kept)));
    switch (m_context.prompts().askToRecover(m_parent, texts.recovertitle, text, m_context.recoverButtons())) {
    case UserPrompts::RecoverAnswer::Recover:
        if (!kept.isEmpty())
            putBack(kept, mapPath, journal.header);
        m_journal = std::move(journal);
        return true;
    case UserPrompts::RecoverAnswer::Discard:
        QFile::remove(journalPath);
        return true;
    case UserPrompts::RecoverAnswer::Later:
        break;
    }
    // The journal stays, and the next start offers it again.
    m_message = texts.msgrecoverlater.arg(QDir::toNativeSeparators(mapPath));
    return false;
}

void RecoveryPrompt::putBack(const QString &kept, const QString &mapPath, const JournalHeader &header)
{
    if (const Reason failed = putBackKeptOriginal(kept, mapPath); !failed.isEmpty()) {
        m_message = QDir::toNativeSeparators(mapPath) + QStringLiteral(": ") + m_context.texts.reason(failed);
        return;
    }
    // The file is the journal's starting point again, its time too, so the
    // recovered map keeps its file.
    QFile file(mapPath);
    if (file.open(QIODevice::ReadWrite))
        file.setFileTime(QDateTime::fromMSecsSinceEpoch(header.file.modifiedMsecs),
                         QFileDevice::FileModificationTime);
    file.close();
    m_fileChanged = !journalMatchesFile(header, mapPath).matches();
}

void RecoveryPrompt::replay()
{
    // What ask() told stays in front of what the replay tells.
    const QString before = m_message;
    m_message.clear();
    if (!m_journal)
        return;
    EditorSession &session = m_context.session;
    const JournalReplay replayed = replayJournal(session, *m_journal);
    if (m_fileChanged)
        session.forgetFileName();
    m_message = m_context.texts.counted(m_context.texts.msgrecovered, replayed.steps);
    if (!before.isEmpty())
        m_message = before + QStringLiteral("; ") + m_message;
    if (!replayed.why.isEmpty())
        m_message += QStringLiteral("; ") + m_context.texts.reason(replayed.why);
    m_journal.reset();
}
