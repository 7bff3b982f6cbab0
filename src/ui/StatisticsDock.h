// The statistics dock: the shown level's name, its cells of every terrain,
// river and road type with their shares, and the fairness view of its
// players' sides. It follows the session's edits while it is shown, working
// the figures out once for a burst of notices.
#pragma once

#include <QDockWidget>

class EditorSession;
class FairnessView;
class QLabel;
class QPlainTextEdit;
class QTabWidget;
class QTimer;
struct InterfaceTexts;

class StatisticsDock : public QDockWidget {
    Q_OBJECT

public:
    static constexpr const char *ObjectName = "statisticsDock";

    StatisticsDock(const EditorSession &session, const InterfaceTexts &texts, QWidget *parent = nullptr);

    QLabel *title() const { return m_title; }
    QPlainTextEdit *counts() const { return m_counts; }
    FairnessView *fairness() const { return m_fairness; }
    QTabWidget *tabs() const { return m_tabs; }

    // Works everything out again now (when shown).
    void refresh();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void schedule();

    const EditorSession &m_session;
    const InterfaceTexts &m_texts;
    QLabel *m_title = nullptr;
    QTabWidget *m_tabs = nullptr;
    QPlainTextEdit *m_counts = nullptr;
    FairnessView *m_fairness = nullptr;
    QTimer *m_timer = nullptr;
};
