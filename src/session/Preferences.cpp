// The user's preferences through QSettings.
#include "session/Preferences.h"

#include <QDir>

namespace {
const QString RecentKey = QStringLiteral("files/recent");
const QString GeometryKey = QStringLiteral("window/geometry");
const QString FolderKey = QStringLiteral("files/lastFolder");
const QString BackupKey = QStringLiteral("files/keepBackup");
}  // namespace

Preferences::Preferences()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Brackwen"),
                                             QStringLiteral("brackwen-editor")))
{
}

Preferences::Preferences(const QString &iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
}

Preferences::~Preferences() = default;

QStringList Preferences::recentFiles() const
{
    return m_settings->value(RecentKey).toStringList();
}

void Preferences::addRecentFile(const QString &path)
{
    const QString absolute = QDir::cleanPath(QDir().absoluteFilePath(path));
    QStringList files = recentFiles();
    files.removeAll(absolute);
    files.prepend(absolute);
    while (files.size() > RecentFileCount)
        files.removeLast();
    m_settings->setValue(RecentKey, files);
}

void Preferences::removeRecentFile(const QString &path)
{
    QStringList files = recentFiles();
    files.removeAll(path);
    m_settings->setValue(RecentKey, files);
}

QByteArray Preferences::windowGeometry() const
{
    return m_settings->value(GeometryKey).toByteArray();
}

void Preferences::setWindowGeometry(const QByteArray &geometry)
{
    m_settings->setValue(GeometryKey, geometry);
}

QString Preferences::lastFolder() const
{
    return m_settings->value(FolderKey).toString();
}

void Preferences::setLastFolder(const QString &folder)
{
    m_settings->setValue(FolderKey, folder);
}

bool Preferences::keepBackup() const
{
    return m_settings->value(BackupKey, false).toBool();
}

void Preferences::setKeepBackup(bool on)
{
    m_settings->setValue(BackupKey, on);
}

bool Preferences::viewToggle(const QString &name, bool initial) const
{
    return m_settings->value(QStringLiteral("view/") + name, initial).toBool();
}

void Preferences::setViewToggle(const QString &name, bool on)
{
    m_settings->setValue(QStringLiteral("view/") + name, on);
}

int Preferences::viewNumber(const QString &name, int initial) const
{
    bool ok = false;
    const int value = m_settings->value(QStringLiteral("view/") + name, initial).toInt(&ok);
    return ok ? value : initial;
}

void Preferences::setViewNumber(const QString &name, int value)
{
    m_settings->setValue(QStringLiteral("view/") + name, value);
}

QString Preferences::dialogChoice(const QString &name, const QString &initial) const
{
    return m_settings->value(QStringLiteral("dialogs/") + name, initial).toString();
}

void Preferences::setDialogChoice(const QString &name, const QString &value)
{
    m_settings->setValue(QStringLiteral("dialogs/") + name, value);
}
