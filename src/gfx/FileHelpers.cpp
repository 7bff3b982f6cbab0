// File helpers of the graphics library.
#include "gfx/FileHelpers.h"

#include "base/Platform.h"
#include "gfx/GraphicsError.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

void SaveBytesToFile(const QString &path, const QByteArray &bytes)
{
    if (QFileInfo::exists(path))
        platform::clearFileAttributes(path);
    const std::unique_ptr<QFile> file =
        CreateFileInFolder(path, QIODevice::WriteOnly, CreationDisposition::CreateAlways);
    if (!file)
        RaiseOSError();
    // The unique_ptr closes the file also when a short write raises.
    if (!bytes.isEmpty() && file->write(bytes) != bytes.size())
        RaiseOSError();
    if (!file->flush())
        RaiseOSError();
}

std::unique_ptr<QFile> CreateFileInFolder(const QString &path, QIODevice::OpenMode access,
                                          CreationDisposition disposition)
{
    QIODevice::OpenMode mode = access;
    switch (disposition) {
    case CreationDisposition::CreateNew:
        mode |= QIODevice::NewOnly;
        break;
    case CreationDisposition::CreateAlways:
        mode |= QIODevice::Truncate;
        break;
    case CreationDisposition::OpenExisting:
        mode |= QIODevice::ExistingOnly;
        break;
    case CreationDisposition::OpenAlways:
        break;
    case CreationDisposition::TruncateExisting:
        mode |= QIODevice::ExistingOnly | QIODevice::Truncate;
        break;
    }
    const bool mayCreate = disposition == CreationDisposition::CreateNew
        || disposition == CreationDisposition::CreateAlways || disposition == CreationDisposition::OpenAlways;
    if (mayCreate && !ForceFolders(folderPartOf(path)))
        return nullptr;
    // A file opened for writing alone is emptied by Qt; the open dispositions
    // keep its bytes, so they open it for reading as well.
    if (disposition == CreationDisposition::OpenExisting || disposition == CreationDisposition::OpenAlways)
        mode |= QIODevice::ReadOnly;
    auto file = std::make_unique<QFile>(path);
    if (!file->open(mode))
        return nullptr;
    return file;
}

QString folderPartOf(const QString &path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i)
        if (platform::isPathSeparator(path[i]))
            return path.left(i + 1);
    return QString();
}

bool ForceFolders(const QString &folder)
{
    if (folder.isEmpty())
        return true;
    // Walk up to the first folder that exists, then create the missing ones
    // from the outermost inwards.
    QStringList missing;
    QString current = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    while (!QFileInfo(current).isDir()) {
        const QString parent = QFileInfo(current).path();
        if (parent == current)
            return false;  // a root that does not exist
        missing.prepend(current);
        current = parent;
    }
    for (const QString &path : missing)
        if (!QDir().mkdir(path))
            return false;
    return true;
}

int lastSystemError()
{
#ifdef Q_OS_WIN
    return int(GetLastError());
#else
    return errno;
#endif
}

void RaiseOSError()
{
    RaiseOSError(lastSystemError());
}

void RaiseOSError(int code)
{
    if (code == 0)
        throw OSError(0, Reason(reasons::GfxSystemCall));
    // The system's own text for the code stays as the system words it.
    throw OSError(code, Reason(reasons::GfxSystemError, {code, Reason::plain(qt_error_string(code))}));
}
