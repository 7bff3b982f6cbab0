// File helpers of the graphics library: writing bytes to a file (creating
// missing folders) and raising the last system error.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>

// What to do when the file exists or does not.
enum class CreationDisposition {
    CreateNew,         // create; fail if it exists
    CreateAlways,      // create, or empty an existing file
    OpenExisting,      // open; fail if it does not exist
    OpenAlways,        // open, creating it if needed
    TruncateExisting,  // empty an existing file; fail if it does not exist
};

// Writes the bytes to the file, replacing it (also when it is read-only) and
// creating the folders of its path. Raises OSError when the file cannot be
// created or not every byte is written; the file is closed in every case.
void SaveBytesToFile(const QString &path, const QByteArray &bytes);

// Opens or creates a file with the given access. For the dispositions that may
// create the file, the folders of its path are created first; null when they
// cannot be or the file cannot be opened (the system error is then left for
// RaiseOSError).
std::unique_ptr<QFile> CreateFileInFolder(const QString &path, QIODevice::OpenMode access,
                                          CreationDisposition disposition);

// Creates a folder and every missing folder above it, outermost first. True
// when the folder exists afterwards (an empty path counts as existing).
bool ForceFolders(const QString &folder);

// The folder part of a path: everything up to and including its last
// separator; empty for a bare file name.
QString folderPartOf(const QString &path);

// The last error code of the operating system (errno, or the Windows last error).
int lastSystemError();

// Raises OSError for the last system error, or for the given code:
// "System Error.  Code: <code>.\r\n<system text>", or "A call to an OS function
// failed" when the code is 0.
[[noreturn]] void RaiseOSError();
[[noreturn]] void RaiseOSError(int code);
