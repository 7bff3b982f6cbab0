// The problems of the shown level, kept up to date as the session edits it:
// a new map, level, size, symmetry or rules file checks the whole level; an
// edit checks again only the cells around what it changed.
#pragma once

#include "check/MapCheck.h"

#include <QObject>

class EditorSession;
struct InterfaceTexts;

// The words of the problems' reasons in the interface's language.
ProblemTexts problemTexts(const InterfaceTexts &texts);

class ProblemWatch : public QObject {
    Q_OBJECT

public:
    explicit ProblemWatch(const EditorSession &session, QObject *parent = nullptr);

    const std::vector<Problem> &problems() const { return m_list.problems(); }
    const ProblemList &list() const { return m_list; }
    // What the check works with: the session's rules and its symmetry.
    CheckSettings settings() const;

    // Checks the whole shown level again (after the rules file was read).
    void checkAll();

Q_SIGNALS:
    // The list changed (or may have: it was worked out again).
    void problemsChanged();

private:
    void recheck(int level, const QRect &cells);

    const EditorSession &m_session;
    ProblemList m_list;
};
