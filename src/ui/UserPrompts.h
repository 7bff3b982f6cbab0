// The modal questions and file dialogs of the main window, behind an interface
// that tests replace.
#pragma once

#include <QString>

class QWidget;

// The dialogs' filter as the program states it, "Description|*.a;*.b|...", in
// the form Qt's file dialogs take: "Description (*.a *.b);;...".
QString qtNameFilters(const QString &dialogFilter);

// The words on a prompt's buttons, from the interface texts.
struct PromptButtons {
    QString ok = QStringLiteral("OK");
    QString save = QStringLiteral("Save");
    QString discard = QStringLiteral("Do&n't save");
    QString cancel = QStringLiteral("Cancel");
};

// The words on the recovery prompt's buttons.
struct RecoverButtons {
    QString recover = QStringLiteral("Recover");
    QString discard = QStringLiteral("Discard");
    QString later = QStringLiteral("Later");
};

class UserPrompts {
public:
    enum class AboutAnswer { Yes, No, Cancel };
    // Save: save, then go on; Discard: go on without saving; Cancel: stop.
    enum class SaveAnswer { Save, Discard, Cancel };
    // Recover: replay the journal's edits; Discard: delete the journal; Later: leave it.
    enum class RecoverAnswer { Recover, Discard, Later };

    virtual ~UserPrompts() = default;
    // A confirmation with OK and Cancel; true for OK.
    virtual bool confirm(QWidget *parent, const QString &title, const QString &text,
                         const PromptButtons &buttons) = 0;
    // The question before unsaved edits would be left behind.
    virtual SaveAnswer askToSave(QWidget *parent, const QString &title, const QString &text,
                                 const PromptButtons &buttons) = 0;
    // The offer of edits a crash left unsaved, with Recover (the default),
    // Discard and Later; closing it is Later.
    virtual RecoverAnswer askToRecover(QWidget *parent, const QString &title, const QString &text,
                                       const RecoverButtons &buttons) = 0;
    // The about prompt with Yes, No and Cancel.
    virtual AboutAnswer askAbout(QWidget *parent, const QString &title, const QString &text) = 0;
    // A file to open, or an empty string when the user cancels. Filters are
    // given as "Description|*.a;*.b".
    virtual QString openFileName(QWidget *parent, const QString &folder, const QString &filter) = 0;
    // A file to save to (the dialog asks before overwriting), or empty on cancel.
    virtual QString saveFileName(QWidget *parent, const QString &suggestion, const QString &filter,
                                 const QString &defaultSuffix) = 0;
    virtual void showError(QWidget *parent, const QString &title, const QString &text) = 0;
    // A page of information with a close button.
    virtual void showInformation(QWidget *parent, const QString &title, const QString &text) = 0;
};

// The real dialogs.
class DialogPrompts : public UserPrompts {
public:
    bool confirm(QWidget *parent, const QString &title, const QString &text, const PromptButtons &buttons) override;
    SaveAnswer askToSave(QWidget *parent, const QString &title, const QString &text,
                         const PromptButtons &buttons) override;
    RecoverAnswer askToRecover(QWidget *parent, const QString &title, const QString &text,
                               const RecoverButtons &buttons) override;
    AboutAnswer askAbout(QWidget *parent, const QString &title, const QString &text) override;
    QString openFileName(QWidget *parent, const QString &folder, const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &suggestion, const QString &filter,
                         const QString &defaultSuffix) override;
    void showError(QWidget *parent, const QString &title, const QString &text) override;
    void showInformation(QWidget *parent, const QString &title, const QString &text) override;
};
