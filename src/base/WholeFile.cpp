// Bounded whole-file reading.
#include "base/WholeFile.h"

#include "base/BaseReasons.h"
#include "base/Platform.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <new>

namespace {

// Bytes read at a time from a file whose size is not known.
constexpr qint64 ReadPiece = 64 * 1024;

WholeFile refused(const Reason &why)
{
    return {{}, why, why.english()};
}

}  // namespace

Reason notARegularFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isFile())
        return {};
    if (info.isDir())
        return {reasons::IsFolder};
    return {reasons::NotRegularFile};
}

WholeFile readWholeFile(const QString &path, qint64 limit)
{
    const QFileInfo info(path);
    if (!info.exists())
        return refused({reasons::NoSuchFile});
    if (info.isDir())
        return refused({reasons::IsFolder});
    const WholeFile tooLarge = refused({reasons::FileLargerThan, {limit}});
    if (info.isFile() && info.size() > limit)
        return tooLarge;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return refused({reasons::CannotOpenIt, {platform::fileError(platform::lastFileError())}});
    try {
        // A regular file is read at its size; anything else grows piece by
        // piece up to one byte past the limit, which tells that more follows.
        QByteArray bytes;
        bytes.reserve(info.isFile() ? info.size() : std::min(limit + 1, ReadPiece));
        for (;;) {
            const qint64 want = std::min(ReadPiece, limit + 1 - bytes.size());
            if (want <= 0)
                return tooLarge;
            const qsizetype at = bytes.size();
            bytes.resize(at + want);
            const qint64 got = file.read(bytes.data() + at, want);
            if (got < 0)
                return refused({reasons::CannotReadIt, {Reason::plain(file.errorString())}});
            bytes.resize(at + got);
            if (got == 0)
                break;
        }
        if (bytes.size() > limit)
            return tooLarge;
        return {bytes, {}, {}};
    } catch (const std::bad_alloc &) {
        return refused({reasons::NoMemoryToRead});
    }
}
