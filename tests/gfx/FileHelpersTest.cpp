// Tests of the file helpers: saving bytes, creating folders, OS errors.
#include "gfx/FileHelpers.h"

#include "TempDir.h"
#include "gfx/GraphicsError.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cerrno>

namespace {

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

TEST(SaveBytesToFile, WritesBytesAndEmptiesWithAnEmptyArray)
{
    TempDir dir;
    const QString path = dir.filePath("out.bin");
    SaveBytesToFile(path, QByteArray("\x01\x00\x02", 3));
    EXPECT_EQ(contentsOf(path), QByteArray("\x01\x00\x02", 3));
    SaveBytesToFile(path, QByteArray());
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(contentsOf(path), QByteArray());
}

TEST(SaveBytesToFile, CreatesMissingFoldersOutermostFirst)
{
    TempDir dir;
    const QString path = dir.filePath("outer/inner/file.def");
    SaveBytesToFile(path, "abc");
    EXPECT_TRUE(QFileInfo(dir.filePath("outer/inner")).isDir());
    EXPECT_EQ(contentsOf(path), "abc");
}

TEST(SaveBytesToFile, ReplacesAReadOnlyFile)
{
    TempDir dir;
    const QString path = dir.write("locked.bin", "old contents");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    SaveBytesToFile(path, "new");
    EXPECT_EQ(contentsOf(path), "new");
}

TEST(SaveBytesToFile, RaisesOSErrorWhenTheFolderCannotBeMade)
{
    TempDir dir;
    dir.write("blocker", "a file where a folder should be");
    try {
        SaveBytesToFile(dir.filePath("blocker/sub/file.bin"), "x");
        FAIL() << "no error raised";
    } catch (const OSError &error) {
        EXPECT_FALSE(error.message().isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("blocker/sub")));
}

TEST(ForceFolders, CreatesNestedFoldersAndRefusesAFileInTheWay)
{
    TempDir dir;
    EXPECT_TRUE(ForceFolders(QString()));
    EXPECT_TRUE(ForceFolders(dir.filePath("a/b/c/")));
    EXPECT_TRUE(QFileInfo(dir.filePath("a/b/c")).isDir());
    EXPECT_TRUE(ForceFolders(dir.filePath("a/b")));  // already there
    dir.write("plain", "x");
    EXPECT_FALSE(ForceFolders(dir.filePath("plain/d")));
}

TEST(FolderPartOf, KeepsEverythingUpToTheLastSeparator)
{
    EXPECT_EQ(folderPartOf("tempmap"), QString());
    EXPECT_EQ(folderPartOf("defs/dirttl.def"), "defs/");
    EXPECT_EQ(folderPartOf("/a/b/"), "/a/b/");
    EXPECT_EQ(folderPartOf("/x"), "/");
}

TEST(CreateFileInFolder, FollowsTheDisposition)
{
    TempDir dir;
    const QString existing = dir.write("existing.bin", "keep");
    EXPECT_EQ(CreateFileInFolder(existing, QIODevice::WriteOnly, CreationDisposition::CreateNew), nullptr);
    EXPECT_NE(CreateFileInFolder(existing, QIODevice::WriteOnly, CreationDisposition::OpenAlways), nullptr);
    EXPECT_EQ(contentsOf(existing), "keep");
    // Opening an existing file never creates folders or files.
    EXPECT_EQ(CreateFileInFolder(dir.filePath("new/missing.bin"), QIODevice::WriteOnly, CreationDisposition::OpenExisting),
              nullptr);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("new")));
    EXPECT_NE(CreateFileInFolder(dir.filePath("new/made.bin"), QIODevice::WriteOnly, CreationDisposition::CreateNew),
              nullptr);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("new/made.bin")));
}

TEST(RaiseOSError, FormatsTheCodeAndTheSystemText)
{
    struct Case {
        int code;
        QString message;
    };
    const Case cases[] = {
        {0, "A call to an OS function failed"},
        {ENOENT, QStringLiteral("System Error.  Code: %1.\r\n%2").arg(ENOENT).arg(qt_error_string(ENOENT))},
    };
    for (const Case &c : cases) {
        try {
            RaiseOSError(c.code);
        } catch (const OSError &error) {
            EXPECT_EQ(error.code(), c.code);
            EXPECT_EQ(error.message(), c.message);
        }
    }
}

}  // namespace
