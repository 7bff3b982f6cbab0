// The problems of the shown level, following the session.
#include "session/ProblemWatch.h"

#include "session/EditorSession.h"
#include "session/Settings.h"

ProblemTexts problemTexts(const InterfaceTexts &t)
{
    return {t.probpicture, t.probnorule, t.probend,   t.probjoin,  t.probmirror, t.probterrain, t.probriver, t.probroad,
            t.probnorth,   t.probeast,   t.probsouth, t.probwest,  t.probnone,   t.probtypes,   t.probpictures,
            t.problr,      t.probud};
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
    if (m_session.levelShown() && !m_session.isResizing())
        m_list.checkAll(m_session.currentLayer(), settings());
    else
        m_list.clear();
    Q_EMIT problemsChanged();
}

// The rectangle is all a notice tells for sure: a step's undo records name
// each cell once, not every time the step's stages write it again.
void ProblemWatch::recheck(int level, const QRect &cells)
{
    if (level != m_session.level() || !m_session.levelShown() || m_session.isResizing())
        return;
    m_list.recheck(m_session.currentLayer(), settings(), cells);
    Q_EMIT problemsChanged();
}
