// What differs between Windows and the other systems: the registry's scroll-bar
// size, file attributes, path separators, the letter case of file names,
// reserving and syncing file space, the file-size signal, the words for a
// system's file errors, and opening a web page.
#pragma once

#include "base/Reason.h"

#include <QChar>
#include <QFile>
#include <QString>
#include <QStringList>

#include <optional>

namespace platform {

#ifdef Q_OS_WIN
inline constexpr QChar PathSeparator = u'\\';
#else
inline constexpr QChar PathSeparator = u'/';
#endif

// A folder separator of this system ('\' on Windows; '/' everywhere).
bool isPathSeparator(QChar c);

// The grid's scroll-bar allowance in pixels from the registry text of
// "scrollheight" (twips, negative): |v| / 15 of the number in its first five
// characters; 15 when the value is missing or not a number.
int scrollAllowanceFromRegistryText(const std::optional<QString> &text);

// The scroll-bar allowance of this system: the registry rule on Windows, the
// style's scroll-bar extent elsewhere.
int scrollBarAllowance(int styleScrollBarExtent);

// Gives a file its plain attributes again (not read-only, not hidden, not a
// system file). Failures are ignored.
void clearFileAttributes(const QString &path);

// The path of a file below a folder, named by its components ("data",
// "vdsprite.lod"). On systems whose file names are case-sensitive each
// component is matched without regard to letter case when the exact name does
// not exist. Returns the exact-case path when nothing matches.
QString findFile(const QString &folder, const QStringList &components);

// Makes sure the file can hold `size` bytes before any of them is written,
// by having the system allocate its blocks, so that a full disk is found
// before an existing byte is overwritten. The file's bytes and length are
// unchanged. 0 on success, else the system's error code (ENOSPC, EFBIG...).
// Where the file system cannot allocate ahead, nothing is reserved and 0 is
// returned: the writes themselves then find a full disk (only Linux
// allocates ahead without changing the length; elsewhere nothing is reserved).
int reserveFileSpace(QFile &file, qint64 size);

// Writes the file's buffered bytes and has the system put them on the disk.
// 0 on success, else the system's error code.
int syncFile(QFile &file);

// The last error code of the system's C library (errno).
int lastFileError();
// Forgets the last error code, so that one read after a failed call is that
// call's own.
void clearFileError();

// Plain words for a system error code of a file operation, for messages:
// "no space left on the device", "file too large", "permission denied"...;
// the system's own text for codes without words of ours.
Reason fileError(int code);
// The same for a failed call on file that left code: the file's own text
// when the call left none.
Reason fileError(int code, const QFileDevice &file);
// The same in English.
QString fileErrorText(int code);

// Writing past the process's file-size limit raises a signal that ends the
// program on POSIX systems. Ignoring it turns such a write into an ordinary
// failure ("file too large") that the save reports. The editor's and the
// tool's main call this once at start; nothing happens on Windows.
void ignoreFileSizeSignal();

// True when both paths name one file: the same path, a link to it, or another
// hard link of it. False when either does not exist.
bool isSameFile(const QString &one, const QString &other);

// The number of names (hard links) the file has; 1 where the system cannot
// tell, 0 when it does not exist.
int hardLinkCount(const QString &path);

// Opens a web page in the user's browser; failures are ignored.
void openWebPage(const QString &address);

}  // namespace platform
