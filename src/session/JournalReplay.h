// Replaying an edit journal read back after a crash on the session's open map.
#pragma once

#include "edit/EditJournal.h"

#include <QString>

#include <cstddef>

class EditorSession;

struct JournalReplay {
    std::size_t steps = 0;  // records replayed
    QString reason;         // one line, set when a record was refused
};

// Replays the journal's records on the session's open map, each as a step of
// its own that undo takes back, announced as edits are; the map is left with
// unsaved changes. Stops at the first record that does not fit the map (its
// reason set).
JournalReplay replayJournal(EditorSession &session, const JournalContents &journal);
