// Syncing a file to its device: FlushFileBuffers on Windows, fsync elsewhere.
#include "edit/JournalSync.h"

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

QString syncToDevice(QFile &file)
{
    if (!file.flush())
        return file.errorString();
#ifdef Q_OS_WIN
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
    if (!FlushFileBuffers(handle))
        return QStringLiteral("the system could not write the file to its disk (error %1)").arg(GetLastError());
#else
    if (fsync(file.handle()) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
#endif
    return {};
}
