// Replaying an edit journal through the session's public operations.
#include "session/JournalReplay.h"

#include "edit/CellEditor.h"
#include "journal/JournalRecord.h"
#include "session/EditorSession.h"

namespace {

// A step's or a fallen-back move's parts: size changes are steps of their
// own, the cells between them one step.
QString replayParts(EditorSession &session, const std::vector<JournalRecord> &parts)
{
    std::size_t next = 0;
    while (next < parts.size()) {
        if (parts[next].kind == JournalRecord::Kind::Size) {
            if (!session.resize(parts[next].side))
                return QStringLiteral("not enough memory for a map of side %1").arg(parts[next].side);
            ++next;
            continue;
        }
        std::size_t end = next;
        while (end < parts.size() && parts[end].kind != JournalRecord::Kind::Size)
            ++end;
        JournalRecord cells = journalStep({parts.begin() + std::ptrdiff_t(next), parts.begin() + std::ptrdiff_t(end)});
        const QString reason = session.replayStep(
            [&](MapDocument &document, CellEditor &editor) { return applyJournalRecord(document, cells, &editor); });
        if (!reason.isEmpty())
            return reason;
        next = end;
    }
    return {};
}

QString replayMove(EditorSession &session, const JournalRecord &record)
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
    replay.reason = journalSizeMismatch(journal.header, session.document().mapSize, session.document().levelCount());
    if (!replay.reason.isEmpty())
        return replay;
    for (; replay.steps < journal.recordCount(); ++replay.steps) {
        const JournalRecord record = journal.record(replay.steps);
        switch (record.kind) {
        case JournalRecord::Kind::Size:
            if (!session.resize(record.side))
                replay.reason = QStringLiteral("not enough memory for a map of side %1").arg(record.side);
            break;
        case JournalRecord::Kind::Move:
            replay.reason = replayMove(session, record);
            break;
        case JournalRecord::Kind::Step:
            replay.reason = replayParts(session, record.parts);
            break;
        case JournalRecord::Kind::Cells:
        case JournalRecord::Kind::CellsInOrder:
            replay.reason = session.replayStep([&](MapDocument &document, CellEditor &editor) {
                return applyJournalRecord(document, record, &editor);
            });
            break;
        }
        if (!replay.reason.isEmpty())
            break;
    }
    return replay;
}
