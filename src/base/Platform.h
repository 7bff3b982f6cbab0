// What differs between Windows and the other systems: the registry's scroll-bar
// size, file attributes, path separators, the letter case of file names, and
// opening a web page.
#pragma once

#include <QChar>
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

// Opens a web page in the user's browser; failures are ignored.
void openWebPage(const QString &address);

}  // namespace platform
