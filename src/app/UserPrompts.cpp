// Message boxes and file dialogs.
#include "app/UserPrompts.h"

#include <QFileDialog>
#include <QMessageBox>

bool DialogPrompts::confirm(QWidget *parent, const QString &title, const QString &text)
{
    return QMessageBox::question(parent, title, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok)
        == QMessageBox::Ok;
}

UserPrompts::AboutAnswer DialogPrompts::askAbout(QWidget *parent, const QString &title, const QString &text)
{
    // The prompt's lines are separated by carriage returns; the message box breaks lines at line feeds.
    const QString shown = QString(text).replace(u'\r', u'\n');
    switch (QMessageBox::information(parent, title, shown, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes: return AboutAnswer::Yes;
    case QMessageBox::No: return AboutAnswer::No;
    default: return AboutAnswer::Cancel;
    }
}

QString DialogPrompts::openFileName(QWidget *parent, const QString &folder, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, QString(), folder, filter);
}

QString DialogPrompts::saveFileName(QWidget *parent, const QString &suggestion, const QString &filter,
                                    const QString &defaultSuffix)
{
    QFileDialog dialog(parent, QString(), suggestion, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (!suggestion.isEmpty())
        dialog.selectFile(suggestion);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first()
                                                                                  : QString();
}

void DialogPrompts::showError(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::critical(parent, title, text);
}
