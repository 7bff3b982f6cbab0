// The status bar's count of problems.
#include "ui/ProblemCount.h"

#include "session/ProblemWatch.h"
#include "session/Settings.h"

ProblemCount::ProblemCount(const ProblemWatch &watch, const InterfaceTexts &texts, QWidget *parent)
    : QToolButton(parent)
    , m_watch(watch)
    , m_texts(texts)
{
    setObjectName(QStringLiteral("problemCount"));
    setAutoRaise(true);
    connect(&watch, &ProblemWatch::problemsChanged, this, &ProblemCount::follow);
    follow();
}

void ProblemCount::follow()
{
    setText(m_texts.stproblems.arg(m_watch.problems().size()));
}
