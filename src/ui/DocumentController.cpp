// Opening, saving and closing the map.
#include "ui/DocumentController.h"

#include "base/Platform.h"
#include "session/SampleFolder.h"
#include "ui/EditorContext.h"
#include "ui/RecoveryPrompt.h"

#include <QCoreApplication>
#include <QDir>
#include <QWidget>

DocumentController::DocumentController(EditorContext &context, QWidget &window)
    : QObject(&window)
    , m_context(context)
    , m_window(window)
{
}

void DocumentController::open(const QString &givenFileName)
{
    EditorSession &session = m_context.session;
    const InterfaceTexts &texts = m_context.texts;
    Settings &settings = m_context.settings;
    if (session.document().isLoaded && !askToSave())
        return;
    if (const Reason problem = session.prepareSprites(settings); !problem.isEmpty()) {
        const QString text = texts.msgplaincolours.arg(texts.spriteerr.arg(texts.reason(problem)));
        Q_EMIT statusMessage(text);
        m_context.prompts().showError(&m_window, texts.title, text);
    }
    QString fileName = givenFileName;
    if (fileName.isEmpty()) {
        QString folder = m_dialogFolder;
        if (folder.isEmpty() && settings.valdris_path.size() > 5)
            folder = platform::findFile(settings.valdris_path, {QStringLiteral("maps")});
        // Without a maps folder of the game, an installed editor offers its sample maps.
        if (folder.isEmpty())
            folder = installedSampleMaps(QCoreApplication::applicationDirPath());
        fileName = m_context.prompts().openFileName(&m_window, folder, m_context.mapDialogFilter());
    }
    if (fileName.isEmpty())
        return;
    RecoveryPrompt recovery(m_context, &m_window);
    const auto tell = [&] { if (!recovery.message().isEmpty()) Q_EMIT statusMessage(recovery.message()); };
    const bool openNow = recovery.ask(fileName);
    tell();
    if (!openNow)
        return;

    const MapOpenResult loaded = session.open(fileName);
    if (!loaded.ok()) {
        const QString reason = texts.openerr.arg(QDir::toNativeSeparators(fileName), texts.reason(loaded.why));
        // The map that is open stays open, editable and savable.
        Q_EMIT refused(reason);
        Q_EMIT statusMessage(reason);
        // A refusal is a fact the user must see, not a note that fades away.
        m_context.prompts().showError(&m_window, texts.title, reason);
        return;
    }
    Q_EMIT opened();
    recovery.replay();
    tell();
}

bool DocumentController::saveAs()
{
    EditorSession &session = m_context.session;
    if (!session.document().isLoaded)
        return false;
    const QString fileName = m_context.prompts().saveFileName(&m_window, session.fileName(),
                                                              m_context.mapDialogFilter(), QStringLiteral("vdm"));
    if (fileName.isEmpty())
        return false;
    return saveTo(fileName);
}

bool DocumentController::save()
{
    const QString fileName = m_context.session.fileName();
    return fileName.isEmpty() ? saveAs() : saveTo(fileName);
}

bool DocumentController::saveTo(const QString &fileName)
{
    EditorSession &session = m_context.session;
    const InterfaceTexts &texts = m_context.texts;
    if (!session.document().isLoaded)
        return false;
    const MapSaveResult saved = session.save(fileName);
    if (!saved.ok()) {
        m_context.prompts().showError(&m_window, texts.title,
                                      texts.saveerr.arg(QDir::toNativeSeparators(fileName), texts.reason(saved.why)));
        return false;
    }
    Q_EMIT statusMessage(texts.msgsaved.arg(QDir::toNativeSeparators(fileName)));
    return true;
}

bool DocumentController::askToSave()
{
    if (!m_context.session.hasUnsavedChanges())
        return true;
    const InterfaceTexts &texts = m_context.texts;
    switch (m_context.prompts().askToSave(&m_window, texts.title, texts.bsavemap + "?", m_context.promptButtons())) {
    case UserPrompts::SaveAnswer::Save:
        // A save that did not happen (cancelled or failed) keeps the edits on
        // screen. A map with a file is saved there, as Ctrl+S does.
        return save();
    case UserPrompts::SaveAnswer::Discard:
        return true;
    case UserPrompts::SaveAnswer::Cancel:
        break;
    }
    return false;
}

bool DocumentController::close()
{
    if (!askToSave())
        return false;
    if (m_context.settings.use_nagscreen == 1 && showAbout() == UserPrompts::AboutAnswer::Cancel)
        return false;
    Q_EMIT closing();
    // The edits were saved, or the user chose to leave them.
    m_context.journal.discard();
    m_context.session.releaseResources();
    return true;
}

UserPrompts::AboutAnswer DocumentController::showAbout()
{
    const UserPrompts::AboutAnswer answer = m_context.prompts().askAbout(
        &m_window, m_context.texts.title, aboutText(m_context.texts, Version, Author, WebPage));
    if (answer == UserPrompts::AboutAnswer::Yes)
        platform::openWebPage(QString::fromLatin1(WebPage));
    return answer;
}
