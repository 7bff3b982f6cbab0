// Reading a whole file into memory with a limit on its size, for the readers
// of files that are small by nature (sprite files, obstacle lists, archives'
// tables): a huge file, a device without end or a lack of memory is refused
// with its reason instead of ending the program.
#pragma once

#include "base/Reason.h"

#include <QByteArray>
#include <QString>

struct WholeFile {
    QByteArray bytes;
    Reason why;     // without the file's name; none on success
    QString error;  // why in English, one line; empty on success

    bool ok() const { return why.isEmpty(); }
};

// The bytes of the file at path, at most `limit` of them. A regular file
// larger than the limit is refused before anything is read; a device or pipe,
// whose size is not known, is read up to the limit and refused when more
// follows. Refusals: "no such file", "it is a folder", "cannot open it: ...",
// "cannot read it: ...", "larger than N bytes", "not enough memory to read it".
WholeFile readWholeFile(const QString &path, qint64 limit);

// The reason of a refusal when the path names a folder or something that is
// not a regular file (a device, a pipe, a socket); none for a regular file
// or a path where nothing is.
Reason notARegularFile(const QString &path);
