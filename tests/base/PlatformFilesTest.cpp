// The platform layer's file pieces and the readers' shared helpers: words for
// system errors, reserving space, bounded whole-file reading, and file text
// made fit for messages.
#include "base/Platform.h"
#include "base/QuotedText.h"
#include "base/WholeFile.h"

#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <gtest/gtest.h>

namespace {

TEST(FileErrorText, NamesWhatHappened)
{
    struct Case {
        int code;
        const char *text;
    };
    const Case cases[] = {
        {ENOSPC, "no space left on the device"}, {EFBIG, "file too large"},  {EDQUOT, "disk quota exceeded"},
        {EACCES, "permission denied"},           {EROFS, "read-only file system"}, {EIO, "input/output error"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(platform::fileErrorText(c.code), QString::fromLatin1(c.text)) << c.code;
    // Codes without words of ours keep the system's text, never "Unknown error".
    EXPECT_FALSE(platform::fileErrorText(EXDEV).isEmpty());
    EXPECT_FALSE(platform::fileErrorText(EXDEV).contains(QStringLiteral("Unknown error")));
}

TEST(ReserveFileSpace, GrowsNothingTheFileHolds)
{
    TempDir dir;
    QFile file(dir.write("reserved", "kept bytes"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    EXPECT_EQ(platform::reserveFileSpace(file, 8 * 1024 * 1024), 0);
    EXPECT_EQ(platform::reserveFileSpace(file, 4), 0);
    EXPECT_EQ(platform::syncFile(file), 0);
    file.close();
    QFile reread(file.fileName());
    ASSERT_TRUE(reread.open(QIODevice::ReadOnly));
    EXPECT_EQ(reread.readAll(), "kept bytes");
}

TEST(ReadWholeFile, RefusesWhatIsNoFileOrTooLarge)
{
    TempDir dir;
    const QString small = dir.write("small", "0123456789");
    EXPECT_EQ(readWholeFile(small, 10).bytes, "0123456789");
    EXPECT_EQ(readWholeFile(dir.write("empty", ""), 10).bytes, "");
    EXPECT_EQ(readWholeFile(small, 9).error, QStringLiteral("larger than 9 bytes"));
    EXPECT_EQ(readWholeFile(dir.filePath("missing"), 10).error, QStringLiteral("no such file"));
    EXPECT_EQ(readWholeFile(dir.path(), 10).error, QStringLiteral("it is a folder"));
    EXPECT_EQ(notARegularFile(dir.path()).english(), QStringLiteral("it is a folder"));
    EXPECT_TRUE(notARegularFile(small).isEmpty());
    EXPECT_TRUE(notARegularFile(dir.filePath("missing")).isEmpty());
    // A device has no size: it is read up to the limit and refused there.
    if (QFileInfo::exists(QStringLiteral("/dev/zero"))) {
        EXPECT_EQ(readWholeFile(QStringLiteral("/dev/zero"), 100000).error, QStringLiteral("larger than 100000 bytes"));
        EXPECT_EQ(notARegularFile(QStringLiteral("/dev/zero")).english(), QStringLiteral("it is not a regular file"));
        EXPECT_EQ(readWholeFile(QStringLiteral("/dev/null"), 10).bytes, "");
    }
}

TEST(QuotedFileText, DecodesUtf8AndEscapesControlBytes)
{
    struct Case {
        QByteArray bytes;
        QString text;
    };
    const Case cases[] = {
        {"plain.def", QStringLiteral("plain.def")},
        {"\xC3\xA9t\xC3\xA9.def", QString::fromUtf8("\xC3\xA9t\xC3\xA9.def")},  // UTF-8
        {"\xE9t\xE9.def", QString::fromUtf8("\xC3\xA9t\xC3\xA9.def")},          // not UTF-8: Latin-1
        {QByteArray("a\nb\x1B[2Jc\x7F", 9), QStringLiteral("a\\x0ab\\x1b[2Jc\\x7f")},
        {"back\\slash", QStringLiteral("back\\\\slash")},
        {"\xC2\x85", QStringLiteral("\\x85")},  // a control character written in UTF-8
    };
    for (const Case &c : cases)
        EXPECT_EQ(quotedFileText(c.bytes), c.text) << c.bytes.toStdString();
}

}  // namespace
