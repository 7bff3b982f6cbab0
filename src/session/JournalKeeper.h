// Keeps the edit journal of the editor session's open map: every finished
// step, undo, redo and size change goes to the journal as the session
// announces it, so that a crash loses at most the last moment's edits.
#pragma once

#include "journal/JournalWriter.h"

#include <QLockFile>
#include <QObject>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>

class EditorSession;
struct HistoryChange;

// The journal of a map is started when the map opens, holding only its header
// until the first edit: a journal without records has nothing to recover and
// start-up passes over it. A save to the map's own file empties it to its
// header again; a save to another file deletes it and starts the new file's
// journal. Opening another map deletes the old map's journal, whose edits
// were saved or dropped at the save prompt; the caller deletes the last one
// when the editor closes (discard).
//
// A map's journal is locked (a lock file beside it) while its editor runs: a
// second editor of the same map keeps a journal of its own beside it, named
// after its process, and never touches the first one's. Undo and redo are
// written as moves of the history while the journal holds the steps they
// move; an undo reaching behind the journal's start (steps saved before it
// began) is written as the cells it wrote, a new step on replay.
class JournalKeeper : public QObject {
    Q_OBJECT

public:
    // What the keeper tells the user about, besides failures to write.
    enum class Notice {
        OpenElsewhere,  // another editor has the map open: this one keeps a journal of its own
        Rewritten,      // the journal was deleted while in use (its folder too): written anew
        DamagedMoved,   // a damaged journal was found where the map's goes and moved aside
    };
    Q_ENUM(Notice)

    // Journals go into folder (the editor's is standardJournalFolder()).
    JournalKeeper(EditorSession &session, const QString &folder, QObject *parent = nullptr);
    ~JournalKeeper() override;

    const QString &folder() const { return m_folder; }
    // The journal of the open map; empty while none is open.
    const QString &journalPath() const { return m_journalPath; }

    // Deletes the open map's journal: its edits are not to be recovered.
    // Nothing more is written until a map is opened or saved.
    void discard();
    // Waits until everything handed to the writer is on the disk (for tests
    // and before the program ends).
    void waitUntilWritten() { m_writer.waitUntilWritten(); }

    // True when another editor holds the journal of the map at mapPath (its
    // lock is held by a live process, or by another keeper of this one); the
    // map this keeper journals is its own.
    bool openElsewhere(const QString &mapPath) const;
    // True when the journal at journalPath is locked by a running editor
    // (a live process, or another keeper of this one).
    static bool inUse(const QString &journalPath);

Q_SIGNALS:
    // Writing the journal failed (reason set) or works again (no reason).
    // Delivered on the thread of the keeper.
    void problem(const QString &journalPath, const Reason &reason);
    // Something the user is to know about the journal at path (detail: what
    // is damaged, for DamagedMoved); delivered on the thread of the keeper.
    void notice(JournalKeeper::Notice notice, const QString &path, const Reason &detail);

private:
    // Starts the journal of the map file at mapPath, deleting the one open.
    void start(const QString &mapPath);
    void stepRecorded(std::size_t firstRecord, std::size_t endRecord);
    void historyMoved(const HistoryChange &change);
    void mapSaved(const QString &fileName);
    // The history's state at the journal's start: what the journal can move.
    void markStart();
    void unlock();

    EditorSession &m_session;
    const QString m_folder;
    QString m_mapPath;      // the map file the journal is of
    QString m_journalPath;  // empty while no journal is open
    std::unique_ptr<QLockFile> m_lock;  // held while the map's own journal is in use
    std::uint32_t m_side = 0;  // the map's side as the journal last recorded it
    // The undo records the history held when the journal began (or the undo
    // count below which a move was written as cells): moves above it are the
    // journal's to replay.
    std::size_t m_base = 0;
    std::size_t m_undoCount = 0;  // undo records, as last seen
    // What can be redone is what the journal's replay can redo.
    bool m_redoJournalled = true;
    JournalWriter m_writer;    // last: its thread may report while the rest exists
};
