// Keeps the edit journal of the editor session's open map: every finished
// step, undo, redo and size change goes to the journal as the session
// announces it, so that a crash loses at most the last moment's edits.
#pragma once

#include "edit/JournalWriter.h"

#include <QObject>
#include <QString>

#include <cstdint>

class EditorSession;
struct HistoryChange;

// The journal of a map is started when the map opens, holding only its header
// until the first edit: a journal without records has nothing to recover and
// start-up passes over it. A save to the map's own file empties it to its
// header again; a save to another file deletes it and starts the new file's
// journal. Opening another map deletes the old map's journal, whose edits
// were saved or dropped at the save prompt; the caller deletes the last one
// when the editor closes (discard).
class JournalKeeper : public QObject {
    Q_OBJECT

public:
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

Q_SIGNALS:
    // Writing the journal failed (reason set) or works again (reason empty).
    // Delivered on the thread of the keeper.
    void problem(const QString &journalPath, const QString &reason);

private:
    // Starts the journal of the map file at mapPath, deleting the one open.
    void start(const QString &mapPath);
    void stepRecorded(std::size_t firstRecord, std::size_t endRecord);
    void historyMoved(const HistoryChange &change);
    void mapSaved(const QString &fileName);

    EditorSession &m_session;
    const QString m_folder;
    QString m_mapPath;      // the map file the journal is of
    QString m_journalPath;  // empty while no journal is open
    std::uint32_t m_side = 0;  // the map's side as the journal last recorded it
    JournalWriter m_writer;    // last: its thread may report while the rest exists
};
