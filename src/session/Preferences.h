// What the editor remembers between runs, in the user's configuration folder
// (never in "brackwen.ini", which the editor only reads): recent maps, the
// window's place, the folder last used, and the view's toggles.
#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>

#include <memory>

class Preferences {
public:
    static constexpr int RecentFileCount = 8;

    // The user's own preferences of this program.
    Preferences();
    // Preferences kept in an INI file of their own (for tests).
    explicit Preferences(const QString &iniPath);
    ~Preferences();

    // The maps opened or saved last, newest first.
    QStringList recentFiles() const;
    void addRecentFile(const QString &path);
    void removeRecentFile(const QString &path);

    QByteArray windowGeometry() const;
    void setWindowGeometry(const QByteArray &geometry);

    // The folder of the map opened or saved last; empty at first.
    QString lastFolder() const;
    void setLastFolder(const QString &folder);

    // Whether a save keeps the replaced file as NAME.bak; off at first.
    bool keepBackup() const;
    void setKeepBackup(bool on);

    // A view toggle (a boolean under "view/"), with its value at first start.
    bool viewToggle(const QString &name, bool initial) const;
    void setViewToggle(const QString &name, bool on);

    // A whole number under "view/", with its value at first start.
    int viewNumber(const QString &name, int initial) const;
    void setViewNumber(const QString &name, int value);

    // A choice remembered by a dialog (a text under "dialogs/"), with its value
    // at first start.
    QString dialogChoice(const QString &name, const QString &initial) const;
    void setDialogChoice(const QString &name, const QString &value);

private:
    std::unique_ptr<QSettings> m_settings;
};
