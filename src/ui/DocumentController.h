// The map as a document of the editor: opening it (the dialog, the offer of
// the edits a crash left, the refusals), saving it (to its own file, or as
// another), and closing it (the question about unsaved edits, the about
// prompt when the settings ask for it, and the journal's end). The window
// that owns it is the parent of its dialogs and shows what it announces.
#pragma once

#include "ui/UserPrompts.h"

#include <QObject>
#include <QString>

class EditorContext;
class QWidget;

class DocumentController : public QObject {
    Q_OBJECT

public:
    DocumentController(EditorContext &context, QWidget &window);

    // The program's version and author, shown in the about prompt, and the
    // author's web page it offers to open.
    static constexpr const char *Version = BRACKWEN_VERSION;
    static constexpr const char *Author = "Ostrel";
    static constexpr const char *WebPage = "https://brackwen.example.org/";

    // The folder the open dialog starts in; empty: the game's maps folder.
    void setDialogFolder(const QString &folder) { m_dialogFolder = folder; }

    // The open command on a file, after the question about unsaved edits; an
    // empty name asks the open dialog.
    void open(const QString &fileName);
    // Saves to the map's own file without a dialog (with it when there is
    // none); true when saved.
    bool save();
    // The save dialog, then the save; true when saved.
    bool saveAs();
    // The closing rule: the save question, then the about prompt when the
    // settings ask for it; false when closing is called off. When it goes on,
    // the journal is discarded and the map's resources released.
    bool close();
    // The about prompt; Yes opens the author's web page.
    UserPrompts::AboutAnswer showAbout();

Q_SIGNALS:
    // A short message for the status bar.
    void statusMessage(const QString &text);
    // A map opened, before the edits recovered for it are replayed.
    void opened();
    // A file was refused; the map that is open stays open.
    void refused(const QString &reason);
    // Closing goes on: the map's resources are about to go.
    void closing();

private:
    bool saveTo(const QString &fileName);
    // Offers to save unsaved edits; false when the calling operation is to
    // stop (the user cancelled, or the save did not happen).
    bool askToSave();

    EditorContext &m_context;
    QWidget &m_window;
    QString m_dialogFolder;
};
