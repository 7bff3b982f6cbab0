// Finding the installed sample folder from the program's own folder.
#include "session/SampleFolder.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString existingFolder(const QString &path)
{
    const QFileInfo info(path);
    return info.isDir() ? QDir::cleanPath(info.absoluteFilePath()) : QString();
}

}  // namespace

QString installedSampleFolder(const QString &programFolder)
{
    // BRACKWEN_SAMPLE_FOLDER is the sample folder's path relative to the
    // folder the programs are installed in, so a package relocated under
    // another prefix still finds it.
    return existingFolder(QDir(programFolder).filePath(QStringLiteral(BRACKWEN_SAMPLE_FOLDER)));
}

QString installedSampleMaps(const QString &programFolder)
{
    const QString samples = installedSampleFolder(programFolder);
    return samples.isEmpty() ? samples : existingFolder(QDir(samples).filePath(QStringLiteral("maps")));
}
