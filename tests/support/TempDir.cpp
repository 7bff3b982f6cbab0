#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TempDir::TempDir() = default;

QString TempDir::write(const QString &name, const QByteArray &bytes) const
{
    const QString path = filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(path));
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

CurrentDirGuard::CurrentDirGuard(const QString &path)
    : m_previous(QDir::currentPath())
{
    QDir::setCurrent(path);
}

CurrentDirGuard::~CurrentDirGuard()
{
    QDir::setCurrent(m_previous);
}
