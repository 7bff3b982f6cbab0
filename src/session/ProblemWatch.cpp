// The problems of the shown level, following the session.
#include "session/ProblemWatch.h"

#include "session/EditorSession.h"
#include "session/Settings.h"

#include <algorithm>
#include <utility>

ProblemTexts problemTexts(const InterfaceTexts &t)
{
    return {t.probpicture, t.probnorule, t.probend,   t.probjoin,  t.probmirror, t.probterrain, t.probriver, t.probroad,
            t.probnorth,   t.probeast,   t.probsouth, t.probwest,  t.probnone,   t.probtypes,   t.probpictures};
}

ProblemWatch::ProblemWatch(const EditorSession &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
{
    connect(&session, &EditorSession::mapOpened, this, &ProblemWatch::checkAll);
    connect(&session, &EditorSession::levelChanged, this, &ProblemWatch::checkAll);
    connect(&session, &EditorSession::mapResized, this, &ProblemWatch::checkAll);
    connect(&session, &EditorSession::symmetryChanged, this, &ProblemWatch::checkAll);
    connect(&session, &EditorSession::cellsChanged, this, &ProblemWatch::recheck);
    checkAll();
}

CheckSettings ProblemWatch::settings() const
{
    return {m_session.edgeRules(), m_session.symmetry()};
}

void ProblemWatch::checkAll()
{
    m_seenRecords = m_session.undoList().count();
    if (m_session.levelShown() && !m_session.isResizing())
        m_list.checkAll(m_session.document().currentLayer(), settings());
    else
        m_list.clear();
    Q_EMIT problemsChanged();
}

void ProblemWatch::recheck(int level, const QRect &cells)
{
    // The undo records between the count at the last notice and now are the
    // cells this notice is about: added by an edit or a redo, or taken back
    // by an undo (still held behind the count). A symmetric edit's rectangle
    // spans its mirror images; its records name just the cells it wrote.
    const UndoList &undo = m_session.undoList();
    const std::size_t seen = std::exchange(m_seenRecords, undo.count());
    if (level != m_session.level() || !m_session.levelShown() || m_session.isResizing())
        return;
    const TerrainLayer &layer = m_session.document().currentLayer();
    const std::size_t first = std::min(seen, undo.count());
    const std::size_t end = std::max(seen, undo.count());
    std::vector<CellPosition> positions;
    bool exact = end > first && end <= undo.count() + undo.retreatedCount() && end - first <= layer.cellCount();
    for (std::size_t i = first; exact && i < end; ++i) {
        const UndoRecord &record = undo.at(i);
        if (record.level != level)
            continue;
        // A record outside the announced cells is not this notice's.
        exact = cells.contains(record.column, record.row);
        positions.push_back({record.column, record.row});
    }
    if (exact)
        m_list.recheck(layer, settings(), positions);
    else
        m_list.recheck(layer, settings(), cells);
    Q_EMIT problemsChanged();
}
