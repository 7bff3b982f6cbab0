// The number of problems of the shown level, in the status bar; a click on it
// asks for the list.
#pragma once

#include <QToolButton>

class ProblemWatch;
struct InterfaceTexts;

class ProblemCount : public QToolButton {
    Q_OBJECT

public:
    ProblemCount(const ProblemWatch &watch, const InterfaceTexts &texts, QWidget *parent = nullptr);

private:
    void follow();

    const ProblemWatch &m_watch;
    const InterfaceTexts &m_texts;
};
