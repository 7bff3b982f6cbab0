// The editor's shared parts, made at start-up.
#include "ui/EditorContext.h"

#include "journal/JournalFolder.h"

#include <QCoreApplication>
#include <QFileInfo>

EditorContext::EditorContext(std::unique_ptr<UserPrompts> prompts, const QString &journalFolder)
    : journal(session, journalFolder.isEmpty() ? standardJournalFolder() : journalFolder)
    , m_prompts(prompts ? std::move(prompts) : std::make_unique<DialogPrompts>())
{
    SettingsAndTexts loaded = loadSettingsAndTexts();
    settings = std::move(loaded.settings);
    texts = std::move(loaded.texts);
    settingsProblems = std::move(loaded.problems);
    QCoreApplication::setApplicationName(texts.title);
    if (settings.use_showobst == 1) {
        session.loadCatalogue({true, settings.use_ramobst == 1});
        if (!session.catalogue().isOn())
            settings.use_showobst = 0;
    }
    keepBackups(false);
}

PromptButtons EditorContext::promptButtons() const
{
    return {texts.dlgok, texts.dlgsave, texts.dlgdiscard, texts.dlgcancel};
}

RecoverButtons EditorContext::recoverButtons() const
{
    return {texts.dlgrecover, texts.dlgdropedits, texts.dlglater};
}

void EditorContext::keepBackups(bool on)
{
    session.setSaveOptions(MapSaveOptions{.keepPrevious = on, .backupFolder = QFileInfo(journal.folder()).path()});
}

QString EditorContext::mapDialogFilter() const
{
    return texts.dlgfilter + QStringLiteral("(*.vdm, *.vdw)|*.vdm;*.vdw");
}
