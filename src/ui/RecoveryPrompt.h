// The offer of edits that a crash left in the edit journal of a map: asked
// before the map opens, replayed once it is open.
#pragma once

#include "journal/EditJournal.h"

#include <QString>

#include <optional>

class EditorContext;
class QWidget;

class RecoveryPrompt {
public:
    RecoveryPrompt(EditorContext &context, QWidget *parent);

    // The map of the newest journal that holds edits, whose map file is
    // there and which no running editor writes, for the offer at start-up;
    // empty when there is none.
    static QString mapToOffer(const QString &journalFolder);

    // Asks about the journal of the map at mapPath when it holds edits:
    // Recover keeps it for replay(), Discard deletes it. False when the user
    // chose Later: the map is not to open now, and the journal stays. When a
    // save in place that did not finish damaged the file and kept the map as
    // the edits began, Recover first puts that copy back. A damaged journal
    // is moved aside first (the message says where) and only the steps in
    // front of the damage are offered; Discard then leaves it where it went.
    // The journal of a map another editor has open is left alone.
    bool ask(const QString &mapPath);
    // After the map opened: replays the edits the user chose to recover, as
    // unsaved steps; a map whose file changed since is left without a file.
    void replay();
    // What to tell in the status bar after ask() and replay(): the steps
    // recovered, or why a journal was left alone; empty when nothing happened.
    const QString &message() const { return m_message; }

private:
    // Puts the kept copy back over the map file, with the journal's time.
    void putBack(const QString &kept, const QString &mapPath, const JournalHeader &header);

    EditorContext &m_context;
    QWidget *m_parent;
    std::optional<JournalContents> m_journal;  // to replay
    bool m_fileChanged = false;
    QString m_message;
};
