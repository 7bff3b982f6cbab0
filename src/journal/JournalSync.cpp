// Syncing a file to its device: FlushFileBuffers on Windows, fsync elsewhere.
#include "journal/JournalSync.h"

#include "base/Platform.h"
#include "journal/JournalReasons.h"

#include <QFileInfo>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

Reason syncToDevice(QFile &file)
{
    platform::clearFileError();
    if (!file.flush())
        return platform::fileError(platform::lastFileError(), file);
#ifdef Q_OS_WIN
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
    if (!FlushFileBuffers(handle))
        return {reasons::JournalSync, {std::uint64_t(GetLastError())}};
#else
    if (fsync(file.handle()) != 0)
        return platform::fileError(errno);
#endif
    return {};
}

bool fileWasDeleted(const QFile &file)
{
    if (!QFileInfo::exists(file.fileName()))
        return true;
#ifndef Q_OS_WIN
    struct stat open {};
    struct stat named {};
    if (fstat(file.handle(), &open) != 0)
        return false;
    if (open.st_nlink == 0)
        return true;
    const QByteArray path = QFile::encodeName(file.fileName());
    if (stat(path.constData(), &named) != 0)
        return true;
    return named.st_ino != open.st_ino || named.st_dev != open.st_dev;
#else
    return false;
#endif
}
