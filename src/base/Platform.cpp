// The platform layer.
#include "base/Platform.h"

#include "base/BaseReasons.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QUrl>

#include <cerrno>
#include <csignal>
#include <cstdlib>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef Q_OS_LINUX
#include <linux/falloc.h>
#endif
#endif

namespace platform {

bool isPathSeparator(QChar c)
{
    return c == u'/' || (c == u'\\' && PathSeparator == u'\\');
}

int scrollAllowanceFromRegistryText(const std::optional<QString> &text)
{
    if (!text)
        return 15;
    bool ok = false;
    const int value = text->left(5).trimmed().toInt(&ok);
    return ok ? std::abs(value) / 15 : 15;
}

int scrollBarAllowance([[maybe_unused]] int styleScrollBarExtent)
{
#ifdef Q_OS_WIN
    const QSettings metrics(QStringLiteral("HKEY_CURRENT_USER\\Control Panel\\Desktop\\WindowMetrics"),
                            QSettings::NativeFormat);
    const QVariant value = metrics.value(QStringLiteral("scrollheight"));
    return scrollAllowanceFromRegistryText(value.isValid() ? std::optional<QString>(value.toString()) : std::nullopt);
#else
    return styleScrollBarExtent;
#endif
}

void clearFileAttributes(const QString &path)
{
#ifdef Q_OS_WIN
    SetFileAttributesW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(path).utf16()), FILE_ATTRIBUTE_ARCHIVE);
#else
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
#endif
}

QString findFile(const QString &folder, const QStringList &components)
{
    QString path = folder;
    for (const QString &component : components) {
        const QString exact = QDir(path).filePath(component);
        if (QFileInfo::exists(exact)) {
            path = exact;
            continue;
        }
        QString match;
        const QStringList names = QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QString &name : names) {
            if (name.compare(component, Qt::CaseInsensitive) == 0) {
                match = name;
                break;
            }
        }
        path = QDir(path).filePath(match.isEmpty() ? component : match);
    }
    return path;
}

int reserveFileSpace(QFile &file, qint64 size)
{
    if (size <= file.size())
        return 0;
#ifdef Q_OS_WIN
    // Windows allocates the blocks of a file that is lengthened; the length
    // is put back at once, so the bytes and the size stay as they were.
    const qint64 length = file.size();
    if (!file.resize(size))
        return int(GetLastError());
    file.resize(length);
    return 0;
#elif defined(Q_OS_LINUX)
    // Only the part behind the current end is new; the blocks in front of it
    // are the file's own already. The length stays until the bytes come.
    if (fallocate(file.handle(), FALLOC_FL_KEEP_SIZE, file.size(), size - file.size()) == 0)
        return 0;
    return errno == EOPNOTSUPP || errno == ENOSYS ? 0 : errno;
#else
    return 0;
#endif
}

int syncFile(QFile &file)
{
    if (!file.flush())
        return lastFileError() != 0 ? lastFileError() : EIO;
#ifdef Q_OS_WIN
    return _commit(file.handle()) == 0 ? 0 : errno;
#else
    return fsync(file.handle()) == 0 ? 0 : errno;
#endif
}

int lastFileError()
{
    return errno;
}

void clearFileError()
{
    errno = 0;
}

Reason fileError(int code)
{
    switch (code) {
    case ENOSPC:
        return {reasons::NoSpaceLeft};
    case EFBIG:
        return {reasons::FileTooLarge};
#ifdef EDQUOT
    case EDQUOT:
        return {reasons::DiskQuota};
#endif
    case EACCES:
    case EPERM:
        return {reasons::PermissionDenied};
    case EROFS:
        return {reasons::ReadOnlyFileSystem};
    case EIO:
        return {reasons::InputOutputError};
    case EISDIR:
        return {reasons::IsFolder};
    case ENOENT:
        return {reasons::NoSuchFileOrFolder};
    case ENOMEM:
        return {reasons::NotEnoughMemory};
    case 0:
        return {reasons::UnknownError};
    default:
        return Reason::plain(qt_error_string(code));
    }
}

Reason fileError(int code, const QFileDevice &file)
{
    return code != 0 ? fileError(code) : Reason::plain(file.errorString());
}

QString fileErrorText(int code)
{
    return fileError(code).english();
}

void ignoreFileSizeSignal()
{
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

void openWebPage(const QString &address)
{
    QDesktopServices::openUrl(QUrl(address));
}

bool isSameFile(const QString &one, const QString &other)
{
#ifdef Q_OS_WIN
    const QString first = QFileInfo(one).canonicalFilePath();
    return !first.isEmpty() && first.compare(QFileInfo(other).canonicalFilePath(), Qt::CaseInsensitive) == 0;
#else
    struct stat a {};
    struct stat b {};
    return ::stat(QFile::encodeName(one).constData(), &a) == 0 && ::stat(QFile::encodeName(other).constData(), &b) == 0
        && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
#endif
}

int hardLinkCount(const QString &path)
{
#ifdef Q_OS_WIN
    return QFileInfo::exists(path) ? 1 : 0;
#else
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return 0;
    return int(status.st_nlink);
#endif
}

}  // namespace platform
