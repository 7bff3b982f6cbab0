// Text taken from a file's contents (an archive entry's name, a value of a
// list) made fit to stand in a message: decoded as UTF-8 where it is valid,
// as Latin-1 where it is not, with control characters shown as escapes so a
// damaged file cannot garble the terminal or the message line.
#pragma once

#include <QByteArrayView>
#include <QString>

// The bytes as UTF-8 when they are valid UTF-8, else as Latin-1; every control
// character (below 0x20, 0x7F, and 0x80..0x9F) written as \xNN and a backslash
// as \\.
QString quotedFileText(QByteArrayView bytes);
