// Message boxes and file dialogs.
#include "ui/UserPrompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

QString qtNameFilters(const QString &dialogFilter)
{
    const QStringList parts = dialogFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i] + " (" + QString(parts[i + 1]).replace(u';', u' ') + ")";
    return filters.join(QStringLiteral(";;"));
}

bool DialogPrompts::confirm(QWidget *parent, const QString &title, const QString &text, const PromptButtons &buttons)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Ok | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(buttons.ok);
    box.button(QMessageBox::Cancel)->setText(buttons.cancel);
    return box.exec() == QMessageBox::Ok;
}

UserPrompts::SaveAnswer DialogPrompts::askToSave(QWidget *parent, const QString &title, const QString &text,
                                                 const PromptButtons &buttons)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                    parent);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    box.button(QMessageBox::Save)->setText(buttons.save);
    box.button(QMessageBox::Discard)->setText(buttons.discard);
    box.button(QMessageBox::Cancel)->setText(buttons.cancel);
    switch (box.exec()) {
    case QMessageBox::Save: return SaveAnswer::Save;
    case QMessageBox::Discard: return SaveAnswer::Discard;
    default: return SaveAnswer::Cancel;
    }
}

UserPrompts::RecoverAnswer DialogPrompts::askToRecover(QWidget *parent, const QString &title, const QString &text,
                                                       const RecoverButtons &buttons)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    QPushButton *recover = box.addButton(buttons.recover, QMessageBox::AcceptRole);
    QPushButton *discard = box.addButton(buttons.discard, QMessageBox::DestructiveRole);
    QPushButton *later = box.addButton(buttons.later, QMessageBox::RejectRole);
    box.setDefaultButton(recover);
    box.setEscapeButton(later);
    box.exec();
    if (box.clickedButton() == recover)
        return RecoverAnswer::Recover;
    if (box.clickedButton() == discard)
        return RecoverAnswer::Discard;
    return RecoverAnswer::Later;
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
    // The descriptions already name their patterns.
    return QFileDialog::getOpenFileName(parent, QString(), folder, qtNameFilters(filter), nullptr,
                                        QFileDialog::HideNameFilterDetails);
}

QString DialogPrompts::saveFileName(QWidget *parent, const QString &suggestion, const QString &filter,
                                    const QString &defaultSuffix)
{
    QFileDialog dialog(parent, QString(), suggestion, qtNameFilters(filter));
    dialog.setOption(QFileDialog::HideNameFilterDetails);
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

void DialogPrompts::showInformation(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::information(parent, title, text);
}
