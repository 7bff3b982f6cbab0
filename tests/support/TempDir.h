// A scratch folder for one test, removed afterwards, and a guard that makes it
// the current folder (the program resolves its own files against it).
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class TempDir {
public:
    TempDir();
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    // Writes bytes to a file inside the folder (creating sub-folders) and returns its path.
    QString write(const QString &name, const QByteArray &bytes) const;

private:
    QTemporaryDir m_dir;
};

// The whole file at path; empty when it cannot be read.
QByteArray readFile(const QString &path);

class CurrentDirGuard {
public:
    explicit CurrentDirGuard(const QString &path);
    ~CurrentDirGuard();
    CurrentDirGuard(const CurrentDirGuard &) = delete;
    CurrentDirGuard &operator=(const CurrentDirGuard &) = delete;

private:
    QString m_previous;
};
