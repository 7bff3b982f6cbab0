// Scripted answers for the main window's prompts and dialogs, and a record of
// what was asked.
#pragma once

#include "ui/UserPrompts.h"

#include <QStringList>

struct PromptLog {
    QStringList confirmations;  // texts of the OK/Cancel questions
    QStringList saveQuestions;  // texts of the Save/Don't save/Cancel questions
    QStringList recoverQuestions;  // texts of the Recover/Discard/Later questions
    QStringList abouts;         // texts of the about prompts
    QStringList errors;
    QStringList pages;          // texts of the information pages
    int openDialogs = 0;
    int saveDialogs = 0;
};

class FakePrompts : public UserPrompts {
public:
    explicit FakePrompts(PromptLog &log) : m_log(log) {}

    bool confirmAnswer = false;
    SaveAnswer saveQuestionAnswer = SaveAnswer::Discard;
    AboutAnswer aboutAnswer = AboutAnswer::No;
    RecoverAnswer recoverAnswer = RecoverAnswer::Later;
    QString openAnswer;   // empty: cancelled
    QString saveAnswer;   // empty: cancelled

    bool confirm(QWidget *, const QString &, const QString &text, const PromptButtons &) override
    {
        m_log.confirmations << text;
        return confirmAnswer;
    }
    SaveAnswer askToSave(QWidget *, const QString &, const QString &text, const PromptButtons &) override
    {
        m_log.saveQuestions << text;
        return saveQuestionAnswer;
    }
    RecoverAnswer askToRecover(QWidget *, const QString &, const QString &text, const RecoverButtons &) override
    {
        m_log.recoverQuestions << text;
        return recoverAnswer;
    }
    AboutAnswer askAbout(QWidget *, const QString &, const QString &text) override
    {
        m_log.abouts << text;
        return aboutAnswer;
    }
    QString openFileName(QWidget *, const QString &, const QString &) override
    {
        ++m_log.openDialogs;
        return openAnswer;
    }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        ++m_log.saveDialogs;
        return saveAnswer;
    }
    void showError(QWidget *, const QString &, const QString &text) override { m_log.errors << text; }
    void showInformation(QWidget *, const QString &, const QString &text) override { m_log.pages << text; }

private:
    PromptLog &m_log;
};
