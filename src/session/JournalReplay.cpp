// Replaying an edit journal through the session's public operations.
#include "session/JournalReplay.h"

#include "edit/CellEditor.h"
#include "journal/JournalReasons.h"
#include "journal/JournalRecord.h"
#include "session/EditorSession.h"

namespace {

// The record written as one step of the session; the reason it was refused, or none.
Reason replayAsStep(EditorSession &session, const JournalRecord &record)
{
    Reason refused;
    session.replayStep([&](MapDocument &document, CellEditor &editor) {
        refused = applyJournalRecord(document, record, &editor);
        return refused.english();
    });
    return refused;
}

// A step's or a fallen-back move's parts: size changes are steps of their
// own, the cells between them one step.
Reason replayParts(EditorSession &session, const std::vector<JournalRecord> &parts)
{
    std::size_t next = 0;
    while (next < parts.size()) {
        if (parts[next].kind == JournalRecord::Kind::Size) {
            if (!session.resize(parts[next].side))
                return {reasons::JournalMemory, {parts[next].side}};
            ++next;
            continue;
        }
        std::size_t end = next;
        while (end < parts.size() && parts[end].kind != JournalRecord::Kind::Size)
            ++end;
        const JournalRecord cells =
            journalStep({parts.begin() + std::ptrdiff_t(next), parts.begin() + std::ptrdiff_t(end)});
        if (Reason reason = replayAsStep(session, cells); !reason.isEmpty())
            return reason;
        next = end;
    }
    return {};
}

Reason replayMove(EditorSession &session, const JournalRecord &record)
{
    switch (record.move) {
    case JournalRecord::Move::UndoStep:
        session.undoStep();
        break;
    case JournalRecord::Move::RedoStep:
        session.redoStep();
        break;
    case JournalRecord::Move::UndoOneCell:
        session.undoLast();
        break;
    }
    // The history moved as it did when the journal was written, unless it
    // holds other steps than the journal says: then the cells the move wrote
    // are written as a step.
    if (documentHoldsRecord(session.document(), record))
        return {};
    return replayParts(session, record.parts);
}

}  // namespace

JournalReplay replayJournal(EditorSession &session, const JournalContents &journal)
{
    JournalReplay replay;
    replay.why = journalSizeMismatch(journal.header, session.document().mapSize, session.document().levelCount());
    for (; replay.why.isEmpty() && replay.steps < journal.recordCount(); ++replay.steps) {
        const JournalRecord record = journal.record(replay.steps);
        switch (record.kind) {
        case JournalRecord::Kind::Size:
            if (!session.resize(record.side))
                replay.why = {reasons::JournalMemory, {record.side}};
            break;
        case JournalRecord::Kind::Move:
            replay.why = replayMove(session, record);
            break;
        case JournalRecord::Kind::Step:
            replay.why = replayParts(session, record.parts);
            break;
        case JournalRecord::Kind::Cells:
        case JournalRecord::Kind::CellsInOrder:
            replay.why = replayAsStep(session, record);
            break;
        }
        if (!replay.why.isEmpty())
            break;
    }
    replay.reason = replay.why.english();
    return replay;
}
