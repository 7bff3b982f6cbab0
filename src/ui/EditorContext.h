// What the editor's windows share, made once at start-up and handed to them by
// reference: the settings and interface texts read from "brackwen.ini" in the
// current folder, the prompts, and the editor session (with the obstacle
// catalogue loaded when the settings ask for it). The program's entry owns it;
// tests make one with fake prompts.
#pragma once

#include "session/EditorSession.h"
#include "session/JournalKeeper.h"
#include "session/Settings.h"
#include "ui/UserPrompts.h"

#include <memory>

class EditorContext {
public:
    // Prompts default to the real dialogs, the journal folder to the user's
    // (standardJournalFolder()).
    explicit EditorContext(std::unique_ptr<UserPrompts> prompts = nullptr, const QString &journalFolder = {});

    Settings settings;
    InterfaceTexts texts;
    EditorSession session;
    // The edit journal of the session's map, for recovery after a crash.
    JournalKeeper journal;
    // What was wrong with "brackwen.ini", to tell the user once.
    QStringList settingsProblems;

    UserPrompts &prompts() { return *m_prompts; }
    // The words of the prompts' buttons, from the interface texts.
    PromptButtons promptButtons() const;
    RecoverButtons recoverButtons() const;
    // Saves keep the replaced file as NAME.bak or not; either way their
    // safety copies go to the user's data folder, the journals' parent.
    void keepBackups(bool on);
    // The "Valdris map(*.vdm, *.vdw)|*.vdm;*.vdw" filter of both map file dialogs.
    QString mapDialogFilter() const;

private:
    std::unique_ptr<UserPrompts> m_prompts;
};
