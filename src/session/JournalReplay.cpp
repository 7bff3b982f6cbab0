// Replaying an edit journal through the session's public operations.
#include "session/JournalReplay.h"

#include "edit/CellEditor.h"
#include "edit/JournalRecord.h"
#include "session/EditorSession.h"

JournalReplay replayJournal(EditorSession &session, const JournalContents &journal)
{
    JournalReplay replay;
    for (; replay.steps < journal.recordCount(); ++replay.steps) {
        const JournalRecord record = journal.record(replay.steps);
        if (record.kind == JournalRecord::Kind::Size) {
            if (!session.resize(record.side)) {
                replay.reason = QStringLiteral("not enough memory for a map of side %1").arg(record.side);
                break;
            }
            continue;
        }
        replay.reason = session.replayStep(
            [&](MapDocument &document, CellEditor &editor) { return applyJournalRecord(document, record, &editor); });
        if (!replay.reason.isEmpty())
            break;
    }
    return replay;
}
