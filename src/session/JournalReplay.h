// Replaying an edit journal read back after a crash on the session's open map.
#pragma once

#include "journal/EditJournal.h"

#include <QString>

#include <cstddef>

class EditorSession;

struct JournalReplay {
    std::size_t steps = 0;  // records replayed
    Reason why;             // set when a record was refused
    QString reason;         // why in English, one line
};

// Replays the journal's records on the session's open map, which must have
// the side and level count the journal began with (else nothing is replayed
// and the reason names both): each step as a step of its own that undo takes
// back, each undo and redo as that move of the history, announced as edits
// are; the map is left with unsaved changes. A move the history cannot make
// as it was made (the journal began after a save, and the move reached behind
// it) writes its cells as a step instead. Stops at the first record that does
// not fit the map (its reason set).
JournalReplay replayJournal(EditorSession &session, const JournalContents &journal);
