// Saving map files: beside the file and renamed over it, or in place behind
// a copy of the original.
#include "map/MapSave.h"

#include "base/Platform.h"
#include "base/WholeFile.h"
#include "map/ChunkedBytes.h"
#include "map/MapFile.h"
#include "map/MapReasons.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <span>

namespace {

// Bytes copied from file to file at a time.
constexpr qint64 CopyPiece = 1024 * 1024;

// The reason for a failed write of the new file: the system's error code in
// plain words, or the device's own text when there is no code.
Reason writeFailure(int code, const QFileDevice &file)
{
    return {reasons::SaveCannotWrite, {platform::fileError(code, file)}};
}

// Hands the saved member to a file, with the test hook of failing writes; the
// system's error code of the first failed write is kept.
struct FileSink {
    QFileDevice &file;
    const std::function<int(qint64)> &fault;
    qint64 written = 0;
    int error = 0;

    bool operator()(QByteArrayView bytes)
    {
        error = fault ? fault(written) : 0;
        if (error == 0 && file.write(bytes.data(), bytes.size()) != bytes.size())
            error = platform::lastFileError() != 0 ? platform::lastFileError() : EIO;
        written += bytes.size();
        return error == 0;
    }
};

// Copies the whole of `from` (from its start) to `to`, and syncs `to`; 0 or
// the system's error code.
int copyWhole(QFile &from, QFile &to, const std::function<int(qint64)> &fault = {})
{
    if (!from.seek(0) || !to.seek(0))
        return EIO;
    QByteArray piece(CopyPiece, Qt::Uninitialized);
    FileSink sink{to, fault};
    for (;;) {
        const qint64 got = from.read(piece.data(), piece.size());
        if (got < 0)
            return EIO;
        if (got == 0)
            break;
        if (!sink(QByteArrayView(piece.constData(), got)))
            return sink.error;
    }
    if (!to.resize(sink.written))
        return platform::lastFileError() != 0 ? platform::lastFileError() : EIO;
    return platform::syncFile(to);
}

QString backupFolderOf(const MapSaveOptions &options)
{
    return options.backupFolder.isEmpty() ? QDir::tempPath() : options.backupFolder;
}

// Copies `from` to `to`, replacing it; the reason of a failure or none.
Reason copyFileReplacing(const QString &from, const QString &to)
{
    QFile source(from);
    QFile target(to);
    if (!source.open(QIODevice::ReadOnly))
        return Reason::plain(source.errorString());
    if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return platform::fileError(platform::lastFileError());
    if (const int error = copyWhole(source, target); error != 0) {
        target.remove();
        return platform::fileError(error);
    }
    return {};
}

// Keeps the file about to be replaced as NAME.bak beside it, or in the backup
// folder when its own folder cannot be written; the reason of a failure or none.
Reason keepPreviousVersion(const QString &path, const MapSaveOptions &options)
{
    const QFileInfo info(path);
    const QString besideIt = path + QStringLiteral(".bak");
    const Reason firstTry = copyFileReplacing(path, besideIt);
    if (firstTry.isEmpty())
        return {};
    const QString folder = backupFolderOf(options);
    QDir().mkpath(folder);
    const QString elsewhere = QDir(folder).filePath(info.fileName() + QStringLiteral(".bak"));
    const Reason secondTry = copyFileReplacing(path, elsewhere);
    if (secondTry.isEmpty())
        return {};
    return {reasons::SaveKeepPrevious, {besideIt, firstTry, elsewhere, secondTry}};
}

// The save through a new file beside the target (opened in `file`), renamed
// over it when whole.
MapSaveResult saveBeside(QSaveFile &file, const MapDocument &document, const QString &path,
                         const MapSaveOptions &options, const ProgressCallback &progress)
{
    FileSink sink{file, options.writeFault};
    if (!writeMapMember(document, std::ref(sink), progress)) {
        const Reason reason = sink.error != 0 ? writeFailure(sink.error, file) : Reason(reasons::SaveNoMemory);
        file.cancelWriting();
        return {reason};
    }
    if (options.keepPrevious && QFileInfo::exists(path)) {
        if (const Reason failed = keepPreviousVersion(path, options); !failed.isEmpty()) {
            file.cancelWriting();
            return {failed};
        }
    }
    if (!file.commit())
        return {writeFailure(0, file)};
    return {};
}

// The copy of the original that guards a save in place: a file of its own in
// the backup folder, named NAME.XXXXXXXX.original. It is given its name when
// it is made (an unnamed temporary file would vanish with a killed process,
// and the original with it) and removed when the object goes, unless kept.
class OriginalCopy {
public:
    OriginalCopy(const QString &folder, const QString &name)
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_file.setFileName(QDir(folder).filePath(
                QStringLiteral("%1.%2.original").arg(name).arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))));
            if (m_file.open(QIODevice::ReadWrite | QIODevice::NewOnly | QIODevice::Unbuffered) || !m_file.exists())
                return;
        }
    }
    ~OriginalCopy()
    {
        if (m_file.isOpen() && !m_kept)
            m_file.remove();
    }
    OriginalCopy(const OriginalCopy &) = delete;
    OriginalCopy &operator=(const OriginalCopy &) = delete;

    QFile &file() { return m_file; }
    bool isOpen() const { return m_file.isOpen(); }
    void keep() { m_kept = true; }

private:
    QFile m_file;
    bool m_kept = false;
};

// The save into the existing file, guarded by a copy of the original (see
// saveMapFile in the header).
MapSaveResult saveInPlace(const MapDocument &document, const QString &path, const MapSaveOptions &options,
                          const ProgressCallback &progress)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        // The file exists: it could not be created is not the cause.
        const int code = platform::lastFileError();
        const Reason cause =
            QFileInfo(path).isWritable() ? platform::fileError(code, file) : Reason(reasons::SaveReadOnly);
        return Reason(reasons::SaveCannotWrite, {cause});
    }

    // The new file is held in memory, so that its whole size is known and
    // reserved before the original is touched.
    ChunkedBytes member;
    try {
        const auto keep = [&](QByteArrayView bytes) {
            for (QByteArrayView rest = bytes; !rest.isEmpty();) {
                const std::span<char> room = member.room(rest.size());
                std::memcpy(room.data(), rest.data(), room.size());
                member.commit(qsizetype(room.size()));
                rest = rest.sliced(qsizetype(room.size()));
            }
            return true;
        };
        if (!writeMapMember(document, keep, progress))
            return Reason(reasons::SaveNoMemory);
    } catch (const std::bad_alloc &) {
        return Reason(reasons::SaveNoMemory);
    }

    if (options.keepPrevious) {
        if (const Reason failed = keepPreviousVersion(path, options); !failed.isEmpty())
            return failed;
    }

    const QString folder = backupFolderOf(options);
    if (!QDir().mkpath(folder))
        return Reason(reasons::SaveBackupFolder, {folder});
    // The copy outlives a kill (nothing removes it then); on success it goes.
    OriginalCopy copy(folder, QFileInfo(path).fileName());
    if (!copy.isOpen())
        return Reason(reasons::SaveKeepOriginal, {folder, Reason::plain(copy.file().errorString())});
    if (const int error = copyWhole(file, copy.file()); error != 0)
        return Reason(reasons::SaveKeepOriginal, {folder, platform::fileError(error)});

    if (const int error = platform::reserveFileSpace(file, member.size()); error != 0)
        return Reason(reasons::SaveOriginalUnchanged, {writeFailure(error, file)});

    FileSink sink{file, options.writeFault};
    bool written = file.seek(0);
    for (const ChunkedBytes::Block &block : member.blocks())
        written = written && sink(block.bytes);
    if (written && !file.resize(member.size()))
        sink.error = platform::lastFileError();
    if (written && sink.error == 0)
        sink.error = platform::syncFile(file);
    if (written && sink.error == 0)
        return {};

    const Reason failure = writeFailure(sink.error, file);
    if (copyWhole(copy.file(), file) == 0)
        return Reason(reasons::SaveOriginalPutBack, {failure});
    copy.keep();
    return Reason(reasons::SaveOriginalKept, {failure, copy.file().fileName()});
}

}  // namespace

std::vector<KeptOriginal> keptOriginals(const QString &backupFolder)
{
    std::vector<KeptOriginal> kept;
    const QDir folder(backupFolder);
    for (const QFileInfo &copy : folder.entryInfoList({QStringLiteral("*.original")}, QDir::Files | QDir::Hidden, QDir::Time)) {
        // NAME, a dot, eight hexadecimal digits and ".original".
        const QString name = copy.fileName();
        const qsizetype stem = name.size() - qsizetype(sizeof(".12345678.original") - 1);
        if (stem > 0 && name[stem] == u'.')
            kept.push_back({copy.filePath(), name.first(stem)});
    }
    return kept;
}

Reason putBackKeptOriginal(const QString &copyPath, const QString &mapPath)
{
    QFile copy(copyPath);
    QFile map(mapPath);
    if (!copy.open(QIODevice::ReadOnly))
        return Reason::plain(copy.errorString());
    if (!map.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return Reason::plain(map.errorString());
    if (const int error = copyWhole(copy, map); error != 0)
        return {reasons::SaveCannotWrite, {platform::fileError(error)}};
    copy.close();
    copy.remove();
    return {};
}

MapSaveResult saveMapFile(const MapDocument &document, const QString &path, const MapSaveOptions &options,
                          const ProgressCallback &progress)
{
    if (!document.isLoaded)
        return Reason(reasons::SaveNoMap);
    // A map of no cells (or of more than any map holds) opens nowhere: the
    // file it would replace is worth more.
    if (document.mapSize == 0 || document.mapSize > MapDocument::LargestSide)
        return Reason(reasons::SaveSide, {document.mapSize, MapDocument::LargestSide});
    // A device, a pipe or a socket would be replaced by a plain file (or, for
    // a device, take the bytes and keep nothing): refused before anything.
    if (const Reason kind = notARegularFile(path); !kind.isEmpty())
        return kind;
    // A file of several names (hard links) is written where it is, so that
    // every name sees the new map: a new file renamed over one name would
    // leave the others with the old one.
    if (!options.inPlace && platform::hardLinkCount(path) <= 1) {
        QSaveFile file(path);
        // Unbuffered, so a failed write reports the system's own error code.
        if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return saveBeside(file, document, path, options, progress);
        // Only an existing file can be written where it is.
        if (!QFileInfo::exists(path))
            return Reason(reasons::SaveCannotCreate, {Reason::plain(file.errorString())});
    }
    return saveInPlace(document, path, options, progress);
}

MapSaveResult saveMapFile(const MapDocument &document, const QString &path, const ProgressCallback &progress)
{
    return saveMapFile(document, path, MapSaveOptions{}, progress);
}
