// Where edit journals live: one file per map in a folder of the user's data,
// named after a hash of the map's absolute path, and the list of what a
// folder holds for the editor to offer at start-up.
#pragma once

#include "journal/EditJournal.h"

#include <QDateTime>
#include <QString>

#include <vector>

// The folder the editor keeps journals in: "journals" in the user's data
// folder (QStandardPaths::AppDataLocation) of organisation and application
// "Brackwen", whatever names the running program has given itself, so that
// the editor and the command-line tool find the same folder.
QString standardJournalFolder();

// The journal of the map at mapPath inside folder: the first 16 hex digits
// of the SHA-256 of the map's absolute path, with ".journal".
QString journalPathFor(const QString &folder, const QString &mapPath);

struct JournalListing {
    QString journalPath;
    JournalHeader header;   // valid unless refused
    QDateTime lastWritten;  // when the last step was written (the file's time)
    qint64 recordBytes = 0; // bytes behind the header: 0 when there is nothing to recover
    QString reason;         // one line, set when the file is refused (not a journal, newer, damaged)

    bool ok() const { return reason.isEmpty(); }
};

// The journals of folder, newest first; reads only their headers. Refused
// files are listed with their reason and left alone.
std::vector<JournalListing> listJournals(const QString &folder);

// The copy of the journal's map file as the journal began (same name, length
// and bytes) among those that saves in place which did not finish left in
// backupFolder; empty when there is none. A kill while such a save overwrote
// the map leaves the file damaged and the edits' starting point only there.
QString keptOriginalOf(const JournalHeader &header, const QString &backupFolder);

// A damaged journal moved out of the way of a new one.
struct MovedAside {
    QString path;    // where it went; empty when nothing was moved
    Reason damage;   // what is damaged
    Reason why;      // set when it could not be moved

    bool moved() const { return !path.isEmpty(); }
};

// The name a damaged journal is moved to: its own with ".damaged-" and the
// time, which no journal listing takes for a journal.
QString damagedJournalName(const QString &journalPath);

// Moves the journal at path aside when it cannot be read as a journal (a
// header refused as damaged, or a damaged record with intact ones behind it),
// so that nothing overwrites or deletes it; a journal of a newer program, a
// journal cut off by a crash, and a path where nothing is stay as they are.
MovedAside moveDamagedJournalAside(const QString &journalPath);
