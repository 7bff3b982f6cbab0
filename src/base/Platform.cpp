// The platform layer.
#include "base/Platform.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QUrl>

#include <cstdlib>

#ifdef Q_OS_WIN
#include <windows.h>
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

void openWebPage(const QString &address)
{
    QDesktopServices::openUrl(QUrl(address));
}

}  // namespace platform
