// Journal file names and listing a folder of journals.
#include "journal/JournalFolder.h"

#include "base/WholeFile.h"
#include "map/MapSave.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace {

const QString JournalSuffix = QStringLiteral(".journal");
// Enough of a file to hold any header (its path is at most 32 KiB).
constexpr qint64 HeaderReadLength = 64 * 1024;

// Sets the application's organisation and application names for as long as
// it lives, and gives the old ones back.
class ApplicationNames {
public:
    ApplicationNames(const QString &organisation, const QString &application)
        : m_organisation(QCoreApplication::organizationName())
        , m_application(QCoreApplication::applicationName())
    {
        QCoreApplication::setOrganizationName(organisation);
        QCoreApplication::setApplicationName(application);
    }
    ~ApplicationNames()
    {
        QCoreApplication::setOrganizationName(m_organisation);
        QCoreApplication::setApplicationName(m_application);
    }
    ApplicationNames(const ApplicationNames &) = delete;
    ApplicationNames &operator=(const ApplicationNames &) = delete;

private:
    QString m_organisation;
    QString m_application;
};

JournalListing listing(const QFileInfo &info)
{
    JournalListing entry;
    entry.journalPath = info.absoluteFilePath();
    entry.lastWritten = info.lastModified();
    QFile file(entry.journalPath);
    if (!file.open(QIODevice::ReadOnly)) {
        entry.reason = file.errorString();
        return entry;
    }
    const JournalHeaderRead header = decodeJournalHeader(file.read(HeaderReadLength));
    entry.reason = header.reason;
    entry.header = header.header;
    entry.recordBytes = header.ok() ? info.size() - header.length : 0;
    return entry;
}

}  // namespace

QString standardJournalFolder()
{
    const ApplicationNames editorNames(QStringLiteral("Brackwen"), QStringLiteral("Brackwen"));
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/journals");
}

QString journalPathFor(const QString &folder, const QString &mapPath)
{
    const QByteArray hash = QCryptographicHash::hash(journalMapPath(mapPath).toUtf8(),
                                                     QCryptographicHash::Sha256);
    return QDir(folder).filePath(QString::fromLatin1(hash.toHex().left(16)) + JournalSuffix);
}

std::vector<JournalListing> listJournals(const QString &folder)
{
    std::vector<JournalListing> journals;
    const QFileInfoList files = QDir(folder).entryInfoList({QLatin1Char('*') + JournalSuffix}, QDir::Files);
    for (const QFileInfo &info : files)
        journals.push_back(listing(info));
    std::stable_sort(journals.begin(), journals.end(),
                     [](const JournalListing &a, const JournalListing &b) { return a.lastWritten > b.lastWritten; });
    return journals;
}

QString keptOriginalOf(const JournalHeader &header, const QString &backupFolder)
{
    const QString name = QFileInfo(header.mapPath).fileName();
    for (const KeptOriginal &kept : keptOriginals(backupFolder)) {
        if (kept.mapName != name || QFileInfo(kept.path).size() != header.file.size)
            continue;
        const MapFileHash hash = hashMapFile(kept.path);
        if (hash.ok() && hash.identity.size == header.file.size && hash.identity.crc32 == header.file.crc32)
            return kept.path;
    }
    return {};
}

QString damagedJournalName(const QString &journalPath)
{
    return journalPath + QStringLiteral(".damaged-")
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
}

MovedAside moveDamagedJournalAside(const QString &journalPath)
{
    MovedAside aside;
    const QFileInfo info(journalPath);
    if (!info.exists() || info.size() == 0)
        return aside;
    const JournalContents journal = readJournal(journalPath);
    QFile file(journalPath);
    if (journal.ok() && !journal.damaged())
        return aside;
    if (!journal.ok()) {
        // A newer program's journal is that program's; a file this program
        // cannot open is no journal to be judged.
        if (!file.open(QIODevice::ReadOnly) || !notARegularFile(journalPath).isEmpty())
            return aside;
        const JournalHeaderRead header = decodeJournalHeader(file.read(HeaderReadLength));
        file.close();
        if (header.newerFormat)
            return aside;
        aside.damage = journal.why;
    } else {
        aside.damage = journal.damageWhy();
    }
    const QString target = damagedJournalName(journalPath);
    if (!file.rename(target)) {
        aside.why = Reason::plain(file.errorString());
        return aside;
    }
    aside.path = target;
    return aside;
}
